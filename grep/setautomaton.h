// The lazily built automaton of the whole-line scan: its states are sets of
// the scan automaton's states (all attempts running at once), its input the
// character classes of charclasses.h.  See setautomaton.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "grep/charclasses.h"
#include "grep/scanautomaton.h"

class TSetAutomaton {
 public:
  static constexpr std::int32_t kUnknown = -1;
  static constexpr std::int32_t kAccept = -2;

  explicit TSetAutomaton(TScanAutomaton automaton);

  const TScanAutomaton& Automaton() const { return FAutomaton; }
  const TCharClasses& Classes() const { return FClasses; }
  // The row of the empty set: every attempt has failed.
  std::int32_t Empty() const { return FEmpty; }
  // The known step with a start from row on class cls: a row, kAccept or
  // kUnknown (then call Step).
  std::int32_t KnownWithStart(std::int32_t row, int cls) const {
    return FWithStart[static_cast<std::size_t>(row + cls)];
  }
  // The same with or without a start.
  std::int32_t Known(std::int32_t row, int cls, bool withStart) const {
    return (withStart ? FWithStart : FNoStart)[static_cast<std::size_t>(row + cls)];
  }
  // The row after one character of class cls from the set at row (and, with
  // withStart, from an attempt that starts on that character), or kAccept
  // when an attempt accepts on it.
  std::int32_t Step(std::int32_t row, int cls, bool withStart);

 private:
  static constexpr std::size_t kMaxSets = 4096;

  std::int32_t Intern(std::vector<int> set);
  void Reset();

  TScanAutomaton FAutomaton;
  TCharClasses FClasses;
  std::vector<std::vector<int>> FSets;
  std::unordered_map<std::string, std::int32_t> FSetIndex;
  std::vector<std::int32_t> FWithStart;
  std::vector<std::int32_t> FNoStart;
  std::int32_t FEmpty = 0;
};
