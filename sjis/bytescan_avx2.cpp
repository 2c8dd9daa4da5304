// The byte-level primitives over 32-byte chunks.  This file alone is
// compiled for AVX2; callers ask HasAvx2() before calling in, so the program
// still runs on processors without it.
#include "sjis/bytescan_impl.h"

#if defined(KOVALEX_HAVE_AVX2)

#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

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
// needle stand at the right distances, as in the sixteen-byte version.  The
// loop takes sixty-four places per step (two chunks, one mask), and the
// ignored bits are ORed in only where they are some: into the first two
// bytes with FoldsFirst, into the last with FoldsLast (a needle that ends in
// a space searched as read has only the last).
namespace {

template <bool FoldsFirst, bool FoldsLast>
std::size_t FindCandidates(const char* h, std::size_t n, std::string_view needle, bool foldCase, bool asRead,
                           std::size_t& done) {
  const std::size_t m = needle.size();
  const std::size_t secondAt = m > 1 ? 1 : 0;
  const __m256i firstMask = _mm256_set1_epi8(IgnoredBits(needle.front(), foldCase, asRead));
  const __m256i secondMask = _mm256_set1_epi8(IgnoredBits(needle[secondAt], foldCase, asRead));
  const __m256i lastMask = _mm256_set1_epi8(IgnoredBits(needle.back(), foldCase, asRead));
  const __m256i first = _mm256_or_si256(_mm256_set1_epi8(needle.front()), firstMask);
  const __m256i second = _mm256_or_si256(_mm256_set1_epi8(needle[secondAt]), secondMask);
  const __m256i last = _mm256_or_si256(_mm256_set1_epi8(needle.back()), lastMask);
  const auto equal = [](const char* at, __m256i mask, __m256i wanted, bool folds) {
    const __m256i bytes = Load(at);
    return _mm256_cmpeq_epi8(folds ? _mm256_or_si256(bytes, mask) : bytes, wanted);
  };
  const auto places = [&](std::size_t i) {
    const __m256i hits = _mm256_and_si256(_mm256_and_si256(equal(h + i, firstMask, first, FoldsFirst),
                                                           equal(h + i + secondAt, secondMask, second, FoldsFirst)),
                                          equal(h + i + m - 1, lastMask, last, FoldsLast));
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(hits));
  };
  const bool loose = FoldsFirst || FoldsLast || foldCase || asRead;
  const auto same = [&](const char* at) {
    return loose ? SameAt(at, needle, foldCase, asRead) : std::memcmp(at, needle.data(), m) == 0;
  };
  std::size_t i = 0;
  for (; i + m - 1 + 64 <= n; i += 64) {
    std::uint64_t mask = places(i) | static_cast<std::uint64_t>(places(i + 32)) << 32;
    for (; mask != 0; mask &= mask - 1) {
      const auto k = static_cast<std::size_t>(__builtin_ctzll(mask));
      if (same(h + i + k)) {
        done = i;
        return i + k;
      }
    }
  }
  for (; i + m - 1 + 32 <= n; i += 32) {
    for (std::uint32_t mask = places(i); mask != 0; mask &= mask - 1) {
      const auto k = static_cast<std::size_t>(__builtin_ctz(mask));
      if (same(h + i + k)) {
        done = i;
        return i + k;
      }
    }
  }
  done = i;
  return n;
}

}  // namespace

std::size_t FindBytes32(std::string_view haystack, std::string_view needle, bool foldCase, bool asRead,
                        std::size_t& done) {
  const std::size_t n = haystack.size();
  done = 0;
  if (needle.size() > n) return n;
  const std::size_t secondAt = needle.size() > 1 ? 1 : 0;
  const auto ignored = [&](char c) { return IgnoredBits(c, foldCase, asRead); };
  const bool foldsFirst = (ignored(needle.front()) | ignored(needle[secondAt])) != 0;
  const bool foldsLast = ignored(needle.back()) != 0;
  const char* h = haystack.data();
  if (foldsFirst)
    return foldsLast ? FindCandidates<true, true>(h, n, needle, foldCase, asRead, done)
                     : FindCandidates<true, false>(h, n, needle, foldCase, asRead, done);
  return foldsLast ? FindCandidates<false, true>(h, n, needle, foldCase, asRead, done)
                   : FindCandidates<false, false>(h, n, needle, foldCase, asRead, done);
}

// Zero bytes show in the lanes' running minimum, lone CRs in an OR of CRs
// whose next byte is no line feed; both are tested once per group of chunks.
// The line feeds are counted as the next bytes' ones (the same compare as
// for the CRs), which counts [1, done + 1) instead of [0, done).
bool HasZeroOrLoneCR32(const char* p, std::size_t n, std::size_t& lineFeeds, std::size_t& done) {
  const __m256i cr = _mm256_set1_epi8('\r');
  const __m256i lf = _mm256_set1_epi8('\n');
  lineFeeds = 0;
  std::size_t i = 0;
  while (i + 33 <= n) {
    __m256i lanes = _mm256_setzero_si256();
    __m256i lone = _mm256_setzero_si256();
    __m256i least = _mm256_set1_epi8(-1);
    const std::size_t stop = std::min(n - 32, i + 255 * 32);
    for (; i < stop; i += 32) {
      const __m256i chunk = Load(p + i);
      const __m256i nextFeeds = _mm256_cmpeq_epi8(Load(p + i + 1), lf);
      lone = _mm256_or_si256(lone, _mm256_andnot_si256(nextFeeds, _mm256_cmpeq_epi8(chunk, cr)));
      least = _mm256_min_epu8(least, chunk);
      lanes = _mm256_sub_epi8(lanes, nextFeeds);
    }
    const __m256i zeros = _mm256_cmpeq_epi8(least, _mm256_setzero_si256());
    if (!_mm256_testz_si256(_mm256_or_si256(lone, zeros), _mm256_or_si256(lone, zeros))) {
      done = i;
      return true;
    }
    lineFeeds += LaneSum(lanes);
  }
  if (i > 0) lineFeeds += static_cast<std::size_t>(p[0] == '\n') - static_cast<std::size_t>(p[i] == '\n');
  done = i;
  return false;
}

// Lead bytes, shifted by 0x80, are the signed bytes 0x01-0x1F and
// 0x60-0x7C.  Line ends come every few chunks at no predictable place, lead
// bytes before them hardly ever: a chunk takes no branch but the one on
// both together.
std::size_t FindLeadBeforeLineEnd32(const char* p, std::size_t n, std::size_t& done) {
  const __m256i flip = _mm256_set1_epi8(static_cast<char>(0x80));
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i cr = _mm256_set1_epi8('\r');
  const __m256i zero = _mm256_setzero_si256();
  const __m256i low1 = _mm256_set1_epi8(0x20);
  const __m256i high0 = _mm256_set1_epi8(0x5F);
  const __m256i high1 = _mm256_set1_epi8(0x7D);
  const auto places = [&](std::size_t at) {
    const __m256i next = Load(p + at + 1);
    const __m256i ends = _mm256_or_si256(_mm256_cmpeq_epi8(next, lf), _mm256_cmpeq_epi8(next, cr));
    const __m256i b = _mm256_xor_si256(Load(p + at), flip);
    const __m256i lead = _mm256_or_si256(_mm256_and_si256(_mm256_cmpgt_epi8(b, zero), _mm256_cmpgt_epi8(low1, b)),
                                         _mm256_and_si256(_mm256_cmpgt_epi8(b, high0), _mm256_cmpgt_epi8(high1, b)));
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(ends, lead)));
  };
  // Sixty-four bytes a round, then thirty-two.
  std::size_t i = 0;
  for (; i + 65 <= n; i += 64) {
    const std::uint64_t found = places(i) | static_cast<std::uint64_t>(places(i + 32)) << 32;
    if (found != 0) {
      done = i + 64;
      return i + static_cast<std::size_t>(__builtin_ctzll(found));
    }
  }
  for (; i + 33 <= n; i += 32) {
    if (const std::uint32_t found = places(i); found != 0) {
      done = i + 32;
      return i + static_cast<std::size_t>(__builtin_ctz(found));
    }
  }
  done = i;
  return n;
}

}  // namespace bytescan

#endif
