// The set search for a few strings: a vectorised pass that tests three
// bytes of every string at every place, then the places that pass compared
// in full; and its tuner, which shares the pass's eight buckets among more
// than eight strings.  See fewstrings.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "sjis/stringset.h"

class TFewStringSearch {
 public:
  static constexpr std::size_t kMaxStrings = 16;

  // At most kMaxStrings strings.
  explicit TFewStringSearch(TStringSet strings);

  const TStringSet& Strings() const { return FStrings; }
  // The first place at or after from where one of the strings stands in
  // haystack, or haystack.size(); which names the string (else Size()).
  std::size_t Find(std::string_view haystack, std::size_t from, std::size_t& which) const;
  // For more than eight strings: buckets whose strings' bytes mix least in
  // text like this.  Find's results stay the same.
  void Tune(std::string_view text);

  // The three bytes that the pass compares, per string: at offsets 0,
  // Second and Third, each ORed with its Ignored bits first (the case bit of
  // a letter when folding).  The thirty-two-byte pass instead puts the
  // strings into eight buckets and looks up each byte's low and high half in
  // a table of sixteen bucket masks per offset (a place is a candidate when
  // some bucket's bit survives all six lookups).
  struct TFingerprints {
    std::size_t Count = 0;
    std::size_t Second = 0;
    std::size_t Third = 0;
    unsigned char Bytes[3][kMaxStrings] = {};
    unsigned char Ignored[3][kMaxStrings] = {};
    unsigned char LowHalf[3][16] = {};
    unsigned char HighHalf[3][16] = {};
  };

 private:
  // The first place of the chunk's candidates (mask) where a string stands
  // (which); with buckets (per place), only strings of the buckets there
  // are compared.
  std::size_t FirstAt(const char* h, std::size_t n, std::size_t chunk, std::uint32_t mask, const unsigned char* buckets,
                      std::size_t& which) const;
  void FewBytes(std::size_t k, int j, unsigned char& byte, unsigned char& ignored) const;
  // The pass's tables for strings put into these buckets.
  void BuildTables(const std::vector<std::vector<std::uint8_t>>& buckets);

  TStringSet FStrings;
  TFingerprints FPrints;
  std::vector<std::uint8_t> FBucketStrings[8];  // per bucket of the pass, its strings
};

namespace multisearch {

// The first chunk at or after from (stepping by sixteen) with a place where
// some fingerprint agrees, or the first chunk start past the last whole
// chunk; mask says which places of the chunk.  A chunk needs
// f.Third + 16 bytes from its start.
std::size_t FewCandidates16(const char* h, std::size_t n, std::size_t from, const TFewStringSearch::TFingerprints& f,
                            std::uint32_t& mask);
#if defined(__x86_64__)
// The same, thirty-two places per step (only where bytescan::HasAvx2()),
// and per place of the chunk the buckets that let it through.
std::size_t FewCandidates32(const char* h, std::size_t n, std::size_t from, const TFewStringSearch::TFingerprints& f,
                            std::uint32_t& mask, unsigned char* buckets);
#endif

}  // namespace multisearch
