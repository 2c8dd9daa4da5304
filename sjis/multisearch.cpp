#include "sjis/multisearch.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "sjis/bytescan_impl.h"
#include "sjis/sjis.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

std::uint32_t Load32(const char* p) {
  std::uint32_t x;
  std::memcpy(&x, p, sizeof x);
  return x;
}

std::uint64_t Load64(const char* p) {
  std::uint64_t x;
  std::memcpy(&x, p, sizeof x);
  return x;
}

// Up to eight bytes as Load64 would put them.
std::uint64_t LoadShort64(const char* p, std::size_t count) {
  std::uint64_t x = 0;
  std::memcpy(&x, p, std::min<std::size_t>(count, 8));
  return x;
}

// Up to four bytes as Load32 would put them, for the end of a block.
std::uint32_t LoadShort(const char* p, std::size_t count) {
  std::uint32_t x = 0;
  std::memcpy(&x, p, std::min<std::size_t>(count, 4));
  return x;
}

// The places the wide code's chunks cover before the narrow code takes over.
constexpr std::size_t kWideFrom = 64;

}  // namespace

// ---------------------------------------------------------------------------
// Set-up

std::size_t TMultiSearch::SampleStep(std::size_t shortest) {
  const std::size_t m = std::min<std::size_t>(shortest, 16);
  const std::size_t q = std::min<std::size_t>(m, 4);
  return m - q + 1;
}

TMultiSearch::TMultiSearch(const std::vector<std::string>& unsorted, bool foldCase, bool asRead) {
  // In sorted order, neighbours often share their first bytes: a bucket of
  // such strings lets few other byte combinations through.
  std::vector<std::string> strings = unsorted;
  std::sort(strings.begin(), strings.end());
  std::size_t shortest = strings.front().size();
  for (const std::string& s : strings) {
    TNeedle needle{s, std::string(s.size(), '\0')};
    for (std::size_t i = 0; i < s.size();) {
      const auto b = static_cast<unsigned char>(s[i]);
      if (IsDBCSLeadByte(b)) {
        i += 2;
        continue;
      }
      needle.Ignored[i] = static_cast<char>(bytescan::IgnoredBits(s[i], foldCase, asRead));
      i += 1;
    }
    const std::size_t keyBytes = std::min<std::size_t>(s.size(), 8);
    needle.Mask = keyBytes == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * keyBytes)) - 1;
    needle.Fold = LoadShort64(needle.Ignored.data(), keyBytes);
    needle.Key = LoadShort64(s.data(), keyBytes) | needle.Fold;
    needle.Whole = s.size() <= 8;
    FNeedles.push_back(std::move(needle));
    shortest = std::min(shortest, s.size());
  }
  if (FNeedles.size() <= kFewStrings) {
    FPrints.Count = FNeedles.size();
    FPrints.Second = shortest > 1 ? 1 : 0;
    FPrints.Third = shortest - 1;
    std::vector<std::vector<std::uint8_t>> buckets(std::min<std::size_t>(FNeedles.size(), 8));
    for (std::size_t k = 0; k < FNeedles.size(); ++k)
      buckets[k * buckets.size() / FNeedles.size()].push_back(static_cast<std::uint8_t>(k));
    BuildFewTables(buckets);
    return;
  }
  // The sampled search: every string puts the q-grams at offsets
  // 0 .. FStep - 1 into the words and the table, until Tune moves them.
  const std::size_t m = std::min<std::size_t>(shortest, 16);
  FGram = std::min<std::size_t>(m, 4);
  FStep = SampleStep(shortest);
  FGramMask = FGram == 4 ? 0xFFFFFFFFu : (1u << (8 * FGram)) - 1;
  FGramFold = foldCase || asRead ? 0x20202020u & FGramMask : 0;
  FStarts.assign(FNeedles.size(), 0);
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

// The byte each string has at the three offsets of the vectorised pass
// (with its case bit set when folding), and what a byte there must be for
// a place to be a candidate of the string.
void TMultiSearch::FewBytes(std::size_t k, int j, unsigned char& byte, unsigned char& ignored) const {
  const std::size_t offset = j == 0 ? 0 : j == 1 ? FPrints.Second : FPrints.Third;
  ignored = static_cast<unsigned char>(FNeedles[k].Ignored[offset]);
  byte = static_cast<unsigned char>(FNeedles[k].Bytes[offset]) | ignored;
}

void TMultiSearch::BuildFewTables(const std::vector<std::vector<std::uint8_t>>& buckets) {
  for (int j = 0; j < 3; ++j) {
    std::fill(std::begin(FPrints.LowHalf[j]), std::end(FPrints.LowHalf[j]), 0);
    std::fill(std::begin(FPrints.HighHalf[j]), std::end(FPrints.HighHalf[j]), 0);
  }
  for (std::size_t b = 0; b < 8; ++b) {
    FBucketNeedles[b] = b < buckets.size() ? buckets[b] : std::vector<std::uint8_t>{};
    const auto bit = static_cast<unsigned char>(1u << b);
    for (const std::uint8_t k : FBucketNeedles[b]) {
      for (int j = 0; j < 3; ++j) {
        unsigned char byte, ignored;
        FewBytes(k, j, byte, ignored);
        FPrints.Ignored[j][k] = ignored;
        FPrints.Bytes[j][k] = byte;
        // A letter compared without case: both of its cases pass.
        FPrints.LowHalf[j][byte & 15] |= bit;
        FPrints.HighHalf[j][byte >> 4] |= bit;
        FPrints.HighHalf[j][(byte & ~ignored) >> 4] |= bit;
      }
    }
  }
}

// More than eight strings share the eight buckets, and a bucket lets
// through every byte whose halves some string of it has: two strings in one
// bucket also pass the mixtures of their bytes.  Buckets are formed so that
// the mixtures are rare in the text: starting from a bucket per string, the
// two buckets whose union lets most text through beyond what each lets
// through alone are merged, until eight are left.  How much a bucket lets
// through is estimated from the frequencies of single bytes in the text,
// offset by offset.
void TMultiSearch::GroupFew(std::string_view text) {
  if (FNeedles.size() <= 8 || text.empty()) return;
  double frequency[256] = {};
  const std::size_t sample = std::min<std::size_t>(text.size(), 65536);
  for (std::size_t i = 0; i < sample; ++i) frequency[static_cast<unsigned char>(text[i])] += 1.0 / sample;
  const auto passes = [&](const std::vector<std::uint8_t>& bucket) {
    double share = 1;
    for (int j = 0; j < 3; ++j) {
      unsigned lows = 0, highs = 0;
      for (const std::uint8_t k : bucket) {
        unsigned char byte, ignored;
        FewBytes(k, j, byte, ignored);
        lows |= 1u << (byte & 15);
        highs |= 1u << (byte >> 4) | 1u << ((byte & ~ignored) >> 4);
      }
      double sum = 0;
      for (int c = 0; c < 256; ++c)
        if ((lows >> (c & 15) & 1) != 0 && (highs >> (c >> 4) & 1) != 0) sum += frequency[c];
      share *= sum;
    }
    return share;
  };
  std::vector<std::vector<std::uint8_t>> buckets;
  for (std::size_t k = 0; k < FNeedles.size(); ++k) buckets.push_back({static_cast<std::uint8_t>(k)});
  while (buckets.size() > 8) {
    std::size_t first = 0, second = 1;
    double least = 0;
    for (std::size_t a = 0; a < buckets.size(); ++a) {
      for (std::size_t b = a + 1; b < buckets.size(); ++b) {
        std::vector<std::uint8_t> both = buckets[a];
        both.insert(both.end(), buckets[b].begin(), buckets[b].end());
        const double extra = passes(both) - passes(buckets[a]) - passes(buckets[b]);
        if ((a == 0 && b == 1) || extra < least) {
          least = extra;
          first = a;
          second = b;
        }
      }
    }
    buckets[first].insert(buckets[first].end(), buckets[second].begin(), buckets[second].end());
    buckets.erase(buckets.begin() + static_cast<std::ptrdiff_t>(second));
  }
  BuildFewTables(buckets);
}

std::uint32_t TMultiSearch::Around(std::size_t k, std::size_t o) const {
  const std::string& bytes = FNeedles[k].Bytes;
  if (FGram < 4) return ~0u;
  if (o + 1 < FStarts[k] + FStep) return AfterBit(static_cast<unsigned char>(bytes[o + 4]));
  if (o > FStarts[k]) return BeforeBit(static_cast<unsigned char>(bytes[o - 1]));
  return ~0u;
}

void TMultiSearch::BuildTables() {
  FWords.assign(std::size_t{1} << kHashBits, 0);
  FLastOffset = 0;
  std::vector<std::uint32_t> grams;
  for (std::size_t k = 0; k < FNeedles.size(); ++k) {
    for (std::size_t o = FStarts[k]; o < FStarts[k] + FStep; ++o) {
      const std::uint32_t gram = Gram(LoadShort(FNeedles[k].Bytes.data() + o, FGram));
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
void TMultiSearch::Tune(std::string_view text) {
  if (FWords.empty()) return GroupFew(text);
  if (text.size() < 4) return;
  std::vector<std::uint32_t>& counts = FWords;
  std::fill(counts.begin(), counts.end(), 0);
  for (std::size_t i = 0; i + 4 <= text.size(); ++i) ++counts[Hash(Gram(Load32(text.data() + i)))];
  for (std::size_t k = 0; k < FNeedles.size(); ++k) {
    const std::string& bytes = FNeedles[k].Bytes;
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

std::uint32_t TMultiSearch::Hash(std::uint32_t gram) const { return (gram * kHashFactor) >> (32 - kHashBits); }

// ---------------------------------------------------------------------------
// Comparing in full

bool TMultiSearch::At(const char* p, std::size_t available, const TNeedle& needle) const {
  if (needle.Bytes.size() > available) return false;
  if (available >= 8) {
    if (((Load64(p) | needle.Fold) & needle.Mask) != needle.Key) return false;
    if (needle.Whole) return true;
  }
  for (std::size_t j = 0; j < needle.Bytes.size(); ++j)
    if ((p[j] | needle.Ignored[j]) != (needle.Bytes[j] | needle.Ignored[j])) return false;
  return true;
}

std::size_t TMultiSearch::NeedleAt(const char* h, std::size_t n, std::size_t at) const {
  for (std::size_t k = 0; k < FNeedles.size(); ++k)
    if (At(h + at, n - at, FNeedles[k])) return k;
  return FNeedles.size();
}

std::size_t TMultiSearch::Find(std::string_view haystack, std::size_t from, std::size_t* which) const {
  if (from >= haystack.size()) return haystack.size();
  std::size_t needle = FNeedles.size();
  const std::size_t at = FWords.empty() ? FindFew(haystack, from, needle) : FindMany(haystack, from, needle);
  if (which != nullptr) *which = needle;
  return at;
}

bool TMultiSearch::StandsAt(std::string_view haystack, std::size_t at, std::size_t which) const {
  return which < FNeedles.size() && at <= haystack.size() &&
         At(haystack.data() + at, haystack.size() - at, FNeedles[which]);
}

// ---------------------------------------------------------------------------
// A few strings

std::size_t TMultiSearch::FirstAt(const char* h, std::size_t n, std::size_t chunk, std::uint32_t mask,
                                  const unsigned char* buckets, std::size_t& needle) const {
  for (; mask != 0; mask &= mask - 1) {
    const auto lane = static_cast<std::size_t>(__builtin_ctz(mask));
    const std::size_t at = chunk + lane;
    if (buckets == nullptr) {
      needle = NeedleAt(h, n, at);
      if (needle < FNeedles.size()) return at;
      continue;
    }
    for (unsigned bits = buckets[lane]; bits != 0; bits &= bits - 1)
      for (const std::uint8_t k : FBucketNeedles[std::countr_zero(bits)])
        if (At(h + at, n - at, FNeedles[k])) {
          needle = k;
          return at;
        }
  }
  return n;
}

// The wide code runs while whole chunks of 32 places fit, the narrow code
// then while chunks of 16 do, and the last places are compared one by one.
std::size_t TMultiSearch::FindFew(std::string_view haystack, std::size_t from, std::size_t& needle) const {
  const char* h = haystack.data();
  const std::size_t n = haystack.size();
  std::size_t i = from;
#if defined(KOVALEX_HAVE_AVX2)
  if (n - i >= kWideFrom && bytescan::HasAvx2()) {
    for (;;) {
      std::uint32_t mask = 0;
      unsigned char buckets[32];
      const std::size_t chunk = multisearch::FewCandidates32(h, n, i, FPrints, mask, buckets);
      i = chunk;
      if (mask == 0) break;
      if (const std::size_t at = FirstAt(h, n, chunk, mask, buckets, needle); at < n) return at;
      i = chunk + 32;
    }
  }
#endif
  for (;;) {
    std::uint32_t mask = 0;
    const std::size_t chunk = multisearch::FewCandidates16(h, n, i, FPrints, mask);
    i = chunk;
    if (mask == 0) break;
    if (const std::size_t at = FirstAt(h, n, chunk, mask, nullptr, needle); at < n) return at;
    i = chunk + 16;
  }
  for (; i < n; ++i)
    if ((needle = NeedleAt(h, n, i)) < FNeedles.size()) return i;
  return n;
}

// ---------------------------------------------------------------------------
// Many strings

// The leftmost place, at or after from and before best, where a string
// whose q-gram at offset o is the sample's gram stands with that q-gram at
// sample p (and which string: best's needle); best when there is none.
std::size_t TMultiSearch::CheckSample(const char* h, std::size_t n, std::size_t from, std::size_t p, std::uint32_t gram,
                                      std::uint32_t hash, std::size_t best, std::size_t& bestNeedle) const {
  const std::uint32_t b = hash >> (kHashBits - FTableBits);
  for (std::uint32_t e = FBucketStart[b]; e < FBucketStart[b + 1]; ++e) {
    const TEntry& entry = FEntries[e];
    if (entry.Gram != gram || entry.Offset > p - from) continue;
    const std::size_t at = p - entry.Offset;
    if (at >= best) continue;
    const TNeedle& needle = FNeedles[entry.Needle];
    if (at + 8 <= n) {
      if (((Load64(h + at) | needle.Fold) & needle.Mask) != needle.Key) continue;
      if (needle.Whole) {
        best = at;
        bestNeedle = entry.Needle;
        continue;
      }
    }
    if (At(h + at, n - at, needle)) {
      best = at;
      bestNeedle = entry.Needle;
    }
  }
  return best;
}

// The bytes around the sample that the text lacks are taken as zero bytes:
// only a string that a wildcard word stands for can be there then.
bool TMultiSearch::Passes(const char* h, std::size_t n, std::size_t p, std::uint32_t hash) const {
  const auto after = static_cast<unsigned char>(p + 4 < n ? h[p + 4] : 0);
  const auto before = static_cast<unsigned char>(p >= 1 ? h[p - 1] : 0);
  return (FWords[hash] & (AfterBit(after) | BeforeBit(before))) != 0;
}

// Samples stand at from + FStep - 1 and every FStep places after it: an
// occurrence at t >= from of a string sampled from offset s covers the
// sample in [t + s, t + s + FStep - 1], whose q-gram lies within the
// string.  Once a place is found, only samples up to FLastOffset past it
// can still find one before it.
std::size_t TMultiSearch::FindMany(std::string_view haystack, std::size_t from, std::size_t& needle) const {
  const char* h = haystack.data();
  const std::size_t n = haystack.size();
  std::size_t best = n;
  const auto sample = [&](std::size_t p, std::uint32_t gram) {
    const std::uint32_t hash = Hash(gram);
    if (Passes(h, n, p, hash)) best = CheckSample(h, n, from, p, gram, hash, best, needle);
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
      for (; p + reach <= n && p < best + FLastOffset; p += 8 * static_cast<std::size_t>(groups) * FStep) {
        for (std::uint64_t mask = multisearch::ManyCandidates32(h + p, FSampling, FWords.data(), groups); mask != 0;
             mask &= mask - 1) {
          const std::size_t at = p + static_cast<std::size_t>(__builtin_ctzll(mask)) * FStep;
          if (at >= best + FLastOffset) break;
          const std::uint32_t gram = Gram(Load32(h + at));
          best = CheckSample(h, n, from, at, gram, Hash(gram), best, needle);
        }
      }
    }
  }
#endif
  for (; p + 4 <= n && p < best + FLastOffset; p += FStep) sample(p, Gram(Load32(h + p)));
  for (; p + FGram <= n && p < best + FLastOffset; p += FStep) sample(p, Gram(LoadShort(h + p, n - p)));
  return best;
}

// ---------------------------------------------------------------------------
// The sixteen-byte pass

namespace multisearch {

#if defined(__SSE2__)

std::size_t FewCandidates16(const char* h, std::size_t n, std::size_t from, const TMultiSearch::TFingerprints& f,
                            std::uint32_t& mask) {
  mask = 0;
  __m128i bytes[3][TMultiSearch::kFewStrings];
  __m128i ignored[3][TMultiSearch::kFewStrings];
  for (int j = 0; j < 3; ++j) {
    for (std::size_t k = 0; k < f.Count; ++k) {
      bytes[j][k] = _mm_set1_epi8(static_cast<char>(f.Bytes[j][k]));
      ignored[j][k] = _mm_set1_epi8(static_cast<char>(f.Ignored[j][k]));
    }
  }
  std::size_t i = from;
  for (; i + f.Third + 16 <= n; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + f.Second));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + f.Third));
    __m128i any = _mm_setzero_si128();
    for (std::size_t k = 0; k < f.Count; ++k) {
      const __m128i x = _mm_cmpeq_epi8(_mm_or_si128(a, ignored[0][k]), bytes[0][k]);
      const __m128i y = _mm_cmpeq_epi8(_mm_or_si128(b, ignored[1][k]), bytes[1][k]);
      const __m128i z = _mm_cmpeq_epi8(_mm_or_si128(c, ignored[2][k]), bytes[2][k]);
      any = _mm_or_si128(any, _mm_and_si128(_mm_and_si128(x, y), z));
    }
    mask = static_cast<std::uint32_t>(_mm_movemask_epi8(any));
    if (mask != 0) return i;
  }
  return i;
}

#else

std::size_t FewCandidates16(const char* h, std::size_t n, std::size_t from, const TMultiSearch::TFingerprints& f,
                            std::uint32_t& mask) {
  mask = 0;
  std::size_t i = from;
  for (; i + f.Third + 16 <= n; i += 16) {
    for (std::size_t lane = 0; lane < 16; ++lane) {
      const auto* p = reinterpret_cast<const unsigned char*>(h + i + lane);
      for (std::size_t k = 0; k < f.Count; ++k) {
        if ((p[0] | f.Ignored[0][k]) == f.Bytes[0][k] && (p[f.Second] | f.Ignored[1][k]) == f.Bytes[1][k] &&
            (p[f.Third] | f.Ignored[2][k]) == f.Bytes[2][k])
          mask |= 1u << lane;
      }
    }
    if (mask != 0) return i;
  }
  return i;
}

#endif

}  // namespace multisearch
