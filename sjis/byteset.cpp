#include "sjis/byteset.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "sjis/bytescan_impl.h"

TByteSet::TByteSet(const std::array<bool, 256>& members) : FMembers(members) {
  if (std::count(members.begin(), members.end(), true) == 1)
    FOnly = static_cast<int>(std::find(members.begin(), members.end(), true) - members.begin());
  // The low halves that each high half takes; equal ones form one group.
  std::vector<std::uint16_t> groups;
  for (unsigned high = 0; high < 16; ++high) {
    std::uint16_t lows = 0;
    for (unsigned low = 0; low < 16; ++low)
      if (members[high << 4 | low]) lows = static_cast<std::uint16_t>(lows | 1u << low);
    if (lows == 0) continue;
    std::size_t group = 0;
    while (group < groups.size() && groups[group] != lows) ++group;
    if (group == groups.size()) groups.push_back(lows);
    const unsigned bit = 1u << (group % 8);  // beyond eight groups, bits are shared
    FHigh[high] = static_cast<std::uint8_t>(FHigh[high] | bit);
    for (unsigned low = 0; low < 16; ++low)
      if (lows & 1u << low) FLow[low] = static_cast<std::uint8_t>(FLow[low] | bit);
  }
}

std::size_t TByteSet::FindNarrow(const unsigned char* p, std::size_t n) const {
  std::size_t i = 0;
  while (i < n && !FMembers[p[i]]) ++i;
  return i;
}

std::size_t TByteSet::Find(const unsigned char* p, std::size_t n) const {
  if (FOnly >= 0) {
    const void* found = std::memchr(p, FOnly, n);
    return found != nullptr ? static_cast<std::size_t>(static_cast<const unsigned char*>(found) - p) : n;
  }
  std::size_t done = 0;
#if defined(KOVALEX_HAVE_AVX2)
  if (n >= 64 && bytescan::HasAvx2()) {
    const std::size_t at = bytescan::FindInSet32(p, n, FLow.data(), FHigh.data(), FMembers.data(), done);
    if (at < done) return at;
  }
#endif
  return done + FindNarrow(p + done, n - done);
}

std::size_t TByteSet::FindAtCharacterStart(const unsigned char* p, std::size_t at, std::size_t n,
                                           TCharacterStarts& starts) const {
  for (; at < n; ++at) {
    at += Find(p + at, n - at);
    if (at >= n) break;
    if (starts.At(at)) return at;
  }
  return n;
}
