// The choice:
//  - a fixed string whose matches stay within their line: the whole-line
//    scan (fastscan.h), which finds the string in the block and takes a
//    line where it stands at a character start; compared without case, the
//    scan passes over lines without the string in either case and checks
//    the others with the chain of its characters in both cases;
//  - a fixed string that holds a line feed: the one-character literal scans;
//  - a pattern whose attempts run on over a line feed of their own: the
//    cross-line scan (crossscan.h);
//  - any other pattern: the whole-line scan, passing over lines by the
//    required string or, where the cost model says it is cheaper, the set of
//    strings of which every match holds one (only for a pattern whose
//    attempts end within their line: otherwise a match may hold them in a
//    later line than the one it starts in, and only bytes that begin every
//    match can tell which lines to pass over).
//
// The slower choices (TScanChoice) take the one-character scans whatever
// the pattern, as the reference that tests hold the whole-line scans to.
#include "grep/scanplan.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "regexp/regexp.h"
#include "regexp/required_set.h"

namespace {

// The chain of a fixed string's characters in both cases.
TScanAutomaton FoldedChain(const std::string& literal) {
  std::vector<TCharCode> lower;
  std::vector<TCharCode> upper;
  TRegularExpression::StringToCodes(AsciiLowerSjis(literal), lower);
  const int n = TRegularExpression::StringToCodes(AsciiUpperSjis(literal), upper);
  return TScanAutomaton::Chain(upper, lower, n);
}

// A kept CR is dropped before its line feed: a line window ends before it,
// and the look-ahead reads CR LF as the line feed, so the automaton sees the
// same characters as in cleaned text (which holds no CR at all).  Only the
// required bytes are searched for in the text as it is, and text with kept
// CRs has CR LF where the cleaned text has a line feed: they must hold no
// line end, but for a line feed as their first byte when they only serve to
// pass over lines (a fixed string is matched where its bytes are found, and
// a line feed found there may be the second byte of a lead byte and CR).
bool AllowsKeptCrLf(const TLinePlan& lines) {
  const std::string& bytes = lines.Required;
  const std::size_t from = lines.Exact ? 0 : 1;
  return bytes.find_first_of("\r\n", from) == std::string::npos && !bytes.starts_with('\r');
}

// Lines that the scan passes over are never checked for zero bytes and lone
// CRs: the bytes it passes them by must be found in the text as read
// wherever they stand in the cleaned text.  A zero byte becomes a space, and
// a lone CR a line feed, so they may hold neither, but for spaces and the
// line feed that a "^" puts before the bytes a line starts with: searched
// for with a space matching a zero byte too and a line feed a CR too (see
// FindBytes and TMultiSearch), they are found where the cleaned text holds
// them.
bool AllowsLazyCheck(const TLinePlan& lines) {
  const auto unrewritten = [](std::string_view bytes) {
    return !bytes.empty() && bytes.find_first_of(std::string_view("\n\r\0", 3)) == std::string_view::npos;
  };
  if (!lines.Set.empty()) return std::all_of(lines.Set.begin(), lines.Set.end(), unrewritten);
  const std::string_view required = lines.Required;
  return unrewritten(required) || (required.starts_with('\n') && unrewritten(required.substr(1)));
}

// Whether the bytes that lines are passed over by differ in the text as read:
// they hold a space or begin with a line feed.
bool SearchedAsRead(const TLinePlan& lines) {
  const auto space = [](const std::string& bytes) { return bytes.find(' ') != std::string::npos; };
  return space(lines.Required) || lines.Required.starts_with('\n') ||
         std::any_of(lines.Set.begin(), lines.Set.end(), space);
}

TScanPlan LinePlan(TLinePlan lines) {
  TScanPlan plan;
  plan.Kind = TScanPlan::TKind::Lines;
  plan.KeepCrLf = AllowsKeptCrLf(lines);
  plan.LazyCheck = plan.KeepCrLf && AllowsLazyCheck(lines);
  lines.AsRead = plan.LazyCheck && SearchedAsRead(lines);
  plan.Lines = std::move(lines);
  return plan;
}

// A fixed string.
TScanPlan LiteralPlan(const TDFA& dfa, TScanChoice choice, bool ignoreCase) {
  TScanPlan plan;
  plan.Kind = ignoreCase ? TScanPlan::TKind::FoldedLiteral : TScanPlan::TKind::Literal;
  plan.Literal = dfa.Literal;
  plan.PollFirst = ignoreCase;
  if (choice != TScanChoice::Fast) return plan;
  TLinePlan lines;
  if (ignoreCase || dfa.Literal.empty()) {
    lines.Automaton = ignoreCase ? FoldedChain(dfa.Literal) : TScanAutomaton::FromDFA(dfa);
    if (!lines.Automaton.AttemptsEndInTheirLine()) return plan;
  } else {
    // Found by its bytes alone, the string's automaton (a chain, a state a
    // character) is never run.  Its attempts end within their line unless
    // a character after the first leads on over a line feed to one more.
    std::vector<TCharCode> codes;
    const int n = TRegularExpression::StringToCodes(dfa.Literal, codes);
    for (int i = 1; i + 1 < n; ++i)
      if (HoldsLineFeed(codes[static_cast<std::size_t>(i)], codes[static_cast<std::size_t>(i)])) return plan;
    lines.Automaton = TScanAutomaton::Never();
  }
  lines.Required = dfa.Literal;
  lines.FoldsCase = ignoreCase;
  lines.Exact = !ignoreCase && !dfa.Literal.empty();
  TScanPlan linePlan = LinePlan(std::move(lines));
  linePlan.PollFirst = plan.PollFirst;
  return linePlan;
}

// Any other pattern, with the fast scans.  Bytes that a match holds anywhere
// tell which lines to pass over only when matches stay within their line;
// bytes that begin every match do in any case.
TScanPlan AutomatonPlan(const TDFA& dfa) {
  TScanAutomaton automaton = TScanAutomaton::FromDFA(dfa);
  if (automaton.AttemptsCrossLineFeeds()) {
    TScanPlan plan;
    plan.Kind = TScanPlan::TKind::CrossLines;
    plan.Lines.Automaton = std::move(automaton);
    plan.Lines.Required = dfa.Required;
    plan.Lines.FoldsCase = dfa.RequiredFoldsCase;
    return plan;
  }
  const bool lineLocal = automaton.AttemptsEndInTheirLine();
  const bool prefix = !lineLocal || dfa.RequiredPrefix.size() >= dfa.Required.size();
  TLinePlan lines;
  lines.Automaton = std::move(automaton);
  lines.Required = prefix ? dfa.RequiredPrefix : dfa.Required;
  lines.FoldsCase = prefix ? dfa.RequiredPrefixFoldsCase : dfa.RequiredFoldsCase;
  lines.AtStart = prefix && !lines.Required.empty();
  // A set of strings is worth more than the single string when the cost
  // model says so (an alternation of words has no single string at all).
  const double singleCost = lines.Required.empty() ? kNoStringCost : RequiredCost({lines.Required}, lines.FoldsCase);
  const TRequiredSet& set = dfa.RequiredSet;
  if (lineLocal && !set.Strings.empty() && set.Cost < singleCost) {
    lines.Required.clear();
    lines.AtStart = false;
    lines.Set = set.Strings;
    lines.FoldsCase = set.FoldsCase;
    lines.Exact = set.Exact;
  }
  return LinePlan(std::move(lines));
}

}  // namespace

TScanPlan PlanScan(std::shared_ptr<const TDFA> dfa, TScanChoice choice, bool ignoreCase) {
  if (choice != TScanChoice::AutomatonOnly && dfa->IsLiteral && dfa->LiteralIsText)
    return LiteralPlan(*dfa, choice, ignoreCase);
  if (choice == TScanChoice::Fast) return AutomatonPlan(*dfa);
  TScanPlan plan;
  plan.Kind = TScanPlan::TKind::Automaton;
  plan.DFA = std::move(dfa);
  return plan;
}

TScanPlan PlanStrings(std::vector<std::string> strings, TScanChoice choice, bool ignoreCase, bool wholeLines) {
  TScanPlan plan;
  // A line end or a zero byte never stands within a line of the text, and
  // a string that ends in a lead byte is no whole characters.
  std::erase_if(strings, [](const std::string& s) {
    return s.find_first_of(std::string_view("\n\r\0", 3)) != std::string::npos || EndsInLoneLeadByte(s);
  });
  const bool empty = std::any_of(strings.begin(), strings.end(), [](const std::string& s) { return s.empty(); });
  // Lines that all match, or none, are taken whole: CR LF may stay.
  if (strings.empty() || (empty && !wholeLines)) {
    plan.Kind = strings.empty() ? TScanPlan::TKind::NoLine : TScanPlan::TKind::EveryLine;
    plan.KeepCrLf = true;
    return plan;
  }
  if (choice != TScanChoice::Fast || empty) {
    // For whole lines, the line feeds around each string stand for the
    // line's start and end, as "^" and "$" do in a pattern.
    if (wholeLines)
      for (std::string& s : strings) s = "\n" + s + "\n";
    plan.Kind = TScanPlan::TKind::Strings;
    plan.Strings = std::move(strings);
    return plan;
  }
  TLinePlan lines;
  // The scan's automaton is never run: each line is decided by the set.
  lines.Automaton.Edges.resize(1);
  lines.Automaton.Accepting.assign(1, false);
  lines.Set = std::move(strings);
  lines.FoldsCase = ignoreCase;
  lines.Exact = true;
  lines.WholeLines = wholeLines;
  return LinePlan(std::move(lines));
}
