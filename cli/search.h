// The search of one input, its parts in the order the lines flow through
// them: the engine's feed (feed.h), the selection (selection.h), the context
// (context.h) and the printer (printer.h); then the lines that sum up the
// input (-c, -l, -L, a binary file that matches).
#pragma once

#include <memory>
#include <string>

#include "cli/context.h"
#include "cli/feed.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/patterns.h"
#include "cli/printer.h"
#include "cli/selection.h"

class TSearch {
 public:
  TSearch(const TOptions& options, const TEnginePattern& pattern, TOutput& output);

  // Searches the open descriptor; path names the file for the engine, and
  // regular says whether to read it as a regular file (else as a stream).
  // Returns whether a line was selected.  Raises TReadError, TWriteError,
  // TQuietMatch and the engine's exceptions.
  bool Search(const std::string& displayName, int fd, const std::string& path, bool regular, bool showName);

 private:
  const TOptions& FOptions;
  std::unique_ptr<TLineMatcher> FMatcher;  // for -w, -o and colours
  TPrinter FPrinter;
  TContext FContext;
  TSelection FSelection;
  TEngineFeed FFeed;
};
