// The search of one input, its parts in the order the lines flow through
// them: the grep's feed (feed.h), the selection (selection.h), the context
// (context.h) and the printer (printer.h); then the lines that sum up the
// input (-c, -l, -L, a binary file that matches).
#pragma once

#include <memory>
#include <string>

#include "cli/context.h"
#include "cli/feed.h"
#include "cli/matcher.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/printer.h"
#include "cli/selection.h"

class TSearch {
 public:
  TSearch(const TOptions& options, const TEnginePattern& pattern, TOutput& output);

  // Searches the open descriptor, read once from where it stands (atStart:
  // just opened, so at the file's start); returns whether a line was
  // selected.  Raises TWriteError, TQuietMatch and the engine's exceptions.
  bool Search(const std::string& displayName, int fd, bool showName, bool atStart);

 private:
  const TOptions& FOptions;
  std::unique_ptr<TMatchFinder> FMatcher;  // for -w, -o and colours
  TPrinter FPrinter;
  TContext FContext;
  TSelection FSelection;
  TEngineFeed FFeed;
};
