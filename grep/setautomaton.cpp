// A set's transitions are worked out the first time they are taken and kept
// in two tables, one for a step on which a new attempt starts and one for a
// step without, each a row of one entry per class per set.  Sets are named
// by the start of their row, so that a step of the scan is one load and one
// addition.  When kMaxSets sets have been met the tables start afresh (a
// pattern with very many sets is then slower, never wrong).
#include "grep/setautomaton.h"

#include <algorithm>

TSetAutomaton::TSetAutomaton(TScanAutomaton automaton) : FAutomaton(std::move(automaton)), FClasses(FAutomaton) {
  Reset();
}

void TSetAutomaton::Reset() {
  FSets.clear();
  FSetIndex.clear();
  FWithStart.clear();
  FNoStart.clear();
  FEmpty = Intern({}) * FClasses.Count;
}

std::int32_t TSetAutomaton::Intern(std::vector<int> set) {
  std::string key(reinterpret_cast<const char*>(set.data()), set.size() * sizeof(int));
  if (auto found = FSetIndex.find(key); found != FSetIndex.end()) return found->second;
  const auto id = static_cast<std::int32_t>(FSets.size());
  FSets.push_back(std::move(set));
  FSetIndex.emplace(std::move(key), id);
  FWithStart.resize(FWithStart.size() + static_cast<std::size_t>(FClasses.Count), kUnknown);
  FNoStart.resize(FNoStart.size() + static_cast<std::size_t>(FClasses.Count), kUnknown);
  return id;
}

// The set after one character of class cls, from the set whose table row
// starts at row (and, with withStart, from an attempt that starts on that
// character).  Sets are named by their row in the tables, so that a step of
// the scan is one load and one addition.
std::int32_t TSetAutomaton::Step(std::int32_t row, int cls, bool withStart) {
  auto& table = withStart ? FWithStart : FNoStart;
  const std::size_t slot = static_cast<std::size_t>(row) + static_cast<std::size_t>(cls);
  if (table[slot] != kUnknown) return table[slot];
  const TCharCode code = FClasses.First(cls);
  std::vector<int> next;
  bool accept = false;
  auto follow = [&](int s) {
    const int t = FAutomaton.Next(s, code);
    if (t < 0) return;
    if (FAutomaton.Accepting[static_cast<std::size_t>(t)]) accept = true;
    next.push_back(t);
  };
  for (int s : FSets[static_cast<std::size_t>(row / FClasses.Count)]) follow(s);
  if (withStart) follow(FAutomaton.Start);
  if (accept) return table[slot] = kAccept;
  std::sort(next.begin(), next.end());
  next.erase(std::unique(next.begin(), next.end()), next.end());
  if (FSets.size() >= kMaxSets) {
    // The cache of sets is full: start it afresh (a pattern with very many
    // sets is then slower, never wrong).
    Reset();
    return Intern(std::move(next)) * FClasses.Count;
  }
  const std::int32_t nextRow = Intern(std::move(next)) * FClasses.Count;
  (withStart ? FWithStart : FNoStart)[slot] = nextRow;
  return nextRow;
}
