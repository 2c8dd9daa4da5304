// A set of byte values and the search for the first byte of a text that
// belongs to it.  Over thirty-two bytes at a time (AVX2) each byte is looked
// up by its two halves in two sixteen-entry tables, whose bits stand for
// groups of high halves that share their low halves: with more than eight
// such groups some share a bit and the tables hold a few bytes too many,
// which the exact table then turns down.  A byte at a time otherwise, and
// as the reference the tests hold the wide search to.  A set of one byte is
// searched for with memchr.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "sjis/sjis.h"

class TByteSet {
 public:
  TByteSet() = default;
  explicit TByteSet(const std::array<bool, 256>& members);

  bool Has(unsigned char b) const { return FMembers[b]; }
  // The first place in [0, n) whose byte belongs to the set, or n.
  std::size_t Find(const unsigned char* p, std::size_t n) const;
  // The same a byte at a time.
  std::size_t FindNarrow(const unsigned char* p, std::size_t n) const;
  // The first character start in [at, n) whose byte belongs to the set, or
  // n; starts knows a character start at or before at.
  std::size_t FindAtCharacterStart(const unsigned char* p, std::size_t at, std::size_t n,
                                   TCharacterStarts& starts) const;

 private:
  std::array<bool, 256> FMembers{};
  int FOnly = -1;  // the one member, if there is one
  // By the low and the high half of a byte, the groups it may belong to.
  std::array<std::uint8_t, 16> FLow{};
  std::array<std::uint8_t, 16> FHigh{};
};

namespace bytescan {
// The first place in [0, done) whose byte the halves' tables admit and the
// set holds; done: how far the whole chunks went (the rest is the caller's).
std::size_t FindInSet32(const unsigned char* p, std::size_t n, const std::uint8_t* low, const std::uint8_t* high,
                        const bool* members, std::size_t& done);
}  // namespace bytescan
