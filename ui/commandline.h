// The desktop program's command line: --help and --version, and the folder
// of the dictionaries, kept as the bytes the argument had (a folder named
// in Shift-JIS from a Japanese archive is no text in the user's locale).
#pragma once

#include <optional>
#include <string>

struct TCommandLine {
  std::string DictionaryFolder;   // absolute; "" when none was given
  std::optional<int> ExitStatus;  // when the program ends here (help, version, a bad option)
};

// Whether the command line asks only for the help or the version text, which
// need no window system.
bool AsksForHelpOrVersion(int argc, char* argv[]);

// Reads the arguments that the toolkit has left in argv (it takes its own
// options, such as -platform, out of the list).  Help, version and errors
// are written to standard output and error.
TCommandLine ReadCommandLine(int argc, char* argv[]);
