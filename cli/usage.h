// The text of kovagrep --help, made from the option table and grouped as GNU
// grep groups its own, and the usage line of a command-line error.
#pragma once

#include <string>

// "Usage: NAME [OPTION]... PATTERNS [FILE]...", with the program's name.
std::string UsageLine();

std::string UsageText();
