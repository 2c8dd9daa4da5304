// The deterministic automaton, built from a TNFA by subset construction
// (or straight from a chain, chain.h), bounded so that no pattern a user
// types can freeze the program.  See dfa.cpp.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "regexp/chain.h"
#include "regexp/nfa.h"
#include "regexp/required_set.h"

// A set of NFA states.  While a set is built it is a bit vector over all
// the NFA's states; once it is final (the set of a DFA state), Compact may
// keep it as the sorted list of its members instead, which is smaller when
// it holds few of them (a state of a long alternation of words holds a
// handful of a pattern's thousands of states).  Both forms answer alike.
class TNFAStateSet {
 public:
  explicit TNFAStateSet(int capacity);

  bool Contains(int i) const {
    if (FCompact) return std::binary_search(FMembers.begin(), FMembers.end(), i);
    return (FWords[static_cast<std::size_t>(i) >> 6] >> (i & 63)) & 1;
  }
  // Only before Compact.
  void Include(int i) { FWords[static_cast<std::size_t>(i) >> 6] |= std::uint64_t{1} << (i & 63); }
  bool Equals(const TNFAStateSet& other) const;
  // The same for equal sets, whichever form each is in.
  std::size_t Hash() const;
  // Calls f(i) for every member i in ascending order.
  template <class F>
  void ForEach(F f) const {
    if (FCompact) {
      for (const std::int32_t i : FMembers) f(static_cast<int>(i));
      return;
    }
    for (std::size_t w = 0; w < FWords.size(); ++w)
      for (std::uint64_t bits = FWords[w]; bits != 0; bits &= bits - 1)
        f(static_cast<int>(w * 64 + static_cast<std::size_t>(__builtin_ctzll(bits))));
  }
  // The size of the bit vector in 64-bit words, in either form.
  std::size_t WordCount() const { return static_cast<std::size_t>(Capacity) / 64 + 1; }
  void Compact();

  int Capacity;
  int ByteCount;  // Capacity div 8 + 1: the size of the set as a byte array

 private:
  std::vector<std::uint64_t> FWords;   // the bit vector; empty once compact
  std::vector<std::int32_t> FMembers;  // the members, ascending, once compact
  bool FCompact = false;
};

struct TDFAState;

struct TDFATransition {
  TCharCode Low;
  TCharCode High;
  TDFAState* Target;
};

struct TDFAState {
  std::uint16_t Marked = 0;
  std::uint16_t Accepting = 0;
  // Sorted by Low after Build; they lie in the automaton's one list of all
  // states' transitions.
  std::span<TDFATransition> Transitions;
  int Index = 0;  // position in TDFA::States
};

class TDFA {
 public:
  TDFA(TNFA* nfa, bool acceptDBMeta, bool ignoreCase);

  void Build();
  // Builds the automaton of a chain (see chain.h) without an NFA: the same
  // states and transitions as Build makes for it.
  void BuildChain(const TChain& chain);

  // In order of creation; the automaton owns them (allocated in blocks, so
  // that a long chain costs few allocations).
  std::vector<TDFAState*> States;
  TDFAState* Start = nullptr;
  TNFA* NFA;  // not owned; freed after Build
  bool AcceptDBMeta;
  bool IgnoreCase;
  bool IsLiteral = false;
  std::string Literal;
  bool LiteralIsText = false;  // text can hold every code of Literal
  // Bytes that every match holds (see required.h), for scans that pass over
  // text which cannot match.
  std::string Required;
  bool RequiredFoldsCase = false;
  // Bytes that every match begins with (see required.h).
  std::string RequiredPrefix;
  bool RequiredPrefixFoldsCase = false;
  // Strings of which every match holds one (see required_set.h).
  TRequiredSet RequiredSet;
  bool BeginAnchored = false;
  bool EndAnchored = false;

  static constexpr int kMaxStates = 30'000;
  static constexpr std::size_t kMaxSetBytes = 64u << 20;
  static constexpr std::size_t kWorkBudget = 100'000'000;

 private:
  struct Move {
    TCharCode Low;
    TCharCode High;
    TNFAStateSet Targets;
  };

  TDFAState* NewState();
  void SubsetConstruction();
  std::vector<Move> ComputeMoves(const TDFAState& d);
  void SplitOverlappingMoves(std::vector<Move>& moves);
  void CloseSet(TNFAStateSet& set);
  TDFAState* FindOrAddState(TNFAStateSet set);
  void SortTransitions();
  void DetectLiteral();
  void Spend(std::size_t work);
  [[noreturn]] void TooComplex() const;

  // The NFA set of each state, by its Index, and the states by the hash of
  // their sets: only while the states are made (a long alternation of words
  // makes thousands of states, whose sets would outweigh the automaton).
  std::vector<TNFAStateSet> FSets;
  std::unordered_multimap<std::size_t, TDFAState*> FIndex;
  std::size_t FWork = 0;
  std::vector<std::unique_ptr<TDFAState[]>> FStateBlocks;
  std::size_t FBlockUsed = 0;  // states taken from the last block
  std::vector<TDFATransition> FTransitions;
};
