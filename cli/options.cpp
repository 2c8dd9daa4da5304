#include "cli/options.h"

#include <getopt.h>
#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "cli/messages.h"
#include "cli/optiontable.h"
#include "cli/usage.h"
#include "kovalex_version.h"

namespace {

// getopt_long's tables, made from the option table.  A leading ":" makes a
// missing argument ':' rather than '?'.
struct TGetoptTables {
  std::string Short = ":";
  std::vector<option> Long;
};

const TGetoptTables& Tables() {
  static const TGetoptTables tables = [] {
    TGetoptTables t;
    for (const TOptionSpec& o : OptionTable()) {
      const int has = o.Argument == TArgument::None       ? no_argument
                      : o.Argument == TArgument::Required ? required_argument
                                                          : optional_argument;
      if (o.Id == kContextDigits) t.Short += "0123456789";
      if (o.Short != 0) t.Short += std::string(1, o.Short) + (has == required_argument ? ":" : "");
      if (o.Long != nullptr) t.Long.push_back({o.Long, has, nullptr, o.Id});
    }
    t.Long.push_back({nullptr, 0, nullptr, 0});
    return t;
  }();
  return tables;
}

// The long options that a name (without "--" and "=value") stands for: the
// one it names in full, else those it abbreviates.  Abbreviations of
// several names of one option (--col: --color, --colour) are no ambiguity.
std::vector<const option*> LongCandidates(const std::string& name) {
  std::vector<const option*> found;
  bool same = true;
  for (const option& o : Tables().Long) {
    if (o.name == nullptr) break;
    if (name == o.name) return {&o};
    if (std::strncmp(o.name, name.c_str(), name.size()) != 0) continue;
    same = same && (found.empty() || (found.front()->val == o.val && found.front()->has_arg == o.has_arg));
    found.push_back(&o);
  }
  if (same && !found.empty()) found.resize(1);
  return found;
}

// What getopt_long found wrong with an option, in its words.  A long option
// is always taken whole, so optind has moved past it; a short one may stand
// inside a bundle that optind has not left.
TUsageError OptionError(int c, int previousOptind, char** argv) {
  const char* element = argv[optind - 1];
  if (optind == previousOptind || std::strncmp(element, "--", 2) != 0) {
    if (c == ':') return {std::string("option requires an argument -- '") + static_cast<char>(optopt) + "'"};
    return {std::string("invalid option -- '") + static_cast<char>(optopt) + "'"};
  }
  const std::string name = std::string(element + 2).substr(0, std::strcspn(element + 2, "="));
  const std::vector<const option*> found = LongCandidates(name);
  if (found.empty()) return {std::string("unrecognized option '") + element + "'"};
  if (found.size() > 1) {
    std::string text = std::string("option '") + element + "' is ambiguous; possibilities:";
    for (const option* o : found) text += std::string(" '--") + o->name + "'";
    return {text};
  }
  return {std::string("option '--") + found.front()->name +
          (c == ':' ? "' requires an argument" : "' doesn't allow an argument")};
}

// Adds the lines of text as patterns: a pattern holding line feeds is one
// pattern per line, as in GNU grep; a final line feed adds none.  An empty
// pattern is kept once, so that the blank lines of a pattern file cost
// nothing; the numbers say where each pattern kept stands in the list.
void AddPatternLines(TOptions& o, const std::string& text, bool fromFile) {
  const auto add = [&o](std::string pattern) {
    ++o.PatternsGiven;
    if (pattern.empty() && o.EmptyPatternGiven) return;
    o.EmptyPatternGiven = o.EmptyPatternGiven || pattern.empty();
    o.Patterns.push_back(std::move(pattern));
    o.PatternNumbers.push_back(o.PatternsGiven);
  };
  std::size_t start = 0;
  for (;;) {
    const std::size_t feed = text.find('\n', start);
    if (feed == std::string::npos) {
      if (!fromFile || start < text.size()) add(text.substr(start));
      return;
    }
    add(text.substr(start, feed - start));
    start = feed + 1;
  }
}

std::string ReadWholeFile(const std::string& name) {
  std::string text;
  if (name == "-") {
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) text.append(buffer, n);
    if (std::ferror(stdin)) throw TFatalError{ProgramName() + ": (standard input): " + std::strerror(errno)};
    return text;
  }
  std::ifstream in(name, std::ios::binary);
  if (!in) throw TFatalError{ProgramName() + ": " + name + ": " + std::strerror(errno)};
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return text;
}

// The globs of an --exclude-from file: a line each, without its trailing
// blanks; a blank line gives none.
void AddExcludeLines(std::vector<TFileGlob>& globs, const std::string& text) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t feed = std::min(text.find('\n', start), text.size());
    const std::size_t end = text.find_last_not_of(" \t\r\v\f", feed - 1);
    if (end != std::string::npos && end >= start) globs.push_back({text.substr(start, end + 1 - start), false});
    start = feed + 1;
  }
}

// A decimal number as GNU grep reads counts: blanks and a sign before the
// digits, nothing after them; a value too large is the largest.
bool ReadNumber(const char* text, long long& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(text, &end, 10);
  return end != text && *end == '\0' && text[std::strspn(text, " \t\n\v\f\r+-")] >= '0' &&
         text[std::strspn(text, " \t\n\v\f\r+-")] <= '9';
}

long long ContextLength(const char* text) {
  long long value;
  if (!ReadNumber(text, value) || value < 0)
    throw TFatalError{ProgramName() + ": " + text + ": invalid context length argument"};
  return value;
}

// GNU's choice among the words of an argument (argmatch): a word or an
// abbreviation of it; an abbreviation of words that mean different things is
// ambiguous.  values[k] is what word k means.
int Choice(const char* arg, std::initializer_list<const char*> words, std::initializer_list<int> values,
           const char* option) {
  const std::size_t length = std::strlen(arg);
  int found = -1;
  bool ambiguous = false;
  for (std::size_t k = 0; k < words.size(); ++k) {
    const char* word = words.begin()[k];
    const int value = values.begin()[k];
    if (std::strcmp(arg, word) == 0) return value;
    if (length == 0 || std::strncmp(arg, word, length) != 0) continue;
    ambiguous = ambiguous || (found >= 0 && found != value);
    found = value;
  }
  if (found >= 0 && !ambiguous) return found;
  std::string text = std::string(ambiguous ? "ambiguous" : "invalid") + " argument '" + arg + "' for '--" + option +
                     "'\nValid arguments are:";
  for (const char* word : words) text += std::string("\n  - '") + word + "'";
  throw TUsageError{text};
}

// --color's words, whole and in any case.
TColourWhen ColourWhen(const char* arg) {
  for (const char* word : {"always", "yes", "force"})
    if (strcasecmp(arg, word) == 0) return TColourWhen::Always;
  for (const char* word : {"never", "no", "none"})
    if (strcasecmp(arg, word) == 0) return TColourWhen::Never;
  for (const char* word : {"auto", "tty", "if-tty"})
    if (strcasecmp(arg, word) == 0) return TColourWhen::Auto;
  throw TUsageError{std::string("invalid argument '") + arg +
                    "' for '--color'\nValid arguments are: 'always', 'never', 'auto' (or yes, force; no, "
                    "none; tty, if-tty)"};
}

// The options that take no argument and only set a value.
void SetFlag(TOptions& o, int c) {
  switch (c) {
    // clang-format off
    case 'H': o.FileNames = 1; break;
    case 'h': o.FileNames = 0; break;
    case 'L': o.FilesWithoutMatch = true; o.FilesWithMatches = false; break;
    case 'l': o.FilesWithMatches = true; o.FilesWithoutMatch = false; break;
    case 'I': o.BinaryFiles = TBinaryFiles::WithoutMatch; break;
    case 'Z': o.Null = true; break;
    case 'T': o.InitialTab = true; break;
    case 'U': break;  // the bytes of a line are never changed on reading
    case 'a': o.BinaryFiles = TBinaryFiles::Text; break;
    case 'b': o.ByteOffset = true; break;
    case 'c': o.Count = true; break;
    case 'i': o.IgnoreCase = true; break;
    case kNoIgnoreCase: o.IgnoreCase = false; break;
    case 'n': o.LineNumbers = true; break;
    case 'o': o.OnlyMatching = true; break;
    case 'q': o.Quiet = true; break;
    case 's': o.NoMessages = true; break;
    case 'v': o.Invert = true; break;
    case 'w': o.Word = true; break;
    case 'x': o.WholeLine = true; break;
    case 'z': o.NullData = true; break;
    case kDBMeta: o.DBMeta = true; break;
    case kLineBuffered: o.LineBuffered = true; break;
    case kSjis: o.Encoding = TOutputEncoding::Sjis; break;
    case kNoGroupSeparator: o.GroupSeparator.reset(); break;
    // clang-format on
    default:
      break;
  }
}

}  // namespace

TOptions ParseOptions(int argc, char** argv) {
  TOptions o;
  bool patternGiven = false;
  long long context = -1, before = -1, after = -1;
  // Digit options (-5, -12) form a context length, as in GNU grep: digits
  // that follow each other within one argument make one number.
  std::string digits;
  int digitsArgument = -1;
  bool lastWasDigit = false;
  opterr = 0;
  for (;;) {
    const int previousOptind = optind;
    int c = getopt_long(argc, argv, Tables().Short.c_str(), Tables().Long.data(), nullptr);
    if (c == -1) break;
    for (const TOptionSpec& o : OptionTable())
      if (o.Short != 0 && o.Short == c) c = o.Id;  // -y is -i
    if (c >= '0' && c <= '9') {
      if (!lastWasDigit || digitsArgument != previousOptind) digits.clear();
      if (digits == "0") digits.clear();  // leading zeros say nothing
      digits += static_cast<char>(c);
      digitsArgument = optind == previousOptind ? previousOptind : -1;
      lastWasDigit = true;
      context = ContextLength(digits.c_str());
      continue;
    }
    lastWasDigit = false;
    switch (c) {
      case 'A':
        after = ContextLength(optarg);
        break;
      case 'B':
        before = ContextLength(optarg);
        break;
      case 'C':
        context = ContextLength(optarg);
        break;
      case 'E':
        o.Syntax = TSyntax::Extended;
        break;
      case 'F':
        o.Syntax = TSyntax::Fixed;
        break;
      case 'G':
        o.Syntax = TSyntax::Basic;
        break;
      case 'P':
        throw TFatalError{ProgramName() +
                          ": -P (Perl regular expressions) is not supported; -E takes extended regular expressions"};
      case 'R':
        o.Dereference = true;
        o.Directories = TDirectories::Recurse;
        break;
      case 'r':
        o.Directories = TDirectories::Recurse;
        break;
      case 'd':
        o.Directories = static_cast<TDirectories>(
            Choice(optarg, {"read", "recurse", "skip"},
                   {int(TDirectories::Read), int(TDirectories::Recurse), int(TDirectories::Skip)}, "directories"));
        break;
      case 'D':
        if (std::strcmp(optarg, "read") != 0 && std::strcmp(optarg, "skip") != 0)
          throw TFatalError{ProgramName() + ": unknown devices method"};
        o.Devices = optarg[0] == 'r' ? TDevices::Read : TDevices::Skip;
        break;
      case 'V':
        std::fputs("kovagrep (" KOVALEX_PRODUCT ") " KOVALEX_VERSION "\n", stdout);
        std::exit(0);
      case 'e':
        AddPatternLines(o, optarg, false);
        patternGiven = true;
        break;
      case 'f':
        AddPatternLines(o, ReadWholeFile(optarg), true);
        patternGiven = true;
        break;
      case 'm':
        if (!ReadNumber(optarg, o.MaxCount)) throw TFatalError{ProgramName() + ": invalid max count"};
        if (o.MaxCount < 0) o.MaxCount = -1;
        break;
      case kColour:
        o.Colour = optarg == nullptr ? TColourWhen::Auto : ColourWhen(optarg);
        break;
      case kBinaryFiles:
        if (std::strcmp(optarg, "binary") == 0)
          o.BinaryFiles = TBinaryFiles::Binary;
        else if (std::strcmp(optarg, "text") == 0)
          o.BinaryFiles = TBinaryFiles::Text;
        else if (std::strcmp(optarg, "without-match") == 0)
          o.BinaryFiles = TBinaryFiles::WithoutMatch;
        else
          throw TFatalError{ProgramName() + ": unknown binary-files type"};
        break;
      case kOutputEncoding:
        o.Encoding = static_cast<TOutputEncoding>(
            Choice(optarg, {"utf-8", "utf8", "sjis", "shift_jis", "cp932"},
                   {int(TOutputEncoding::Utf8), int(TOutputEncoding::Utf8), int(TOutputEncoding::Sjis),
                    int(TOutputEncoding::Sjis), int(TOutputEncoding::Sjis)},
                   "output-encoding"));
        break;
      case kLabel:
        o.Label = optarg;
        break;
      case kInclude:
      case kExclude:
        o.FileGlobs.push_back({optarg, c == kInclude});
        break;
      case kExcludeFrom:
        AddExcludeLines(o.FileGlobs, ReadWholeFile(optarg));
        break;
      case kExcludeDir:
        o.ExcludeDir.push_back(optarg);
        break;
      case kGroupSeparator:
        o.GroupSeparator = optarg;
        break;
      case kHelp:
        std::fputs(UsageText().c_str(), stdout);
        std::exit(0);
      case ':':
      case '?':
        throw OptionError(c, previousOptind, argv);
      default:
        SetFlag(o, c);
    }
  }
  std::vector<std::string> operands(argv + optind, argv + argc);
  if (!patternGiven) {
    if (operands.empty()) throw TUsageError{};
    AddPatternLines(o, operands.front(), false);
    operands.erase(operands.begin());
  }
  o.Files = std::move(operands);
  o.ContextGiven = context >= 0 || before >= 0 || after >= 0;
  o.Before = before >= 0 ? before : std::max(context, 0LL);
  o.After = after >= 0 ? after : std::max(context, 0LL);
  return o;
}
