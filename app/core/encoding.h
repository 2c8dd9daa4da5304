// The application's name for the Shift-JIS <-> Unicode conversions, which
// live in the text library that kovagrep shares.
#pragma once

#include "text/encoding.h"
