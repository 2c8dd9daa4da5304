#include "cli/selection.h"

void TSelection::Take(const TRawLine& line, std::int64_t number, std::int64_t offset, bool candidate) {
  if (FLimitReached) {
    FContext.Trailing(line, number, offset);
    if (!FContext.AfterDue()) throw TInputDone();
    return;
  }
  const bool matched = candidate && (FMatcher == nullptr || !FMatcher->Narrows() || FMatcher->Matches(line.Text));
  if (matched != FOptions.Invert)
    Selected(line, number, offset);
  else
    FContext.Other(line, number, offset);
}

void TSelection::Selected(const TRawLine& line, std::int64_t number, std::int64_t offset) {
  ++FSelected;
  const bool last = FSelected == FOptions.MaxCount;
  if (FOptions.Quiet) throw TQuietMatch();
  if (FOptions.FilesWithMatches || FOptions.FilesWithoutMatch) throw TInputDone();
  if (FOptions.Count) {
    if (last) throw TInputDone();
    return;
  }
  if (FBinary) throw TInputDone();  // its lines are not printed, only that it matches
  FContext.Selected(line, number, offset);
  if (last) {
    FLimitReached = true;
    if (!FContext.AfterDue()) throw TInputDone();
  }
}
