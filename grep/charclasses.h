// Character classes of a scan automaton: the codes that every transition
// treats alike.  The whole-line scans keep one table column per class
// instead of one per code, and find a character's class with one lookup:
// a single byte through ByteClass, a double-byte character through the row
// of its lead byte in PairClass.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sjis/sjis.h"

struct TScanAutomaton;

struct TCharClasses {
  TCharClasses() = default;
  // Cuts the code space at both ends of every transition's range.
  explicit TCharClasses(const TScanAutomaton& automaton);

  // The class of a code by search among the cuts (for building tables).
  int Of(TCharCode code) const;
  // The class of a code by table lookup.
  int CodeClass(TCharCode code) const {
    if (code <= 0xFF) return ByteClass[code];
    return Pair(static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(code & 0xFF));
  }
  int Pair(unsigned char lead, unsigned char trail) const {
    return PairClass[static_cast<std::size_t>(LeadIndex[lead]) * 256 + trail];
  }
  // The class of the character at p[i], moving i past it; -1, with i left
  // alone, when p[i] is a lead byte whose trail byte would be p[end].
  int Next(const unsigned char* p, std::size_t& i, std::size_t end) const {
    const unsigned char b = p[i];
    if (LeadIndex[b] < 0) {
      i += 1;
      return ByteClass[b];
    }
    if (i + 1 == end) return -1;
    i += 2;
    return Pair(b, p[i - 1]);
  }
  // The first code of a class, which stands for every code of it.
  TCharCode First(int cls) const { return static_cast<TCharCode>(Cuts[static_cast<std::size_t>(cls)]); }

  int Count = 0;
  std::vector<std::uint32_t> Cuts;  // class k holds the codes [Cuts[k], Cuts[k + 1])
  std::array<std::uint16_t, 256> ByteClass{};
  std::array<std::int16_t, 256> LeadIndex{};  // row of a lead byte in PairClass, -1 for other bytes
  std::vector<std::uint16_t> PairClass;       // [lead index * 256 + trail]
};
