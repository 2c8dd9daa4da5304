// Which lines of an input are selected: a line the grep reports holds a
// match (with -w, one that stands as a word), -v turns the choice round and
// -m ends it.  Selected lines and the others go on to the context.  Once the
// answer for the input is known (-q, -l, -L, -c at its -m limit, a binary
// file), no further line is needed.
#pragma once

#include <cstdint>

#include "cli/context.h"
#include "cli/lines.h"
#include "cli/matcher.h"
#include "cli/options.h"

// Raised when -q has found a selected line: the run ends at once, status 0.
struct TQuietMatch {};

// Raised when this input needs no more lines.
struct TInputDone {};

class TSelection {
 public:
  // matcher: needed when it narrows the grep's reports (-w, -x), else may be null.
  TSelection(const TOptions& options, const TMatchFinder* matcher, TContext& context)
      : FOptions(options), FMatcher(matcher), FContext(context) {}

  void Begin() {  // a new input
    FBinary = false;
    FSelected = 0;
    FLimitReached = false;
  }
  // The input is binary: its lines are not printed, only that it matches.
  void SetBinary() { FBinary = true; }

  // The line numbered number, at byte offset in the input; candidate: the
  // grep reported it.  Raises TQuietMatch and TInputDone.
  void Take(const TRawLine& line, std::int64_t number, std::int64_t offset, bool candidate);

  // Whether the lines the grep does not report are needed: for -v, or
  // while trailing context is due.
  bool WantsOtherLines() const { return FOptions.Invert || FContext.AfterDue(); }

  std::int64_t SelectedCount() const { return FSelected; }
  bool Binary() const { return FBinary; }

 private:
  void Selected(const TRawLine& line, std::int64_t number, std::int64_t offset);

  const TOptions& FOptions;
  const TMatchFinder* FMatcher;
  TContext& FContext;
  bool FBinary = false;
  std::int64_t FSelected = 0;
  bool FLimitReached = false;  // -m has allowed its last line
};
