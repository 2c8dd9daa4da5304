// Which scan searches a file for a pattern (the whole-line, the cross-line
// or a one-character scan, and by which bytes lines are passed over),
// chosen once, before the file is opened, from the pattern's automaton and
// what its parse found.  See scanplan.cpp.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "grep/scanautomaton.h"
#include "regexp/dfa.h"

// Which scans may run.  Fast: the choice above.  OneCharacter: the
// one-character scans that fit the pattern (a fixed string, compared with or
// without case, or the automaton).  AutomatonOnly: the one-character
// automaton scan for every pattern (fixed strings too).
enum class TScanChoice { Fast, OneCharacter, AutomatonOnly };

// What the whole-line scans need: the automaton, and the bytes by which the
// lines that cannot match are passed over.
struct TLinePlan {
  TScanAutomaton Automaton;
  // Bytes every matching line holds (empty when unknown), or instead a set
  // of strings of which every matching line holds one; with FoldsCase their
  // ASCII letters in either case.
  std::string Required;
  std::vector<std::string> Set;
  bool FoldsCase = false;
  // A line matches exactly when Required (a string of the Set) stands at one
  // of its character starts: the automaton need not run.
  bool Exact = false;
  // Every match begins with Required.
  bool AtStart = false;
  // A line matches only when it is one of the Set's strings (Exact, with
  // FoldsCase in any case of their letters).
  bool WholeLines = false;
  // Required (the Set) is searched for in blocks as read
  // (TScanPlan::LazyCheck), where a zero byte still stands for the space
  // that the cleaned text has there, and a lone CR for a line feed: a space
  // of it matches a zero byte too, and a line feed (the "^" that a Required
  // AtStart may begin with) a CR.
  bool AsRead = false;
};

struct TScanPlan {
  enum class TKind {
    Literal,        // one character at a time, comparing with the string
    FoldedLiteral,  // the same without regard to the case of ASCII letters
    Automaton,      // one character at a time through the automaton
    Lines,          // whole lines (fastscan.h)
    CrossLines,     // one pass for attempts that cross lines (crossscan.h)
    Strings,        // one character at a time through a trie of fixed strings (stringtrie.h)
    EveryLine,      // every line matches
    NoLine          // no line matches
  };
  TKind Kind = TKind::Automaton;
  std::string Literal;               // Literal, FoldedLiteral
  std::shared_ptr<const TDFA> DFA;   // Automaton
  std::vector<std::string> Strings;  // Strings (with WholeLines, each between line feeds)
  TLinePlan Lines;                   // Lines, CrossLines (Automaton, Required, FoldsCase)
  // The reader may keep CR LF line ends (only the whole-line scan can read
  // them, and only when its bytes hold no line end the text would not).
  bool KeepCrLf = false;
  // The reader may leave its blocks unchecked and check only the lines the
  // scan reads (TReadOptions::LazyCheck): a whole-line scan that passes
  // over lines by bytes the reader does not rewrite, or rewrites only as a
  // zero byte into a space or a lone CR into the line feed that begins them
  // (Lines.AsRead).
  bool LazyCheck = false;
  // The message pump runs and the cancel flag is tested before the file is
  // opened (a fixed string compared without case).
  bool PollFirst = false;
};

// dfa: the pattern's automaton (for AutomatonOnly compiled without case when
// ignoreCase is on); ignoreCase: whether ASCII letters match in either case.
TScanPlan PlanScan(std::shared_ptr<const TDFA> dfa, TScanChoice choice, bool ignoreCase);
// The scan for fixed strings (see TGrep::SetStrings) instead of a pattern:
// with the fast choice the whole-line scan, passing over lines by the set
// search alone; else the one-character scan through their trie.  A set that
// holds the empty string (not for whole lines) matches every line, an empty
// one none.
TScanPlan PlanStrings(std::vector<std::string> strings, TScanChoice choice, bool ignoreCase, bool wholeLines);
