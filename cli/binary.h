// Binary files: as GNU grep judges them, an input is binary when a zero byte
// stands in the first 32 KiB.  A binary file's lines are not printed, only
// that it matches; with --binary-files=without-match it is not searched, and
// with -a (--binary-files=text) it is not looked at.
#pragma once

#include <string_view>

#include "cli/options.h"

enum class TBinaryVerdict { Text, Binary, Skip };

// A regular file, probed from its start without moving the file offset.
// Raises TReadError.
TBinaryVerdict BinaryVerdict(TBinaryFiles mode, int fd);

// A stream, by the first chunk read from it.
TBinaryVerdict BinaryVerdict(TBinaryFiles mode, std::string_view firstChunk);
