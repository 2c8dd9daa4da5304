// kovagrep's command line: what the user asked for, parsed as GNU grep parses
// its own (getopt_long over the option table of optiontable.h: bundled
// short options, --opt=value, unambiguous abbreviations of long options,
// "--" ending the options; the last of conflicting options wins).
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class TBinaryFiles { Binary, Text, WithoutMatch };
enum class TColourWhen { Never, Always, Auto };
enum class TOutputEncoding { Locale, Utf8, Sjis };
// The engine's own syntax (the default, the window's), GNU grep's basic (-G)
// and extended (-E) languages, or fixed strings (-F); the last given wins.
enum class TSyntax { Engine, Basic, Extended, Fixed };
// -d: what a directory is; -r and -R are Recurse.
enum class TDirectories { Read, Skip, Recurse };
// -D: devices, FIFOs and sockets are read when named on the command line
// (the default), always, or never.
enum class TDevices { ReadNamed, Read, Skip };

// One --include or --exclude (or a glob of --exclude-from).
struct TFileGlob {
  std::string Glob;
  bool Include;
  bool operator==(const TFileGlob&) const = default;
};

struct TOptions {
  // Patterns as given (locale's character set), one per -e argument line or
  // -f file line; with neither, the first operand.  An empty pattern is kept
  // once; PatternNumbers holds the number of each pattern kept in the list as
  // given (from 1), of which there were PatternsGiven.
  std::vector<std::string> Patterns;
  std::vector<std::size_t> PatternNumbers;
  std::size_t PatternsGiven = 0;
  bool EmptyPatternGiven = false;
  TSyntax Syntax = TSyntax::Engine;
  bool IgnoreCase = false;
  bool DBMeta = false;
  bool Invert = false;
  bool Word = false;
  bool WholeLine = false;
  bool NullData = false;    // -z: lines end in zero bytes
  long long MaxCount = -1;  // -1: no limit

  bool LineNumbers = false;
  bool ByteOffset = false;
  bool InitialTab = false;
  int FileNames = -1;  // -1: when several files are searched or -r walks
  bool Count = false;
  bool FilesWithMatches = false;
  bool FilesWithoutMatch = false;
  bool OnlyMatching = false;
  bool Quiet = false;
  bool NoMessages = false;
  bool Null = false;
  // -A and -B win over -C and -NUM, whatever their order; 0 when none is
  // given.  ContextGiven: some was given, 0 too, so groups are parted.
  long long Before = 0;
  long long After = 0;
  bool ContextGiven = false;
  std::optional<std::string> GroupSeparator = "--";  // none: --no-group-separator
  TColourWhen Colour = TColourWhen::Never;
  bool LineBuffered = false;
  TBinaryFiles BinaryFiles = TBinaryFiles::Binary;
  TOutputEncoding Encoding = TOutputEncoding::Locale;
  std::string Label = "(standard input)";

  TDirectories Directories = TDirectories::Read;
  bool Dereference = false;  // -R: symbolic links met in the walk are followed
  TDevices Devices = TDevices::ReadNamed;
  std::vector<TFileGlob> FileGlobs;  // in command-line order: the last that matches wins
  std::vector<std::string> ExcludeDir;
  std::vector<std::string> Files;

  bool Fixed() const { return Syntax == TSyntax::Fixed; }
  bool Recursive() const { return Directories == TDirectories::Recurse; }
};

// A command line that cannot be run; Text goes to standard error, followed by
// the usage line and the hint to --help.
struct TUsageError {
  std::string Text;
};

// A failure that ends the run before any search, with exit status 2 (a -f
// file that cannot be read, a bad count, -P).  Text goes to standard error
// as it is.
struct TFatalError {
  std::string Text;
};

// Parses argv; prints --help or --version itself and exits 0.  Reads -f and
// --exclude-from files.  Raises TUsageError and TFatalError.
TOptions ParseOptions(int argc, char** argv);
