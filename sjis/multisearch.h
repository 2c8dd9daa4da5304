// Searching a block of bytes for the first place where any of a set of byte
// strings stands (the fast scan's search for a pattern's required set, see
// required_set.h).
//
// A few strings (up to kFewStrings): a vectorised pass over the block that
// tests three bytes of every string (the first, the second and the last of
// the shortest string's length) at every place: with AVX2, where the
// processor has it (asked at run time, as in bytescan.h), thirty-two places
// per step through tables of the strings' half-bytes, whatever the number
// of strings; else sixteen places per step, comparing with each string in
// turn (SSE2).  Only places that pass are compared in full.
//
// More strings: samples of the text spaced so that every occurrence of the
// shortest string covers one sample (a q-gram of up to four bytes, spaced by
// its length less q, plus one), each hashed and looked up in a table of a
// word per hash.  A word holds, for the strings' q-grams of its hash at the
// offsets sampled, the low half of a neighbouring byte: the byte after the
// q-gram where that is still within the run of offsets sampled, else the
// byte before it.  So a sample is a candidate only when its q-gram and one
// of the bytes next to it agree with a string, which in text of the same
// language as the strings lets through several times fewer samples than
// the q-gram alone.  A candidate names the strings and offsets to compare in
// full (a table by hash).  Work per byte is one hash and one word test per
// sample, independent of the number of strings; with AVX2, eight samples
// at a time (the table's words gathered), sixty-four before any candidate
// is looked at, so that the pass does not stop at each one.  A string
// longer than the shortest has several runs of offsets that serve (its
// first bytes, or any later run of as many q-grams); Tune picks for each
// string the run whose q-grams a sample of the text holds least often, so
// that fewer samples of common text are candidates.
//
// What runs per byte: the vector comparisons or the sampled hash; per place
// found: full comparisons of the strings that could stand there.  Letters
// are compared without case when asked, but only letters that are single
// characters of a string (never the second byte of a double-byte
// character); so are spaces against zero bytes when asked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TMultiSearch {
 public:
  static constexpr std::size_t kFewStrings = 16;
  // The spacing of samples for strings of which the shortest has this length.
  static std::size_t SampleStep(std::size_t shortest);
  // A sample's q-gram hashes to the top kHashBits bits of it times
  // kHashFactor; the sampled search has a word per hash.
  static constexpr int kHashBits = 16;
  static constexpr std::uint32_t kHashFactor = 0x9E3779B1u;

  // strings must not be empty, nor hold an empty string.
  // With asRead a space of the strings matches a zero byte too, as in
  // FindBytes (the strings then hold no line feed).
  TMultiSearch(const std::vector<std::string>& strings, bool foldCase, bool asRead = false);

  // The first place at or after from where one of the strings stands in
  // haystack, or haystack.size() when there is none; which, when asked,
  // names a string that stands there (for StandsAt).
  std::size_t Find(std::string_view haystack, std::size_t from = 0, std::size_t* which = nullptr) const;
  // Whether the string that Find named which stands at at of haystack.
  bool StandsAt(std::string_view haystack, std::size_t at, std::size_t which) const;

  // Fits the search to text like this: for many strings, samples each
  // string where the text holds its q-grams least often; for more than
  // eight of a few, shares the vectorised pass's buckets among strings whose
  // bytes mix least in the text.  Find's results stay the same.
  void Tune(std::string_view text);

  // What the vectorised pass of the sampled search needs: samples stand
  // every Step places; a sample's q-gram is its four bytes under GramMask,
  // ORed with GramFold; it is a candidate when the word of its hash (in the
  // table of words passed along) has the bit of the low half of the byte
  // after the four (bits 0-15) or of the byte before them (bits 16-31).
  // Spread, Before and After place the bytes of samples loaded sixteen
  // bytes at a time, from one before the first, in words: for steps up to
  // three, four samples per load (the sample j % 4 at j % 4 * Step + 1);
  // for steps up to kPairSteps, two (the sample j % 2 at j % 2 * Step + 1),
  // so that eight samples take four loads.  Larger steps gather the words
  // at Offsets (j * Step) instead.
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

  // The three bytes that the vectorised pass compares, per string: at
  // offsets 0, Second and Third, each ORed with its Ignored bits first (the
  // case bit of a letter when folding).  The thirty-two-byte pass instead
  // puts the strings into eight buckets and looks up each byte's low and
  // high half in a table of sixteen bucket masks per offset (a place is a
  // candidate when some bucket's bit survives all six lookups).
  struct TFingerprints {
    std::size_t Count = 0;
    std::size_t Second = 0;
    std::size_t Third = 0;
    unsigned char Bytes[3][kFewStrings] = {};
    unsigned char Ignored[3][kFewStrings] = {};
    unsigned char LowHalf[3][16] = {};
    unsigned char HighHalf[3][16] = {};
  };

 private:
  struct TNeedle {
    std::string Bytes;
    std::string Ignored;  // per byte: 0x20 for a single-character letter when folding, else 0
    // The first eight bytes (or fewer) as one word: a place holds them when
    // (its eight bytes | Fold) & Mask == Key; Whole when they are all.
    std::uint64_t Key = 0;
    std::uint64_t Mask = 0;
    std::uint64_t Fold = 0;
    bool Whole = false;
  };
  // A string whose q-gram at Offset hashes to the entry's bucket; Gram is
  // that q-gram as a sample is hashed (under FGramMask, with FGramFold), for
  // a quick test before the full comparison.
  struct TEntry {
    std::uint32_t Needle;
    std::uint32_t Offset;
    std::uint32_t Gram;
  };
  bool At(const char* p, std::size_t available, const TNeedle& needle) const;
  // The first string that stands at at, or FNeedles.size().
  std::size_t NeedleAt(const char* h, std::size_t n, std::size_t at) const;
  // The first place of the chunk's candidates (mask) where a string stands
  // (needle); with buckets (per place), only strings of the buckets there
  // are compared.
  std::size_t FirstAt(const char* h, std::size_t n, std::size_t chunk, std::uint32_t mask, const unsigned char* buckets,
                      std::size_t& needle) const;
  // Find, with the string found in needle.
  std::size_t FindFew(std::string_view haystack, std::size_t from, std::size_t& needle) const;
  void FewBytes(std::size_t k, int j, unsigned char& byte, unsigned char& ignored) const;
  // The vectorised pass's tables for strings put into these buckets.
  void BuildFewTables(const std::vector<std::vector<std::uint8_t>>& buckets);
  void GroupFew(std::string_view text);
  std::size_t FindMany(std::string_view haystack, std::size_t from, std::size_t& needle) const;
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
                          std::uint32_t hash, std::size_t best, std::size_t& bestNeedle) const;

  std::vector<TNeedle> FNeedles;
  TFingerprints FPrints;
  std::vector<std::uint8_t> FBucketNeedles[8];  // per bucket of the vectorised pass, its strings
  // The sampled search.
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

namespace multisearch {

// The first chunk at or after from (stepping by sixteen) with a place where
// some fingerprint agrees, or the first chunk start past the last whole
// chunk; mask says which places of the chunk.  A chunk needs
// f.Third + 16 bytes from its start.
std::size_t FewCandidates16(const char* h, std::size_t n, std::size_t from, const TMultiSearch::TFingerprints& f,
                            std::uint32_t& mask);
#if defined(__x86_64__)
// The same, thirty-two places per step (only where bytescan::HasAvx2()),
// and per place of the chunk the buckets that let it through.
std::size_t FewCandidates32(const char* h, std::size_t n, std::size_t from, const TMultiSearch::TFingerprints& f,
                            std::uint32_t& mask, unsigned char* buckets);
// Which of the 8 * groups samples (at most sixty-four) at h, h + s.Step,
// h + 2 * s.Step, ... are candidates, a bit each.  They read from h - 1 to
// h + ManyReach(s.Step, groups).  Only where bytescan::HasAvx2().
std::uint64_t ManyCandidates32(const char* h, const TMultiSearch::TSampling& s, const std::uint32_t* words, int groups);
constexpr std::size_t ManyReach(std::size_t step, int groups) {
  const std::size_t perLoad = TMultiSearch::SamplesPerLoad(step);
  const std::size_t last = perLoad == 1 ? 7 * step + 5 : (8 - perLoad) * step + 15;  // past the last byte read
  return 8 * static_cast<std::size_t>(groups - 1) * step + last;
}
#endif

}  // namespace multisearch
