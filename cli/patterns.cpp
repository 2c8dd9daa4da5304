#include "cli/patterns.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <array>
#include <unordered_set>

#include "cli/literal_set.h"
#include "regexp/plaintext.h"
#include "regexp/posix_lower.h"
#include "sjis/exceptions.h"
#include "text/encoding.h"

namespace {

struct TCharAt {
  TCharCode Code;
  std::size_t Width;
};

TCharAt CharAt(std::string_view line, std::size_t i) {
  const auto b = static_cast<unsigned char>(line[i]);
  if (IsDBCSLeadByte(b) && i + 1 < line.size())
    return {static_cast<TCharCode>(b << 8 | static_cast<unsigned char>(line[i + 1])), 2};
  return {b, 1};
}

// Whether the pattern of re matches the empty string somewhere: anywhere,
// at a line's start or at its end.
bool MayMatchEmpty(const TRegularExpression& re) {
  const TDFAState* start = re.CurrentDFA()->Start;
  for (const TDFAState* s :
       {start, static_cast<const TDFAState*>(TRegularExpression::NextState(start, re.LineHeadCode))}) {
    if (s == nullptr) continue;
    const TDFAState* tail = TRegularExpression::NextState(s, re.LineTailCode);
    if (s->Accepting != 0 || (tail != nullptr && tail->Accepting != 0)) return true;
  }
  return false;
}

// The bytes a match can begin with, read from the start state's
// transitions: a single-byte character, or the lead byte of a double-byte
// one (a range of codes marks every lead byte it spans, which may mark
// more than needed, never less).  Every byte when the start state accepts,
// since an empty match may then stand anywhere.
std::array<bool, 256> StartBytes(const TRegularExpression& re) {
  std::array<bool, 256> bytes{};
  const TDFAState* start = re.CurrentDFA()->Start;
  if (start->Accepting != 0) {
    bytes.fill(true);
    return bytes;
  }
  for (const TDFATransition& t : start->Transitions) {
    for (unsigned b = t.Low; b <= t.High && b < 0x100; ++b) bytes[b] = true;
    if (t.High >= 0x100)
      for (unsigned lead = std::max<unsigned>(t.Low, 0x100) >> 8; lead <= (t.High >> 8); ++lead) bytes[lead] = true;
  }
  return bytes;
}

bool Anchored(const TRegularExpression& re) { return re.CurrentDFA()->BeginAnchored || re.CurrentDFA()->EndAnchored; }

// The longest match of re that starts at start and ends at or before
// limit.  A "$" holds only at the line's real end, never at a limit before
// it (as GNU grep's retry of a shorter match sets not_eol); "^" only at
// the start.
bool LongestAt(const TRegularExpression& re, std::string_view line, std::size_t start, std::size_t limit,
               std::size_t& len) {
  bool found = false;
  len = 0;
  const auto run = [&](const TDFAState* state) {
    std::size_t i = start;
    for (;;) {
      if (state->Accepting != 0 || (i == line.size() && TRegularExpression::NextState(state, re.LineTailCode))) {
        if (!found || i - start > len) len = i - start;
        found = true;
      }
      if (i >= limit) return;
      const TCharAt c = CharAt(line, i);
      if (i + c.Width > limit || c.Code == 0) return;
      state = TRegularExpression::NextState(state, c.Code);
      if (state == nullptr) return;
      i += c.Width;
    }
  };
  const TDFAState* start0 = re.CurrentDFA()->Start;
  run(start0);
  if (start == 0)
    if (const TDFAState* head = TRegularExpression::NextState(start0, re.LineHeadCode)) run(head);
  return found;
}

}  // namespace

void TEnginePattern::Apply(TRegularExpression& re) const {
  re.SetPattern("");  // valid under any flags and rules
  re.SetAcceptDBMeta(DBMeta);
  re.SetIgnoreCase(IgnoreCase);
  re.SetRules(Rules);
  re.SetPattern(Pattern);
}

TEnginePattern BuildEnginePattern(const std::vector<std::string>& sjisPatterns, const TOptions& options) {
  if (options.Fixed()) return FixedStringsPattern(sjisPatterns, options);
  TEnginePattern result;
  result.None = sjisPatterns.empty();
  const TPatternSyntax syntax = options.Syntax == TSyntax::Basic      ? synBasic
                                : options.Syntax == TSyntax::Extended ? synExtended
                                                                      : synEngine;
  result.DBMeta = options.DBMeta && syntax == synEngine;
  result.Rules = {true, options.NullData ? lfOrdinary : lfNever, syntax, options.IgnoreCase && syntax != synEngine};
  result.IgnoreCase = options.IgnoreCase && syntax == synEngine;
  if (result.None) return result;
  const auto posix = [&](const std::string& pattern) {
    return ParsePosix(pattern, syntax, options.IgnoreCase, result.Rules.LineFeed);
  };
  const auto compile = [&](TAWKStr& re, const std::string& pattern, std::size_t index) {
    TEnginePattern one = result;
    one.Pattern = pattern;
    try {
      one.Apply(re);
    } catch (const ERegExpParser& e) {
      throw TPatternError{e.Message(), e.Position, index};
    }
  };
  // Each pattern once, in its first place.
  std::vector<std::string> patterns;
  std::vector<std::size_t> numbers;
  std::unordered_set<std::string_view> seen;
  const bool numbered = options.PatternNumbers.size() == sjisPatterns.size();
  for (std::size_t k = 0; k < sjisPatterns.size(); ++k) {
    if (!seen.insert(sjisPatterns[k]).second) continue;
    patterns.push_back(sjisPatterns[k]);
    numbers.push_back(numbered ? options.PatternNumbers[k] - 1 : k);
  }
  // Each is compiled on its own, so that an error names its pattern (and
  // GNU grep's warnings are given once for it).
  bool anchored = false;
  for (std::size_t k = 0; k < patterns.size() && (patterns.size() > 1 || syntax != synEngine); ++k) {
    TAWKStr re;
    compile(re, patterns[k], numbers[k]);
    if (syntax != synEngine) {
      const auto warnings = posix(patterns[k]).Warnings;
      result.Warnings.insert(result.Warnings.end(), warnings.begin(), warnings.end());
    }
    anchored = anchored || Anchored(re);
    if (options.Word && MayMatchEmpty(re)) result.EmptyMatching.push_back(patterns[k]);
  }
  std::string& all = result.Pattern;
  if (patterns.size() == 1) {
    all = patterns.front();
  } else if (syntax != synEngine) {
    for (std::size_t k = 0; k < patterns.size(); ++k) all += (k == 0 ? "" : "\n") + patterns[k];  // GNU's list
  } else {
    for (const std::string& p : patterns) all += (all.empty() ? "(" : "|(") + p + ")";
  }
  TAWKStr re;
  const std::size_t allIndex = patterns.size() == 1 ? numbers.front() : TPatternError::kAllPatterns;
  // A long plain text compiles, matches no empty string and has no
  // anchors, whatever it holds: it is compiled once, for the search, not
  // here too (a megabyte of text costs a state a character).
  const bool plain =
      syntax == synEngine && patterns.size() == 1 && ReadPlainText(all, result.DBMeta, result.IgnoreCase).has_value();
  if (!plain) {
    compile(re, all, allIndex);
    result.EveryLine = re.CurrentDFA()->Start->Accepting != 0;
  }
  result.Assertions = syntax != synEngine && NeedsAssertionCheck(posix(all));
  // -x: the user's anchors would turn into characters inside "^(...)$"
  // (and GNU's patterns are not wrapped in text at all).
  if (options.WholeLine && (anchored || (!plain && Anchored(re)) || syntax != synEngine)) {
    result.Test = TLineTest::WholeLine;
  } else if (options.WholeLine) {
    all = "^(" + all + ")$";
    if (!plain) compile(re, all, allIndex);
    result.EveryLine = false;
  } else if (options.Word) {
    result.Test = TLineTest::Word;
  } else if (result.Assertions) {
    result.Test = TLineTest::Assertions;
  }
  return result;
}

bool IsWordCode(TCharCode code) {
  if (code < 0x80) return code == '_' || (code >= '0' && code <= '9') || ((code | 0x20) >= 'a' && (code | 0x20) <= 'z');
  static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  const char16_t u = encoding::CodeToUnicode(code);
  if (u == 0xFFFD) return false;
  if (unicode == static_cast<locale_t>(0)) return code > 0xFF;  // no classification: double-byte as letters
  return iswalnum_l(static_cast<wint_t>(u), unicode) != 0;
}

TCharCode CodeAt(std::string_view line, std::size_t i) { return CharAt(line, i).Code; }

bool StandsAsWord(std::string_view line, std::size_t start, std::size_t len, TCharCode before) {
  const bool wordBefore = start > 0 && IsWordCode(before);
  return !wordBefore && (start + len >= line.size() || !IsWordCode(CodeAt(line, start + len)));
}

TLineMatcher::TLineMatcher(const TEnginePattern& pattern) : FTest(pattern.Test) {
  pattern.Apply(FRegExp);
  FStartBytes = TByteSet(StartBytes(FRegExp));
  const TDFAState* start = FRegExp.CurrentDFA()->Start;
  FEdgeStarts = start->Accepting != 0 || TRegularExpression::NextState(start, FRegExp.LineHeadCode) != nullptr;
  if (pattern.Assertions)
    FAssertions = std::make_unique<TAssertionMatcher>(
        ParsePosix(pattern.Pattern, pattern.Rules.Syntax, pattern.Rules.FoldCase, pattern.Rules.LineFeed));
  for (const std::string& p : pattern.EmptyMatching) {
    TEnginePattern one = pattern;
    one.Pattern = p;
    one.Apply(*FEmptyMatching.emplace_back(std::make_unique<TAWKStr>()));
  }
}

// The longest match at start that stands as a word: the longest match, else
// shorter ones at the same start (an empty one only when it is the longest
// match of some pattern).
bool TLineMatcher::WordAt(std::string_view line, std::size_t start, TCharCode before, std::size_t& len) const {
  const auto stands = [&](std::size_t l) { return StandsAsWord(line, start, l, before); };
  std::size_t l;
  if (LongestMatch(line, start, line.size(), l)) {
    for (;;) {
      if (stands(l)) return len = l, true;
      if (l == 0 || !LongestMatch(line, start, start + l - 1, l) || l == 0) break;
    }
  }
  if (!stands(0)) return false;
  for (const auto& re : FEmptyMatching)
    if (LongestAt(*re, line, start, line.size(), l) && l == 0) return len = 0, true;
  return false;
}

bool TLineMatcher::LongestMatch(std::string_view line, std::size_t start, std::size_t limit, std::size_t& len) const {
  return FAssertions ? FAssertions->LongestAt(line, start, limit, len) : LongestAt(FRegExp, line, start, limit, len);
}

// The automaton is run only from the places inside the line whose byte can
// begin a match; the line's two edges are always tried, for the anchors.
bool TLineMatcher::FindFiltered(std::string_view line, std::size_t from, std::size_t& pos, std::size_t& len) const {
  const std::size_t size = line.size();
  const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
  TCharacterStarts starts(bytes, from);
  std::size_t at = from;
  if (at == 0) {
    if (LongestMatch(line, 0, size, len)) return pos = 0, true;
    at = 1;
  }
  for (; (at = FStartBytes.FindAtCharacterStart(bytes, at, size, starts)) < size; ++at)
    if (LongestMatch(line, at, size, len)) return pos = at, true;
  if (size > 0 && from <= size && LongestMatch(line, size, size, len)) return pos = size, true;
  return false;
}

bool TLineMatcher::Find(std::string_view line, std::size_t from, std::size_t& pos, std::size_t& len) const {
  if (FTest == TLineTest::WholeLine) {
    pos = 0;
    return from == 0 && LongestMatch(line, 0, line.size(), len) && len == line.size();
  }
  if (FTest != TLineTest::Word && FAssertions) {
    // The assertion matcher runs from the first place where a match can
    // start: the line's start when an anchor or an empty match can hold
    // there, else the first byte that can begin one.
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    TCharacterStarts starts(bytes, from);
    return FAssertions->Find(
        line, from == 0 && FEdgeStarts ? 0 : FStartBytes.FindAtCharacterStart(bytes, from, line.size(), starts), pos,
        len);
  }
  if (!FAssertions && FEmptyMatching.empty() && FTest != TLineTest::Word) return FindFiltered(line, from, pos, len);
  // Each start is a character start: from is one, and the walk goes by
  // characters.  The word test needs the character before a start, which
  // Shift-JIS cannot read backwards, so under -w the walk begins at the
  // line's start and keeps where the previous character began.
  const bool word = FTest == TLineTest::Word;
  std::size_t start = word ? 0 : from;
  std::size_t previous = line.size();  // none
  const auto step = [&] {
    previous = start;
    start += CharLength(line, start);
  };
  while (start < from) step();
  // Under -w too, a start whose byte cannot begin a match is passed over
  // inside the line.
  const bool filtered = !FAssertions && FEmptyMatching.empty();
  for (;;) {
    if (filtered && start > 0)
      while (start < line.size() && !FStartBytes.Has(static_cast<unsigned char>(line[start]))) step();
    if (word ? WordAt(line, start, previous < line.size() ? CodeAt(line, previous) : 0, len)
             : LongestMatch(line, start, line.size(), len))
      return pos = start, true;
    if (start >= line.size()) return false;
    step();
  }
}
