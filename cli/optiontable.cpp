#include "cli/optiontable.h"

namespace {

using enum TArgument;
using enum TOptionGroup;

// clang-format off
constexpr TOptionSpec kTable[] = {
    {'E', 'E', "extended-regexp", None, nullptr, nullptr, Patterns,
     "PATTERNS are GNU grep's extended regular expressions"},
    {'F', 'F', "fixed-strings", None, nullptr, nullptr, Patterns, "PATTERNS are strings: every character is literal"},
    {'G', 'G', "basic-regexp", None, nullptr, nullptr, Patterns, "PATTERNS are GNU grep's basic regular expressions"},
    {'P', 'P', "perl-regexp", None, nullptr, nullptr, Patterns, "refused: there are no Perl regular expressions"},
    {'e', 'e', "regexp", Required, "PATTERNS", nullptr, Patterns, "use PATTERNS for matching (repeatable)"},
    {'f', 'f', "file", Required, "FILE", nullptr, Patterns, "take PATTERNS from FILE, one a line ('-': stdin)"},
    {'i', 'i', "ignore-case", None, nullptr, nullptr, Patterns,
     "ignore the case of ASCII letters, in brackets too\n(-G, -E: full-width, Greek and Cyrillic too)"},
    {'i', 'y', nullptr, None, nullptr, nullptr, Patterns, nullptr},
    {kNoIgnoreCase, 0, "no-ignore-case", None, nullptr, nullptr, Patterns, "do not ignore case (the default)"},
    {kDBMeta, 0, "db-meta", None, nullptr, nullptr, Patterns, "full-width metacharacters and escapes count too"},
    {'w', 'w', "word-regexp", None, nullptr, nullptr, Patterns,
     "match only whole words (letters, digits and '_',\ndouble-byte letters included, are word characters)"},
    {'x', 'x', "line-regexp", None, nullptr, nullptr, Patterns, "match only whole lines"},
    {'z', 'z', "null-data", None, nullptr, nullptr, Patterns, "a data line ends in a 0 byte, not a newline"},

    {'s', 's', "no-messages", None, nullptr, nullptr, Miscellaneous, "suppress messages about unreadable files"},
    {'v', 'v', "invert-match", None, nullptr, nullptr, Miscellaneous, "select non-matching lines"},
    {'V', 'V', "version", None, nullptr, nullptr, Miscellaneous, "display version information and exit"},
    {kHelp, 0, "help", None, nullptr, nullptr, Miscellaneous, "display this help text and exit"},

    {'m', 'm', "max-count", Required, "NUM", nullptr, Output, "stop after NUM selected lines"},
    {'b', 'b', "byte-offset", None, nullptr, nullptr, Output, "print the byte offset (in the file) with output lines"},
    {'n', 'n', "line-number", None, nullptr, nullptr, Output, "print line number with output lines"},
    {kLineBuffered, 0, "line-buffered", None, nullptr, nullptr, Output,
     "flush output on every line (the default on a terminal)"},
    {'H', 'H', "with-filename", None, nullptr, nullptr, Output, "print file name with output lines"},
    {'h', 'h', "no-filename", None, nullptr, nullptr, Output, "suppress the file name prefix on output"},
    {kLabel, 0, "label", Required, "LABEL", nullptr, Output, "use LABEL as the standard input file name prefix"},
    {'o', 'o', "only-matching", None, nullptr, nullptr, Output, "show only the leftmost-longest matches, one a line"},
    {'q', 'q', "quiet", None, nullptr, nullptr, Output, "suppress all normal output"},
    {'q', 0, "silent", None, nullptr, nullptr, Output, nullptr},
    {kBinaryFiles, 0, "binary-files", Required, "TYPE", "binary text without-match", Output,
     "assume that binary files are TYPE;\nTYPE is 'binary', 'text', or 'without-match'"},
    {'a', 'a', "text", None, nullptr, nullptr, Output, "equivalent to --binary-files=text"},
    {'I', 'I', nullptr, None, nullptr, nullptr, Output, "equivalent to --binary-files=without-match"},
    {'d', 'd', "directories", Required, "ACTION", "read recurse skip", Output,
     "how to handle directories;\nACTION is 'read', 'recurse', or 'skip'"},
    {'D', 'D', "devices", Required, "ACTION", "read skip", Output,
     "how to handle devices, FIFOs and sockets;\nACTION is 'read' or 'skip'"},
    {'r', 'r', "recursive", None, nullptr, nullptr, Output,
     "like --directories=recurse; skip symlinks inside"},
    {'R', 'R', "dereference-recursive", None, nullptr, nullptr, Output, "likewise, but follow all symlinks"},
    {kInclude, 0, "include", Required, "GLOB", nullptr, Output, "search only files whose name matches GLOB"},
    {kExclude, 0, "exclude", Required, "GLOB", nullptr, Output, "skip files whose name matches GLOB"},
    {kExcludeFrom, 0, "exclude-from", Required, "FILE", nullptr, Output,
     "skip files whose name matches a glob of FILE"},
    {kExcludeDir, 0, "exclude-dir", Required, "GLOB", nullptr, Output, "skip directories that match GLOB"},
    {'L', 'L', "files-without-match", None, nullptr, nullptr, Output,
     "print only names of FILEs with no selected lines"},
    {'l', 'l', "files-with-matches", None, nullptr, nullptr, Output, "print only names of FILEs with selected lines"},
    {'c', 'c', "count", None, nullptr, nullptr, Output, "print only a count of selected lines per FILE"},
    {'T', 'T', "initial-tab", None, nullptr, nullptr, Output, "make tabs line up (if needed)"},
    {'Z', 'Z', "null", None, nullptr, nullptr, Output, "print 0 byte after FILE name"},

    {'B', 'B', "before-context", Required, "NUM", nullptr, Context, "print NUM lines of leading context"},
    {'A', 'A', "after-context", Required, "NUM", nullptr, Context, "print NUM lines of trailing context"},
    {'C', 'C', "context", Required, "NUM", nullptr, Context, "print NUM lines of output context"},
    {kContextDigits, 0, nullptr, None, "NUM", nullptr, Context, "same as --context=NUM"},
    {kGroupSeparator, 0, "group-separator", Required, "SEP", nullptr, Context,
     "print SEP on line between matches with context"},
    {kNoGroupSeparator, 0, "no-group-separator", None, nullptr, nullptr, Context,
     "do not print separator for matches with context"},
    {kColour, 0, "color", Optional, "WHEN", "always never auto", Context,
     "use markers to highlight the matching strings;\nWHEN is 'always', 'never', or 'auto'\n"
     "(colours from GREP_COLORS: ms mc sl cx fn ln bn se rv ne)"},
    {kColour, 0, "colour", Optional, "WHEN", "always never auto", Context, nullptr},
    {'U', 'U', "binary", None, nullptr, nullptr, Context, "accepted: the bytes of a line are never changed"},

    {kSjis, 0, "sjis", None, nullptr, nullptr, Charsets,
     "write lines as the file's Shift-JIS bytes, as they\nstand (CR LF included)"},
    {kOutputEncoding, 0, "output-encoding", Required, "ENC", "utf-8 sjis", Charsets,
     "write lines in ENC: 'utf-8' or 'sjis'"},
};
// clang-format on

}  // namespace

std::span<const TOptionSpec> OptionTable() { return kTable; }
