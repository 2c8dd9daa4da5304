#include "cli/feed.h"

#include "cli/binary.h"
#include "cli/lines.h"
#include "cli/literal_set.h"
#include "sjis/exceptions.h"

namespace {

TRawLine OneLine(std::string_view bytes) { return TLineCutter(bytes).Next(); }

}  // namespace

TEngineFeed::TEngineFeed(const TOptions& options, const TEnginePattern& pattern, TSelection& selection)
    : FOptions(options), FSelection(selection) {
  if (pattern.Literals) {
    FGrep.SetIgnoreCase(pattern.IgnoreCase);
    FGrep.SetStrings(pattern.Literals->Strings, options.WholeLine);
  } else if (pattern.None) {
    FGrep.SetStrings({}, false);
  } else if (pattern.EveryLine) {
    FGrep.SetStrings({std::string()}, false);  // the engine reports no empty match
  } else {
    pattern.Apply(FGrep);
  }
  // A line feed ends a line whatever stands before it, as in GNU grep.
  FGrep.LoneLeadBytes = true;
  FGrep.ZeroProbeBytes = BinaryProbeBytes(options.BinaryFiles);
  // Counting the lines that match needs none of their bytes.
  FGrep.CountOnly = !options.Invert && pattern.Test == TLineTest::None &&
                    (options.Count || options.FilesWithMatches || options.FilesWithoutMatch || options.Quiet);
  FGrep.OnOpen = [this](TGrep&, bool zero) {
    const TBinaryVerdict verdict = BinaryVerdict(FOptions.BinaryFiles, zero);
    if (verdict == TBinaryVerdict::Skip) throw EEndOfFile();
    if (verdict == TBinaryVerdict::Binary) FSelection.SetBinary();
  };
  FGrep.OnInputMatch = [this](TGrep&, const TInputLines& line) {
    FSelection.Take(OneLine(line.Bytes), line.LineNo, line.Offset, true);
  };
  if (options.Invert || options.Before > 0 || options.After > 0)
    FGrep.OnPassed = [this](TGrep&, const TInputLines& lines) { Passed(lines); };
}

void TEngineFeed::Search(int fd, const std::string& name, bool atStart) {
  FGrep.GrepDescriptor(fd, name, nullptr, atStart);
}

// Lines without a match: every one for -v; else those that trailing context
// still wants, and the last -B of them, kept for a match that may follow.
void TEngineFeed::Passed(const TInputLines& lines) {
  TLineCutter cutter(lines.Bytes);
  std::int64_t number = lines.LineNo;
  const auto take = [&] {
    const std::size_t at = cutter.Position();
    FSelection.Take(cutter.Next(), number++, lines.Offset + static_cast<std::int64_t>(at), false);
  };
  if (!FOptions.Invert) {
    while (!cutter.AtEnd() && FSelection.WantsOtherLines()) take();
    const std::int64_t left = lines.Count - (number - lines.LineNo);
    if (left > FOptions.Before) number += cutter.Skip(left - FOptions.Before);
  }
  while (!cutter.AtEnd()) take();
}
