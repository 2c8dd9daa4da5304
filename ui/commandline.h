// The desktop program's command line: --help and --version, a query to
// search (--search, -s; "-" reads it from standard input), the clipboard's
// text to search (--search-clipboard), and the folder of the dictionaries,
// kept as the bytes the argument had (a folder named in Shift-JIS from a
// Japanese archive is no text in the user's locale).  Read before the window
// system is opened, so that a bad argument needs no display.
#pragma once

#include <optional>
#include <string>

struct TCommandLine {
  std::string DictionaryFolder;      // absolute; "" when none was given
  std::optional<std::string> Query;  // UTF-8, one line; "" for the clipboard's text
  std::optional<int> ExitStatus;     // when the program ends here (help, version, a bad argument)
};

// Reads the arguments.  The toolkit's own options (-platform, -style and the
// like) are passed over; they stay in argv for the toolkit.  Help, version
// and errors are written to standard output and error.  A QCoreApplication
// must exist (it needs no display).
TCommandLine ReadCommandLine(int argc, char* argv[]);
