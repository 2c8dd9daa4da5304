// The grep's scan for patterns whose attempts can run on past the end of
// their line: one pass of the look-ahead runs the attempts of all starts at
// once, grouped by automaton state, and the lines behind it are reported or
// passed over as they are decided, in time linear in the file.  See
// crossscan.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "grep/charclasses.h"
#include "grep/scanautomaton.h"
#include "grep/scanviews.h"

class TCrossLineScan {
 public:
  // required: bytes that every match holds (empty when unknown); with
  // foldsCase their ASCII letters in either case.  A file that does not hold
  // them anywhere has no line to report.
  TCrossLineScan(TScanAutomaton automaton, std::string required, bool foldsCase);

  // Scans the file from its start and calls report() for each matching
  // line in file order, with the reader's main cursor on the line feed that
  // ends it.  Ends with EEndOfFile.
  void Run(TCrossScanView file, const std::function<void()>& report);

 private:
  static constexpr std::int32_t kNone = -1;
  static constexpr std::int32_t kUnknown = -2;
  static constexpr std::size_t kMaxConfigs = 1024;
  static constexpr std::size_t kFewStops = 4;  // stop bytes searched for one by one

  // Which lines an element of a group stands for: Low..High, or one line
  // whose leading attempt is valid only for one fate of the line before it.
  enum TCondition : std::uint8_t { kAlways, kIfPreviousReported, kIfPreviousPassed };
  struct TElement {
    std::int64_t Low;
    std::int64_t High;
    std::int32_t Next;
    TCondition Condition;
  };
  struct TGroup {
    std::int32_t Head = kNone;
    std::int32_t Tail = kNone;
  };
  struct TLine {
    std::int64_t Live = 0;  // elements of valid attempts in running groups
    bool Accepted = false;
    bool Ended = false;
    // The leading attempts that wait for the fate of the line before.
    std::int32_t LiveIfReported = 0;
    std::int32_t LiveIfPassed = 0;
    bool AcceptedIfReported = false;
    bool AcceptedIfPassed = false;
  };
  // What a character does to a set of running states.
  enum TKind : std::int32_t { kChanges = -3, kStartDies = -1 };  // or the state a new attempt joins
  struct TConfig {
    std::vector<std::int32_t> Kinds;       // per class
    bool Passable = false;                 // some run of characters can be passed over
    std::int32_t Kind = kChanges;          // what the passable characters do
    std::array<bool, 256> Stops{};         // bytes that begin no passable character
    std::vector<unsigned char> StopBytes;  // the same, listed
    bool FewStops = false;                 // so few that each is searched for
  };

  std::int32_t Next(std::int32_t state, int cls);

  void Step(TCrossScanView file, TCharCode code);
  std::size_t PassRun(std::string_view bytes, const TConfig& config);
  std::size_t PassableEnd(const unsigned char* p, std::size_t limit, const TConfig& config) const;
  const TConfig* Config();
  std::int32_t KindOf(int cls);

  std::int32_t NewElement(std::int64_t low, std::int64_t high, TCondition condition);
  void Join(std::int32_t state, std::int64_t low, std::int64_t high, TCondition condition = kAlways);
  void Append(TGroup& into, TGroup from);
  void Release(TGroup group, bool accepted);
  TLine* LineAt(std::int64_t line);
  // The line record an element counts on, given its condition; null when
  // the element is no longer valid or its line is decided.
  TLine* Counted(const TElement& e, std::int64_t line, bool& conditional, bool& ifReported);
  void NewLine();
  void Decide(TCrossScanView file, const std::function<void()>& report);

  TScanAutomaton FAutomaton;
  std::string FRequired;
  bool FRequiredFoldsCase;
  TCharClasses FClasses;
  int FLineFeedClass = 0;
  std::vector<std::int32_t> FTable;  // [state * classes + class], lazily; empty when too large

  // Running attempts: the states that have a group, and the groups.
  std::vector<std::int32_t> FLive;
  std::vector<TGroup> FGroups;  // per state
  std::vector<TGroup> FNewGroups;
  std::vector<std::int32_t> FNewLive;
  std::vector<TElement> FElements;
  std::int32_t FFree = kNone;

  // Undecided lines FFirstLine, FFirstLine + 1, ...; FLine is the line the
  // look-ahead is in.
  std::deque<TLine> FLines;
  std::int64_t FFirstLine = 1;
  std::int64_t FLine = 0;
  // The last line that may be reported (the last that holds the required
  // bytes), or kNoBound.
  static constexpr std::int64_t kNoBound = INT64_MAX;
  std::int64_t FLastLine = kNoBound;
  // Fates of lines decided while the next line's leading attempt waited for
  // them (true: reported).
  std::unordered_map<std::int64_t, bool> FFates;

  std::unordered_map<std::string, TConfig> FConfigs;
  const TConfig* FConfig = nullptr;  // of FLive, while FLive is unchanged
  std::vector<std::int32_t> FConfigKey;
};
