#include "cli/context.h"

void TContext::Begin() {
  FAfterLeft = 0;
  FLastPrinted = 0;
  FBefore.clear();
}

void TContext::Selected(const TRawLine& line, std::int64_t number, std::int64_t offset) {
  if (!FBefore.empty()) {
    for (const TKeptLine& before : FBefore) {
      // Lines passed over in bulk leave older lines in the queue.
      if (before.Number > FLastPrinted && before.Number >= number - FOptions.Before)
        Print(before.Text, before.End, before.Number, before.Offset, '-');
    }
    FBefore.clear();
  }
  Print(line.Text, line.End, number, offset, ':');
  FAfterLeft = FOptions.After;
}

void TContext::Other(const TRawLine& line, std::int64_t number, std::int64_t offset) {
  if (FAfterLeft > 0) {
    --FAfterLeft;
    Print(line.Text, line.End, number, offset, '-');
  } else if (FOptions.Before > 0) {
    FBefore.push_back({std::string(line.Text), std::string(line.End), number, offset});
    if (static_cast<std::int64_t>(FBefore.size()) > FOptions.Before) FBefore.pop_front();
  }
}

void TContext::Print(std::string_view text, std::string_view end, std::int64_t number, std::int64_t offset,
                     char separator) {
  if (FGrouped) {
    if (FAnyGroup && (FLastPrinted == 0 || number > FLastPrinted + 1)) FPrinter.GroupSeparator();
    FAnyGroup = true;
  }
  FLastPrinted = number;
  FPrinter.Line(text, end, number, offset, separator);
}
