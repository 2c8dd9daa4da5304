// The text of kovagrep --help, made from the option table and grouped as GNU
// grep groups its own, and the usage line of a command-line error.
#pragma once

#include <string>

inline constexpr const char* kUsageLine = "Usage: kovagrep [OPTION]... PATTERNS [FILE]...\n";

std::string UsageText();
