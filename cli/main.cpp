// kovagrep: GNU grep's command line over the engine of KOVALEX Searcher, for
// Shift-JIS dictionary files.  Patterns arrive in the terminal's character
// set and are searched as Shift-JIS; lines leave in the terminal's character
// set, or as the file's own bytes.
#include <linux/magic.h>
#include <malloc.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "cli/charset.h"
#include "cli/messages.h"
#include "cli/namedfile.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/patterns.h"
#include "cli/search.h"
#include "cli/usage.h"
#include "cli/walk.h"
#include "sjis/exceptions.h"
#include "text/encoding.h"

namespace {

int UsageError(const TUsageError& e) {
  if (!e.Text.empty()) std::fprintf(stderr, "%s: %s\n", ProgramName().c_str(), e.Text.c_str());
  std::fputs(UsageLine().c_str(), stderr);
  std::fprintf(stderr, "Try '%s --help' for more information.\n", ProgramName().c_str());
  return 2;
}

bool ColourWanted(TColourWhen when) {
  if (when == TColourWhen::Auto) {
    const char* term = std::getenv("TERM");
    return isatty(STDOUT_FILENO) && term != nullptr && std::strcmp(term, "dumb") != 0;
  }
  return when == TColourWhen::Always;
}

// Standard output when it is a regular file, which no input may be.
std::optional<TFileIdentity> OutputFile() {
  struct stat st;
  if (::fstat(STDOUT_FILENO, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return TFileIdentity{st.st_dev, st.st_ino};
}

// Whether directory entries on standard output's file system carry the
// inode numbers that stat gives: on the common local file systems they do.
bool OutputEntryInodes() {
  struct statfs fs;
  if (::fstatfs(STDOUT_FILENO, &fs) != 0) return false;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC:  // ext2, ext3 and ext4
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
      return true;
    default:
      return false;
  }
}

class TRun {
 public:
  TRun(TOptions& options, TCharset charset) : FOptions(options), FCharset(charset), FLanguage(MessageLanguage()) {}

  int Main() {
    std::vector<std::string> patterns;
    try {
      for (const std::string& p : FOptions.Patterns) patterns.push_back(PatternToSjis(p, FCharset));
    } catch (const Exception& e) {
      std::fprintf(stderr, "%s: %s\n", ProgramName().c_str(), Text(e.Message()).c_str());
      return 2;
    }
    TEnginePattern pattern;
    try {
      pattern = BuildEnginePattern(patterns, FOptions);
    } catch (const TPatternError& e) {
      PatternError(e, FOptions.PatternsGiven);
      return 2;
    }
    // GNU grep's warnings of a -G or -E pattern (a stray backslash, an
    // operator that begins an expression); the search goes on.
    for (const TPosixWarning& w : pattern.Warnings)
      std::fprintf(stderr, "%s: %s%s\n", ProgramName().c_str(), Text(w.Message).c_str(),
                   w.Subject.empty() ? "" : (" " + Text(w.Subject)).c_str());

    // -l and -L print names only, -q nothing.
    if (FOptions.FilesWithMatches || FOptions.FilesWithoutMatch) FOptions.Count = false;
    if (FOptions.Quiet) FOptions.Count = FOptions.FilesWithMatches = FOptions.FilesWithoutMatch = false;
    const bool raw = FOptions.Encoding == TOutputEncoding::Sjis ||
                     (FOptions.Encoding == TOutputEncoding::Locale && FCharset == TCharset::Sjis);
    TColours colours;
    colours.Parse(std::getenv("GREP_COLORS"));
    const bool colour = ColourWanted(FOptions.Colour);
    TOutput output(raw, FOptions.LineBuffered || isatty(STDOUT_FILENO), colour ? &colours : nullptr);
    FOutput = &output;
    TSearch search(FOptions, pattern, output);
    FSearch = &search;
    // Compiling a long pattern leaves the heap holding what only the compile
    // needed (the parse tree, the NFA, the sets the DFA was made of), spread
    // between what stays; it goes back to the system before the scan.
    malloc_trim(0);

    TWalk walk(
        FOptions, [this](const std::string& display, const std::string& path) { File(display, path); },
        [this](const std::string& display, const std::string& text, bool warning) {
          if (!warning) FFailed = true;
          Report(display, text);
        },
        OutputFile(), OutputEntryInodes());
    std::vector<std::string> files = FOptions.Files;
    const bool implicit = files.empty();
    if (implicit) files.push_back(FOptions.Recursive() ? "." : "-");
    FShowNames = FOptions.FileNames >= 0 ? FOptions.FileNames == 1
                                         : files.size() > 1 || (!implicit ? walk.Enters(files[0]) : files[0] == ".");
    try {
      for (const std::string& file : files) walk.Operand(file, implicit);
      output.Flush();
    } catch (const TQuietMatch&) {
      return 0;
    } catch (const TWriteError& e) {
      std::fprintf(stderr, "%s: write error: %s\n", ProgramName().c_str(), std::strerror(e.Error));
      return 2;
    }
    if (FFailed && !(FOptions.Quiet && FFound)) return 2;
    return FFound ? 0 : 1;
  }

 private:
  // An engine message in the user's language and character set.
  std::string Text(std::string_view sjis) const { return EngineMessage(sjis, FLanguage, FCharset); }

  // Where in which pattern: its number counts from 1; a failure of all of
  // them together (too complex) names no one.
  void PatternError(const TPatternError& e, std::size_t count) const {
    std::string where = "pattern ";
    if (e.Index == TPatternError::kAllPatterns)
      where = "all " + std::to_string(count) + " patterns together";
    else if (count > 1)
      where += std::to_string(e.Index + 1) + ", byte " + std::to_string(e.Position);
    else
      where += "byte " + std::to_string(e.Position);
    std::fprintf(stderr, "%s: %s (%s)\n", ProgramName().c_str(), Text(e.Message).c_str(), where.c_str());
  }

  void Report(const std::string& display, const std::string& text) {
    if (FOptions.NoMessages) return;
    FOutput->Flush();
    std::fprintf(stderr, "%s: %s: %s\n", ProgramName().c_str(), display.c_str(), text.c_str());
  }
  void Message(const std::string& display, const std::string& text) {
    FFailed = true;
    Report(display, text);
  }

  void File(const std::string& display, const std::string& path) {
    FFound = SearchNamedFile(*FSearch, display, path, FShowNames, FLanguage, FCharset,
                             [this](const std::string& d, const std::string& text) { Message(d, text); }) ||
             FFound;
  }

  TOptions& FOptions;
  TCharset FCharset;
  TLanguage FLanguage;
  TOutput* FOutput = nullptr;
  TSearch* FSearch = nullptr;
  bool FShowNames = false;
  bool FFound = false;
  bool FFailed = false;
};

}  // namespace

int main(int argc, char** argv) {
  SetProgramName(argc > 0 ? argv[0] : nullptr);
  std::setlocale(LC_ALL, "");
  const TCharset charset = LocaleCharset();
  TOptions options;
  try {
    options = ParseOptions(argc, argv);
  } catch (const TUsageError& e) {
    return UsageError(e);
  } catch (const TFatalError& e) {
    std::fprintf(stderr, "%s\n", e.Text.c_str());
    return 2;
  }
  // -m 0 selects nothing: nothing is read (but -L names every file).
  if (options.MaxCount == 0 && !(options.FilesWithoutMatch && !options.Quiet)) return 1;
  return TRun(options, charset).Main();
}
