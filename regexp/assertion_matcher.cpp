#include "regexp/assertion_matcher.h"

#include "regexp/messages.h"
#include "regexp/posix_lower.h"
#include "sjis/exceptions.h"

namespace {

struct TCharAt {
  TCharCode Code;  // 0 past the line's end
  std::size_t Width;
};

TCharAt CharAt(std::string_view line, std::size_t i) {
  if (i >= line.size()) return {0, 0};
  const auto b = static_cast<unsigned char>(line[i]);
  if (IsDBCSLeadByte(b) && i + 1 < line.size())
    return {static_cast<TCharCode>(b << 8 | static_cast<unsigned char>(line[i + 1])), 2};
  return {b, 1};
}

bool IsWord(TCharCode c) { return c != 0 && WordCodes().Contains(c); }

// Sentinels for the characters before the line's start and after its end.
constexpr TCharCode kEdge = 0;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

}  // namespace

TAssertionMatcher::TAssertionMatcher(const TPosixPattern& pattern) {
  Compile(pattern, pattern.Top);
  Emit(TOp::Match);
}

int TAssertionMatcher::Emit(TOp op, int x, int y) {
  if (FProgram.size() >= static_cast<std::size_t>(kMaxPosixExpansion) * 4)
    throw ERegExpParser(std::string(sjis_text::kMsgTooBig), 0);
  FProgram.push_back({op, x, y});
  return static_cast<int>(FProgram.size()) - 1;
}

void TAssertionMatcher::Compile(const TPosixPattern& pattern, int node) {
  const TPosixNode& n = pattern.Nodes[static_cast<std::size_t>(node)];
  switch (n.Op) {
    case TPosixOp::Set:
      FSets.push_back(n.Set);
      Emit(TOp::Char, static_cast<int>(FSets.size()) - 1);
      break;
    case TPosixOp::Empty:
      break;
    case TPosixOp::Concat:
      Compile(pattern, n.Left);
      Compile(pattern, n.Right);
      break;
    case TPosixOp::Union: {
      const int split = Emit(TOp::Split);
      FProgram[static_cast<std::size_t>(split)].X = split + 1;
      Compile(pattern, n.Left);
      const int jump = Emit(TOp::Jump);
      FProgram[static_cast<std::size_t>(split)].Y = jump + 1;
      Compile(pattern, n.Right);
      FProgram[static_cast<std::size_t>(jump)].X = static_cast<int>(FProgram.size());
      break;
    }
    case TPosixOp::Star: {
      const int split = Emit(TOp::Split);
      FProgram[static_cast<std::size_t>(split)].X = split + 1;
      Compile(pattern, n.Left);
      Emit(TOp::Jump, split);
      FProgram[static_cast<std::size_t>(split)].Y = static_cast<int>(FProgram.size());
      break;
    }
    case TPosixOp::Assert:
      Emit(TOp::Assert, static_cast<int>(n.Assertion));
      break;
  }
}

bool TAssertionMatcher::Holds(TAssertion a, TCharCode before, TCharCode after) {
  switch (a) {
    case TAssertion::LineStart:
      return before == kEdge;
    case TAssertion::LineEnd:
      return after == kEdge;
    case TAssertion::WordEdge:
      return IsWord(before) != IsWord(after);
    case TAssertion::NotWordEdge:
      return IsWord(before) == IsWord(after);
    case TAssertion::WordStart:
      return !IsWord(before) && IsWord(after);
    case TAssertion::WordEnd:
      return IsWord(before) && !IsWord(after);
  }
  return false;
}

// Adds t and every thread its empty moves reach at this position; a
// program counter taken once in a step is not taken again, so the thread
// that came first (the earliest start) keeps it.
void TAssertionMatcher::AddThread(std::vector<TThread>& list, std::vector<std::size_t>& seen, std::size_t step,
                                  TThread t, TCharCode before, TCharCode after) const {
  std::vector<int>& pending = FPending;
  pending.assign(1, t.Pc);
  while (!pending.empty()) {
    const int pc = pending.back();
    pending.pop_back();
    if (seen[static_cast<std::size_t>(pc)] == step) continue;
    seen[static_cast<std::size_t>(pc)] = step;
    const TInstruction& in = FProgram[static_cast<std::size_t>(pc)];
    switch (in.Op) {
      case TOp::Jump:
        pending.push_back(in.X);
        break;
      case TOp::Split:
        pending.push_back(in.Y);
        pending.push_back(in.X);
        break;
      case TOp::Assert:
        if (Holds(static_cast<TAssertion>(in.X), before, after)) pending.push_back(pc + 1);
        break;
      case TOp::Char:
      case TOp::Match:
        list.push_back({pc, t.Start});
        break;
    }
  }
}

bool TAssertionMatcher::Run(std::string_view line, std::size_t from, bool anchored, std::size_t limit, std::size_t& pos,
                            std::size_t& len) const {
  // The character before from, walked from the line's start: Shift-JIS
  // cannot be read backwards.
  TCharCode before = kEdge;
  for (std::size_t i = 0; i < from;) {
    const TCharAt c = CharAt(line, i);
    before = c.Code;
    i += c.Width;
  }
  std::vector<TThread>& current = FCurrent;
  std::vector<TThread>& next = FNext;
  std::vector<std::size_t>& seen = FSeen;
  current.clear();
  next.clear();
  seen.assign(FProgram.size(), kNone);
  std::size_t step = 0;
  std::size_t bestStart = kNone, bestEnd = 0;
  std::size_t i = from;
  for (;;) {
    const TCharAt c = CharAt(line, i);
    if (bestStart == kNone && (!anchored || i == from)) AddThread(current, seen, step, {0, i}, before, c.Code);
    ++step;
    for (const TThread& t : current) {
      if (bestStart != kNone && t.Start > bestStart) continue;
      const TInstruction& in = FProgram[static_cast<std::size_t>(t.Pc)];
      if (in.Op == TOp::Match) {
        // Threads run in the order of their starts: the first to match at a
        // position has the leftmost start, a later match the longer length.
        if (bestStart == kNone || i > bestEnd) bestStart = t.Start, bestEnd = i;
      } else if (c.Width > 0 && i + c.Width <= limit && FSets[static_cast<std::size_t>(in.X)].Contains(c.Code)) {
        AddThread(next, seen, step, {t.Pc + 1, t.Start}, c.Code, CharAt(line, i + c.Width).Code);
      }
    }
    current.swap(next);
    next.clear();
    if (c.Width == 0 || i + c.Width > limit || (current.empty() && (bestStart != kNone || anchored))) break;
    before = c.Code;
    i += c.Width;
  }
  if (bestStart == kNone) return false;
  pos = bestStart;
  len = bestEnd - bestStart;
  return true;
}

bool TAssertionMatcher::Find(std::string_view line, std::size_t from, std::size_t& pos, std::size_t& len) const {
  return Run(line, from, false, line.size(), pos, len);
}

bool TAssertionMatcher::LongestAt(std::string_view line, std::size_t start, std::size_t limit, std::size_t& len) const {
  std::size_t pos;
  return Run(line, start, true, limit, pos, len);
}
