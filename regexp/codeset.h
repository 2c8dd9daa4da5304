// Sets of character codes as sorted, disjoint ranges, with the named classes
// of POSIX bracket expressions and the case pairs that -i folds, for the
// front end of GNU grep's pattern languages (posix_parser.h).
#pragma once

#include <string_view>
#include <vector>

#include "sjis/sjis.h"

struct TCodeRange {
  TCharCode Low;
  TCharCode High;
  bool operator==(const TCodeRange&) const = default;
};

class TCodeSet {
 public:
  TCodeSet() = default;
  TCodeSet(TCharCode low, TCharCode high) { Add(low, high); }

  void Add(TCharCode low, TCharCode high);
  void Add(const TCodeSet& other);
  void Remove(TCharCode low, TCharCode high);
  // The codes of universe that are not in this set.
  TCodeSet ComplementWithin(const TCodeSet& universe) const;
  // Adds the other case of every letter in the set: ASCII, full-width
  // Latin, Greek and Cyrillic.
  void FoldCase();
  bool Contains(TCharCode code) const;
  bool Empty() const { return FRanges.empty(); }
  const std::vector<TCodeRange>& Ranges() const { return FRanges; }
  bool operator==(const TCodeSet&) const = default;

 private:
  std::vector<TCodeRange> FRanges;  // sorted by Low, disjoint, not adjacent
};

// The class named between "[:" and ":]" ("alpha", "digit", ...); false when
// there is no such class.  Single bytes are classed as in the C locale, with
// the half-width katakana as letters (punctuation for 0xA1-0xA5); double-byte
// characters as GNU grep classes them in a Shift-JIS locale (JIS X 0208:
// kana, kanji, full-width letters and digits, Greek and Cyrillic are
// letters, so also [:alnum:]; no double-byte character is [:digit:]).
bool NamedClass(std::string_view name, TCodeSet& set);

// The characters of \w: "_" and [:alnum:].  \b, \<, \> and \B part words by it.
const TCodeSet& WordCodes();
