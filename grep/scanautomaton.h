// The automaton the whole-line scans run on: the pattern's automaton with
// its transitions as ranges of character codes per state, or a chain of
// characters in two cases for a fixed string compared without case.
#pragma once

#include <vector>

#include "regexp/dfa.h"
#include "sjis/sjis.h"

// Whether a code of [low, high] holds a line feed: the line feed, or a lead
// byte paired with one.
bool HoldsLineFeed(TCharCode low, TCharCode high);

// An automaton in the form the fast scan runs on.
struct TScanAutomaton {
  struct TEdge {
    TCharCode Low;
    TCharCode High;
    int Target;
  };
  std::vector<std::vector<TEdge>> Edges;  // per state, disjoint, ascending
  std::vector<bool> Accepting;
  int Start = 0;

  static TScanAutomaton FromDFA(const TDFA& dfa);
  // The chain that accepts codes[i] of either array at step i (a fixed string
  // compared without regard to case).
  static TScanAutomaton Chain(const std::vector<TCharCode>& upper, const std::vector<TCharCode>& lower, int length);
  // One state that accepts nothing: for a scan that decides by bytes alone
  // (an exact fixed string), whose automaton would cost a state a character.
  static TScanAutomaton Never();
  int Next(int state, TCharCode code) const;

  // Whether attempts end within their line: no state reached after a
  // character continues on a code that holds a line feed (a line feed, or a
  // lead byte paired with one) to a state that does not accept (an
  // accepting state ends the attempt there).
  bool AttemptsEndInTheirLine() const;
  // Whether attempts can run on over a line feed of their own (not only over
  // one that a lead byte pairs with, which the whole-line scan follows
  // cheaply): the patterns of the cross-line scan.
  bool AttemptsCrossLineFeeds() const;
};
