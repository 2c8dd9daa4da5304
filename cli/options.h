// kovagrep's command line: what the user asked for, parsed as GNU grep parses
// its own (getopt_long: bundled short options, --opt=value, abbreviated long
// options, "--" ending the options).
#pragma once

#include <string>
#include <vector>

enum class TBinaryFiles { Binary, Text, WithoutMatch };
enum class TColourWhen { Never, Always, Auto };
enum class TOutputEncoding { Locale, Utf8, Sjis };
enum class TRecursion { None, Physical, Logical };  // -r: symlinks met in the walk are not followed; -R: they are

struct TOptions {
  // Patterns as given (locale's character set), one per -e argument line or
  // -f file line; with neither, the first operand.
  std::vector<std::string> Patterns;
  bool IgnoreCase = false;
  bool DBMeta = false;
  bool Invert = false;
  bool Word = false;
  bool WholeLine = false;
  bool Fixed = false;
  long long MaxCount = -1;  // -1: no limit

  bool LineNumbers = false;
  bool ByteOffset = false;
  int FileNames = -1;  // -1: when several files are searched or -r walks
  bool Count = false;
  bool FilesWithMatches = false;
  bool FilesWithoutMatch = false;
  bool OnlyMatching = false;
  bool Quiet = false;
  bool NoMessages = false;
  bool Null = false;
  // -A and -B win over -C and -NUM, whatever their order; -1: not given.
  long long Before = -1;
  long long After = -1;
  long long Context = 0;
  TColourWhen Colour = TColourWhen::Never;
  bool LineBuffered = false;
  TBinaryFiles BinaryFiles = TBinaryFiles::Binary;
  TOutputEncoding Encoding = TOutputEncoding::Locale;
  std::string Label = "(standard input)";

  TRecursion Recursion = TRecursion::None;
  std::vector<std::string> Include;
  std::vector<std::string> Exclude;
  std::vector<std::string> ExcludeDir;
  std::vector<std::string> Files;
};

// A command line that cannot be run; Text goes to standard error, followed by
// the hint to --help.
struct TUsageError {
  std::string Text;
};

// Parses argv; prints --help or --version itself and exits 0.  Reads -f
// files (a missing one is a TUsageError-like fatal error with its strerror).
TOptions ParseOptions(int argc, char** argv);

// A failure that ends the run before any search, with exit status 2 (a -f
// file that cannot be read, a bad context length).  Text goes to standard
// error as it is.
struct TFatalError {
  std::string Text;
};
