#include "scanautomaton.h"

#include <algorithm>

TScanAutomaton TScanAutomaton::FromDFA(const TDFA& dfa) {
  TScanAutomaton a;
  a.Edges.resize(dfa.States.size());
  a.Accepting.resize(dfa.States.size());
  for (const auto& state : dfa.States) {
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
