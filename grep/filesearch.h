// Searches of a whole regular file ahead of its reader, by position
// (pread), for bytes that the reader does not rewrite; the file's read
// position does not move.  See filesearch.cpp.
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
