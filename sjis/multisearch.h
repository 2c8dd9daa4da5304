// Searching a block of bytes for the first place where any of a set of byte
// strings stands (the fast scan's search for a pattern's required set, see
// required_set.h): up to kFewStrings strings by a vectorised pass over every
// place (fewstrings.h), more by hashed samples of the text (manystrings.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "sjis/fewstrings.h"
#include "sjis/manystrings.h"

class TMultiSearch {
 public:
  static constexpr std::size_t kFewStrings = TFewStringSearch::kMaxStrings;
  // The spacing of samples for strings of which the shortest has this length.
  static std::size_t SampleStep(std::size_t shortest) { return TManyStringSearch::SampleStep(shortest); }

  // strings must not be empty, nor hold an empty string.  With foldCase,
  // letters are compared without case, but only letters that are single
  // characters of a string (never the second byte of a double-byte
  // character).  With asRead a space of the strings matches a zero byte
  // too, as in FindBytes (the strings then hold no line feed).
  TMultiSearch(const std::vector<std::string>& strings, bool foldCase, bool asRead = false);

  // The first place at or after from where one of the strings stands in
  // haystack, or haystack.size() when there is none; which, when asked,
  // names a string that stands there (for StandsAt).
  std::size_t Find(std::string_view haystack, std::size_t from = 0, std::size_t* which = nullptr) const;
  // A place where one of the strings stands in the first line (ended by a
  // line feed) at or after from that holds one, not always the first place
  // there; haystack.size() when there is none.  The strings must hold no
  // line feed but as their first or last byte.  Where matches are dense it
  // costs less than Find, which looks on for a string that starts earlier.
  std::size_t FindInFirstLine(std::string_view haystack, std::size_t from, std::size_t* which = nullptr) const;
  // Whether the string that Find named which stands at at of haystack.
  bool StandsAt(std::string_view haystack, std::size_t at, std::size_t which) const;

  // Fits the search to text like this: for many strings, samples each
  // string where the text holds its q-grams least often; for more than
  // eight of a few, shares the vectorised pass's buckets among strings whose
  // bytes mix least in the text.  Find's results stay the same.
  void Tune(std::string_view text);

 private:
  const TStringSet& Strings() const;

  std::variant<TFewStringSearch, TManyStringSearch> FSearch;
};
