// The set search for many strings: samples of the text, spaced so that
// every occurrence of the shortest string covers one, hashed and looked up
// in a table of a word per hash; and its tuner, which samples each string
// where a text holds its q-grams least often.  See manystrings.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "sjis/stringset.h"

class TManyStringSearch {
 public:
  // The spacing of samples for strings of which the shortest has this length.
  static std::size_t SampleStep(std::size_t shortest);
  // A sample's q-gram hashes to the top kHashBits bits of it times
  // kHashFactor; the search has a word per hash.
  static constexpr int kHashBits = 16;
  static constexpr std::uint32_t kHashFactor = 0x9E3779B1u;

  // foldCase, asRead: as the strings were made (see TStringSet).
  TManyStringSearch(TStringSet strings, bool foldCase, bool asRead);

  const TStringSet& Strings() const { return FStrings; }
  // The first place at or after from where one of the strings stands in
  // haystack, or haystack.size(); which names the string (else unchanged).
  // Without leftmost, the first place found, which for strings without a
  // line feed stands in the first line that holds one (see Find).
  std::size_t Find(std::string_view haystack, std::size_t from, std::size_t& which, bool leftmost = true) const;
  // Samples each string where text like this holds its q-grams least often.
  // Find's results stay the same.
  void Tune(std::string_view text);

  // What the vectorised pass needs: samples stand every Step places; a
  // sample's q-gram is its four bytes under GramMask, ORed with GramFold; it
  // is a candidate when the word of its hash (in the table of words passed
  // along) has the bit of the low half of the byte after the four (bits
  // 0-15) or of the byte before them (bits 16-31).  Spread, Before and After
  // place the bytes of samples loaded sixteen bytes at a time, from one
  // before the first, in words: for steps up to three, four samples per load
  // (the sample j % 4 at j % 4 * Step + 1); for steps up to kPairSteps, two
  // (the sample j % 2 at j % 2 * Step + 1), so that eight samples take four
  // loads.  Larger steps gather the words at Offsets (j * Step) instead.
  static constexpr std::size_t kPairSteps = 10;
  static constexpr std::size_t SamplesPerLoad(std::size_t step) { return step <= 3 ? 4 : step <= kPairSteps ? 2 : 1; }
  struct TSampling {
    std::size_t Step = 0;
    std::uint32_t GramMask = 0;
    std::uint32_t GramFold = 0;
    unsigned char Spread[32] = {};
    unsigned char Before[32] = {};
    unsigned char After[32] = {};
    std::int32_t Offsets[8] = {};
  };
  // A sample's bit in its word: the low half of the byte after its four, or
  // of the byte before, shifted by 16.
  static constexpr std::uint32_t AfterBit(unsigned char after) { return 1u << (after & 15); }
  static constexpr std::uint32_t BeforeBit(unsigned char before) { return 1u << (16 + (before & 15)); }

 private:
  // A string whose q-gram at Offset hashes to the entry's bucket; Gram is
  // that q-gram as a sample is hashed (under FGramMask, with FGramFold), for
  // a quick test before the full comparison.
  struct TEntry {
    std::uint32_t String;
    std::uint32_t Offset;
    std::uint32_t Gram;
  };
  // The words and the table of the strings' q-grams at FStarts[k] ..
  // FStarts[k] + FStep - 1.
  void BuildTables();
  // The bits that a q-gram at offset o of string k sets in its word.
  std::uint32_t Around(std::size_t k, std::size_t o) const;
  // Whether the sample at p is a candidate.
  bool Passes(const char* h, std::size_t n, std::size_t p, std::uint32_t hash) const;
  std::uint32_t Gram(std::uint32_t bytes) const { return (bytes & FGramMask) | FGramFold; }
  std::uint32_t Hash(std::uint32_t gram) const;
  std::size_t CheckSample(const char* h, std::size_t n, std::size_t from, std::size_t p, std::uint32_t gram,
                          std::uint32_t hash, std::size_t best, std::size_t& bestString) const;

  TStringSet FStrings;
  std::size_t FGram = 0;  // q
  std::size_t FStep = 0;  // spacing of samples
  std::uint32_t FGramMask = 0;
  std::uint32_t FGramFold = 0;
  std::vector<std::uint32_t> FStarts;  // per string, the first offset sampled
  std::size_t FLastOffset = 0;         // the largest offset sampled
  // Per hash, the bytes around the strings' q-grams of that hash (see
  // TSampling): one bit when a byte after the q-gram stays within the run
  // of offsets sampled, else one of the byte before it, else all.
  std::vector<std::uint32_t> FWords;
  TSampling FSampling;
  // The table of entries has a bucket per 2^(kHashBits - FTableBits)
  // hashes, few enough to stay in the cache.
  int FTableBits = 0;
  // entries of bucket b: [FBucketStart[b], FBucketStart[b + 1])
  std::vector<std::uint32_t> FBucketStart;
  std::vector<TEntry> FEntries;
};

#if defined(__x86_64__)
namespace multisearch {

// Which of the 8 * groups samples (at most sixty-four) at h, h + s.Step,
// h + 2 * s.Step, ... are candidates, a bit each.  They read from h - 1 to
// h + ManyReach(s.Step, groups).  Only where bytescan::HasAvx2().
std::uint64_t ManyCandidates32(const char* h, const TManyStringSearch::TSampling& s, const std::uint32_t* words,
                               int groups);
constexpr std::size_t ManyReach(std::size_t step, int groups) {
  const std::size_t perLoad = TManyStringSearch::SamplesPerLoad(step);
  const std::size_t last = perLoad == 1 ? 7 * step + 5 : (8 - perLoad) * step + 15;  // past the last byte read
  return 8 * static_cast<std::size_t>(groups - 1) * step + last;
}

}  // namespace multisearch
#endif
