// The set search for many strings.
//
// Samples of the text are spaced so that every occurrence of the shortest
// string covers one: a q-gram of up to four bytes, spaced by its length
// less q, plus one.  Each is hashed and looked up in a table of a word per
// hash.  A word holds, for the strings' q-grams of its hash at the offsets
// sampled, the low half of a neighbouring byte: the byte after the q-gram
// where that is still within the run of offsets sampled, else the byte
// before it.  So a sample is a candidate only when its q-gram and one of the
// bytes next to it agree with a string, which in text of the same language
// as the strings lets through several times fewer samples than the q-gram
// alone.  A candidate names the strings and offsets to compare in full (a
// table by hash).  Work per byte is one hash and one word test per sample,
// whatever the number of strings; with AVX2, eight samples at a time (the
// table's words gathered), sixty-four before any candidate is looked at, so
// that the pass does not stop at each one.
//
// A string longer than the shortest has several runs of offsets that serve
// (its first bytes, or any later run of as many q-grams); Tune picks for each
// string the run whose q-grams a sample of the text holds least often, so
// that fewer samples of common text are candidates.
#include "sjis/manystrings.h"

#include <algorithm>

#include "sjis/bytescan_impl.h"

using multisearch::Load32;
using multisearch::Load64;
using multisearch::LoadShort;

std::size_t TManyStringSearch::SampleStep(std::size_t shortest) {
  const std::size_t m = std::min<std::size_t>(shortest, 16);
  const std::size_t q = std::min<std::size_t>(m, 4);
  return m - q + 1;
}

// Every string puts the q-grams at offsets 0 .. FStep - 1 into the words and
// the table, until Tune moves them.
TManyStringSearch::TManyStringSearch(TStringSet strings, bool foldCase, bool asRead) : FStrings(std::move(strings)) {
  const std::size_t shortest = FStrings.Shortest();
  const std::size_t m = std::min<std::size_t>(shortest, 16);
  FGram = std::min<std::size_t>(m, 4);
  FStep = SampleStep(shortest);
  FGramMask = FGram == 4 ? 0xFFFFFFFFu : (1u << (8 * FGram)) - 1;
  FGramFold = foldCase || asRead ? 0x20202020u & FGramMask : 0;
  FStarts.assign(FStrings.Size(), 0);
  FSampling.Step = FStep;
  FSampling.GramMask = FGramMask;
  FSampling.GramFold = FGramFold;
  const std::size_t perLoad = SamplesPerLoad(FStep);
  for (std::size_t j = 0; j < 8; ++j) {
    const std::size_t first = j % perLoad * FStep + 1;  // of the sample's four bytes, loaded from one before
    for (std::size_t i = 0; i < 4; ++i) {
      FSampling.Spread[4 * j + i] = static_cast<unsigned char>((first + i) & 15);
      // Only the word's low byte; 0x80 puts a zero.
      FSampling.Before[4 * j + i] = i == 0 ? static_cast<unsigned char>((first - 1) & 15) : 0x80;
      FSampling.After[4 * j + i] = i == 0 ? static_cast<unsigned char>((first + 4) & 15) : 0x80;
    }
    FSampling.Offsets[j] = static_cast<std::int32_t>(j * FStep);
  }
  BuildTables();
}

std::uint32_t TManyStringSearch::Around(std::size_t k, std::size_t o) const {
  const std::string& bytes = FStrings[k].Bytes;
  if (FGram < 4) return ~0u;
  if (o + 1 < FStarts[k] + FStep) return AfterBit(static_cast<unsigned char>(bytes[o + 4]));
  if (o > FStarts[k]) return BeforeBit(static_cast<unsigned char>(bytes[o - 1]));
  return ~0u;
}

void TManyStringSearch::BuildTables() {
  FWords.assign(std::size_t{1} << kHashBits, 0);
  FLastOffset = 0;
  std::vector<std::uint32_t> grams;
  for (std::size_t k = 0; k < FStrings.Size(); ++k) {
    for (std::size_t o = FStarts[k]; o < FStarts[k] + FStep; ++o) {
      const std::uint32_t gram = Gram(LoadShort(FStrings[k].Bytes.data() + o, FGram));
      const std::uint32_t h = Hash(gram);
      FWords[h] |= Around(k, o);
      grams.push_back(gram);
      FLastOffset = std::max(FLastOffset, o);
    }
  }
  // About two buckets per entry.
  FTableBits = 8;
  while (FTableBits < kHashBits && (std::size_t{1} << FTableBits) < 2 * grams.size()) ++FTableBits;
  FBucketStart.assign((std::size_t{1} << FTableBits) + 1, 0);
  const auto bucket = [this](std::uint32_t gram) { return Hash(gram) >> (kHashBits - FTableBits); };
  for (std::uint32_t gram : grams) ++FBucketStart[bucket(gram) + 1];
  for (std::size_t b = 1; b < FBucketStart.size(); ++b) FBucketStart[b] += FBucketStart[b - 1];
  FEntries.resize(grams.size());
  std::vector<std::uint32_t> fill(FBucketStart.begin(), FBucketStart.end() - 1);
  for (std::size_t i = 0; i < grams.size(); ++i) {
    const std::size_t k = i / FStep;
    FEntries[fill[bucket(grams[i])]++] = {static_cast<std::uint32_t>(k),
                                          static_cast<std::uint32_t>(FStarts[k] + i % FStep), grams[i]};
  }
}

// The text's q-grams are counted by hash (strings whose q-grams share a
// hash share a count: a rough measure is enough); each string then takes
// the run of FStep offsets whose counts add up least, the earliest of equals.
// The counts borrow the table of words (of the same size), which
// BuildTables then fills anew: a second table would add to the peak memory.
void TManyStringSearch::Tune(std::string_view text) {
  if (text.size() < 4) return;
  std::vector<std::uint32_t>& counts = FWords;
  std::fill(counts.begin(), counts.end(), 0);
  for (std::size_t i = 0; i + 4 <= text.size(); ++i) ++counts[Hash(Gram(Load32(text.data() + i)))];
  for (std::size_t k = 0; k < FStrings.Size(); ++k) {
    const std::string& bytes = FStrings[k].Bytes;
    const std::size_t runs = bytes.size() - (FStep + FGram - 1) + 1;
    std::uint64_t best = UINT64_MAX;
    for (std::size_t s = 0; s < runs; ++s) {
      std::uint64_t sum = 0;
      for (std::size_t o = s; o < s + FStep; ++o) sum += counts[Hash(Gram(LoadShort(bytes.data() + o, FGram)))];
      if (sum < best) {
        best = sum;
        FStarts[k] = static_cast<std::uint32_t>(s);
      }
    }
  }
  BuildTables();
}

std::uint32_t TManyStringSearch::Hash(std::uint32_t gram) const { return (gram * kHashFactor) >> (32 - kHashBits); }

// The leftmost place, at or after from and before best, where a string
// whose q-gram at offset o is the sample's gram stands with that q-gram at
// sample p (and which string: bestString); best when there is none.
std::size_t TManyStringSearch::CheckSample(const char* h, std::size_t n, std::size_t from, std::size_t p,
                                           std::uint32_t gram, std::uint32_t hash, std::size_t best,
                                           std::size_t& bestString) const {
  const std::uint32_t b = hash >> (kHashBits - FTableBits);
  for (std::uint32_t e = FBucketStart[b]; e < FBucketStart[b + 1]; ++e) {
    const TEntry& entry = FEntries[e];
    if (entry.Gram != gram || entry.Offset > p - from) continue;
    const std::size_t at = p - entry.Offset;
    if (at >= best) continue;
    const TSetString& string = FStrings[entry.String];
    if (at + 8 <= n) {
      if (((Load64(h + at) | string.Fold) & string.Mask) != string.Key) continue;
      if (string.Whole) {
        best = at;
        bestString = entry.String;
        continue;
      }
    }
    if (TStringSet::At(h + at, n - at, string)) {
      best = at;
      bestString = entry.String;
    }
  }
  return best;
}

// The bytes around the sample that the text lacks are taken as zero bytes:
// only a string that a wildcard word stands for can be there then.
bool TManyStringSearch::Passes(const char* h, std::size_t n, std::size_t p, std::uint32_t hash) const {
  const auto after = static_cast<unsigned char>(p + 4 < n ? h[p + 4] : 0);
  const auto before = static_cast<unsigned char>(p >= 1 ? h[p - 1] : 0);
  return (FWords[hash] & (AfterBit(after) | BeforeBit(before))) != 0;
}

// Samples stand at from + FStep - 1 and every FStep places after it: an
// occurrence at t >= from of a string sampled from offset s covers the
// sample in [t + s, t + s + FStep - 1], whose q-gram lies within the
// string.  Once a place is found, only samples up to FLastOffset past it
// can still find one before it.  Such a one stands in the same line when the
// strings hold no line feed but as their first or last byte: a string in an
// earlier line ends before the place, and so do its samples, all taken
// before it.
std::size_t TManyStringSearch::Find(std::string_view haystack, std::size_t from, std::size_t& which,
                                    bool leftmost) const {
  const std::size_t lookOn = leftmost ? FLastOffset : 0;
  const char* h = haystack.data();
  const std::size_t n = haystack.size();
  std::size_t best = n;
  const auto sample = [&](std::size_t p, std::uint32_t gram) {
    const std::uint32_t hash = Hash(gram);
    if (Passes(h, n, p, hash)) best = CheckSample(h, n, from, p, gram, hash, best, which);
  };
  std::size_t p = from + FStep - 1;
#if defined(KOVALEX_HAVE_AVX2)
  // The wide code reads the byte before each sample.
  if (p == 0 && n >= 4) {
    sample(0, Gram(Load32(h)));
    p += FStep;
  }
  if (bytescan::HasAvx2()) {
    // Sixty-four samples at a time, then eight (a short haystack: a line).
    for (const int groups : {8, 1}) {
      const std::size_t reach = multisearch::ManyReach(FStep, groups);
      for (; p + reach <= n && p < best + lookOn; p += 8 * static_cast<std::size_t>(groups) * FStep) {
        for (std::uint64_t mask = multisearch::ManyCandidates32(h + p, FSampling, FWords.data(), groups); mask != 0;
             mask &= mask - 1) {
          const std::size_t at = p + static_cast<std::size_t>(__builtin_ctzll(mask)) * FStep;
          if (at >= best + lookOn) break;
          const std::uint32_t gram = Gram(Load32(h + at));
          best = CheckSample(h, n, from, at, gram, Hash(gram), best, which);
        }
      }
    }
  }
#endif
  for (; p + 4 <= n && p < best + lookOn; p += FStep) sample(p, Gram(Load32(h + p)));
  for (; p + FGram <= n && p < best + lookOn; p += FStep) sample(p, Gram(LoadShort(h + p, n - p)));
  return best;
}
