// The grep over a hostile file with a hostile pattern.
//
// Input: a flags byte, the pattern up to the first line feed, and the file's
// content: everything after that line feed.  Flags: bit 0 AcceptDBMeta;
// bits 1-2 put filler before the content so that it straddles the reader's
// first block boundary, with the last (bits 3-7) bytes of the content's start
// still in the first block: 0 no filler, 1 short filler lines, 2 one filler
// line without line end (the content continues a line longer than a block),
// 3 filler of double-byte characters without line end.  Only a pattern
// without repetition gets filler: the one-character scans start an attempt
// at every character, and over filler that attempts run through they take
// time growing with the square of its length (tested on short files).
//
// Properties, for each scan (Fast, OneCharacter, AutomatonOnly), with and
// without IgnoreCase: GrepFile raises nothing; reported line numbers
// strictly ascend; each reported line is that line of the file as the
// reader presents it.  Fast and AutomatonOnly report exactly what
// OneCharacter reports; the pattern compiles for every scan or for none.
// Fast runs patterns whose attempts cross line feeds with all starts at once
// (crossscan.h); the seeds crossline* and the dictionary's line-feed tokens
// lead there.
#include <cstdint>
#include <string>
#include <vector>

#include "exceptions.h"
#include "fuzz_common.h"
#include "grep_reports.h"
#include "reader_lines.h"

namespace {

using TScanChoice = TGrep::TScanChoice;

// The content, behind filler that ends inFirstBlock bytes before the end of
// the reader's first block.
std::string WithFiller(const std::string& content, unsigned mode, std::size_t inFirstBlock) {
  const std::size_t length = static_cast<std::size_t>(TTxtFile::BufSize) - inFirstBlock;
  std::string file;
  while (mode == 1 && file.size() + 8 <= length) file += "~~~~~~~\n";
  while (mode == 3 && file.size() + 2 <= length) file += "\x82\xa0";  // a double-byte character
  file.append(length - file.size(), '~');
  return file + content;
}

std::string Describe(const std::vector<TReport>& reports) {
  std::string out;
  for (const TReport& r : reports) out += "  " + std::to_string(r.LineNo) + ": " + fuzz::Hex(r.Line, 60) + "\n";
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TGrep greps[3];
  static const TScanChoice choices[3] = {TScanChoice::OneCharacter, TScanChoice::Fast, TScanChoice::AutomatonOnly};
  static const char* const names[3] = {"OneCharacter", "Fast", "AutomatonOnly"};
  const fuzz::TFlagged input = fuzz::TakeFlags(data, size);
  const auto [pattern, content] = fuzz::SplitFirstLine(input.Rest);
  const bool dbMeta = (input.Flags & 1) != 0;
  const unsigned filler = pattern.find_first_of("*+{") == std::string::npos ? (input.Flags >> 1) & 3u : 0;
  const std::string bytes = filler == 0 ? content : WithFiller(content, filler, input.Flags >> 3);
  const std::string& path = fuzz::ScratchFile("grep.txt");
  fuzz::WriteWhole(path, bytes);
  const std::vector<std::string> lines = ReaderLines(bytes);
  const bool cancel = false;

  for (const bool ignoreCase : {false, true}) {
    std::vector<TReport> reference;
    int compiled = 0;
    for (int k = 0; k < 3; ++k) {
      TGrep& grep = greps[k];
      grep.ScanChoice = choices[k];
      try {
        // The empty pattern first, so that the flag setters do not recompile
        // the previous pattern (which may be too complex under other flags).
        grep.SetPattern("");
        grep.SetAcceptDBMeta(dbMeta);
        grep.SetIgnoreCase(ignoreCase);
        grep.SetPattern(pattern);
        ++compiled;
      } catch (const ERegExpParser&) {
        continue;
      } catch (const std::exception& e) {
        fuzz::Unexpected("SetPattern", e);
      }
      std::vector<TReport> reports;
      try {
        reports = GrepReports(grep, path, &cancel);
      } catch (const std::exception& e) {
        fuzz::Unexpected(names[k], e);
      }
      if (grep.Busy()) fuzz::Fail("the grep stays busy after GrepFile");
      const std::string detail = std::string(names[k]) + (ignoreCase ? " ignoring case" : "") + "\npattern " +
                                 fuzz::Hex(pattern) + "\nfile (" + std::to_string(bytes.size()) +
                                 " bytes, the content at " + std::to_string(bytes.size() - content.size()) + ") " +
                                 fuzz::Hex(content) + "\nreported\n" + Describe(reports);
      for (std::size_t i = 0; i < reports.size(); ++i) {
        const TReport& r = reports[i];
        if (i > 0 && r.LineNo <= reports[i - 1].LineNo) fuzz::Fail("line numbers do not ascend", detail);
        if (r.LineNo < 1 || static_cast<std::size_t>(r.LineNo) > lines.size() ||
            r.Line != lines[static_cast<std::size_t>(r.LineNo - 1)])
          fuzz::Fail("reported text is not the file's line", detail);
      }
      if (k == 0) {
        reference = std::move(reports);
      } else if (reports != reference) {
        fuzz::Fail("scans disagree", detail + "OneCharacter reported\n" + Describe(reference));
      }
    }
    if (compiled != 0 && compiled != 3) fuzz::Fail("the pattern compiles for some scans only", fuzz::Hex(pattern));
  }
  return 0;
}
