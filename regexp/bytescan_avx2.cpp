// The byte-level primitives over 32-byte chunks.  This file alone is
// compiled for AVX2; callers ask HasAvx2() before calling in, so the program
// still runs on processors without it.
#include "bytescan_impl.h"

#if defined(KOVALEX_HAVE_AVX2)

#include <immintrin.h>

#include <algorithm>

namespace bytescan {
namespace {

// The sum of the thirty-two byte lanes.
std::size_t LaneSum(__m256i lanes) {
  const __m256i sums = _mm256_sad_epu8(lanes, _mm256_setzero_si256());
  return static_cast<std::size_t>(_mm256_extract_epi64(sums, 0)) +
         static_cast<std::size_t>(_mm256_extract_epi64(sums, 1)) +
         static_cast<std::size_t>(_mm256_extract_epi64(sums, 2)) +
         static_cast<std::size_t>(_mm256_extract_epi64(sums, 3));
}

__m256i Load(const char* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }

}  // namespace

bool HasAvx2() {
  static const bool supported = __builtin_cpu_supports("avx2");
  return supported;
}

std::size_t CountByte32(const char* p, std::size_t n, char c, std::size_t& done) {
  const __m256i wanted = _mm256_set1_epi8(c);
  std::size_t count = 0;
  std::size_t i = 0;
  while (i + 32 <= n) {
    // Each lane counts up to 255 matches before the lanes are added up.
    __m256i lanes = _mm256_setzero_si256();
    const std::size_t stop = std::min(n - 31, i + 255 * 32);
    for (; i < stop; i += 32) lanes = _mm256_sub_epi8(lanes, _mm256_cmpeq_epi8(Load(p + i), wanted));
    count += LaneSum(lanes);
  }
  done = i;
  return count;
}

// Candidates are places where the first two bytes and the last byte of the
// needle stand at the right distances, as in the sixteen-byte version.
std::size_t FindBytes32(std::string_view haystack, std::string_view needle, bool foldCase, std::size_t& done) {
  const std::size_t m = needle.size();
  const std::size_t n = haystack.size();
  const char* h = haystack.data();
  const std::size_t secondAt = m > 1 ? 1 : 0;
  const char firstIgnored = IgnoredBits(needle.front(), foldCase);
  const char secondIgnored = IgnoredBits(needle[secondAt], foldCase);
  const char lastIgnored = IgnoredBits(needle.back(), foldCase);
  const __m256i firstMask = _mm256_set1_epi8(firstIgnored);
  const __m256i secondMask = _mm256_set1_epi8(secondIgnored);
  const __m256i lastMask = _mm256_set1_epi8(lastIgnored);
  const __m256i first = _mm256_set1_epi8(static_cast<char>(needle.front() | firstIgnored));
  const __m256i second = _mm256_set1_epi8(static_cast<char>(needle[secondAt] | secondIgnored));
  const __m256i last = _mm256_set1_epi8(static_cast<char>(needle.back() | lastIgnored));
  std::size_t i = 0;
  for (; m <= n && i + m - 1 + 32 <= n; i += 32) {
    const __m256i a = _mm256_cmpeq_epi8(_mm256_or_si256(Load(h + i), firstMask), first);
    const __m256i a1 = _mm256_cmpeq_epi8(_mm256_or_si256(Load(h + i + secondAt), secondMask), second);
    const __m256i b = _mm256_cmpeq_epi8(_mm256_or_si256(Load(h + i + m - 1), lastMask), last);
    auto mask = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_and_si256(_mm256_and_si256(a, a1), b)));
    while (mask != 0) {
      const auto k = static_cast<unsigned>(__builtin_ctz(mask));
      if (SameAt(h + i + k, needle, foldCase)) {
        done = i;
        return i + k;
      }
      mask &= mask - 1;
    }
  }
  done = i;
  return n;
}

bool HasZeroOrLoneCR32(const char* p, std::size_t n, std::size_t& lineFeeds, std::size_t& done) {
  const __m256i cr = _mm256_set1_epi8('\r');
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i zero = _mm256_setzero_si256();
  lineFeeds = 0;
  std::size_t i = 0;
  while (i + 33 <= n) {
    __m256i lanes = zero;
    const std::size_t stop = std::min(n - 32, i + 255 * 32);
    for (; i < stop; i += 32) {
      const __m256i chunk = Load(p + i);
      const __m256i next = Load(p + i + 1);
      const __m256i lone = _mm256_andnot_si256(_mm256_cmpeq_epi8(next, lf), _mm256_cmpeq_epi8(chunk, cr));
      if (_mm256_movemask_epi8(_mm256_or_si256(lone, _mm256_cmpeq_epi8(chunk, zero))) != 0) {
        done = i;
        return true;
      }
      lanes = _mm256_sub_epi8(lanes, _mm256_cmpeq_epi8(chunk, lf));
    }
    lineFeeds += LaneSum(lanes);
  }
  done = i;
  return false;
}

}  // namespace bytescan

#endif
