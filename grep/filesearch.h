// Searches of a whole regular file ahead of its reader, by position (pread),
// in chunks of a megabyte that overlap by the length of the bytes less one so
// that no occurrence is cut.  The file's read position does not move.  A
// search calls poll between chunks (the reader's message pump and cancel
// test).  A read error ends a search with the answer that promises nothing;
// the reader's own reads report it.
//
// The bytes must not be empty and must hold no byte that the reader rewrites
// (line ends, zero bytes, spaces), so that their absence from the file means
// their absence from the text read.  With foldCase their ASCII letters match
// in either case.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string_view>

// Whether the file holds the bytes anywhere, from its first byte on.
bool FileMayHold(int fd, std::string_view bytes, bool foldCase, const std::function<void()>& poll);

// The number of the last line that holds the bytes, counted from the line
// that starts at offset start as 1, with line ends counted as the reader
// counts them (LF, CR LF, a lone CR); 0 when no line holds them, -1 on a read
// error.
std::int64_t LastLineHolding(int fd, off_t start, std::string_view bytes, bool foldCase,
                             const std::function<void()>& poll);
