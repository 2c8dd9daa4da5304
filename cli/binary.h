// Binary files: as GNU grep judges them, an input is binary when a zero byte
// stands in its first 32 KiB (the grep notes it as it reads them, see
// TGrep::ZeroProbeBytes).  A binary file's lines are not printed, only that
// it matches; with --binary-files=without-match it is not searched, and
// with -a (--binary-files=text) it is not looked at.
#pragma once

#include <cstddef>

#include "cli/options.h"

enum class TBinaryVerdict { Text, Binary, Skip };

// How many bytes from the start of an input are looked at for a zero byte.
std::size_t BinaryProbeBytes(TBinaryFiles mode);

// The verdict on an input whose first BinaryProbeBytes bytes hold a zero
// byte (zero) or not.
TBinaryVerdict BinaryVerdict(TBinaryFiles mode, bool zero);
