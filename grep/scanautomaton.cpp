#include "grep/scanautomaton.h"

#include <algorithm>

bool HoldsLineFeed(TCharCode low, TCharCode high) {
  if (low <= '\n' && '\n' <= high) return true;
  for (unsigned lead = low >> 8; lead <= (high >> 8u); ++lead) {
    const unsigned code = lead << 8 | '\n';
    if (IsDBCSLeadByte(static_cast<unsigned char>(lead)) && low <= code && code <= high) return true;
  }
  return false;
}

TScanAutomaton TScanAutomaton::Never() {
  TScanAutomaton a;
  a.Edges.resize(1);
  a.Accepting.assign(1, false);
  return a;
}

TScanAutomaton TScanAutomaton::FromDFA(const TDFA& dfa) {
  TScanAutomaton a;
  a.Edges.resize(dfa.States.size());
  a.Accepting.resize(dfa.States.size());
  for (const TDFAState* state : dfa.States) {
    a.Accepting[static_cast<std::size_t>(state->Index)] = state->Accepting != 0;
    for (const TDFATransition& t : state->Transitions)
      a.Edges[static_cast<std::size_t>(state->Index)].push_back({t.Low, t.High, t.Target->Index});
  }
  a.Start = dfa.Start->Index;
  return a;
}

TScanAutomaton TScanAutomaton::Chain(const std::vector<TCharCode>& upper, const std::vector<TCharCode>& lower,
                                     int length) {
  TScanAutomaton a;
  a.Edges.resize(static_cast<std::size_t>(length) + 1);
  a.Accepting.assign(static_cast<std::size_t>(length) + 1, false);
  a.Accepting.back() = true;
  for (int i = 0; i < length; ++i) {
    const TCharCode u = upper[static_cast<std::size_t>(i)];
    const TCharCode l = lower[static_cast<std::size_t>(i)];
    auto& edges = a.Edges[static_cast<std::size_t>(i)];
    edges.push_back({std::min(u, l), std::min(u, l), i + 1});
    if (u != l) edges.push_back({std::max(u, l), std::max(u, l), i + 1});
  }
  return a;
}

int TScanAutomaton::Next(int state, TCharCode code) const {
  for (const TEdge& e : Edges[static_cast<std::size_t>(state)]) {
    if (code < e.Low) return -1;
    if (code <= e.High) return e.Target;
  }
  return -1;
}

bool TScanAutomaton::AttemptsEndInTheirLine() const {
  const TScanAutomaton& automaton = *this;
  const std::size_t n = automaton.Edges.size();
  std::vector<bool> reached(n, false);
  std::vector<int> pending;
  for (const auto& e : automaton.Edges[static_cast<std::size_t>(automaton.Start)]) {
    if (!reached[static_cast<std::size_t>(e.Target)]) {
      reached[static_cast<std::size_t>(e.Target)] = true;
      pending.push_back(e.Target);
    }
  }
  while (!pending.empty()) {
    const int s = pending.back();
    pending.pop_back();
    for (const auto& e : automaton.Edges[static_cast<std::size_t>(s)]) {
      if (HoldsLineFeed(e.Low, e.High) && !automaton.Accepting[static_cast<std::size_t>(e.Target)]) return false;
      if (!reached[static_cast<std::size_t>(e.Target)]) {
        reached[static_cast<std::size_t>(e.Target)] = true;
        pending.push_back(e.Target);
      }
    }
  }
  return true;
}

bool TScanAutomaton::AttemptsCrossLineFeeds() const {
  const TScanAutomaton& automaton = *this;
  // States reached after at least one character, and whether one of them
  // moves on a line feed to a state that does not accept.
  const std::size_t n = automaton.Edges.size();
  std::vector<bool> reached(n, false);
  std::vector<int> pending;
  const auto reach = [&](int s) {
    if (!reached[static_cast<std::size_t>(s)]) {
      reached[static_cast<std::size_t>(s)] = true;
      pending.push_back(s);
    }
  };
  for (const auto& e : automaton.Edges[static_cast<std::size_t>(automaton.Start)]) reach(e.Target);
  while (!pending.empty()) {
    const int s = pending.back();
    pending.pop_back();
    if (automaton.Accepting[static_cast<std::size_t>(s)]) continue;
    for (const auto& e : automaton.Edges[static_cast<std::size_t>(s)]) {
      if (e.Low <= '\n' && '\n' <= e.High && !automaton.Accepting[static_cast<std::size_t>(e.Target)]) return true;
      reach(e.Target);
    }
  }
  return false;
}
