// How kovagrep prints what the search selected: a line behind its prefixes
// (file name, line number, byte offset, each followed by ':' on a selected
// line and '-' on a context line), its matches coloured; with -o the matches
// alone, one a line; the separator between groups of context; and the lines that sum
// up one input (-c, -l, -L, a binary file that matches).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "cli/matcher.h"
#include "cli/options.h"
#include "cli/output.h"

class TPrinter {
 public:
  // matcher: needed for colours and -o, else may be null.
  TPrinter(const TOptions& options, TOutput& output, const TMatchFinder* matcher)
      : FOptions(options), FOutput(output), FMatcher(matcher) {}

  // The input whose lines follow; showName: prefix them with its name;
  // numberWidth: the least width of line numbers and offsets (-T).
  void Begin(const std::string& name, bool showName, int numberWidth = 0) {
    FName = name;
    FShowName = showName;
    FNumberWidth = numberWidth;
  }
  // -T: numbers as wide as the largest one the open input could need (the
  // digits of its size, one more line with -n; of the largest count for a
  // stream), as GNU grep sizes them.
  static int NumberWidth(int fd, bool lineNumbers);

  // A line (without its line end, which is end); separator ':' for a
  // selected line, '-' for a context line.
  void Line(std::string_view text, std::string_view end, std::int64_t number, std::int64_t offset, char separator);
  void GroupSeparator();

  void Count(std::int64_t selected);  // -c
  void Name();                        // -l, -L
  void BinaryMatches();

 private:
  void Matches(std::string_view text, std::int64_t number, std::int64_t offset, char separator);
  // nonEmpty: text follows, which -T puts on a tab stop.
  void Prefix(std::int64_t number, std::int64_t offset, char separator, bool nonEmpty);
  void Number(std::int64_t value, std::string TColours::*colour);
  void EndDataLine(std::string_view end);
  void NamePrefix(char separator);
  void Separator(char c);
  const std::string& Sgr(std::string TColours::*which) const;

  const TOptions& FOptions;
  TOutput& FOutput;
  const TMatchFinder* FMatcher;
  std::string FName;
  bool FShowName = false;
  int FNumberWidth = 0;
};
