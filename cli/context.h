// Context (-A, -B, -C): the lines before a selected line are kept until it
// comes, those after it are printed as they come; when context is asked (0
// lines too), the group separator ("--" unless the user says otherwise)
// parts groups of printed lines that are not adjacent, across inputs too.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "cli/lines.h"
#include "cli/options.h"
#include "cli/printer.h"

class TContext {
 public:
  TContext(const TOptions& options, TPrinter& printer)
      : FOptions(options), FPrinter(printer), FGrouped(options.ContextGiven && options.GroupSeparator) {}

  void Begin();  // a new input

  // A selected line: the leading context kept for it, the line, and then
  // up to -A lines of trailing context.
  void Selected(const TRawLine& line, std::int64_t number, std::int64_t offset);
  // A line that is not selected: trailing context while any is due, else
  // kept as leading context.
  void Other(const TRawLine& line, std::int64_t number, std::int64_t offset);
  // A line after the last one -m allows, while trailing context is due:
  // context whether it matches or not.
  void Trailing(const TRawLine& line, std::int64_t number, std::int64_t offset) {
    --FAfterLeft;
    Print(line.Text, line.End, number, offset, '-');
  }
  bool AfterDue() const { return FAfterLeft > 0; }

 private:
  struct TKeptLine {
    std::string Text;
    std::string End;
    std::int64_t Number;
    std::int64_t Offset;
  };
  void Print(std::string_view text, std::string_view end, std::int64_t number, std::int64_t offset, char separator);

  const TOptions& FOptions;
  TPrinter& FPrinter;
  const bool FGrouped;  // context asked: groups are parted
  // Per input.
  std::int64_t FAfterLeft = 0;
  std::int64_t FLastPrinted = 0;  // 0: none in this input
  std::deque<TKeptLine> FBefore;  // at most -B lines
  // Across inputs: whether a group of lines has been printed.
  bool FAnyGroup = false;
};
