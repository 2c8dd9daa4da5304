// Anchors compile to line feeds here (the reader puts a line feed before the
// first line and after the last), so "^" matches at every line start and "$"
// at every line end.  A pattern whose automaton is one fixed string is
// searched for as that string, case-insensitively when IgnoreCase is on; any
// other pattern runs on its automaton, compiled case-insensitively when
// IgnoreCase is on.  Which scan runs is chosen once per file, before it is
// opened (scanplan.h).
#include "grep/grep.h"

#include <cstdint>
#include <memory>

#include "grep/crossscan.h"
#include "grep/fastscan.h"
#include "grep/stringtrie.h"
#include "sjis/exceptions.h"

// Every scan below tries each character position of the file as a match
// start: GetChar moves the main cursor one character and resets the
// look-ahead to it, and an attempt runs ahead with GetAheadChar.  When an
// attempt succeeds, GetLine moves the main cursor to the line feed that ends
// the current line, so the next attempt starts on that line feed (which lets
// a leading "^", compiled to a line feed, match the next line) and a line is
// reported at most once.  The look-ahead reads 0 past the end of the file and
// the file's own zero bytes read as spaces, so 0 always ends an attempt.

namespace {

// Clears the busy flag when the scan ends, whichever way it ends.
class TBusyGuard {
 public:
  explicit TBusyGuard(bool& busy) : FBusy(busy) { FBusy = true; }
  ~TBusyGuard() { FBusy = false; }
  TBusyGuard(const TBusyGuard&) = delete;
  TBusyGuard& operator=(const TBusyGuard&) = delete;

 private:
  bool& FBusy;
};

}  // namespace

TGrep::TGrep() : TRegularExpression('\n', '\n') {}

void TGrep::Compile(const std::string& pattern) { CompileWith(pattern, '\n', '\n'); }

// A pattern whose automaton is a fixed string is compiled case-sensitively;
// the literal scans ignore case on their own.  Any other pattern is compiled
// case-insensitively when IgnoreCase is on.
void TGrep::SetPattern(const std::string& pattern) {
  FStrings.reset();
  FIgnoreCase = false;
  TRegularExpression::SetPattern(pattern);
  if (FOwnIgnoreCase && !CurrentDFA()->IsLiteral) {
    FIgnoreCase = true;
    TRegularExpression::SetPattern(pattern);
  }
}

void TGrep::SetIgnoreCase(bool value) {
  if (value == FOwnIgnoreCase) return;
  FOwnIgnoreCase = value;
  if (!FStrings) SetPattern(GetPattern());
}

void TGrep::SetStrings(std::vector<std::string> strings, bool wholeLines) {
  FStrings = std::make_shared<const TStrings>(TStrings{std::move(strings), wholeLines});
}

void TGrep::GrepFile(const std::string& fileName, const bool* cancelFlag) {
  Grep(
      [&](const TReadOptions& options) {
        return std::make_unique<TTxtFile>(fileName, cancelFlag, ProcessMessages, options);
      },
      cancelFlag);
}

void TGrep::GrepDescriptor(int fd, const std::string& displayName, const bool* cancelFlag, bool atStart) {
  Grep(
      [&](const TReadOptions& options) {
        TReadOptions descriptor = options;
        descriptor.AtStart = atStart;
        return std::make_unique<TTxtFile>(fd, displayName, cancelFlag, ProcessMessages, descriptor);
      },
      cancelFlag);
}

// A plan and the scan made of it: the scan automaton's tables and the byte
// searches are built once per pattern, not once per file.
struct TGrep::TPrepared {
  std::shared_ptr<const TDFA> DFA;          // what it was made of: the pattern's automaton,
  std::shared_ptr<const TStrings> Strings;  // or the fixed strings
  std::unique_ptr<TStringTrie> Trie;
  TScanChoice Choice = TScanChoice::Fast;
  bool IgnoreCase = false;
  TScanPlan Plan;  // without the parts the scans took
  std::unique_ptr<TFastScan> Lines;
  std::unique_ptr<TCrossLineScan> CrossLines;
};

std::shared_ptr<TGrep::TPrepared> TGrep::Prepare() {
  std::shared_ptr<const TDFA> dfa = FStrings ? nullptr : SharedCurrentDFA();
  if (FPrepared && FPrepared->DFA == dfa && FPrepared->Strings == FStrings && FPrepared->Choice == ScanChoice &&
      FPrepared->IgnoreCase == FOwnIgnoreCase)
    return FPrepared;
  auto prepared = std::make_shared<TPrepared>();
  prepared->DFA = dfa;
  prepared->Strings = FStrings;
  prepared->Choice = ScanChoice;
  prepared->IgnoreCase = FOwnIgnoreCase;
  TScanPlan& plan = prepared->Plan;
  if (FStrings) {
    plan = PlanStrings(FStrings->Strings, ScanChoice, FOwnIgnoreCase, FStrings->WholeLines);
    if (plan.Kind == TScanPlan::TKind::Strings)
      prepared->Trie = std::make_unique<TStringTrie>(plan.Strings, FOwnIgnoreCase);
  } else {
    // A fixed string is compiled with case because the literal scans fold
    // case themselves; the automaton scan needs its automaton compiled
    // without case.
    if (ScanChoice == TScanChoice::AutomatonOnly && FOwnIgnoreCase && !dfa->IgnoreCase) dfa = FoldedAutomaton();
    plan = PlanScan(std::move(dfa), ScanChoice, FOwnIgnoreCase);
  }
  if (plan.Kind == TScanPlan::TKind::Lines) prepared->Lines = std::make_unique<TFastScan>(std::move(plan.Lines));
  if (plan.Kind == TScanPlan::TKind::CrossLines)
    prepared->CrossLines = std::make_unique<TCrossLineScan>(std::move(plan.Lines.Automaton),
                                                            std::move(plan.Lines.Required), plan.Lines.FoldsCase);
  FPrepared = prepared;
  return prepared;
}

void TGrep::Grep(const TOpenReader& open, const bool* cancelFlag) {
  if (FBusy || !(OnMatch || OnInputMatch)) return;
  // Kept for the scan, whatever a handler does to the pattern meanwhile.
  const std::shared_ptr<TPrepared> prepared = Prepare();
  const TScanPlan& plan = prepared->Plan;
  if (plan.PollFirst) {
    if (ProcessMessages) ProcessMessages();
    if (cancelFlag != nullptr && *cancelFlag) throw ECancelRequest();
  }
  const bool input = OnInputMatch && !CountOnly;
  std::unique_ptr<TTxtFile> file;
  try {
    file = open({.KeepCrLf = plan.KeepCrLf,
                 .RegularFilesOnly = RegularFilesOnly,
                 .MaxLineBytes = MaxLineBytes,
                 .CountLines = !CountOnly,
                 .MapBytes = MapBytes,
                 .LazyCheck = plan.LazyCheck,
                 .KeepInputBytes = input,
                 .LoneLeadBytes = LoneLeadBytes,
                 .ZeroProbeBytes = ZeroProbeBytes});
  } catch (const EEndOfFile&) {
    return;  // an empty file has no lines to report
  }
  TBusyGuard busy(FBusy);
  FHandlerStopped = false;
  if (input && OnPassed) file->OnPassed = [this](const TInputLines& lines) { Hand(OnPassed, lines); };
  try {
    if (OnOpen) {
      try {
        OnOpen(*this, file->ZeroInProbe());
      } catch (const EEndOfFile&) {
        return;
      }
    }
    Scan(*prepared, *file);
  } catch (const EEndOfFile&) {
    // The end of the file, or the handler ended the scan.
  }
  if (FHandlerStopped) return;
  try {
    file->HandRest();
  } catch (const EEndOfFile&) {
  }
}

void TGrep::Hand(const TOnInputLines& handler, const TInputLines& lines) {
  try {
    handler(*this, lines);
  } catch (const EEndOfFile&) {
    FHandlerStopped = true;
    throw;
  }
}

// Runs the plan's scan; ends by returning or with EEndOfFile.
void TGrep::Scan(TPrepared& prepared, TTxtFile& file) {
  const TScanPlan& plan = prepared.Plan;
  switch (plan.Kind) {
    case TScanPlan::TKind::Lines:
      prepared.Lines->Run(TFastScanView(file), [&] { Report(TCharScanView(file)); });
      break;
    case TScanPlan::TKind::CrossLines:
      prepared.CrossLines->Run(TCrossScanView(file), [&] { Report(TCharScanView(file)); });
      break;
    case TScanPlan::TKind::Automaton:
      AutomatonScan(TCharScanView(file), *plan.DFA);
      break;
    case TScanPlan::TKind::FoldedLiteral:
      CaseInsensitiveLiteralScan(TCharScanView(file), plan.Literal);
      break;
    case TScanPlan::TKind::Literal:
      LiteralScan(TCharScanView(file), plan.Literal);
      break;
    case TScanPlan::TKind::Strings:
      prepared.Trie->Run(TCharScanView(file), [&] { Report(TCharScanView(file)); });
      break;
    case TScanPlan::TKind::EveryLine:
      for (;;) {
        // Over the line's leading character; the report moves to its end.
        TCharScanView(file).GetChar();
        Report(TCharScanView(file));
      }
    case TScanPlan::TKind::NoLine:
      throw EEndOfFile();
  }
}

// The current pattern's automaton compiled without regard to case, outside
// the cache (whose entry for a fixed string keeps the one with case).
std::shared_ptr<const TDFA> TGrep::FoldedAutomaton() const {
  TGrep folded;
  folded.FAcceptDBMeta = FAcceptDBMeta;
  folded.FIgnoreCase = true;
  folded.TRegularExpression::SetPattern(GetPattern());
  return folded.SharedCurrentDFA();
}

void TGrep::Report(TCharScanView file) {
  if (OnInputMatch) {
    TInputLines line;
    if (CountOnly)
      file.PassLine();
    else
      file.GetInputLine(line);
    Hand(OnInputMatch, line);
    return;
  }
  LineInfo_t lineInfo;
  if (CountOnly)
    file.PassLine();
  else
    file.GetLine(lineInfo);
  OnMatch(*this, std::move(lineInfo));
}

// An attempt of a pattern that matches line feeds can run on to the end of
// the file, and every character starts one: once the look-ahead has read the
// whole file, such a scan works without reading a block or reporting a line,
// for a time that grows with the square of the file's length.  So that the
// window stays alive and the scan can be cancelled meanwhile, the scan also
// polls the reader (messages, cancel flag) as it counts look-ahead steps.
void TGrep::AutomatonScan(TCharScanView file, const TDFA& dfa) {
  std::uint32_t steps = 0;
  for (;;) {
    const TDFAState* state = NextState(dfa.Start, file.GetChar());
    while (state != nullptr) {
      if (state->Accepting != 0) {
        Report(file);
        break;
      }
      const TCharCode c = file.GetAheadChar();
      state = c == 0 ? nullptr : NextState(state, c);
      file.CountAheadStep(steps);
    }
  }
}

void TGrep::LiteralScan(TCharScanView file, const std::string& literal) {
  std::vector<TCharCode> codes;
  const int n = StringToCodes(literal, codes);
  for (;;) {
    if (file.GetChar() != codes[0]) continue;
    for (int i = 1;; ++i) {
      if (i == n) {
        Report(file);
        break;
      }
      if (file.GetAheadChar() != codes[static_cast<std::size_t>(i)]) break;
    }
  }
}

void TGrep::CaseInsensitiveLiteralScan(TCharScanView file, const std::string& literal) {
  std::vector<TCharCode> lower;
  std::vector<TCharCode> upper;
  StringToCodes(AsciiLowerSjis(literal), lower);
  const int n = StringToCodes(AsciiUpperSjis(literal), upper);
  for (;;) {
    const TCharCode first = file.GetChar();
    if (first != upper[0] && first != lower[0]) continue;
    for (int i = 1;; ++i) {
      const TCharCode c = file.GetAheadChar();
      if (i == n) {
        Report(file);
        break;
      }
      const auto k = static_cast<std::size_t>(i);
      if (c != upper[k] && c != lower[k]) break;
    }
  }
}
