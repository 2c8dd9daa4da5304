#include "cli/search.h"

#include "cli/records.h"

TSearch::TSearch(const TOptions& options, const TEnginePattern& pattern, TOutput& output)
    : FOptions(options),
      FMatcher(MatchFinder(options, pattern, output.Colours() != nullptr)),
      FPrinter(options, output, FMatcher.get()),
      FContext(options, FPrinter),
      FSelection(options, FMatcher.get(), FContext),
      FFeed(options, pattern, FSelection) {}

bool TSearch::Search(const std::string& displayName, int fd, bool showName, bool atStart) {
  FPrinter.Begin(displayName, showName, FOptions.InitialTab ? TPrinter::NumberWidth(fd, FOptions.LineNumbers) : 0);
  FContext.Begin();
  FSelection.Begin();
  if (FOptions.MaxCount != 0) {
    try {
      if (FOptions.NullData)
        FeedRecords(fd, FMatcher.get(), FSelection);  // the grep cuts lines at line feeds
      else
        FFeed.Search(fd, displayName, atStart);
    } catch (const TInputDone&) {
    }
  }
  const std::int64_t selected = FSelection.SelectedCount();
  if (FOptions.Count) FPrinter.Count(selected);
  if ((FOptions.FilesWithMatches && selected > 0) || (FOptions.FilesWithoutMatch && selected == 0)) FPrinter.Name();
  if (FSelection.Binary() && selected > 0 && !FOptions.Count && !FOptions.FilesWithMatches &&
      !FOptions.FilesWithoutMatch)
    FPrinter.BinaryMatches();
  return selected > 0;
}
