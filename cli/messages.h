// The language of the engine's messages in kovagrep, and those messages in
// it: Japanese in a Japanese locale, English in any other.  The engine's
// tables are Japanese; each layer keeps the English texts beside them
// (messages_en.txt).
#pragma once

#include <string>
#include <string_view>

#include "cli/charset.h"

enum class TLanguage { English, Japanese };

// The name messages give the program: the base name of the name it was
// called by (argv[0]), as GNU's tools do; "kovagrep" until it is set.
void SetProgramName(const char* argv0);
const std::string& ProgramName();

// Japanese when the first of LC_ALL, LC_MESSAGES and LANG that is set and
// not empty names a Japanese locale ("ja", "ja_JP.UTF-8"), else English.
TLanguage MessageLanguage();

// An engine message (Shift-JIS) as kovagrep prints it: in Japanese, in the
// terminal's character set; in English, the English text of each of its
// parts (a message is one text, or texts and plain words parted by spaces).
// A text without an English form stays Japanese, so nothing is lost.
std::string EngineMessage(std::string_view sjis, TLanguage language, TCharset charset);
