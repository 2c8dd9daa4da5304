// The implementations behind bytescan.h: sixteen bytes at a time (SSE2, or
// a byte at a time without it) and thirty-two bytes at a time (AVX2, on
// x86-64 processors that have it).  bytescan.h's functions run the wide code
// over the bulk of their input where HasAvx2() allows it and finish with the
// narrow code; tests call both directly.
#pragma once

#include <cstddef>
#include <string_view>

namespace bytescan {

inline bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The bits that a comparison ignores for each byte of a needle: the case bit
// of letters when folding; with asRead, the bit that tells a space from a
// zero byte and the low three bits of a line feed (which a CR shares with
// it); none otherwise.
inline char IgnoredBits(char c, bool foldCase, bool asRead = false) {
  if (asRead && c == '\n') return 0x07;
  return (foldCase && IsAsciiLetter(c)) || (asRead && c == ' ') ? 0x20 : 0;
}

// The ignored bits are asked for only where the bytes differ: candidates
// mostly hold the needle as it is.
inline bool SameAt(const char* h, std::string_view needle, bool foldCase, bool asRead) {
  for (std::size_t j = 0; j < needle.size(); ++j) {
    if (h[j] == needle[j]) continue;
    const char ignored = IgnoredBits(needle[j], foldCase, asRead);
    if ((h[j] | ignored) != (needle[j] | ignored)) return false;
  }
  return true;
}

// The whole work of bytescan.h's functions, sixteen bytes at a time.
std::size_t CountByte16(const char* p, std::size_t n, char c);
std::size_t FindBytes16(std::string_view haystack, std::string_view needle, bool foldCase, bool asRead);
bool HasZeroOrLoneCR16(const char* p, std::size_t n, std::size_t& lineFeeds);
std::size_t FindLeadBeforeLineEnd16(const char* p, std::size_t n);
// Cleaning has no wide version: only blocks with a zero byte or a lone CR
// need it, which dictionaries rarely have.
std::size_t CleanLineEnds16(char* p, std::size_t n, bool& endsInCR);

#if defined(__x86_64__)
#define KOVALEX_HAVE_AVX2 1

bool HasAvx2();

// The thirty-two-byte versions work through whole chunks from the start and
// say how far they got (done); the rest is left to the caller.
//
// The bytes equal to c in [p, p + done).
std::size_t CountByte32(const char* p, std::size_t n, char c, std::size_t& done);
// The first place in [0, done) where needle starts, or haystack.size() when
// there is none.
std::size_t FindBytes32(std::string_view haystack, std::string_view needle, bool foldCase, bool asRead,
                        std::size_t& done);
// Whether [p, p + done) holds a zero byte, or a CR not followed by a line
// feed; if not, the line feeds in it.
bool HasZeroOrLoneCR32(const char* p, std::size_t n, std::size_t& lineFeeds, std::size_t& done);
// The first place in [0, done) where a byte that can be a lead byte stands
// before a line feed or a CR, or n.
std::size_t FindLeadBeforeLineEnd32(const char* p, std::size_t n, std::size_t& done);
#endif

}  // namespace bytescan
