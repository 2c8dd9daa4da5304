// The thirty-two-place pass of the search for a few strings (multisearch.h).
// This file alone of the set search is compiled for AVX2; the caller asks
// bytescan::HasAvx2() before calling in.
#include "bytescan_impl.h"
#include "multisearch.h"

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
std::size_t Candidates(const char* h, std::size_t n, std::size_t from, const TMultiSearch::TFingerprints& f,
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

}  // namespace

std::size_t FewCandidates32(const char* h, std::size_t n, std::size_t from, const TMultiSearch::TFingerprints& f,
                            std::uint32_t& mask, unsigned char* buckets) {
  if (f.Third == 0) return Candidates<1>(h, n, from, f, mask, buckets);
  if (f.Third == f.Second) return Candidates<2>(h, n, from, f, mask, buckets);
  return Candidates<3>(h, n, from, f, mask, buckets);
}

}  // namespace multisearch

#endif
