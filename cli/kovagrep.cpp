// kovagrep: searches dictionary files from a terminal with the same engine and
// the same grep as the desktop program, and prints the lines it reports in
// grep's format.  The pattern arrives as UTF-8 and is converted to Shift-JIS;
// lines are converted back to UTF-8 unless --sjis asks for the raw bytes.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "text/encoding.h"
#include "exceptions.h"
#include "grep.h"

namespace {

constexpr const char* kUsage =
    "Usage: kovagrep [OPTION]... PATTERN FILE...\n"
    "Search Shift-JIS dictionary files for PATTERN, a regular expression of\n"
    "KOVALEX Searcher, and print every line that holds a match.\n"
    "\n"
    "  -i, --ignore-case      ignore the case of ASCII letters\n"
    "      --db-meta          full-width metacharacters and escape letters count too\n"
    "  -n, --line-number      print the line number before each line\n"
    "  -H, --with-filename    print the file name before each line\n"
    "  -h, --no-filename      never print file names\n"
    "  -c, --count            print only the number of matching lines per file\n"
    "      --sjis             write lines as the file's Shift-JIS bytes\n"
    "      --help             show this help and exit\n"
    "      --version          show the version and exit\n"
    "\n"
    "PATTERN is read as UTF-8.  File names are printed as given.  By default\n"
    "lines are converted to UTF-8; bytes that are not Shift-JIS show as U+FFFD.\n"
    "Exit status: 0 when a line was printed or counted, 1 when none, 2 on error.\n";

struct TOptions {
  bool IgnoreCase = false;
  bool DBMeta = false;
  bool LineNumbers = false;
  int FileNames = -1;  // -1: when several files are given
  bool Count = false;
  bool RawSjis = false;
  std::string Pattern;
  std::vector<std::string> Files;
};

// A command line that cannot be run; the text goes to standard error.
struct TUsageError {
  std::string Text;
};

TOptions ParseArguments(int argc, char** argv) {
  TOptions options;
  std::vector<std::string> operands;
  bool optionsEnd = false;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
      operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnd = true;
    } else if (arg == "--ignore-case") {
      options.IgnoreCase = true;
    } else if (arg == "--db-meta") {
      options.DBMeta = true;
    } else if (arg == "--line-number") {
      options.LineNumbers = true;
    } else if (arg == "--with-filename") {
      options.FileNames = 1;
    } else if (arg == "--no-filename") {
      options.FileNames = 0;
    } else if (arg == "--count") {
      options.Count = true;
    } else if (arg == "--sjis") {
      options.RawSjis = true;
    } else if (arg == "--help") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    } else if (arg == "--version") {
      std::puts("kovagrep (KOVALEX Searcher) 1.10");
      std::exit(0);
    } else if (arg[1] == '-') {
      throw TUsageError{"unrecognized option '" + arg + "'"};
    } else {
      for (std::size_t i = 1; i < arg.size(); ++i) {
        switch (arg[i]) {
          case 'i':
            options.IgnoreCase = true;
            break;
          case 'n':
            options.LineNumbers = true;
            break;
          case 'H':
            options.FileNames = 1;
            break;
          case 'h':
            options.FileNames = 0;
            break;
          case 'c':
            options.Count = true;
            break;
          default:
            throw TUsageError{std::string("invalid option -- '") + arg[i] + "'"};
        }
      }
    }
  }
  if (operands.size() < 2) throw TUsageError{"a PATTERN and at least one FILE are required"};
  options.Pattern = operands.front();
  options.Files.assign(operands.begin() + 1, operands.end());
  if (options.FileNames < 0) options.FileNames = options.Files.size() > 1 ? 1 : 0;
  return options;
}

std::string ToTerminal(const std::string& sjis, bool raw) { return raw ? sjis : encoding::SjisToUtf8(sjis); }

void Error(const std::string& what) { std::fprintf(stderr, "kovagrep: %s\n", what.c_str()); }

int Run(const TOptions& options) {
  TGrep grep;
  try {
    grep.SetAcceptDBMeta(options.DBMeta);
    grep.SetIgnoreCase(options.IgnoreCase);
    grep.SetPattern(encoding::Utf8ToSjis(options.Pattern));
  } catch (const ERegExpParser& e) {
    Error(encoding::SjisToUtf8(e.Message()) + " (pattern byte " + std::to_string(e.Position) + ")");
    return 2;
  } catch (const Exception& e) {
    Error(encoding::SjisToUtf8(e.Message()));
    return 2;
  }

  std::string out;
  const std::string* currentFile = nullptr;
  long count = 0;
  grep.OnMatch = [&](TGrep&, LineInfo_t lineInfo) {
    ++count;
    if (options.Count) return;
    out.clear();
    if (options.FileNames) out += *currentFile + ":";
    if (options.LineNumbers) out += std::to_string(lineInfo.LineNo) + ":";
    out += ToTerminal(lineInfo.Line, options.RawSjis);
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
  };

  bool found = false;
  bool failed = false;
  for (const std::string& file : options.Files) {
    currentFile = &file;
    count = 0;
    try {
      grep.GrepFile(file, nullptr);
    } catch (const Exception& e) {
      std::fflush(stdout);
      Error(file + ": " + encoding::SjisToUtf8(e.Message()));
      failed = true;
      continue;
    }
    found = found || count > 0;
    if (options.Count) {
      if (options.FileNames) std::printf("%s:", file.c_str());
      std::printf("%ld\n", count);
    }
  }
  if (std::fflush(stdout) != 0) {
    Error(std::string("write error: ") + std::strerror(errno));
    return 2;
  }
  return failed ? 2 : found ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  try {
    return Run(ParseArguments(argc, argv));
  } catch (const TUsageError& e) {
    Error(e.Text);
    std::fputs("Try 'kovagrep --help' for more information.\n", stderr);
    return 2;
  }
}
