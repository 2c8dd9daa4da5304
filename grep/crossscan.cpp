// The grep's scan for patterns whose attempts can run on past the end of
// their line (a class or a period that holds the line feed, "\n" under a
// repetition): time linear in the file, however far attempts run.
//
// A line is reported when an attempt that starts on one of its characters
// (its leading character, the line feed before it, included) reaches an
// accepting state, wherever that happens.  The one-character scans try each
// start in turn and run it to its end, which costs the square of the file's
// length when attempts run far.  Here one pass of the look-ahead runs the
// attempts of all starts at once, Pike-style over the automaton: attempts in
// the same state have the same future, so they are kept as one group per
// state, a group holding the lines whose attempts are in it (runs of line
// numbers).  A character moves each group to its next state, where groups
// that meet are joined; a group whose state has no move dies, and a group
// that reaches an accepting state makes all its lines reported lines.  A
// line is decided when one of its attempts has accepted (reported) or when
// it has ended and no attempt of it is left (passed over); lines are decided
// in file order, the main cursor reporting or passing them behind the
// look-ahead, so the reader keeps the undecided lines' bytes.
//
// Where the characters are cut: the look-ahead cuts the text as the main
// cursor does when no line is reported.  After a reported line the main
// cursor stands on its line feed, so when the line ends in a lead byte that
// pairs with the line feed, the next line's leading character is the line
// feed alone instead of the pair; until the reported line is decided, that
// leading attempt is kept in both forms, each valid for one fate.
//
// Most characters change nothing but which lines are in which group: every
// running attempt stays in its state and a new attempt joins one of those
// states, or dies at once.  For each set of running states the scan works
// out which characters are such, and passes over runs of them without
// stepping the groups, adding the lines of the run to the one group their
// attempts join.
//
// Attempts that never meet the bytes every match holds keep every line
// undecided to the end of the file; so a regular file is first searched for
// the last line that holds those bytes.  A line after it has no match (its
// attempts start after the last place of the bytes), so its attempts are
// not run, and the scan ends as soon as the lines up to it are decided; a
// file that lacks the bytes is not scanned at all.
#include "grep/crossscan.h"

#include <algorithm>
#include <cstring>

#include "sjis/bytescan.h"
#include "sjis/exceptions.h"

TCrossLineScan::TCrossLineScan(TScanAutomaton automaton, std::string required, bool foldsCase)
    : FAutomaton(std::move(automaton)),
      FRequired(std::move(required)),
      FRequiredFoldsCase(foldsCase),
      FClasses(FAutomaton),
      FLineFeedClass(FClasses.ByteClass['\n']) {
  const std::size_t states = FAutomaton.Edges.size();
  // A table of every state and class where it stays small; the automaton's
  // own lists otherwise.
  if (states * static_cast<std::size_t>(FClasses.Count) <= (std::size_t{1} << 22))
    FTable.assign(states * static_cast<std::size_t>(FClasses.Count), kUnknown);
  FGroups.resize(states);
  FNewGroups.resize(states);
}

std::int32_t TCrossLineScan::Next(std::int32_t state, int cls) {
  const TCharCode code = FClasses.First(cls);
  if (FTable.empty()) return FAutomaton.Next(state, code);
  std::int32_t& slot = FTable[static_cast<std::size_t>(state) * static_cast<std::size_t>(FClasses.Count) +
                              static_cast<std::size_t>(cls)];
  if (slot == kUnknown) slot = FAutomaton.Next(state, code);
  return slot;
}

// ---------------------------------------------------------------------------
// Groups and lines

std::int32_t TCrossLineScan::NewElement(std::int64_t low, std::int64_t high, TCondition condition) {
  std::int32_t index = FFree;
  if (index != kNone) {
    FFree = FElements[static_cast<std::size_t>(index)].Next;
    FElements[static_cast<std::size_t>(index)] = {low, high, kNone, condition};
  } else {
    index = static_cast<std::int32_t>(FElements.size());
    FElements.push_back({low, high, kNone, condition});
  }
  return index;
}

TCrossLineScan::TLine* TCrossLineScan::LineAt(std::int64_t line) {
  return &FLines[static_cast<std::size_t>(line - FFirstLine)];
}

void TCrossLineScan::NewLine() { FLines.emplace_back(); }

// Adds the lines low..high to the group of state (a line already at the end
// of the group is not added twice).
void TCrossLineScan::Join(std::int32_t state, std::int64_t low, std::int64_t high, TCondition condition) {
  TGroup& group = FGroups[static_cast<std::size_t>(state)];
  if (group.Head == kNone) FLive.push_back(state);
  if (condition == kAlways && group.Tail != kNone) {
    TElement& tail = FElements[static_cast<std::size_t>(group.Tail)];
    if (tail.Condition == kAlways && tail.High + 1 >= low) {
      for (std::int64_t line = std::max(low, tail.High + 1); line <= high; ++line) ++LineAt(line)->Live;
      tail.High = std::max(tail.High, high);
      return;
    }
  }
  const std::int32_t e = NewElement(low, high, condition);
  if (group.Tail == kNone)
    group.Head = e;
  else
    FElements[static_cast<std::size_t>(group.Tail)].Next = e;
  group.Tail = e;
  for (std::int64_t line = low; line <= high; ++line) {
    TLine* l = LineAt(line);
    if (condition == kAlways)
      ++l->Live;
    else if (condition == kIfPreviousReported)
      ++l->LiveIfReported;
    else
      ++l->LiveIfPassed;
  }
}

// Joins two groups that have come to the same state; the one whose last
// line is later goes last, so that further lines extend its run.
void TCrossLineScan::Append(TGroup& into, TGroup from) {
  if (from.Head == kNone) return;
  if (into.Head == kNone) {
    into = from;
    return;
  }
  if (FElements[static_cast<std::size_t>(from.Tail)].High < FElements[static_cast<std::size_t>(into.Tail)].High)
    std::swap(into, from);
  FElements[static_cast<std::size_t>(into.Tail)].Next = from.Head;
  into.Tail = from.Tail;
}

TCrossLineScan::TLine* TCrossLineScan::Counted(const TElement& e, std::int64_t line, bool& conditional,
                                               bool& ifReported) {
  conditional = false;
  if (line < FFirstLine) return nullptr;
  TLine* l = LineAt(line);
  if (e.Condition == kAlways) return l;
  ifReported = e.Condition == kIfPreviousReported;
  if (line - 1 >= FFirstLine) {
    conditional = true;
    return l;
  }
  const auto fate = FFates.find(line - 1);
  return fate != FFates.end() && fate->second == ifReported ? l : nullptr;
}

// The attempts of a group end: they accepted (their lines are reported
// lines) or they died.
void TCrossLineScan::Release(TGroup group, bool accepted) {
  for (std::int32_t i = group.Head; i != kNone;) {
    const TElement e = FElements[static_cast<std::size_t>(i)];
    for (std::int64_t line = std::max(e.Low, FFirstLine); line <= e.High; ++line) {
      bool conditional = false;
      bool ifReported = false;
      TLine* l = Counted(e, line, conditional, ifReported);
      if (l == nullptr) continue;
      if (!conditional) {
        --l->Live;
        l->Accepted = l->Accepted || accepted;
      } else if (ifReported) {
        --l->LiveIfReported;
        l->AcceptedIfReported = l->AcceptedIfReported || accepted;
      } else {
        --l->LiveIfPassed;
        l->AcceptedIfPassed = l->AcceptedIfPassed || accepted;
      }
    }
    FElements[static_cast<std::size_t>(i)].Next = FFree;
    FFree = i;
    i = e.Next;
  }
}

// Reports or passes over the lines at the front that are decided, in order,
// and settles the leading attempt of the line after each.
void TCrossLineScan::Decide(TCrossScanView file, const std::function<void()>& report) {
  // Lines passed over are passed in one go, before the next report.
  std::int64_t passing = 0;
  const auto pass = [&] {
    if (passing > 0) file.PassBehind(passing);
    passing = 0;
  };
  while (!FLines.empty()) {
    const TLine& front = FLines.front();
    if (!front.Ended || (!front.Accepted && front.Live > 0)) break;
    const bool reported = front.Accepted;
    if (reported) {
      pass();
      file.ReportBehind();
      report();
    } else {
      ++passing;
    }
    FLines.pop_front();
    const std::int64_t line = FFirstLine++;
    if (FLines.empty()) break;
    TLine& next = FLines.front();
    if (next.LiveIfReported != 0 || next.LiveIfPassed != 0) FFates[line] = reported;
    next.Live += reported ? next.LiveIfReported : next.LiveIfPassed;
    next.Accepted = next.Accepted || (reported ? next.AcceptedIfReported : next.AcceptedIfPassed);
    next.LiveIfReported = next.LiveIfPassed = 0;
    next.AcceptedIfReported = next.AcceptedIfPassed = false;
  }
  pass();
}

// ---------------------------------------------------------------------------
// Characters

// One character read by the look-ahead: every group takes its move, and the
// character starts an attempt of its own line (a leading character one of
// the next line), unless it is the last character of the file, which the
// main cursor never starts from.
void TCrossLineScan::Step(TCrossScanView file, TCharCode code) {
  const int cls = FClasses.CodeClass(code);
  const bool leading = (code & 0xFF) == '\n' && (code == '\n' || code > 0xFF);
  const bool last = leading && file.AheadAtEnd();

  FNewLive.clear();
  for (const std::int32_t s : FLive) {
    const TGroup group = FGroups[static_cast<std::size_t>(s)];
    FGroups[static_cast<std::size_t>(s)] = TGroup();
    const std::int32_t t = Next(s, cls);
    if (t < 0) {
      Release(group, false);
    } else if (FAutomaton.Accepting[static_cast<std::size_t>(t)]) {
      Release(group, true);
    } else {
      TGroup& into = FNewGroups[static_cast<std::size_t>(t)];
      if (into.Head == kNone) FNewLive.push_back(t);
      Append(into, group);
    }
  }
  FGroups.swap(FNewGroups);
  FLive.swap(FNewLive);
  FConfig = nullptr;

  if (!last) {
    if (leading) NewLine();
    const std::int64_t line = leading ? FLine + 1 : FLine;
    const auto start = [&](std::int32_t t, TCondition condition) {
      if (t < 0 || line > FLastLine) return;
      if (!FAutomaton.Accepting[static_cast<std::size_t>(t)]) {
        Join(t, line, line, condition);
        return;
      }
      TLine* l = LineAt(line);
      if (condition == kAlways)
        l->Accepted = true;
      else if (condition == kIfPreviousReported)
        l->AcceptedIfReported = true;
      else
        l->AcceptedIfPassed = true;
    };
    const std::int32_t paired = Next(FAutomaton.Start, cls);
    if (leading && code > 0xFF) {
      // The line before ends in a lead byte that pairs with its line feed,
      // unless that line is reported.
      const std::int32_t alone = Next(FAutomaton.Start, FLineFeedClass);
      if (alone == paired) {
        start(paired, kAlways);
      } else if (LineAt(FLine)->Accepted) {
        start(alone, kAlways);
      } else {
        start(paired, kIfPreviousPassed);
        start(alone, kIfPreviousReported);
      }
    } else {
      start(paired, kAlways);
    }
  }
  if (leading) {
    if (FLine >= FFirstLine) LineAt(FLine)->Ended = true;
    if (!last) ++FLine;
  }
}

// What a character of class cls does to the running states: kChanges when it
// moves one of them, else where the attempt that starts on it goes (one of
// the running states, or nowhere).
std::int32_t TCrossLineScan::KindOf(int cls) {
  for (const std::int32_t s : FConfigKey)
    if (Next(s, cls) != s) return kChanges;
  const std::int32_t t = Next(FAutomaton.Start, cls);
  if (t < 0) return kStartDies;
  if (FAutomaton.Accepting[static_cast<std::size_t>(t)]) return kChanges;
  return std::binary_search(FConfigKey.begin(), FConfigKey.end(), t) ? t : kChanges;
}

// The passable characters of the current set of running states: those that
// do what a line feed does, when that changes no running state.
const TCrossLineScan::TConfig* TCrossLineScan::Config() {
  if (FConfig != nullptr) return FConfig;
  FConfigKey = FLive;
  std::sort(FConfigKey.begin(), FConfigKey.end());
  std::string key(reinterpret_cast<const char*>(FConfigKey.data()), FConfigKey.size() * sizeof(std::int32_t));
  if (const auto found = FConfigs.find(key); found != FConfigs.end()) return FConfig = &found->second;
  if (FConfigs.size() >= kMaxConfigs) FConfigs.clear();
  TConfig& config = FConfigs[std::move(key)];
  config.Kinds.resize(static_cast<std::size_t>(FClasses.Count));
  for (int cls = 0; cls < FClasses.Count; ++cls) config.Kinds[static_cast<std::size_t>(cls)] = KindOf(cls);
  config.Kind = config.Kinds[static_cast<std::size_t>(FLineFeedClass)];
  config.Passable = config.Kind != kChanges;
  if (config.Passable) {
    const auto differs = [&](int cls) { return config.Kinds[static_cast<std::size_t>(cls)] != config.Kind; };
    for (int b = 0; b < 256; ++b) {
      const int lead = FClasses.LeadIndex[static_cast<std::size_t>(b)];
      bool stop = false;
      if (lead < 0) {
        stop = differs(FClasses.ByteClass[static_cast<std::size_t>(b)]);
      } else {
        for (int t = 0; t < 256 && !stop; ++t)
          stop = differs(FClasses.PairClass[static_cast<std::size_t>(lead) * 256 + static_cast<std::size_t>(t)]);
      }
      config.Stops[static_cast<std::size_t>(b)] = stop;
      if (stop) config.StopBytes.push_back(static_cast<unsigned char>(b));
    }
    config.FewStops = config.StopBytes.size() <= kFewStops;
  }
  return FConfig = &config;
}

// Passes over the passable characters at the start of bytes (never over the
// last two, which may pair with the next block or end the file) and adds
// their lines to the group they join.  Returns the bytes passed.
std::size_t TCrossLineScan::PassRun(std::string_view bytes, const TConfig& config) {
  if (bytes.size() < 3) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t i = PassableEnd(p, bytes.size() - 2, config);
  if (i == 0) return 0;
  const auto feeds = static_cast<std::int64_t>(CountByte(bytes.data(), i, '\n'));
  const bool startsLine = p[0] == '\n' || (FClasses.LeadIndex[p[0]] >= 0 && p[1] == '\n');
  for (std::int64_t k = 0; k < feeds; ++k) NewLine();
  const std::int64_t low = startsLine ? FLine + 1 : FLine;
  const std::int64_t high = std::min(FLine + feeds, FLastLine);
  if (config.Kind >= 0 && low <= high) Join(config.Kind, low, high);
  for (std::int64_t line = std::max(FLine, FFirstLine); line < FLine + feeds; ++line) LineAt(line)->Ended = true;
  FLine += feeds;
  return i;
}

// Where the passable characters from p on end, at a character boundary at
// or a byte past limit.  With few stop bytes they are searched for (and a
// stop byte that is the second byte of a character passed over); otherwise
// the characters are walked one by one.
std::size_t TCrossLineScan::PassableEnd(const unsigned char* p, std::size_t limit, const TConfig& config) const {
  TCharacterStarts starts(p);
  // The character at limit - 1 may be a lead byte that pairs with the byte
  // at limit.
  const auto endAt = [&](std::size_t at) { return at == limit && !starts.At(limit) ? limit + 1 : at; };
  if (!config.FewStops) {
    std::size_t i = 0;
    while (i < limit && !config.Stops[p[i]]) i += FClasses.LeadIndex[p[i]] >= 0 ? 2 : 1;
    return i;
  }
  // The next place of each stop byte at or after from (limit: none).
  const std::size_t count = config.StopBytes.size();
  if (count == 0) return endAt(limit);
  const auto find = [&](std::size_t k, std::size_t from) {
    const void* found = from < limit ? std::memchr(p + from, config.StopBytes[k], limit - from) : nullptr;
    return found != nullptr ? static_cast<std::size_t>(static_cast<const unsigned char*>(found) - p) : limit;
  };
  std::array<std::size_t, kFewStops> next{};
  for (std::size_t k = 0; k < count; ++k) next[k] = find(k, 0);
  for (;;) {
    const std::size_t stop = *std::min_element(next.begin(), next.begin() + static_cast<std::ptrdiff_t>(count));
    if (stop >= limit) return endAt(limit);
    if (starts.At(stop)) return stop;
    // The second byte of a passable character (its lead byte is no stop).
    for (std::size_t k = 0; k < count; ++k)
      if (next[k] <= stop) next[k] = find(k, stop + 1);
  }
}

void TCrossLineScan::Run(TCrossScanView file, const std::function<void()>& report) {
  // The line feed before the first line ends line 0, which is no line.
  FLines.clear();
  FFirstLine = 1;
  FLine = 0;
  FFates.clear();
  for (const std::int32_t s : FLive) FGroups[static_cast<std::size_t>(s)] = TGroup();
  FLive.clear();
  FElements.clear();
  FFree = kNone;
  FConfig = nullptr;
  FLastLine = kNoBound;
  if (!FRequired.empty()) {
    const std::int64_t last = file.LastLineHolding(FRequired, FRequiredFoldsCase);
    if (last == 0) throw EEndOfFile();
    if (last > 0) FLastLine = last;
  }
  // Once the lines up to the last that may be reported are decided, no
  // line is left to report.
  while (FFirstLine <= FLastLine) {
    const TConfig* config = Config();
    if (config->Passable) {
      const std::size_t passed = PassRun(file.AheadView(), *config);
      if (passed > 0) {
        file.AheadSkip(passed);
        Decide(file, report);
        continue;
      }
    }
    const TCharCode code = file.GetAheadChar();
    if (code == 0) break;
    Step(file, code);
    Decide(file, report);
  }
  if (FFirstLine > FLastLine) throw EEndOfFile();
  // The end of the file ends every running attempt.
  for (const std::int32_t s : FLive) {
    Release(FGroups[static_cast<std::size_t>(s)], false);
    FGroups[static_cast<std::size_t>(s)] = TGroup();
  }
  FLive.clear();
  FConfig = nullptr;
  Decide(file, report);
  throw EEndOfFile();
}
