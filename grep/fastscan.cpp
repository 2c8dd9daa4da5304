// The grep's fast scan: whole lines at a time instead of one character
// through several calls.
//
// The one-character-at-a-time scans try every character of the file as the
// start of an attempt and report the line of the first attempt that reaches
// an accepting state.  A line is reported exactly when an attempt that starts
// on its leading character (the line feed before it, or a lead byte paired
// with that line feed) or on one of its characters reaches an accepting
// state.  That is decided here per line, by running all attempts of the line
// at once: a lazily built automaton whose states are sets of the pattern's
// automaton states, over classes of character codes, with a table step per
// character.  Characters are cut as the reader cuts them, from the line's
// first byte on (every line feed ends a character, so a line always starts on
// a character boundary); a lead byte before the line feed pairs with it and
// is the next line's leading character, unless the line was reported (the
// reader then stands on the line feed itself).
//
// Most patterns are line-local: no state reached after a character continues
// on a line feed, so every attempt ends by the line feed that ends its line.
// For the others, attempts still running at the line end go on through the
// following lines with the reader's look-ahead cursor, without new starts,
// until they accept or all fail, as the one-character scans' attempts do.
//
// What runs where:
//  - per byte: for a line-local pattern with a required byte string (see
//    required.h) or a set of strings of which every match holds one (see
//    required_set.h, searched for by multisearch.h), a byte search over the
//    current block finds the next place where a match can be, and every
//    line before it is skipped; otherwise, where few bytes can begin an
//    attempt, a search for those bytes (byteset.h) skips the lines without
//    one and, while no attempt runs, the characters that start none; and
//    one class lookup and one table step per character read;
//  - per line: finding its end (memchr), the attempts of the line (for a
//    fixed string, or a set that is exactly the pattern's matches, finding
//    one at a character start instead; for a pattern every match of which
//    begins with fixed bytes, only the attempts that start where they
//    stand; for other patterns with required bytes, first the attempts
//    that start shortly before them, which usually decide a matching line);
//    for a pattern whose attempts start only on a line's leading character
//    (a pattern anchored with "^"), only until they have all failed;
//  - per report: the reader's GetLine (message pump, cancel test, the line's
//    text and number), or only the move to the line end when the caller
//    just counts lines, and the handler.
// Line feeds are counted by the reader in bulk, only up to reported lines
// (and not at all when the caller just counts lines).
#include "grep/fastscan.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "sjis/bytescan.h"
#include "sjis/exceptions.h"

namespace {

// Start bytes beyond this many make their search cost more than it saves.
constexpr int kMostStartBytes = 96;

// A code that can only be a line's leading character: a line feed, or a lead
// byte paired with one.
bool IsLineFeedCode(TCharCode code) {
  return code == '\n' || ((code & 0xFF) == '\n' && IsDBCSLeadByte(static_cast<unsigned char>(code >> 8)));
}

// The bytes of a line's leading character at p: a line feed, or a lead byte
// with it (and with a kept CR between them).
std::size_t LeadingLength(const unsigned char* p) {
  if (!IsDBCSLeadByte(p[0])) return 1;
  return p[1] == '\r' ? 3 : 2;
}

// Where a window's line ends: before its final line feed, and before a kept
// CR in front of that line feed.
std::size_t LineEnd(const unsigned char* p, std::size_t windowSize, std::size_t leading) {
  const std::size_t end = windowSize - 1;
  return end > leading && p[end - 1] == '\r' ? end - 1 : end;
}

// A line's window cut into its parts: the bytes, the length of the leading
// character and where the line ends.
struct TWindowLine {
  const unsigned char* P;
  std::size_t Leading;
  std::size_t End;
};

TWindowLine CutWindow(std::string_view window) {
  const auto* p = reinterpret_cast<const unsigned char*>(window.data());
  const std::size_t leading = LeadingLength(p);
  return {p, leading, LineEnd(p, window.size(), leading)};
}

// Where the next line's leading character starts, for a line without a
// match: at the line feed, or at a dangling lead byte that pairs with it.
std::size_t NextLeading(TCharacterStarts& starts, std::size_t windowSize, std::size_t lineEnd) {
  return starts.At(lineEnd) ? windowSize - 1 : lineEnd - 1;
}

}  // namespace

// ---------------------------------------------------------------------------
// TFastScan

TFastScan::TFastScan(TLinePlan plan)
    : FRequired(std::move(plan.Required)),
      FRequiredFoldsCase(plan.FoldsCase),
      FAsRead(plan.AsRead),
      FExactLiteral(plan.Exact && !FRequired.empty()),
      FStartsAtLineStarts(StartsAtLineStarts(plan.Automaton)),
      FSets(std::move(plan.Automaton)) {
  if (!plan.Set.empty()) {
    // Line windows hold no zero byte: searched the same way, they find the
    // same strings.
    FSet = std::make_unique<TMultiSearch>(plan.Set, plan.FoldsCase, plan.AsRead);
    FExactSet = plan.Exact;
    if (plan.WholeLines)
      for (const std::string& line : plan.Set) FWholeLines.insert(plan.FoldsCase ? AsciiUpperSjis(line) : line);
  }
  const bool lineLocal = FSets.Automaton().AttemptsEndInTheirLine();
  // The bytes every match begins with bound where attempts can start; they
  // hold no line end but for a line feed as their first byte (a "^").
  FPrefixStarts = plan.AtStart && lineLocal && !FExactLiteral && !FRequired.empty() &&
                  FRequired.find_first_of("\r\n", 1) == std::string::npos && !FRequired.starts_with('\r');
  FNearRequired = lineLocal && !FExactLiteral && !FExactSet && !FPrefixStarts && !FStartsAtLineStarts &&
                  (FSet || !FRequired.empty());
  if (!FExactLiteral && !FExactSet && !FStartsAtLineStarts) FindStartBytes();
}

// A character may start an attempt when the empty set, with a start on it,
// steps to another set.
void TFastScan::FindStartBytes() {
  const TCharClasses& classes = FSets.Classes();
  std::vector<bool> starts(static_cast<std::size_t>(classes.Count));
  for (int cls = 0; cls < classes.Count; ++cls)
    starts[static_cast<std::size_t>(cls)] = FSets.Step(FSets.Empty(), cls, true) != FSets.Empty();
  std::array<bool, 256> bytes{};
  int count = 0;
  for (unsigned b = 0; b < 256; ++b) {
    if (classes.LeadIndex[b] < 0) {
      bytes[b] = starts[classes.ByteClass[b]];
    } else {
      for (unsigned trail = 0; trail < 256 && !bytes[b]; ++trail)
        bytes[b] = starts[static_cast<std::size_t>(
            classes.Pair(static_cast<unsigned char>(b), static_cast<unsigned char>(trail)))];
    }
    count += bytes[b] ? 1 : 0;
  }
  FStartBytes = TByteSet(bytes);
  // Blocks searched as read may hold a zero byte or a lone CR where the
  // text has a space or a line feed.
  FPassesNonStarting = count <= kMostStartBytes && !FAsRead;
}

// The first character start at or after i (one) whose byte may begin an
// attempt; else a lead byte that pairs with the line feed (the next line's
// leading character, which the caller must see), else lineEnd.
std::size_t TFastScan::NextPossibleStart(const unsigned char* p, std::size_t i, std::size_t lineEnd) const {
  TCharacterStarts starts(p, i);
  if (const std::size_t at = FStartBytes.FindAtCharacterStart(p, i, lineEnd, starts); at < lineEnd) return at;
  if (lineEnd > i && IsDBCSLeadByte(p[lineEnd - 1]) && starts.At(lineEnd - 1)) return lineEnd - 1;
  return lineEnd;
}

// Without required bytes, the first byte that may begin an attempt bounds
// the lines to pass over (wherever it stands: as a second byte it only
// bounds them early).
std::size_t TFastScan::FindRequired(std::string_view data) {
  if (FRequired.empty() && !FSet)
    return FStartBytes.Find(reinterpret_cast<const unsigned char*>(data.data()), data.size());
  if (!FSet) return FindBytes(data, FRequired, FRequiredFoldsCase, FAsRead);
  // Only the first line that holds one of the strings matters here.
  const std::size_t found = FSet->FindInFirstLine(data, 0, &FSetFoundString);
  FSetFound = found < data.size() ? data.data() + found : nullptr;
  return found;
}

bool TFastScan::StartsAtLineStarts(const TScanAutomaton& automaton) {
  for (const auto& e : automaton.Edges[static_cast<std::size_t>(automaton.Start)])
    if (e.Low != e.High || !IsLineFeedCode(e.Low)) return false;
  return true;
}

bool TFastScan::WindowMatches(std::string_view window, std::size_t& next, std::int32_t& running) {
  const TCharClasses& classes = FSets.Classes();
  running = FSets.Empty();
  const auto [p, leading, lineEnd] = CutWindow(window);
  bool dangling = false;
  int cls = leading > 1 ? classes.Pair(p[0], '\n') : classes.ByteClass[p[0]];
  std::int32_t set = FSets.Step(FSets.Empty(), cls, true);
  if (set == TSetAutomaton::kAccept) return true;
  std::size_t i = leading;
  while (i < lineEnd) {
    if (set == FSets.Empty()) {
      if (FStartsAtLineStarts) {
        // Every attempt has failed and no other can start before the next
        // line: only where that line's leading character starts is left.
        TCharacterStarts starts(p, leading);
        next = NextLeading(starts, window.size(), lineEnd);
        return false;
      }
      // Characters that start no attempt leave the set empty.
      if (FPassesNonStarting) {
        i = NextPossibleStart(p, i, lineEnd);
        if (i >= lineEnd) break;
      }
    }
    cls = classes.Next(p, i, lineEnd);
    if (cls < 0) {
      dangling = true;
      break;
    }
    std::int32_t following = FSets.KnownWithStart(set, cls);
    if (following < 0) {
      if (following == TSetAutomaton::kAccept) return true;
      following = FSets.Step(set, cls, true);
      if (following == TSetAutomaton::kAccept) return true;
    }
    set = following;
  }
  // The character that ends the line: the line feed, or the dangling lead
  // byte paired with it, which is the next line's leading character.  No
  // attempt of this line starts there.
  cls = dangling ? classes.Pair(p[lineEnd - 1], '\n') : classes.ByteClass[static_cast<unsigned char>('\n')];
  next = dangling ? lineEnd - 1 : window.size() - 1;
  running = FSets.Step(set, cls, false);
  return running == TSetAutomaton::kAccept;
}

// Each character read by the look-ahead takes one table step of the set
// without new starts.  An attempt can run to the end of the file, and every
// line may start one, so the steps are counted over the whole scan, and the
// reader polled every so many of them for the window's messages and the
// cancel flag.
bool TFastScan::RunsOnToAccept(TFastScanView file, std::size_t from, std::int32_t running) {
  file.AheadFrom(from);
  for (;;) {
    TCharCode code = file.GetAheadChar();
    if (code == 0) return false;  // past the end of the file: every attempt ends
    if ((code & 0xFF) == '\r') {
      // A kept CR: the text holds no other (see AllowsKeptCrLf).  The line
      // feed after it is the character, or the second byte of its lead byte.
      file.GetAheadChar();
      code = (code & 0xFF00) | '\n';
    }
    const int cls = FSets.Classes().CodeClass(code);
    running = FSets.Step(running, cls, false);
    if (running == TSetAutomaton::kAccept) return true;
    if (running == FSets.Empty()) return false;
    file.CountAheadStep(FAheadSteps);
  }
}

// The first place at or after from in text where the required bytes stand,
// or text.size(); found is the first place, when the skip knows it.
std::size_t TFastScan::RequiredFrom(std::string_view text, std::size_t from, std::size_t found, bool foldCase) const {
  if (from == 0 && found != std::string_view::npos) return found;
  return from + FindBytes(text.substr(from), FRequired, foldCase);
}

// A fixed string matches where its bytes stand at a character boundary:
// text and string are cut into the same characters from there on.  The
// window is cut from its first byte (the leading character, the line's
// characters, then the line feed or the dangling lead byte with it); an
// attempt may start anywhere but on that last character.
bool TFastScan::LiteralWindowMatches(std::string_view window, std::size_t found, std::size_t& next) {
  const auto [p, leading, lineEnd] = CutWindow(window);
  TCharacterStarts starts(p, leading);
  for (std::size_t from = 0;;) {
    const std::size_t at = RequiredFrom(window, from, found, false);
    if (at >= lineEnd) break;  // the line end, or nothing found
    const bool start = at == 0 || (at >= leading && starts.At(at));
    const bool last = at + 1 == lineEnd && IsDBCSLeadByte(p[at]);
    if (start && !last) return true;
    from = at + 1;
  }
  // The line feed alone ends the line, or a lead byte before it pairs with it.
  next = NextLeading(starts, window.size(), lineEnd);
  return false;
}

// An attempt can only accept where the prefix stands at a character start,
// so each such place runs its one attempt, usually for a few characters.  A
// line on which they run long (a frequent prefix and attempts that go on to
// the line end) is decided by the scan of all its attempts at once instead,
// so that no line costs more than a few times its length.
bool TFastScan::PrefixWindowMatches(std::string_view window, std::size_t found, std::size_t& next) {
  const auto [p, leading, lineEnd] = CutWindow(window);
  const std::string_view line = window.substr(0, lineEnd);
  TCharacterStarts starts(p, leading);
  std::size_t steps = 0;
  for (std::size_t from = 0;;) {
    const std::size_t at = RequiredFrom(line, from, found, FRequiredFoldsCase);
    if (at >= lineEnd) break;
    if ((at == 0 || (at >= leading && starts.At(at))) && AttemptAccepts(p, at, leading, lineEnd, steps, false))
      return true;
    if (steps > 2 * lineEnd + 64) {
      std::int32_t running = 0;
      return WindowMatches(window, next, running);
    }
    from = at + 1;
  }
  next = NextLeading(starts, window.size(), lineEnd);
  return false;
}

bool TFastScan::AttemptAccepts(const unsigned char* p, std::size_t at, std::size_t leading, std::size_t lineEnd,
                               std::size_t& steps, bool startEverywhere) {
  const TCharClasses& classes = FSets.Classes();
  const std::int32_t empty = FSets.Empty();
  std::size_t i = at;
  int cls;
  if (at == 0) {
    cls = leading > 1 ? classes.Pair(p[0], '\n') : classes.ByteClass[p[0]];
    i = leading;
  } else {
    cls = classes.Next(p, i, lineEnd);
    if (cls < 0) return false;  // pairs with the line feed: the next line's leading character
  }
  std::int32_t set = FSets.Step(empty, cls, true);
  bool dangling = false;
  while (set != TSetAutomaton::kAccept && (startEverywhere || set != empty) && i < lineEnd) {
    ++steps;
    cls = classes.Next(p, i, lineEnd);
    if (cls < 0) {
      dangling = true;
      break;
    }
    const std::int32_t following = FSets.Known(set, cls, startEverywhere);
    set = following != TSetAutomaton::kUnknown ? following : FSets.Step(set, cls, startEverywhere);
  }
  if (set == TSetAutomaton::kAccept) return true;
  if (set == empty) return false;
  // The character that ends the line: the line feed, or the dangling lead
  // byte paired with it.  No attempt starts there.
  cls = dangling ? classes.Pair(p[lineEnd - 1], '\n') : classes.ByteClass[static_cast<unsigned char>('\n')];
  return FSets.Step(set, cls, false) == TSetAutomaton::kAccept;
}

// A match holds the required bytes (or one of the set's strings), and most
// often begins a little before them: the attempts that start from a few
// bytes before their first place in the line are run first (from four bytes
// before, then from sixteen), and only when none of them accepts, all the
// attempts of the line.  A line that matches near its required bytes is then
// decided from there; any other costs at most the short runs more.
bool TFastScan::NearRequiredWindowMatches(std::string_view window, std::size_t found, std::size_t& next,
                                          std::int32_t& running) {
  constexpr std::size_t kNear[2] = {4, 16};
  const auto [p, leading, lineEnd] = CutWindow(window);
  if (lineEnd > leading + kNear[0]) {
    const std::string_view line = window.substr(0, lineEnd);
    const std::size_t first = found != std::string_view::npos && found >= leading ? found
                              : FSet                                              ? FSet->Find(line, leading)
                                     : leading + FindBytes(line.substr(leading), FRequired, FRequiredFoldsCase);
    const int runs = first >= lineEnd ? 0 : first > leading + kNear[1] ? 2 : first > leading + kNear[0] ? 1 : 0;
    // The characters that hold the bytes kNear places before, asked for in
    // ascending order.
    std::size_t from[2] = {};
    TCharacterStarts starts(p, leading);
    for (int k = runs - 1; k >= 0; --k) {
      from[k] = first - kNear[k];
      if (!starts.At(from[k])) --from[k];
    }
    for (int k = 0; k < runs; ++k) {
      std::size_t steps = 0;
      if (AttemptAccepts(p, from[k], leading, lineEnd, steps, true)) return true;
    }
  }
  return WindowMatches(window, next, running);
}

// The set's strings hold no line end, and each is whole characters: one
// found at a character start of the line is a match.
//
// The skip has most often just found a string in this line: where it stood
// is tried first.  The reader may have moved the line since (a line that
// runs into the next block), so the string is compared there again.
bool TFastScan::SetWindowMatches(std::string_view window, std::size_t& next) {
  const auto [p, leading, lineEnd] = CutWindow(window);
  const std::string_view line = window.substr(0, lineEnd);
  if (!FWholeLines.empty()) {
    // A line that is one of the strings; with FRequiredFoldsCase, compared
    // in upper case.  A line whose leading character is a lead byte paired
    // with the line feed does not start at a line start.
    const std::string_view text = line.substr(leading);
    if (leading == 1 && FWholeLines.contains(FRequiredFoldsCase ? AsciiUpperSjis(text) : std::string(text)))
      return true;
    TCharacterStarts starts(p, leading);
    next = NextLeading(starts, window.size(), lineEnd);
    return false;
  }
  const auto found = reinterpret_cast<std::uintptr_t>(FSetFound);
  const auto first = reinterpret_cast<std::uintptr_t>(window.data());
  if (found >= first + leading && found < first + lineEnd) {
    const std::size_t at = found - first;
    if (FSet->StandsAt(line, at, FSetFoundString) && TCharacterStarts(p, leading).At(at)) return true;
  }
  TCharacterStarts starts(p, leading);
  for (std::size_t from = leading;;) {
    const std::size_t at = FSet->Find(line, from);
    if (at >= lineEnd) break;
    if (starts.At(at)) return true;
    from = at + 1;
  }
  next = NextLeading(starts, window.size(), lineEnd);
  return false;
}

// With a required byte string (or set, or without one the bytes that may
// begin an attempt), lines that cannot hold it are passed over within the
// current block: the first occurrence of the string at or after the cursor
// bounds the lines to skip, and so does the block's last line feed when
// there is none.
void TFastScan::SkipLinesWithoutRequired(TFastScanView file) {
  const std::string_view data = file.Buffered();
  FFound = nullptr;
  if (data.size() < 3) return;
  const auto* p = reinterpret_cast<const unsigned char*>(data.data());
  const std::size_t leading = LeadingLength(p);
  const std::size_t limit = FindRequired(data);
  FFound = !FSet && !FRequired.empty() && limit < data.size() ? data.data() + limit : nullptr;
  FFoundBlockEnd = data.data() + data.size();
  // The last line feed before the limit that ends a line after the current
  // one's leading character.
  if (limit <= leading) return;
  const void* lastFeed = memrchr(data.data() + leading, '\n', limit - leading);
  if (lastFeed == nullptr) return;
  const std::size_t feed = static_cast<std::size_t>(static_cast<const char*>(lastFeed) - data.data());
  // Whether the line that this line feed ends has a dangling lead byte, which
  // pairs with the line feed and is the next line's leading character.
  const std::size_t lineEnd = LineEnd(p, feed + 1, leading);
  const bool dangling = lineEnd > leading && !TCharacterStarts(p, leading).At(lineEnd);
  file.Skip(data, dangling ? lineEnd - 1 : feed);
}

std::size_t TFastScan::FoundInWindow(TFastScanView file, std::string_view window) const {
  if (FFound == nullptr) return std::string_view::npos;
  const std::string_view block = file.Buffered();
  if (block.data() != window.data() || block.data() + block.size() != FFoundBlockEnd) return std::string_view::npos;
  const auto at = static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(FFound) -
                                           reinterpret_cast<std::uintptr_t>(window.data()));
  return at < window.size() ? at : std::string_view::npos;
}

void TFastScan::Run(TFastScanView file, const std::function<void()>& report) {
  // The first block of the first file tells which bytes of a large set's
  // strings are rare in the text searched.
  if (FSet && !FSetTuned) {
    FSet->Tune(file.Buffered());
    FSetTuned = true;
  }
  for (;;) {
    if (!FRequired.empty() || FSet || FPassesNonStarting) SkipLinesWithoutRequired(file);
    std::string_view window;
    if (!file.NextLineWindow(window)) return;
    std::size_t next = 0;
    bool matches;
    if (FExactLiteral) {
      matches = LiteralWindowMatches(window, FoundInWindow(file, window), next);
    } else if (FPrefixStarts) {
      matches = PrefixWindowMatches(window, FoundInWindow(file, window), next);
    } else if (FExactSet) {
      matches = SetWindowMatches(window, next);
    } else {
      std::int32_t running = 0;
      matches = FNearRequired ? NearRequiredWindowMatches(window, FoundInWindow(file, window), next, running)
                              : WindowMatches(window, next, running);
      if (!matches && running != FSets.Empty()) {
        matches = RunsOnToAccept(file, window.size(), running);
        window = file.LineWindow();  // the look-ahead may have read other blocks
      }
    }
    if (matches) {
      file.Skip(window, LeadingLength(reinterpret_cast<const unsigned char*>(window.data())));
      report();
    } else {
      file.Skip(window, next);
    }
  }
}
