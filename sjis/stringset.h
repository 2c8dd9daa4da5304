// The strings of a set search (multisearch.h) as both of its passes compare
// them in full: sorted, each with the bits that its bytes ignore and its
// first eight bytes as one word; and the unaligned loads the passes share.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace multisearch {

inline std::uint32_t Load32(const char* p) {
  std::uint32_t x;
  std::memcpy(&x, p, sizeof x);
  return x;
}

inline std::uint64_t Load64(const char* p) {
  std::uint64_t x;
  std::memcpy(&x, p, sizeof x);
  return x;
}

// Up to four (eight) bytes as Load32 (Load64) would put them, for the end
// of a block or a short string.
inline std::uint32_t LoadShort(const char* p, std::size_t count) {
  std::uint32_t x = 0;
  std::memcpy(&x, p, std::min<std::size_t>(count, 4));
  return x;
}

inline std::uint64_t LoadShort64(const char* p, std::size_t count) {
  std::uint64_t x = 0;
  std::memcpy(&x, p, std::min<std::size_t>(count, 8));
  return x;
}

}  // namespace multisearch

struct TSetString {
  std::string Bytes;
  std::string Ignored;  // per byte: 0x20 for a single-character letter when folding, else 0
  // The first eight bytes (or fewer) as one word: a place holds them when
  // (its eight bytes | Fold) & Mask == Key; Whole when they are all.
  std::uint64_t Key = 0;
  std::uint64_t Mask = 0;
  std::uint64_t Fold = 0;
  bool Whole = false;
};

class TStringSet {
 public:
  // strings must not be empty, nor hold an empty string.  Letters that are
  // single characters of a string (never the second byte of a double-byte
  // character) ignore their case with foldCase; with asRead a space matches
  // a zero byte too.
  TStringSet(const std::vector<std::string>& strings, bool foldCase, bool asRead);

  std::size_t Size() const { return FStrings.size(); }
  std::size_t Shortest() const { return FShortest; }
  const TSetString& operator[](std::size_t k) const { return FStrings[k]; }

  // Whether s stands at p, with available bytes from p on.
  static bool At(const char* p, std::size_t available, const TSetString& s) {
    if (s.Bytes.size() > available) return false;
    if (available >= 8) {
      if (((multisearch::Load64(p) | s.Fold) & s.Mask) != s.Key) return false;
      if (s.Whole) return true;
    }
    for (std::size_t j = 0; j < s.Bytes.size(); ++j)
      if ((p[j] | s.Ignored[j]) != (s.Bytes[j] | s.Ignored[j])) return false;
    return true;
  }
  // The first string that stands at at of h[0, n), or Size().
  std::size_t FirstAt(const char* h, std::size_t n, std::size_t at) const {
    for (std::size_t k = 0; k < FStrings.size(); ++k)
      if (At(h + at, n - at, FStrings[k])) return k;
    return FStrings.size();
  }

 private:
  std::vector<TSetString> FStrings;
  std::size_t FShortest = 0;
};
