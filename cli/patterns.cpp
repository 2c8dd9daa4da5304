#include "cli/patterns.h"

#include <locale.h>
#include <wctype.h>

#include <cstring>

#include "cli/literal_set.h"
#include "cli/pattern_list.h"
#include "sjis/exceptions.h"
#include "text/encoding.h"

namespace {

// Every character literal: single-byte metacharacters get a backslash;
// double-byte characters are copied whole, so a second byte that looks like
// a metacharacter is never touched.
std::string EscapeFixed(const std::string& sjis) {
  std::string out;
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const auto b = static_cast<unsigned char>(sjis[i]);
    if (IsDBCSLeadByte(b) && i + 1 < sjis.size()) {
      out += sjis[i];
      out += sjis[++i];
      continue;
    }
    if (b != 0 && std::strchr("\\^$.[]|()*+?", b) != nullptr) out += '\\';
    out += static_cast<char>(b);
  }
  return out;
}

// Compiles a pattern as the search will, so that an error names the
// pattern (index) and a position within it.
void Compile(TAWKStr& re, const std::string& pattern, const TOptions& options, std::size_t index) {
  re.SetAcceptDBMeta(options.DBMeta && !options.Fixed);
  re.SetIgnoreCase(options.IgnoreCase);
  try {
    re.SetPattern(pattern);
  } catch (const ERegExpParser& e) {
    throw TPatternError{e.Message(), e.Position, index};
  }
}

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

}  // namespace

TEnginePattern BuildEnginePattern(const std::vector<std::string>& sjisPatterns, const TOptions& options) {
  if (options.Fixed) return FixedStringsPattern(sjisPatterns, options);
  if (std::optional<TEnginePattern> distinct = DistinctPatterns(sjisPatterns, options, BuildEnginePattern))
    return *distinct;
  TEnginePattern result;
  if (sjisPatterns.empty()) {
    result.None = true;
    return result;
  }
  // A lone pattern is the combined pattern itself: compiled once, below.
  const bool alone = sjisPatterns.size() == 1 && !options.WholeLine;
  std::vector<std::string> patterns;
  for (std::size_t k = 0; k < sjisPatterns.size(); ++k) {
    patterns.push_back(options.Fixed ? EscapeFixed(sjisPatterns[k]) : sjisPatterns[k]);
    if (!alone) {
      TAWKStr re;
      Compile(re, patterns.back(), options, k);
    }
  }
  std::string& all = result.Pattern;
  if (patterns.size() == 1) {
    all = patterns.front();
  } else {
    for (const std::string& p : patterns) all += (all.empty() ? "(" : "|(") + p + ")";
  }
  if (options.WholeLine) all = "^(" + all + ")$";

  TAWKStr re;
  Compile(re, all, options, alone ? 0 : patterns.size());
  result.EveryLine = re.CurrentDFA()->Start->Accepting != 0;
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

TLineMatcher::TLineMatcher(const std::string& pattern, bool ignoreCase, bool dbMeta, bool word) : FWord(word) {
  FRegExp.SetAcceptDBMeta(dbMeta);
  FRegExp.SetIgnoreCase(ignoreCase);
  FRegExp.SetPattern(pattern);
}

// The longest match that starts at start and ends at or before limit.  A
// "$" holds only at the line's real end, never at a limit before it (as
// GNU grep's retry of a shorter match sets not_eol); "^" only at the start.
bool TLineMatcher::LongestAt(std::string_view line, std::size_t start, std::size_t limit, std::size_t& len) const {
  const TDFA* dfa = FRegExp.CurrentDFA();
  bool found = false;
  len = 0;
  const auto run = [&](const TDFAState* state) {
    std::size_t i = start;
    for (;;) {
      if (state->Accepting != 0 || (i == line.size() && TRegularExpression::NextState(state, FRegExp.LineTailCode))) {
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
  run(dfa->Start);
  if (start == 0)
    if (const TDFAState* head = TRegularExpression::NextState(dfa->Start, FRegExp.LineHeadCode)) run(head);
  return found;
}

bool TLineMatcher::Find(std::string_view line, std::size_t from, std::size_t& pos, std::size_t& len) const {
  // The character before each start, for the word test: walked from the
  // line's start, since Shift-JIS cannot be read backwards.
  TCharCode before = 0;
  std::size_t start = 0;
  while (start < from) {
    const TCharAt c = CharAt(line, start);
    before = c.Code;
    start += c.Width;
  }
  for (;;) {
    std::size_t l;
    if (LongestAt(line, start, line.size(), l)) {
      if (!FWord) {
        pos = start;
        len = l;
        return true;
      }
      for (;;) {
        const bool wordBefore = start > 0 && IsWordCode(before);
        const bool wordAfter = start + l < line.size() && IsWordCode(CharAt(line, start + l).Code);
        if (!wordBefore && !wordAfter) {
          pos = start;
          len = l;
          return true;
        }
        // A shorter match at the same start; an empty one does not count.
        std::size_t shorter;
        if (l == 0 || !LongestAt(line, start, start + l - 1, shorter) || shorter == 0) break;
        l = shorter;
      }
    }
    if (start >= line.size()) return false;
    const TCharAt c = CharAt(line, start);
    before = c.Code;
    start += c.Width;
  }
}
