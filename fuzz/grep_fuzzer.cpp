// The grep over a hostile file with a hostile pattern.
//
// Input: a flags byte, the pattern up to the first line feed, and the file's
// content: everything after that line feed.  Flags: bit 0 AcceptDBMeta;
// bits 1-2 put filler before the content so that it straddles the reader's
// first block boundary (102,400 bytes), with the last (bits 3-7) bytes of
// the content's start still in the first block: 0 no filler, 1 short filler
// lines, 2 one filler line without line end (the content continues a line
// longer than a block), 3 filler of double-byte characters without line end.
// A pattern whose attempts run on through the filler gets none (see
// AttemptsRunThroughFiller).
// The file is written once per input to a fixed path of this process and
// searched with every scan (Fast, OneCharacter, AutomatonOnly), with and
// without IgnoreCase.
//
// Properties, for each scan: GrepFile raises nothing (the file exists, is
// readable and nobody cancels); reported line numbers strictly ascend; each
// reported line is that line of the file as the reader presents it (CR LF
// and a lone CR end a line, a zero byte reads as a space).  Between scans:
// Fast reports exactly the lines and numbers that OneCharacter reports, and
// so does AutomatonOnly.  Fast runs patterns whose attempts cross line feeds
// with all starts at once (crossscan.h); the seeds crossline* and the
// dictionary's line-feed tokens lead there.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "exceptions.h"
#include "fuzz_common.h"
#include "grep.h"
#include "reader_lines.h"

namespace {

using TScanChoice = TGrep::TScanChoice;

const std::string& FilePath() { return fuzz::ScratchFile("grep.txt"); }

struct TReport {
  std::int64_t LineNo;
  std::string Line;
  bool operator==(const TReport&) const = default;
};

// The content, behind filler that ends inFirstBlock bytes before the end of
// the reader's first block.
std::string WithFiller(const std::string& content, unsigned mode, std::size_t inFirstBlock) {
  if (mode == 0) return content;
  const std::size_t length = static_cast<std::size_t>(TTxtFile::BufSize) - inFirstBlock;
  std::string file;
  file.reserve(length + content.size());
  if (mode == 1) {
    while (file.size() + 8 <= length) file += "~~~~~~~\n";
    file.append(length - file.size(), '~');
  } else if (mode == 2) {
    file.assign(length, '~');
  } else {
    while (file.size() + 2 <= length) file += "\x82\xa0";  // a double-byte character
    file.append(length - file.size(), '~');
  }
  return file + content;
}

// A grep whose current automaton is the pattern compiled without regard to
// case, the automaton that the automaton-only scan runs then.
class TFoldedGrep : public TGrep {
 public:
  void SetFoldedPattern(const std::string& pattern, bool dbMeta) {
    FAcceptDBMeta = dbMeta;
    FIgnoreCase = true;
    TRegularExpression::SetPattern(pattern);
  }
};

// Whether an attempt of the automaton that starts on one of the first
// characters of the filler runs on through 4 KB of it without accepting.
bool RunsThrough(const TDFA& dfa, const std::string& filler) {
  std::vector<TCharCode> codes;
  for (std::size_t i = 0; i < filler.size() && i < 4096;) {
    const auto b = static_cast<unsigned char>(filler[i]);
    if (IsDBCSLeadByte(b) && i + 1 < filler.size()) {
      codes.push_back(static_cast<TCharCode>(b << 8 | static_cast<unsigned char>(filler[i + 1])));
      i += 2;
    } else {
      codes.push_back(b);
      i += 1;
    }
  }
  for (std::size_t start = 0; start < 8 && start < codes.size(); ++start) {
    const TDFAState* state = TRegularExpression::NextState(dfa.Start, codes[start]);
    for (std::size_t i = start + 1; state != nullptr && state->Accepting == 0; ++i) {
      if (i == codes.size()) return true;
      state = TRegularExpression::NextState(state, codes[i]);
    }
  }
  return false;
}

// The one-character scans start an attempt at every character, and each runs
// until it fails or accepts: over filler that attempts run through, they take
// time that grows with the square of the filler's length (a cost of their
// design, tested on short files).  Such patterns get no filler.
bool AttemptsRunThroughFiller(const std::string& pattern, bool dbMeta, const std::string& filler) {
  try {
    TGrep withCase;
    withCase.SetAcceptDBMeta(dbMeta);
    withCase.SetPattern(pattern);
    TFoldedGrep folded;
    folded.SetFoldedPattern(pattern, dbMeta);
    return RunsThrough(*withCase.CurrentDFA(), filler) || RunsThrough(*folded.CurrentDFA(), filler);
  } catch (const ERegExpParser&) {
    return false;  // the scans will not run
  }
}

const char* Name(TScanChoice choice) {
  switch (choice) {
    case TScanChoice::Fast:
      return "Fast";
    case TScanChoice::OneCharacter:
      return "OneCharacter";
    case TScanChoice::AutomatonOnly:
      return "AutomatonOnly";
  }
  return "?";
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
  const fuzz::TFlagged input = fuzz::TakeFlags(data, size);
  const auto [pattern, content] = fuzz::SplitFirstLine(input.Rest);
  const bool dbMeta = (input.Flags & 1) != 0;
  std::string bytes = WithFiller(content, (input.Flags >> 1) & 3u, input.Flags >> 3);
  if (bytes.size() > content.size() &&
      AttemptsRunThroughFiller(pattern, dbMeta, bytes.substr(0, bytes.size() - content.size())))
    bytes = content;

  fuzz::WriteWhole(FilePath(), bytes);
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
      grep.OnMatch = [&](TGrep&, LineInfo_t info) { reports.push_back({info.LineNo, std::move(info.Line)}); };
      try {
        grep.GrepFile(FilePath(), &cancel);
      } catch (const std::exception& e) {
        fuzz::Unexpected(Name(choices[k]), e);
      }
      if (grep.Busy()) fuzz::Fail("the grep stays busy after GrepFile");
      const std::string detail = std::string(Name(choices[k])) + (ignoreCase ? " ignoring case" : "") + "\npattern " +
                                 fuzz::Hex(pattern) + "\nfile (" + std::to_string(bytes.size()) +
                                 " bytes, the content at " + std::to_string(bytes.size() - content.size()) + ") " +
                                 fuzz::Hex(content) + "\nreported\n" + Describe(reports);
      for (std::size_t i = 0; i < reports.size(); ++i) {
        const TReport& r = reports[i];
        if (i > 0 && r.LineNo <= reports[i - 1].LineNo) fuzz::Fail("line numbers do not ascend", detail);
        if (r.LineNo < 1 || static_cast<std::size_t>(r.LineNo) > lines.size())
          fuzz::Fail("line number outside the file", detail);
        if (r.Line != lines[static_cast<std::size_t>(r.LineNo - 1)])
          fuzz::Fail("reported text is not the file's line", detail);
      }
      if (k == 0) {
        reference = std::move(reports);
      } else if (reports != reference) {
        fuzz::Fail("scans disagree", detail + "OneCharacter reported\n" + Describe(reference));
      }
    }
    // The pattern compiles for every scan or for none.
    if (compiled != 0 && compiled != 3) fuzz::Fail("the pattern compiles for some scans only", fuzz::Hex(pattern));
  }
  return 0;
}
