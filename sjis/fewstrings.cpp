// The set search for a few strings.
//
// A vectorised pass over the block tests three bytes of every string at
// every place: the first, the second and the last of the shortest string's
// length.  With AVX2, where the processor has it (asked at run time, as in
// bytescan.h), it takes thirty-two places per step through tables of the
// strings' half-bytes, whatever the number of strings; else sixteen places
// per step, comparing with each string in turn (SSE2).  Only the places
// that pass are compared in full, with the strings that could stand there.
#include "sjis/fewstrings.h"

#include <algorithm>
#include <bit>

#include "sjis/bytescan_impl.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The places the wide code's chunks cover before the narrow code takes over.
constexpr std::size_t kWideFrom = 64;

}  // namespace

TFewStringSearch::TFewStringSearch(TStringSet strings) : FStrings(std::move(strings)) {
  const std::size_t count = FStrings.Size();
  const std::size_t shortest = FStrings.Shortest();
  FPrints.Count = count;
  FPrints.Second = shortest > 1 ? 1 : 0;
  FPrints.Third = shortest - 1;
  std::vector<std::vector<std::uint8_t>> buckets(std::min<std::size_t>(count, 8));
  for (std::size_t k = 0; k < count; ++k) buckets[k * buckets.size() / count].push_back(static_cast<std::uint8_t>(k));
  BuildTables(buckets);
}

// The byte each string has at the three offsets of the pass (with its case
// bit set when folding), and what a byte there must be for a place to be a
// candidate of the string.
void TFewStringSearch::FewBytes(std::size_t k, int j, unsigned char& byte, unsigned char& ignored) const {
  const std::size_t offset = j == 0 ? 0 : j == 1 ? FPrints.Second : FPrints.Third;
  ignored = static_cast<unsigned char>(FStrings[k].Ignored[offset]);
  byte = static_cast<unsigned char>(FStrings[k].Bytes[offset]) | ignored;
}

void TFewStringSearch::BuildTables(const std::vector<std::vector<std::uint8_t>>& buckets) {
  for (int j = 0; j < 3; ++j) {
    std::fill(std::begin(FPrints.LowHalf[j]), std::end(FPrints.LowHalf[j]), 0);
    std::fill(std::begin(FPrints.HighHalf[j]), std::end(FPrints.HighHalf[j]), 0);
  }
  for (std::size_t b = 0; b < 8; ++b) {
    FBucketStrings[b] = b < buckets.size() ? buckets[b] : std::vector<std::uint8_t>{};
    const auto bit = static_cast<unsigned char>(1u << b);
    for (const std::uint8_t k : FBucketStrings[b]) {
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
void TFewStringSearch::Tune(std::string_view text) {
  if (FStrings.Size() <= 8 || text.empty()) return;
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
  for (std::size_t k = 0; k < FStrings.Size(); ++k) buckets.push_back({static_cast<std::uint8_t>(k)});
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
  BuildTables(buckets);
}

std::size_t TFewStringSearch::FirstAt(const char* h, std::size_t n, std::size_t chunk, std::uint32_t mask,
                                      const unsigned char* buckets, std::size_t& which) const {
  for (; mask != 0; mask &= mask - 1) {
    const auto lane = static_cast<std::size_t>(__builtin_ctz(mask));
    const std::size_t at = chunk + lane;
    if (buckets == nullptr) {
      which = FStrings.FirstAt(h, n, at);
      if (which < FStrings.Size()) return at;
      continue;
    }
    for (unsigned bits = buckets[lane]; bits != 0; bits &= bits - 1)
      for (const std::uint8_t k : FBucketStrings[std::countr_zero(bits)])
        if (TStringSet::At(h + at, n - at, FStrings[k])) {
          which = k;
          return at;
        }
  }
  return n;
}

// The wide code runs while whole chunks of 32 places fit, the narrow code
// then while chunks of 16 do, and the last places are compared one by one.
std::size_t TFewStringSearch::Find(std::string_view haystack, std::size_t from, std::size_t& which) const {
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
      if (const std::size_t at = FirstAt(h, n, chunk, mask, buckets, which); at < n) return at;
      i = chunk + 32;
    }
  }
#endif
  for (;;) {
    std::uint32_t mask = 0;
    const std::size_t chunk = multisearch::FewCandidates16(h, n, i, FPrints, mask);
    i = chunk;
    if (mask == 0) break;
    if (const std::size_t at = FirstAt(h, n, chunk, mask, nullptr, which); at < n) return at;
    i = chunk + 16;
  }
  for (; i < n; ++i)
    if ((which = FStrings.FirstAt(h, n, i)) < FStrings.Size()) return i;
  return n;
}

// ---------------------------------------------------------------------------
// The sixteen-byte pass

namespace multisearch {

#if defined(__SSE2__)

std::size_t FewCandidates16(const char* h, std::size_t n, std::size_t from, const TFewStringSearch::TFingerprints& f,
                            std::uint32_t& mask) {
  mask = 0;
  __m128i bytes[3][TFewStringSearch::kMaxStrings];
  __m128i ignored[3][TFewStringSearch::kMaxStrings];
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

std::size_t FewCandidates16(const char* h, std::size_t n, std::size_t from, const TFewStringSearch::TFingerprints& f,
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
