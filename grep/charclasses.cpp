#include "grep/charclasses.h"

#include <algorithm>

#include "grep/scanautomaton.h"

TCharClasses::TCharClasses(const TScanAutomaton& automaton) {
  Cuts = {0, 0x10000};
  for (const auto& edges : automaton.Edges) {
    for (const auto& e : edges) {
      Cuts.push_back(e.Low);
      Cuts.push_back(static_cast<std::uint32_t>(e.High) + 1);
    }
  }
  std::sort(Cuts.begin(), Cuts.end());
  Cuts.erase(std::unique(Cuts.begin(), Cuts.end()), Cuts.end());
  Count = static_cast<int>(Cuts.size()) - 1;
  int leads = 0;
  for (int b = 0; b < 256; ++b) {
    const auto i = static_cast<std::size_t>(b);
    ByteClass[i] = static_cast<std::uint16_t>(Of(static_cast<TCharCode>(b)));
    LeadIndex[i] = static_cast<std::int16_t>(IsDBCSLeadByte(static_cast<unsigned char>(b)) ? leads++ : -1);
  }
  PairClass.resize(static_cast<std::size_t>(leads) * 256);
  for (int b = 0; b < 256; ++b) {
    const int lead = LeadIndex[static_cast<std::size_t>(b)];
    if (lead < 0) continue;
    for (int t = 0; t < 256; ++t)
      PairClass[static_cast<std::size_t>(lead) * 256 + static_cast<std::size_t>(t)] =
          static_cast<std::uint16_t>(Of(static_cast<TCharCode>(b << 8 | t)));
  }
}

int TCharClasses::Of(TCharCode code) const {
  return static_cast<int>(std::upper_bound(Cuts.begin(), Cuts.end(), code) - Cuts.begin()) - 1;
}
