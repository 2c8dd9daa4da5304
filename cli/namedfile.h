// One file that the command line or the walk names: opened, searched, and
// what fails told in the C library's words (or the engine's, in the user's
// language).
#pragma once

#include <functional>
#include <string>

#include "cli/charset.h"
#include "cli/messages.h"
#include "cli/search.h"

// message(display, text): a file that cannot be read.
using TFileMessage = std::function<void(const std::string& display, const std::string& text)>;

// Searches the file at path ("-": standard input) with search; returns
// whether a line was selected.  Raises TWriteError and TQuietMatch.
bool SearchNamedFile(TSearch& search, const std::string& display, const std::string& path, bool showNames,
                     TLanguage language, TCharset charset, const TFileMessage& message);
