// Which scan searches a file for a pattern, chosen once, before the file is
// opened, from the pattern's automaton and what its parse found:
//
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
    CrossLines      // one pass for attempts that cross lines (crossscan.h)
  };
  TKind Kind = TKind::Automaton;
  std::string Literal;              // Literal, FoldedLiteral
  std::shared_ptr<const TDFA> DFA;  // Automaton
  TLinePlan Lines;                  // Lines, CrossLines (Automaton, Required, FoldsCase)
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
