// How kovagrep prints what the search selected: a line behind its prefixes
// (file name, line number, byte offset, each followed by ':' on a selected
// line and '-' on a context line), its matches coloured; with -o the matches
// alone, one a line; the separator between groups of context; and the lines that sum
// up one input (-c, -l, -L, a binary file that matches).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "cli/output.h"
#include "cli/patterns.h"

class TPrinter {
 public:
  // matcher: needed for colours and -o, else may be null.
  TPrinter(const TOptions& options, TOutput& output, const TLineMatcher* matcher)
      : FOptions(options), FOutput(output), FMatcher(matcher) {}

  // The input whose lines follow; showName: prefix them with its name.
  void Begin(const std::string& name, bool showName) {
    FName = name;
    FShowName = showName;
  }

  // A line (without its line end, which is end); separator ':' for a
  // selected line, '-' for a context line.
  void Line(std::string_view text, std::string_view end, std::int64_t number, std::int64_t offset, char separator);
  void GroupSeparator();

  void Count(std::int64_t selected);  // -c
  void Name();                        // -l, -L
  void BinaryMatches();

 private:
  void Matches(std::string_view text, std::int64_t number, std::int64_t offset, char separator);
  void Prefix(std::int64_t number, std::int64_t offset, char separator);
  void NamePrefix(char separator);
  void Separator(char c);
  const std::string& Sgr(std::string TColours::*which) const;

  const TOptions& FOptions;
  TOutput& FOutput;
  const TLineMatcher* FMatcher;
  std::string FName;
  bool FShowName = false;
};
