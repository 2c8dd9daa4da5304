// The thirty-two-byte passes of the set search (multisearch.h): thirty-two
// places per step for a few strings (fewstrings.h), eight samples per step
// for many (manystrings.h).  This file alone of the set search is compiled
// for AVX2; the caller asks bytescan::HasAvx2() before calling in.
#include "sjis/bytescan_impl.h"
#include "sjis/fewstrings.h"
#include "sjis/manystrings.h"

#if defined(KOVALEX_HAVE_AVX2)

#include <immintrin.h>

namespace multisearch {

namespace {

__m256i Load(const char* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }

__m256i Table(const unsigned char (&t)[16]) {
  return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(t)));
}

// Per place and offset, the buckets whose strings have the place's low half
// and high half there; a place is a candidate when a bucket survives every
// offset.  Offsets that repeat an earlier one (strings of one or two bytes)
// are looked up once.
template <int kOffsets>
std::size_t Candidates(const char* h, std::size_t n, std::size_t from, const TFewStringSearch::TFingerprints& f,
                       std::uint32_t& mask, unsigned char* buckets) {
  mask = 0;
  const __m256i low0 = Table(f.LowHalf[0]), high0 = Table(f.HighHalf[0]);
  const __m256i low1 = Table(f.LowHalf[1]), high1 = Table(f.HighHalf[1]);
  const __m256i low2 = Table(f.LowHalf[2]), high2 = Table(f.HighHalf[2]);
  const __m256i halves = _mm256_set1_epi8(15);
  const __m256i zero = _mm256_setzero_si256();
  const auto lookup = [&](__m256i text, __m256i low, __m256i high) {
    const __m256i l = _mm256_shuffle_epi8(low, _mm256_and_si256(text, halves));
    const __m256i u = _mm256_shuffle_epi8(high, _mm256_and_si256(_mm256_srli_epi16(text, 4), halves));
    return _mm256_and_si256(l, u);
  };
  std::size_t i = from;
  for (; i + f.Third + 32 <= n; i += 32) {
    __m256i any = lookup(Load(h + i), low0, high0);
    if constexpr (kOffsets > 1) any = _mm256_and_si256(any, lookup(Load(h + i + f.Second), low1, high1));
    if constexpr (kOffsets > 2) any = _mm256_and_si256(any, lookup(Load(h + i + f.Third), low2, high2));
    mask = ~static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(any, zero)));
    if (mask != 0) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(buckets), any);
      return i;
    }
  }
  return i;
}

__m256i Table(const unsigned char (&t)[32]) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t)); }

// Per sample, the bit of its word that the bytes around it pick, moved to
// the top of a copy of the word: the bit of the byte after the four, and of
// the byte before.  15 - (x & 15) is ~x & 15.
__m256i Picked(__m256i words, __m256i before, __m256i after) {
  const __m256i fifteen = _mm256_set1_epi32(15);
  const __m256i afterShift = _mm256_add_epi32(_mm256_andnot_si256(after, fifteen), _mm256_set1_epi32(16));
  const __m256i beforeShift = _mm256_andnot_si256(before, fifteen);
  return _mm256_or_si256(_mm256_sllv_epi32(words, afterShift), _mm256_sllv_epi32(words, beforeShift));
}

// Which of the eight samples at p, p + step, ..., p + 7 * step are
// candidates, a bit each: their bytes shuffled out of two loads (four
// samples a load) or four (two a load), or gathered; their q-grams masked
// and folded, or (four bytes compared exactly, the usual case) taken as
// they are.
template <int kPerLoad, bool kPlain>
class TEightSamples {
 public:
  TEightSamples(const TManyStringSearch::TSampling& s, const std::uint32_t* words)
      : Step(s.Step),
        Words(words),
        GramMask(_mm256_set1_epi32(static_cast<int>(s.GramMask))),
        GramFold(_mm256_set1_epi32(static_cast<int>(s.GramFold))),
        Spread(Table(s.Spread)),
        Before(Table(s.Before)),
        After(Table(s.After)),
        Offsets(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s.Offsets))) {}

  std::uint32_t Candidates(const char* p) const {
    __m256i grams, before, after;
    if constexpr (kPerLoad == 4) {
      const __m256i bytes = Loads(p - 1, p - 1 + 4 * Step);
      grams = _mm256_shuffle_epi8(bytes, Spread);
      before = _mm256_shuffle_epi8(bytes, Before);
      after = _mm256_shuffle_epi8(bytes, After);
    } else if constexpr (kPerLoad == 2) {
      // Samples 0, 1 and 4, 5 from the first two loads, 2, 3 and 6, 7 from
      // the others: the same shuffle places both pairs, a blend takes each.
      const __m256i first = Loads(p - 1, p - 1 + 4 * Step);
      const __m256i second = Loads(p - 1 + 2 * Step, p - 1 + 6 * Step);
      const auto pairs = [&](__m256i table) {
        return _mm256_blend_epi32(_mm256_shuffle_epi8(first, table), _mm256_shuffle_epi8(second, table), 0xCC);
      };
      grams = pairs(Spread);
      before = pairs(Before);
      after = pairs(After);
    } else {
      // The words at p - 1 and p + 1 hold the byte before, the four and the
      // byte after.
      const __m256i earlier = _mm256_i32gather_epi32(reinterpret_cast<const int*>(p - 1), Offsets, 1);
      const __m256i later = _mm256_i32gather_epi32(reinterpret_cast<const int*>(p + 1), Offsets, 1);
      grams = _mm256_or_si256(_mm256_srli_epi32(earlier, 8),
                              _mm256_and_si256(_mm256_slli_epi32(later, 8), _mm256_set1_epi32(-0x1000000)));
      before = earlier;
      after = _mm256_srli_epi32(later, 24);
    }
    if constexpr (!kPlain) grams = _mm256_or_si256(_mm256_and_si256(grams, GramMask), GramFold);
    const __m256i hashes = _mm256_srli_epi32(
        _mm256_mullo_epi32(grams, _mm256_set1_epi32(static_cast<int>(TManyStringSearch::kHashFactor))),
        32 - TManyStringSearch::kHashBits);
    const __m256i words = _mm256_i32gather_epi32(reinterpret_cast<const int*>(Words), hashes, 4);
    return static_cast<std::uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(Picked(words, before, after))));
  }

 private:
  // Sixteen bytes at low and sixteen at high, as the two halves.
  static __m256i Loads(const char* low, const char* high) {
    return _mm256_set_m128i(_mm_loadu_si128(reinterpret_cast<const __m128i*>(high)),
                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(low)));
  }

  const std::size_t Step;
  const std::uint32_t* Words;
  const __m256i GramMask, GramFold, Spread, Before, After, Offsets;
};

template <int kPerLoad, bool kPlain>
std::uint64_t SampleCandidates(const char* h, const TManyStringSearch::TSampling& s, const std::uint32_t* words,
                               int groups) {
  const TEightSamples<kPerLoad, kPlain> eight(s, words);
  std::uint64_t mask = 0;
  for (int k = 0; k < groups; ++k) mask |= std::uint64_t{eight.Candidates(h + 8 * k * s.Step)} << (8 * k);
  return mask;
}

template <int kPerLoad>
std::uint64_t SampleCandidates(const char* h, const TManyStringSearch::TSampling& s, const std::uint32_t* words,
                               int groups) {
  const bool plain = s.GramMask == ~0u && s.GramFold == 0;
  return plain ? SampleCandidates<kPerLoad, true>(h, s, words, groups)
               : SampleCandidates<kPerLoad, false>(h, s, words, groups);
}

}  // namespace

std::uint64_t ManyCandidates32(const char* h, const TManyStringSearch::TSampling& s, const std::uint32_t* words,
                               int groups) {
  switch (TManyStringSearch::SamplesPerLoad(s.Step)) {
    case 4:
      return SampleCandidates<4>(h, s, words, groups);
    case 2:
      return SampleCandidates<2>(h, s, words, groups);
    default:
      return SampleCandidates<1>(h, s, words, groups);
  }
}

std::size_t FewCandidates32(const char* h, std::size_t n, std::size_t from, const TFewStringSearch::TFingerprints& f,
                            std::uint32_t& mask, unsigned char* buckets) {
  if (f.Third == 0) return Candidates<1>(h, n, from, f, mask, buckets);
  if (f.Third == f.Second) return Candidates<2>(h, n, from, f, mask, buckets);
  return Candidates<3>(h, n, from, f, mask, buckets);
}

}  // namespace multisearch

#endif
