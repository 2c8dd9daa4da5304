#include "cli/options.h"

#include <getopt.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "cli/usage.h"
#include "kovalex_version.h"

namespace {

// Long options without a short form.
enum : int {
  kDBMeta = 256,
  kColour,
  kLineBuffered,
  kBinaryFiles,
  kSjis,
  kOutputEncoding,
  kLabel,
  kInclude,
  kExclude,
  kExcludeDir,
  kHelp,
  kNoIgnoreCase,
};

// A leading ":" makes a missing argument ":" rather than "?".
constexpr const char* kShortOptions = ":0123456789A:B:C:EFHLRVZabce:f:hilm:noqrsvwxy";

const option kLongOptions[] = {
    {"after-context", required_argument, nullptr, 'A'},
    {"before-context", required_argument, nullptr, 'B'},
    {"context", required_argument, nullptr, 'C'},
    {"extended-regexp", no_argument, nullptr, 'E'},
    {"fixed-strings", no_argument, nullptr, 'F'},
    {"with-filename", no_argument, nullptr, 'H'},
    {"files-without-match", no_argument, nullptr, 'L'},
    {"dereference-recursive", no_argument, nullptr, 'R'},
    {"version", no_argument, nullptr, 'V'},
    {"null", no_argument, nullptr, 'Z'},
    {"text", no_argument, nullptr, 'a'},
    {"byte-offset", no_argument, nullptr, 'b'},
    {"count", no_argument, nullptr, 'c'},
    {"regexp", required_argument, nullptr, 'e'},
    {"file", required_argument, nullptr, 'f'},
    {"no-filename", no_argument, nullptr, 'h'},
    {"ignore-case", no_argument, nullptr, 'i'},
    {"no-ignore-case", no_argument, nullptr, kNoIgnoreCase},
    {"files-with-matches", no_argument, nullptr, 'l'},
    {"max-count", required_argument, nullptr, 'm'},
    {"line-number", no_argument, nullptr, 'n'},
    {"only-matching", no_argument, nullptr, 'o'},
    {"quiet", no_argument, nullptr, 'q'},
    {"silent", no_argument, nullptr, 'q'},
    {"recursive", no_argument, nullptr, 'r'},
    {"no-messages", no_argument, nullptr, 's'},
    {"invert-match", no_argument, nullptr, 'v'},
    {"word-regexp", no_argument, nullptr, 'w'},
    {"line-regexp", no_argument, nullptr, 'x'},
    {"db-meta", no_argument, nullptr, kDBMeta},
    {"color", optional_argument, nullptr, kColour},
    {"colour", optional_argument, nullptr, kColour},
    {"line-buffered", no_argument, nullptr, kLineBuffered},
    {"binary-files", required_argument, nullptr, kBinaryFiles},
    {"sjis", no_argument, nullptr, kSjis},
    {"output-encoding", required_argument, nullptr, kOutputEncoding},
    {"label", required_argument, nullptr, kLabel},
    {"include", required_argument, nullptr, kInclude},
    {"exclude", required_argument, nullptr, kExclude},
    {"exclude-dir", required_argument, nullptr, kExcludeDir},
    {"help", no_argument, nullptr, kHelp},
    {nullptr, 0, nullptr, 0},
};

// Adds the lines of text as patterns: a pattern holding line feeds is one
// pattern per line, as in GNU grep; a final line feed adds none.
void AddPatternLines(std::vector<std::string>& patterns, const std::string& text, bool fromFile) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t feed = text.find('\n', start);
    if (feed == std::string::npos) {
      if (!fromFile || start < text.size()) patterns.push_back(text.substr(start));
      return;
    }
    patterns.push_back(text.substr(start, feed - start));
    start = feed + 1;
  }
}

std::string ReadPatternFile(const std::string& name) {
  std::string text;
  if (name == "-") {
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) text.append(buffer, n);
    if (std::ferror(stdin)) throw TFatalError{std::string("kovagrep: (standard input): ") + std::strerror(errno)};
    return text;
  }
  std::ifstream in(name, std::ios::binary);
  if (!in) throw TFatalError{"kovagrep: " + name + ": " + std::strerror(errno)};
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return text;
}

long long ParseCount(const char* text, const char* what) {
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0 || value < 0)
    throw TFatalError{std::string("kovagrep: ") + text + ": " + what};
  return value;
}

long long ContextLength(const char* text) { return ParseCount(text, "invalid context length argument"); }

// The choice among fixed words of an option's value, abbreviations allowed.
int Choice(const char* value, std::initializer_list<const char*> words, const char* option) {
  const std::size_t length = std::strlen(value);
  int index = 0;
  int found = -1;
  for (const char* word : words) {
    if (std::strcmp(value, word) == 0) return index;
    if (length > 0 && std::strncmp(value, word, length) == 0) found = found < 0 ? index : -2;
    ++index;
  }
  if (found >= 0) return found;
  throw TUsageError{std::string("invalid argument '") + value + "' for '--" + option + "'"};
}

}  // namespace

TOptions ParseOptions(int argc, char** argv) {
  TOptions o;
  bool patternGiven = false;
  // Digit options (-5, -12) form a context length, as in GNU grep; a new
  // argument starts a new number.
  std::string digits;
  int digitsArgument = -1;
  opterr = 0;
  for (;;) {
    const int previousOptind = optind;
    int longIndex = -1;
    const int c = getopt_long(argc, argv, kShortOptions, kLongOptions, &longIndex);
    if (c == -1) break;
    if (c >= '0' && c <= '9') {
      if (digitsArgument != previousOptind) digits.clear();
      digitsArgument = previousOptind;
      digits += static_cast<char>(c);
      o.Context = ContextLength(digits.c_str());
      continue;
    }
    switch (c) {
      case 'A':
        o.After = ContextLength(optarg);
        break;
      case 'B':
        o.Before = ContextLength(optarg);
        break;
      case 'C':
        o.Context = ContextLength(optarg);
        break;
      case 'E':
        break;  // the engine's syntax is already extended
      case 'F':
        o.Fixed = true;
        break;
      case 'H':
        o.FileNames = 1;
        break;
      case 'L':
        o.FilesWithoutMatch = true;
        o.FilesWithMatches = false;
        break;
      case 'R':
        o.Recursion = TRecursion::Logical;
        break;
      case 'V':
        std::fputs("kovagrep (" KOVALEX_PRODUCT ") " KOVALEX_VERSION "\n", stdout);
        std::exit(0);
      case 'Z':
        o.Null = true;
        break;
      case 'a':
        o.BinaryFiles = TBinaryFiles::Text;
        break;
      case 'b':
        o.ByteOffset = true;
        break;
      case 'c':
        o.Count = true;
        break;
      case 'e':
        AddPatternLines(o.Patterns, optarg, false);
        patternGiven = true;
        break;
      case 'f':
        AddPatternLines(o.Patterns, ReadPatternFile(optarg), true);
        patternGiven = true;
        break;
      case 'h':
        o.FileNames = 0;
        break;
      case 'i':
      case 'y':
        o.IgnoreCase = true;
        break;
      case kNoIgnoreCase:
        o.IgnoreCase = false;
        break;
      case 'l':
        o.FilesWithMatches = true;
        o.FilesWithoutMatch = false;
        break;
      case 'm':
        o.MaxCount = ParseCount(optarg, "invalid max count");
        break;
      case 'n':
        o.LineNumbers = true;
        break;
      case 'o':
        o.OnlyMatching = true;
        break;
      case 'q':
        o.Quiet = true;
        break;
      case 'r':
        o.Recursion = TRecursion::Physical;
        break;
      case 's':
        o.NoMessages = true;
        break;
      case 'v':
        o.Invert = true;
        break;
      case 'w':
        o.Word = true;
        break;
      case 'x':
        o.WholeLine = true;
        break;
      case kDBMeta:
        o.DBMeta = true;
        break;
      case kColour:
        if (optarg == nullptr) {
          o.Colour = TColourWhen::Auto;
        } else {
          // GNU grep's synonyms: yes/force for always, no/none for never, tty/if-tty for auto.
          const int k =
              Choice(optarg, {"always", "yes", "force", "never", "no", "none", "auto", "tty", "if-tty"}, "color");
          o.Colour = k < 3 ? TColourWhen::Always : k < 6 ? TColourWhen::Never : TColourWhen::Auto;
        }
        break;
      case kLineBuffered:
        o.LineBuffered = true;
        break;
      case kBinaryFiles: {
        const int k = Choice(optarg, {"binary", "text", "without-match"}, "binary-files");
        o.BinaryFiles = k == 0 ? TBinaryFiles::Binary : k == 1 ? TBinaryFiles::Text : TBinaryFiles::WithoutMatch;
        break;
      }
      case kSjis:
        o.Encoding = TOutputEncoding::Sjis;
        break;
      case kOutputEncoding: {
        const int k = Choice(optarg, {"utf-8", "utf8", "sjis", "shift_jis", "cp932"}, "output-encoding");
        o.Encoding = k < 2 ? TOutputEncoding::Utf8 : TOutputEncoding::Sjis;
        break;
      }
      case kLabel:
        o.Label = optarg;
        break;
      case kInclude:
        o.Include.push_back(optarg);
        break;
      case kExclude:
        o.Exclude.push_back(optarg);
        break;
      case kExcludeDir:
        o.ExcludeDir.push_back(optarg);
        break;
      case kHelp:
        std::fputs(kUsageText, stdout);
        std::exit(0);
      case ':':
        if (optopt != 0)
          throw TUsageError{std::string("option requires an argument -- '") + static_cast<char>(optopt) + "'"};
        throw TUsageError{std::string("option '") + argv[previousOptind] + "' requires an argument"};
      default:
        if (optopt != 0) throw TUsageError{std::string("invalid option -- '") + static_cast<char>(optopt) + "'"};
        throw TUsageError{std::string("unrecognized option '") + argv[optind - 1] + "'"};
    }
  }
  std::vector<std::string> operands(argv + optind, argv + argc);
  if (!patternGiven) {
    if (operands.empty()) throw TUsageError{};
    AddPatternLines(o.Patterns, operands.front(), false);
    operands.erase(operands.begin());
  }
  o.Files = std::move(operands);
  if (o.Before < 0) o.Before = o.Context;
  if (o.After < 0) o.After = o.Context;
  return o;
}
