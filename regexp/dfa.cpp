// The deterministic automaton, built from a TNFA by subset construction.
//
// Each DFA state stands for a set of NFA states closed under empty moves,
// built as a bit vector and kept as the list of its members when that is
// smaller.  States are processed in order of creation; for each
// one the non-empty NFA transitions leaving its set are grouped by label into
// moves, every move's target set is closed, and the set is looked up among the
// existing states through a hash of its bits (a new set becomes a new state at
// the end of the list).  Leaf labels are pairwise disjoint, but an anchor that
// matches its own character, or a line code, can overlap a range leaving the
// same state; such moves are cut into disjoint pieces, each piece leading to
// the union of the targets that cover it, so every state's transitions are
// disjoint.  Finally each state's transitions are sorted by their low code
// (stable), and the automaton is checked for being one chain of single
// characters: such a pattern is a fixed string that is searched for directly.
//
// The construction is bounded: too many states, too much memory for their
// sets, or too much work raises ERegExpParser with the "too complex" message
// at the end of the pattern, so no pattern a user types can freeze the
// program.
#include "regexp/dfa.h"

#include <algorithm>

#include "regexp/messages.h"
#include "sjis/exceptions.h"

// ---------------------------------------------------------------------------
// TNFAStateSet

TNFAStateSet::TNFAStateSet(int capacity)
    : Capacity(capacity), ByteCount(capacity / 8 + 1), FWords(static_cast<std::size_t>(capacity) / 64 + 1, 0) {}

std::size_t TNFAStateSet::Hash() const {
  std::uint64_t h = 1469598103934665603ull;
  ForEach([&](int i) {
    h ^= static_cast<std::uint64_t>(i);
    h *= 1099511628211ull;
    h ^= h >> 29;
  });
  return static_cast<std::size_t>(h);
}

bool TNFAStateSet::Equals(const TNFAStateSet& other) const {
  if (FCompact && other.FCompact) return FMembers == other.FMembers;
  if (!FCompact && !other.FCompact) return FWords == other.FWords;
  const TNFAStateSet& compact = FCompact ? *this : other;
  const TNFAStateSet& bits = FCompact ? other : *this;
  std::size_t k = 0;
  bool same = true;
  bits.ForEach([&](int i) {
    same = same && k < compact.FMembers.size() && compact.FMembers[k] == i;
    ++k;
  });
  return same && k == compact.FMembers.size();
}

// The list is kept only when it is smaller than the bit vector.
void TNFAStateSet::Compact() {
  if (FCompact) return;
  // Counted only up to the size at which the list is no smaller; the sets
  // of a large pattern are mostly zero words.
  const std::size_t limit = FWords.size() * sizeof(std::uint64_t) / sizeof(std::int32_t);
  std::size_t count = 0;
  for (const std::uint64_t w : FWords) {
    if (w == 0) continue;
    count += static_cast<std::size_t>(__builtin_popcountll(w));
    if (count >= limit) return;
  }
  FMembers.reserve(count);
  ForEach([&](int i) { FMembers.push_back(static_cast<std::int32_t>(i)); });
  FWords.clear();
  FWords.shrink_to_fit();
  FCompact = true;
}

// ---------------------------------------------------------------------------
// TDFA

TDFA::TDFA(TNFA* nfa, bool acceptDBMeta, bool ignoreCase)
    : NFA(nfa), AcceptDBMeta(acceptDBMeta), IgnoreCase(ignoreCase) {}

void TDFA::Build() {
  BeginAnchored = NFA->BeginAnchored;
  EndAnchored = NFA->EndAnchored;
  SubsetConstruction();
  SortTransitions();
  DetectLiteral();
  // Assigning an empty list would keep the memory.
  FSets = decltype(FSets)();
  FIndex = decltype(FIndex)();
}

void TDFA::BuildChain(const TChain& chain) {
  BeginAnchored = chain.BeginAnchored;
  EndAnchored = chain.EndAnchored;
  const std::size_t n = chain.StepCount();
  States.reserve(n + 1);
  for (std::size_t i = 0; i <= n; ++i) {
    TDFAState* state = NewState();
    state->Marked = 1;
    state->Accepting = i == n ? 1 : 0;
  }
  FTransitions.reserve(chain.Ranges.size());
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t k = chain.StepBegin(i); k < chain.StepEnds[i]; ++k)
      FTransitions.push_back(TDFATransition{chain.Ranges[k].first, chain.Ranges[k].second, States[i + 1]});
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t begin = chain.StepBegin(i);
    States[i]->Transitions = std::span(FTransitions).subspan(begin, chain.StepEnds[i] - begin);
  }
  Start = States.front();
  DetectLiteral();
}

// A new state at the end of States, Index set.
TDFAState* TDFA::NewState() {
  constexpr std::size_t kBlock = 1024;
  if (FStateBlocks.empty() || FBlockUsed == kBlock) {
    FStateBlocks.push_back(std::make_unique<TDFAState[]>(kBlock));
    FBlockUsed = 0;
  }
  TDFAState* state = &FStateBlocks.back()[FBlockUsed++];
  state->Index = static_cast<int>(States.size());
  States.push_back(state);
  return state;
}

void TDFA::TooComplex() const {
  throw ERegExpParser(std::string(sjis_text::kMsgTooComplex),
                      static_cast<std::uint16_t>(NFA->Parser->Scanner->Pattern.size() + 1));
}

void TDFA::Spend(std::size_t work) {
  FWork += work;
  if (FWork > kWorkBudget) TooComplex();
}

void TDFA::SubsetConstruction() {
  TNFAStateSet first(NFA->StateCount());
  first.Include(NFA->StartIndex);
  CloseSet(first);
  Start = FindOrAddState(std::move(first));
  // States are appended in order of creation and processed in that order, so
  // the first unmarked state is always the next one in the list.  Their
  // transitions go into one list, state after state; each state's part is
  // known when all are made.
  std::vector<std::size_t> ends;
  for (std::size_t next = 0; next < States.size(); ++next) {
    TDFAState& d = *States[next];
    d.Marked = 1;
    std::vector<Move> moves = ComputeMoves(d);
    const std::size_t begin = FTransitions.size();
    for (Move& m : moves) {
      CloseSet(m.Targets);
      FTransitions.push_back(TDFATransition{m.Low, m.High, FindOrAddState(std::move(m.Targets))});
    }
    // Each transition was put at the head of the state's list.
    std::reverse(FTransitions.begin() + static_cast<std::ptrdiff_t>(begin), FTransitions.end());
    ends.push_back(FTransitions.size());
  }
  FTransitions.shrink_to_fit();
  for (std::size_t k = 0; k < States.size(); ++k) {
    const std::size_t begin = k == 0 ? 0 : ends[k - 1];
    States[k]->Transitions = std::span(FTransitions).subspan(begin, ends[k] - begin);
  }
}

// Groups the non-empty NFA transitions leaving d's set by identical label.
// Moves are returned in list order: the most recently made first.
std::vector<TDFA::Move> TDFA::ComputeMoves(const TDFAState& d) {
  std::vector<Move> made;
  std::unordered_map<std::uint32_t, std::size_t> byLabel;
  const int capacity = NFA->StateCount();
  FSets[static_cast<std::size_t>(d.Index)].ForEach([&](int i) {
    const auto& list = NFA->StateList[static_cast<std::size_t>(i)];
    Spend(1 + list.size());
    for (const TNFATransition& t : list) {
      if (t.Low == kEpsilonCode) continue;
      const std::uint32_t label = static_cast<std::uint32_t>(t.High) << 16 | t.Low;
      if (auto found = byLabel.find(label); found != byLabel.end()) {
        made[found->second].Targets.Include(t.Target);
      } else {
        byLabel.emplace(label, made.size());
        made.push_back(Move{t.Low, t.High, TNFAStateSet(capacity)});
        made.back().Targets.Include(t.Target);
        Spend(made.back().Targets.WordCount());
      }
    }
  });
  std::reverse(made.begin(), made.end());
  SplitOverlappingMoves(made);
  return made;
}

// Labels that do not come from leaves (an anchor matching its own character,
// a line code) may overlap a range.  Such moves are cut at every boundary of
// every label, and each piece leads to all targets whose labels cover it, so
// a character can follow every path that admits it.  Moves without overlaps
// are left exactly as they are.
void TDFA::SplitOverlappingMoves(std::vector<Move>& moves) {
  if (moves.size() < 2) return;
  std::vector<std::pair<TCharCode, TCharCode>> labels;
  labels.reserve(moves.size());
  for (const Move& m : moves) labels.emplace_back(m.Low, m.High);
  std::sort(labels.begin(), labels.end());
  bool overlap = false;
  for (std::size_t i = 1; i < labels.size() && !overlap; ++i) overlap = labels[i].first <= labels[i - 1].second;
  if (!overlap) return;

  // Elementary pieces: boundaries at every Low and every High + 1.
  std::vector<std::uint32_t> cuts;
  for (const Move& m : moves) {
    cuts.push_back(m.Low);
    cuts.push_back(static_cast<std::uint32_t>(m.High) + 1);
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  const int capacity = NFA->StateCount();
  std::vector<Move> pieces;
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    const auto low = static_cast<TCharCode>(cuts[i]);
    const auto high = static_cast<TCharCode>(cuts[i + 1] - 1);
    TNFAStateSet targets(capacity);
    bool covered = false;
    for (const Move& m : moves) {
      if (m.Low <= low && high <= m.High) {
        covered = true;
        m.Targets.ForEach([&](int t) { targets.Include(t); });
      }
    }
    Spend(moves.size() + targets.WordCount());
    if (covered) pieces.push_back(Move{low, high, std::move(targets)});
  }
  moves = std::move(pieces);
}

// Closes the set under empty moves.
void TDFA::CloseSet(TNFAStateSet& set) {
  std::vector<int> pending;
  set.ForEach([&](int i) { pending.push_back(i); });
  Spend(set.WordCount() + pending.size());
  while (!pending.empty()) {
    const int i = pending.back();
    pending.pop_back();
    for (const TNFATransition& t : NFA->StateList[static_cast<std::size_t>(i)]) {
      Spend(1);
      if (t.Low == kEpsilonCode && !set.Contains(t.Target)) {
        set.Include(t.Target);
        pending.push_back(t.Target);
      }
    }
  }
}

TDFAState* TDFA::FindOrAddState(TNFAStateSet set) {
  set.Compact();
  const std::size_t hash = set.Hash();
  Spend(set.WordCount());
  auto [first, last] = FIndex.equal_range(hash);
  for (auto it = first; it != last; ++it)
    if (FSets[static_cast<std::size_t>(it->second->Index)].Equals(set)) return it->second;
  if (static_cast<int>(States.size()) >= kMaxStates) TooComplex();
  if ((States.size() + 1) * set.WordCount() * sizeof(std::uint64_t) > kMaxSetBytes) TooComplex();
  const bool accepting = set.Contains(NFA->FinalIndex);
  FSets.push_back(std::move(set));
  TDFAState* state = NewState();
  state->Accepting = accepting ? 1 : 0;
  FIndex.emplace(hash, state);
  return state;
}

void TDFA::SortTransitions() {
  for (TDFAState* state : States)
    std::stable_sort(state->Transitions.begin(), state->Transitions.end(),
                     [](const TDFATransition& a, const TDFATransition& b) { return a.Low < b.Low; });
}

// A fixed string is a chain of states with one single-code transition each,
// ending in an accepting state without transitions.  LiteralIsText tells
// whether text can hold every code of the string as the bytes written for it:
// a pattern with the code 0, a lead byte on its own (\x82) or a two-byte code
// whose first byte is no lead byte (\x4142) can never match text, and its
// bytes must not be searched for as if it could.
void TDFA::DetectLiteral() {
  IsLiteral = false;
  LiteralIsText = true;
  Literal.clear();
  const TDFAState* s = Start;
  for (std::size_t steps = 0; steps <= States.size(); ++steps) {
    if (s->Transitions.empty()) {
      IsLiteral = s->Accepting != 0;
      break;
    }
    const TDFATransition& t = s->Transitions.front();
    if (s->Transitions.size() > 1 || t.Low != t.High || s->Accepting != 0) break;
    LiteralIsText = LiteralIsText && IsTextCode(t.Low);
    AppendCode(Literal, t.Low);
    s = t.Target;
  }
  if (!IsLiteral) {
    Literal.clear();
    LiteralIsText = false;
  }
}
