#include "sjis/bytescan.h"

#include <algorithm>
#include <cstring>

#include "sjis/bytescan_impl.h"
#include "sjis/sjis.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bytescan {
namespace {

// Handles the byte at in, a CR or a zero byte; returns where the input goes
// on.  See CleanLineEnds.
const char* CleanOne(const char* in, const char* end, char*& out, bool& endsInCR) {
  const char c = *in++;
  if (c == 0) {
    *out++ = ' ';
  } else if (in == end) {
    endsInCR = true;  // a CR that ends the bytes: the caller decides
  } else if (*in != '\n') {
    *out++ = '\n';  // a lone CR; of CR LF only the line feed is kept
  }
  return in;
}

}  // namespace

#if defined(__SSE2__)

namespace {

// The sum of the sixteen byte lanes.
std::size_t LaneSum(__m128i lanes) {
  const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
  return static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
         static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
}

}  // namespace

// Lead bytes 0x81-0x9F and 0xE0-0xFC, shifted by 0x80, are the signed
// bytes 0x01-0x1F and 0x60-0x7C.  Line ends come every few chunks at no
// predictable place, lead bytes before them hardly ever: a chunk takes no
// branch but the one on both together.
std::size_t FindLeadBeforeLineEnd16(const char* p, std::size_t n) {
  const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i zero = _mm_setzero_si128();
  const __m128i low1 = _mm_set1_epi8(0x20);
  const __m128i high0 = _mm_set1_epi8(0x5F);
  const __m128i high1 = _mm_set1_epi8(0x7D);
  std::size_t i = 0;
  for (; i + 17 <= n; i += 16) {
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
    const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(next, cr));
    const __m128i b = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)), flip);
    const __m128i lead = _mm_or_si128(_mm_and_si128(_mm_cmpgt_epi8(b, zero), _mm_cmplt_epi8(b, low1)),
                                      _mm_and_si128(_mm_cmpgt_epi8(b, high0), _mm_cmplt_epi8(b, high1)));
    if (const auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(ends, lead))); found != 0)
      return i + static_cast<std::size_t>(__builtin_ctz(found));
  }
  for (; i + 1 < n; ++i)
    if (IsDBCSLeadByte(static_cast<unsigned char>(p[i])) && (p[i + 1] == '\n' || p[i + 1] == '\r')) return i;
  return n;
}

std::size_t CountByte16(const char* p, std::size_t n, char c) {
  const __m128i wanted = _mm_set1_epi8(c);
  const __m128i zero = _mm_setzero_si128();
  std::size_t count = 0;
  std::size_t i = 0;
  while (i + 16 <= n) {
    // Each lane counts up to 255 matches before the lanes are added up.
    __m128i lanes = zero;
    const std::size_t stop = std::min(n - 15, i + 255 * 16);
    for (; i < stop; i += 16) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(chunk, wanted));
    }
    count += LaneSum(lanes);
  }
  for (; i < n; ++i) count += p[i] == c;
  return count;
}

// Candidates are places where the first two bytes and the last byte of the
// needle stand at the right distances (in Shift-JIS text the first two bytes
// are often a whole character, which makes candidates rare); only those are
// compared in full.
std::size_t FindBytes16(std::string_view haystack, std::string_view needle, bool foldCase, bool asRead) {
  const std::size_t m = needle.size();
  const std::size_t n = haystack.size();
  if (m > n) return n;
  const char* h = haystack.data();
  const char firstIgnored = IgnoredBits(needle.front(), foldCase, asRead);
  const char lastIgnored = IgnoredBits(needle.back(), foldCase, asRead);
  const __m128i firstMask = _mm_set1_epi8(firstIgnored);
  const __m128i lastMask = _mm_set1_epi8(lastIgnored);
  // A needle of one byte (a letter, when folding) checks that byte twice.
  const std::size_t secondAt = m > 1 ? 1 : 0;
  const char secondIgnored = IgnoredBits(needle[secondAt], foldCase, asRead);
  const __m128i secondMask = _mm_set1_epi8(secondIgnored);
  const __m128i first = _mm_set1_epi8(static_cast<char>(needle.front() | firstIgnored));
  const __m128i second = _mm_set1_epi8(static_cast<char>(needle[secondAt] | secondIgnored));
  const __m128i last = _mm_set1_epi8(static_cast<char>(needle.back() | lastIgnored));
  // The sixteen places from i on that pass the test.
  const auto candidates = [&](std::size_t i) {
    const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i)), firstMask);
    const __m128i a1 = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + secondAt)), secondMask);
    const __m128i b = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + m - 1)), lastMask);
    const __m128i hits =
        _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(a1, second)), _mm_cmpeq_epi8(b, last));
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
  };
  // The first of the places where the needle stands, or n.
  const auto firstOf = [&](std::size_t i, unsigned mask) {
    for (; mask != 0; mask &= mask - 1) {
      const unsigned k = static_cast<unsigned>(__builtin_ctz(mask));
      if (SameAt(h + i + k, needle, foldCase, asRead)) return i + k;
    }
    return n;
  };
  std::size_t i = 0;
  for (; i + m - 1 + 16 <= n; i += 16)
    if (const std::size_t at = firstOf(i, candidates(i)); at < n) return at;
  // The places left (fewer than sixteen) are the end of a chunk that
  // overlaps the last one searched, when the haystack holds a chunk.
  if (i + m <= n && m - 1 + 16 <= n) {
    const std::size_t from = n - (m - 1) - 16;
    return firstOf(from, candidates(from) & (0xFFFFu << (i - from)));
  }
  for (; i + m <= n; ++i)
    if (SameAt(h + i, needle, foldCase, asRead)) return i;
  return n;
}

// One pass over the block: per chunk the line feeds go into byte lanes (added
// up every 255 chunks, before a lane can overflow), and a zero byte or a lone
// CR ends the pass.
bool HasZeroOrLoneCR16(const char* p, std::size_t n, std::size_t& lineFeeds) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i zero = _mm_setzero_si128();
  lineFeeds = 0;
  std::size_t i = 0;
  while (i + 17 <= n) {
    __m128i lanes = zero;
    const std::size_t stop = std::min(n - 16, i + 255 * 16);
    for (; i < stop; i += 16) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
      const __m128i lone = _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(chunk, cr));
      if (_mm_movemask_epi8(_mm_or_si128(lone, _mm_cmpeq_epi8(chunk, zero))) != 0) return true;
      lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(chunk, lf));
    }
    lineFeeds += LaneSum(lanes);
  }
  for (; i < n; ++i) {
    if (p[i] == 0 || (p[i] == '\r' && i + 1 < n && p[i + 1] != '\n')) return true;
    lineFeeds += p[i] == '\n';
  }
  return false;
}

std::size_t CleanLineEnds16(char* p, std::size_t n, bool& endsInCR) {
  endsInCR = false;
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i zero = _mm_setzero_si128();
  const char* in = p;
  const char* const end = p + n;
  char* out = p;
  while (in < end) {
    if (end - in >= 16) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
      const unsigned mask = static_cast<unsigned>(
          _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, zero))));
      if (mask == 0) {
        // The output never runs ahead of the input, and the chunk is loaded
        // before it is stored, so the store cannot harm unread input.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), chunk);
        in += 16;
        out += 16;
        continue;
      }
      const unsigned k = static_cast<unsigned>(__builtin_ctz(mask));
      // Storing the whole chunk puts bytes past the k wanted ones behind
      // out + k, which later output overwrites; it is safe once the output
      // trails the input by a chunk, so those bytes cannot be unread input.
      if (in - out >= 16)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), chunk);
      else if (out != in)
        std::memmove(out, in, k);
      in += k;
      out += k;
    } else if (*in != '\r' && *in != 0) {
      *out++ = *in++;
      continue;
    }
    in = CleanOne(in, end, out, endsInCR);
  }
  return static_cast<std::size_t>(out - p);
}

#else

bool HasZeroOrLoneCR16(const char* p, std::size_t n, std::size_t& lineFeeds) {
  lineFeeds = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (p[i] == 0 || (p[i] == '\r' && i + 1 < n && p[i + 1] != '\n')) return true;
    lineFeeds += p[i] == '\n';
  }
  return false;
}

std::size_t CountByte16(const char* p, std::size_t n, char c) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < n; ++i) count += p[i] == c;
  return count;
}

std::size_t FindLeadBeforeLineEnd16(const char* p, std::size_t n) {
  for (std::size_t i = 0; i + 1 < n; ++i)
    if (IsDBCSLeadByte(static_cast<unsigned char>(p[i])) && (p[i + 1] == '\n' || p[i + 1] == '\r')) return i;
  return n;
}

std::size_t FindBytes16(std::string_view haystack, std::string_view needle, bool foldCase, bool asRead) {
  for (std::size_t i = 0; i + needle.size() <= haystack.size(); ++i)
    if (SameAt(haystack.data() + i, needle, foldCase, asRead)) return i;
  return haystack.size();
}

std::size_t CleanLineEnds16(char* p, std::size_t n, bool& endsInCR) {
  endsInCR = false;
  const char* in = p;
  const char* const end = p + n;
  char* out = p;
  while (in < end) {
    if (*in != '\r' && *in != 0)
      *out++ = *in++;
    else
      in = CleanOne(in, end, out, endsInCR);
  }
  return static_cast<std::size_t>(out - p);
}

#endif

}  // namespace bytescan

// ---------------------------------------------------------------------------
// The public functions: the wide code over the bulk where the processor has
// it, the narrow code for the rest.

namespace {

// Inputs shorter than this are not worth the wide code's set-up.
constexpr std::size_t kWideFrom = 64;

bool Wide(std::size_t n) {
#if defined(KOVALEX_HAVE_AVX2)
  return n >= kWideFrom && bytescan::HasAvx2();
#else
  (void)n;
  (void)kWideFrom;
  return false;
#endif
}

}  // namespace

std::size_t CountByte(const char* p, std::size_t n, char c) {
  std::size_t count = 0;
  std::size_t done = 0;
#if defined(KOVALEX_HAVE_AVX2)
  if (Wide(n)) count = bytescan::CountByte32(p, n, c, done);
#endif
  return count + bytescan::CountByte16(p + done, n - done, c);
}

std::size_t FindBytes(std::string_view haystack, std::string_view needle, bool foldCase, bool asRead) {
  const std::size_t n = haystack.size();
  if (needle.size() > n) return n;
  if (needle.size() == 1 && bytescan::IgnoredBits(needle[0], foldCase, asRead) == 0) {
    const void* found = std::memchr(haystack.data(), needle[0], n);
    return found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - haystack.data()) : n;
  }
  std::size_t done = 0;
#if defined(KOVALEX_HAVE_AVX2)
  if (Wide(n)) {
    const std::size_t at = bytescan::FindBytes32(haystack, needle, foldCase, asRead, done);
    if (at < n) return at;
  }
#endif
  return done + bytescan::FindBytes16(haystack.substr(done), needle, foldCase, asRead);
}

bool HasZeroOrLoneCR(const char* p, std::size_t n, std::size_t& lineFeeds) {
  lineFeeds = 0;
  std::size_t done = 0;
#if defined(KOVALEX_HAVE_AVX2)
  if (Wide(n) && bytescan::HasZeroOrLoneCR32(p, n, lineFeeds, done)) return true;
#endif
  std::size_t rest = 0;
  const bool found = bytescan::HasZeroOrLoneCR16(p + done, n - done, rest);
  lineFeeds += rest;
  return found;
}

std::size_t CleanLineEnds(char* p, std::size_t n, bool& endsInCR) { return bytescan::CleanLineEnds16(p, n, endsInCR); }

std::size_t FindLeadBeforeLineEnd(const char* p, std::size_t n) {
  std::size_t done = 0;
#if defined(KOVALEX_HAVE_AVX2)
  if (Wide(n)) {
    const std::size_t at = bytescan::FindLeadBeforeLineEnd32(p, n, done);
    if (at < n) return at;
  }
#endif
  const std::size_t at = bytescan::FindLeadBeforeLineEnd16(p + done, n - done);
  return at < n - done ? done + at : n;
}
