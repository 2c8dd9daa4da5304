// The regular-expression component: the current pattern, a cache of compiled
// automata, and leftmost-longest matching on Shift-JIS strings.  See
// regexp.cpp.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "regexp/dfa.h"

class TRegularExpression {
 public:
  TRegularExpression();
  TRegularExpression(const TRegularExpression&) = delete;
  TRegularExpression& operator=(const TRegularExpression&) = delete;
  virtual ~TRegularExpression();

  // Builds the automaton of the current cache entry.
  virtual void Compile(const std::string& pattern);
  // Makes a pattern current: reuses a cached automaton or compiles it.
  virtual void SetPattern(const std::string& pattern);
  virtual std::string GetPattern() const;
  virtual void SetAcceptDBMeta(bool value);
  virtual void SetIgnoreCase(bool value);

  bool AcceptDBMeta() const { return FAcceptDBMeta; }
  virtual bool IgnoreCase() const { return FIgnoreCase; }

  TDFA* CurrentDFA() const { return PatternCache[static_cast<std::size_t>(CacheIndex)].DFA.get(); }
  std::shared_ptr<const TDFA> SharedCurrentDFA() const {
    return PatternCache[static_cast<std::size_t>(CacheIndex)].DFA;
  }
  TDFAState* StartState() const { return CurrentDFA()->Start; }
  static TDFAState* NextState(const TDFAState* state, TCharCode code);

  // The longest match that starts exactly at startPos, running from state.
  int MatchFrom(const std::string& s, int startPos, const TDFAState* state, int& pos, int& len) const;
  // Leftmost start, longest match there; 0 when nothing matches.
  int Match(const std::string& s, int& pos, int& len) const;
  int FindMatch(const std::string& s, int& pos, int& len) const;
  // The code of the character that begins at 1-based byte position p.
  static TCharCode CodeAt(const std::string& s, int p);
  // Reads s into codes (one per character, a terminating 0 appended) and
  // returns the number of characters.
  static int StringToCodes(const std::string& s, std::vector<TCharCode>& codes);

  // An automaton is shared so that a scan that is running keeps its automaton
  // even when the pattern changes (and the entry is evicted) meanwhile.
  struct TCacheEntry {
    std::string Pattern;
    std::shared_ptr<TDFA> DFA;
  };
  std::vector<TCacheEntry> PatternCache;
  int CacheSize = 30;
  int CacheIndex = 0;
  TCharCode LineHeadCode = kDefaultLineHeadCode;
  TCharCode LineTailCode = kDefaultLineTailCode;

 protected:
  // For descendants whose anchors become other line codes.
  TRegularExpression(TCharCode lineHeadCode, TCharCode lineTailCode);
  // The compile steps, with the codes that anchoring "^" and "$" become.
  void CompileWith(const std::string& pattern, TCharCode lineHeadCode, TCharCode lineTailCode);

  bool FAcceptDBMeta = false;
  bool FIgnoreCase = false;
};

// The string-matching component of a window: the same engine with both flags
// available to the window's definition.
class TAWKStr : public TRegularExpression {
 public:
  using TRegularExpression::TRegularExpression;
};
