#include "grep.h"

#include <cstdint>
#include <memory>

#include "crossscan.h"
#include "exceptions.h"
#include "fastscan.h"

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
  SetPattern(GetPattern());
}

void TGrep::GrepFile(const std::string& fileName, const bool* cancelFlag) {
  Grep(
      [&](const TReadOptions& options) {
        return std::make_unique<TTxtFile>(fileName, cancelFlag, ProcessMessages, options);
      },
      cancelFlag);
}

void TGrep::GrepDescriptor(int fd, const std::string& displayName, const bool* cancelFlag) {
  Grep(
      [&](const TReadOptions& options) {
        return std::make_unique<TTxtFile>(fd, displayName, cancelFlag, ProcessMessages, options);
      },
      cancelFlag);
}

void TGrep::Grep(const TOpenReader& open, const bool* cancelFlag) {
  if (FBusy || !OnMatch) return;
  std::shared_ptr<const TDFA> dfa = SharedCurrentDFA();
  // A fixed string is compiled with case because the literal scans fold case
  // themselves; the automaton scan needs its automaton compiled without case.
  if (ScanChoice == TScanChoice::AutomatonOnly && FOwnIgnoreCase && !dfa->IgnoreCase) dfa = FoldedAutomaton();
  const bool literal = dfa->IsLiteral && dfa->LiteralIsText && ScanChoice != TScanChoice::AutomatonOnly;
  const bool foldCase = literal && FOwnIgnoreCase;
  if (foldCase) {
    if (ProcessMessages) ProcessMessages();
    if (cancelFlag != nullptr && *cancelFlag) throw ECancelRequest();
  }
  std::unique_ptr<TFastScan> fast;
  std::unique_ptr<TCrossLineScan> cross;
  if (ScanChoice == TScanChoice::Fast) {
    // A fixed string requires its own bytes (in either case when case is
    // ignored); any other pattern what its parse found.
    if (foldCase)
      fast = std::make_unique<TFastScan>(FastAutomaton(*dfa, true), dfa->Literal, true);
    else if (literal)
      fast = std::make_unique<TFastScan>(FastAutomaton(*dfa, false), dfa->Literal, false, true);
    else if (TScanAutomaton automaton = FastAutomaton(*dfa, false); TCrossLineScan::AttemptsCrossLineFeeds(automaton))
      cross = std::make_unique<TCrossLineScan>(std::move(automaton), dfa->Required, dfa->RequiredFoldsCase);
    else
      fast = AutomatonFastScan(*dfa);
    // Fixed strings that hold a line feed keep the literal scans.
    if (literal && !fast->LineLocal()) fast.reset();
  }
  std::unique_ptr<TTxtFile> file;
  try {
    file = open({.KeepCrLf = fast && fast->AllowsKeptCrLf(),
                 .RegularFilesOnly = RegularFilesOnly,
                 .MaxLineBytes = MaxLineBytes,
                 .CountLines = !CountOnly});
  } catch (const EEndOfFile&) {
    return;  // an empty file has no lines to report
  }
  TBusyGuard busy(FBusy);
  try {
    if (cross)
      cross->Run(*file, [&](LineInfo_t lineInfo) { OnMatch(*this, CountOnly ? LineInfo_t{} : std::move(lineInfo)); });
    else if (fast)
      fast->Run(*file, [&] { Report(*file); });
    else if (!literal)
      AutomatonScan(*file, *dfa);
    else if (foldCase)
      CaseInsensitiveLiteralScan(*file, dfa->Literal);
    else
      LiteralScan(*file, dfa->Literal);
  } catch (const EEndOfFile&) {
    // The end of the file, or the handler ended the scan.
  }
}

// The fast scan of a pattern that is no fixed string.  Bytes that a match
// holds anywhere tell which lines to pass over only when matches stay within
// their line; bytes that begin every match do in any case.
std::unique_ptr<TFastScan> TGrep::AutomatonFastScan(const TDFA& dfa) const {
  TScanAutomaton automaton = FastAutomaton(dfa, false);
  const bool lineLocal = TFastScan::AttemptsEndInTheirLine(automaton);
  const bool prefix = !lineLocal || dfa.RequiredPrefix.size() >= dfa.Required.size();
  const std::string& single = prefix ? dfa.RequiredPrefix : dfa.Required;
  const bool singleFolds = prefix ? dfa.RequiredPrefixFoldsCase : dfa.RequiredFoldsCase;
  auto scan = std::make_unique<TFastScan>(std::move(automaton), single, singleFolds, false, prefix);
  // A set of strings is worth more than the single string when the cost
  // model says so (an alternation of words has no single string at all).
  const double singleCost = single.empty() ? kNoStringCost : RequiredCost({single}, singleFolds);
  if (lineLocal && !dfa.RequiredSet.Strings.empty() && dfa.RequiredSet.Cost < singleCost)
    scan->UseRequiredSet(dfa.RequiredSet);
  return scan;
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

// The automaton the fast scan runs: the pattern's own, or for a fixed string
// compared without case the chain of its characters in both cases.
TScanAutomaton TGrep::FastAutomaton(const TDFA& dfa, bool foldCase) const {
  if (!foldCase) return TScanAutomaton::FromDFA(dfa);
  std::vector<TCharCode> lower;
  std::vector<TCharCode> upper;
  StringToCodes(AsciiLowerSjis(dfa.Literal), lower);
  const int n = StringToCodes(AsciiUpperSjis(dfa.Literal), upper);
  return TScanAutomaton::Chain(upper, lower, n);
}

void TGrep::Report(TTxtFile& file) {
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
// polls the reader (messages, cancel flag) every kPollSteps look-ahead steps.
void TGrep::AutomatonScan(TTxtFile& file, const TDFA& dfa) {
  constexpr std::uint32_t kPollSteps = 1u << 20;
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
      if (++steps == kPollSteps) {
        steps = 0;
        file.Poll();
      }
    }
  }
}

void TGrep::LiteralScan(TTxtFile& file, const std::string& literal) {
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

void TGrep::CaseInsensitiveLiteralScan(TTxtFile& file, const std::string& literal) {
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
