// Matching of GNU grep's patterns with their assertions (\b \B \< \> ^ $
// wherever they stand) in one line: a Pike VM, the pattern's program run as
// a set of threads over the line's characters, each thread tagged with the
// start of its match.  Its cost is the line's length times the program's
// size, whatever the pattern.  The automaton, which takes the assertions as
// the empty string, finds the candidate lines; this decides.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "regexp/posix_parser.h"

class TAssertionMatcher {
 public:
  // Raises ERegExpParser when the program grows beyond kMaxPosixExpansion.
  explicit TAssertionMatcher(const TPosixPattern& pattern);

  // The leftmost match that starts at or after byte from (a character
  // start), the longest there; false when there is none.
  bool Find(std::string_view line, std::size_t from, std::size_t& pos, std::size_t& len) const;
  // The longest match that starts at start and ends at or before limit;
  // "$" holds only at the line's end, the assertions see the whole line.
  bool LongestAt(std::string_view line, std::size_t start, std::size_t limit, std::size_t& len) const;

 private:
  enum class TOp : unsigned char { Char, Split, Jump, Assert, Match };
  struct TInstruction {
    TOp Op;
    int X = 0;  // Char: the set; Split, Jump: a target; Assert: the assertion
    int Y = 0;  // Split: the other target
  };
  struct TThread {
    int Pc;
    std::size_t Start;
  };

  int Emit(TOp op, int x = 0, int y = 0);
  void Compile(const TPosixPattern& pattern, int node);
  bool Run(std::string_view line, std::size_t from, bool anchored, std::size_t limit, std::size_t& pos,
           std::size_t& len) const;
  void AddThread(std::vector<TThread>& list, std::vector<std::size_t>& seen, std::size_t step, TThread t,
                 TCharCode before, TCharCode after) const;
  static bool Holds(TAssertion a, TCharCode before, TCharCode after);

  std::vector<TInstruction> FProgram;
  std::vector<TCodeSet> FSets;
  // Room for a run, kept from one to the next: a run is made for every
  // line a pattern with assertions may match.
  mutable std::vector<TThread> FCurrent, FNext;
  mutable std::vector<std::size_t> FSeen;
  mutable std::vector<int> FPending;
};
