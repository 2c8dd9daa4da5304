// Byte-level primitives of the reader and the fast scan: thirty-two bytes at
// a time where the processor has AVX2 (asked at run time), sixteen where it
// has SSE2 (every x86-64 one), a byte at a time elsewhere.  See
// bytescan_impl.h.
#pragma once

#include <cstddef>
#include <string_view>

// The number of bytes equal to c in [p, p + n).
std::size_t CountByte(const char* p, std::size_t n, char c);

// The index of the first occurrence of needle in haystack (as bytes), or
// haystack.size() when there is none.  needle must not be empty.  With
// foldCase, the ASCII letters of needle match either case (and so may a byte
// that happens to be the second byte of a double-byte character: callers use
// the result as a place where a match can be, not as a match).  With
// asRead, haystack is text as the reader read it, which still holds the zero
// bytes it turns into spaces and the lone CRs it turns into line feeds: a
// space of needle matches a zero byte too (the two differ in one bit, and
// no other byte matches a space that way), and a line feed matches a CR too
// (and the other bytes from 0x08 to 0x0F: a place where a match can be).
// The search then finds every place where the text read holds the needle.
std::size_t FindBytes(std::string_view haystack, std::string_view needle, bool foldCase = false, bool asRead = false);

// Whether [p, p + n) holds a zero byte, or a CR that is not followed by a
// line feed (a CR that is the last byte counts as followed).  When it holds
// neither, lineFeeds is the number of line feeds in it (the same pass).
bool HasZeroOrLoneCR(const char* p, std::size_t n, std::size_t& lineFeeds);

// The first i in [0, n - 1) where p[i] can be a lead byte and p[i + 1] is a
// line feed or a CR, or n when there is none.
std::size_t FindLeadBeforeLineEnd(const char* p, std::size_t n);

// Rewrites n bytes at p in place: a zero byte becomes a space, CR LF becomes
// LF and a lone CR becomes LF.  A CR that is the last byte is left out and
// reported through endsInCR, for the caller to decide with the next bytes.
// Returns the new length (never more than n).
std::size_t CleanLineEnds(char* p, std::size_t n, bool& endsInCR);
