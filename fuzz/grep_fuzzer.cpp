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
// Properties (grep_reports.h), with and without IgnoreCase: no scan raises
// anything; each reports the file's lines in ascending order; Fast and
// AutomatonOnly report exactly what OneCharacter reports; the pattern
// compiles for every scan or for none.  Fast runs patterns whose attempts
// cross line feeds with all starts at once (crossscan.h); the seeds
// crossline* and the dictionary's line-feed tokens lead there.
#include <cstdint>
#include <string>

#include "fuzz_common.h"
#include "support/grep_reports.h"

namespace {

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TScanComparison scans;
  const fuzz::TFlagged input = fuzz::TakeFlags(data, size);
  const auto [pattern, content] = fuzz::SplitFirstLine(input.Rest);
  const unsigned filler = pattern.find_first_of("*+{") == std::string::npos ? (input.Flags >> 1) & 3u : 0;
  const std::string& path = fuzz::ScratchFile("grep.txt");
  fuzz::WriteWhole(path, filler == 0 ? content : WithFiller(content, filler, input.Flags >> 3));
  for (const bool ignoreCase : {false, true}) {
    std::string fault;
    try {
      if (scans.SetPattern(pattern, ignoreCase, (input.Flags & 1) != 0)) fault = scans.Check(path);
    } catch (const std::exception& e) {
      fuzz::Unexpected("a scan", e);
    }
    if (!fault.empty()) fuzz::Fail(fault.c_str(), "file " + fuzz::Hex(content));
  }
  return 0;
}
