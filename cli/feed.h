// Feeding one input to the grep, which reads it once and reports each
// matching line as it stands in the input, with its number and byte offset;
// the selection (selection.h) takes those lines and, where -v or context
// need them, the lines that the grep passes over in between.
#pragma once

#include <string>

#include "cli/options.h"
#include "cli/patterns.h"
#include "cli/selection.h"
#include "grep/grep.h"

class TEngineFeed {
 public:
  TEngineFeed(const TOptions& options, const TEnginePattern& pattern, TSelection& selection);

  // Searches the open descriptor from where it stands; name names it in the
  // engine's messages.  Raises the selection's exceptions and the engine's.
  // atStart: fd was just opened (see TGrep::GrepDescriptor).
  void Search(int fd, const std::string& name, bool atStart);

 private:
  void Passed(const TInputLines& lines);

  const TOptions& FOptions;
  TSelection& FSelection;
  TGrep FGrep;
};
