// Compiling runs the parser, builds the NFA and then the DFA; the NFA and the
// parser live only during the compile.  Up to CacheSize automata are kept,
// keyed by pattern text, the two flags and the rules: entry 0 is the empty pattern
// compiled at creation and is never evicted, new entries go in at index 1 and
// the last entry is evicted when the cache is full.
//
// Matching follows DFA transitions from each character boundary of the
// subject in turn; the first start with any match wins, and the longest match
// there.  "^" matches at the start and after every line feed, "$" before every
// line feed and at the end.  Positions are 1-based byte indexes, lengths
// count bytes; a double-byte character is never split.
#include "regexp/regexp.h"

#include <algorithm>

#include "regexp/chain.h"
#include "regexp/plaintext.h"
#include "regexp/posix_lower.h"
#include "regexp/prefixstarts.h"
#include "regexp/required.h"
#include "regexp/required_set.h"
#include "sjis/exceptions.h"
#include "sjis/sjis.h"

namespace {

// Equality without regard to the case of ASCII letters; the bytes of a
// double-byte character compare exactly.
bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (IsDBCSLeadByte(ca) && i + 1 < a.size()) {
      if (ca != cb || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (lower(ca) != lower(cb)) {
      return false;
    }
  }
  return true;
}

// A pattern of GNU grep's languages into the parser's tree; an expansion
// that grows too big is a property of the whole pattern: its end is named.
void CompilePosix(const std::string& pattern, TRegExpParser& parser) {
  const TPosixPattern posix =
      ParsePosix(pattern, parser.Rules.Syntax, parser.IgnoreCase || parser.Rules.FoldCase, parser.Rules.LineFeed);
  try {
    LowerPosix(posix, *parser.ParseTree);
  } catch (const ERegExpParser& e) {
    throw ERegExpParser(e.Message(), static_cast<std::uint16_t>(pattern.size() + 1));
  }
}

}  // namespace

TRegularExpression::TRegularExpression() : TRegularExpression(kDefaultLineHeadCode, kDefaultLineTailCode) {}

TRegularExpression::TRegularExpression(TCharCode lineHeadCode, TCharCode lineTailCode) {
  PatternCache.push_back(TCacheEntry{std::string(), nullptr, TPatternRules()});
  CacheIndex = 0;
  CompileWith(PatternCache[0].Pattern, lineHeadCode, lineTailCode);
}

TRegularExpression::~TRegularExpression() = default;

void TRegularExpression::Compile(const std::string& pattern) {
  CompileWith(pattern, kDefaultLineHeadCode, kDefaultLineTailCode);
}

void TRegularExpression::CompileWith(const std::string& pattern, TCharCode lineHeadCode, TCharCode lineTailCode) {
  const auto entry = static_cast<std::size_t>(CacheIndex);
  // Plain text is read by the engine's own syntax; GNU's languages give
  // other characters a meaning and fold more letters, so they always parse.
  std::optional<TPlainText> plain;
  if (PatternCache[entry].Rules.Syntax == synEngine) plain = ReadPlainText(pattern, FAcceptDBMeta, FIgnoreCase);
  if (plain) {
    LineHeadCode = lineHeadCode;
    LineTailCode = lineTailCode;
    auto dfa = std::make_unique<TDFA>(nullptr, FAcceptDBMeta, FIgnoreCase);
    dfa->BuildChain(plain->Chain);
    dfa->Required = dfa->RequiredPrefix = plain->Bytes;
    dfa->RequiredFoldsCase = dfa->RequiredPrefixFoldsCase = plain->FoldsCase;
    // The one string is the cheapest set there is.
    dfa->RequiredSet.Cost = kNoStringCost;
    PatternCache[entry].DFA = std::move(dfa);
    return;
  }
  try {
    TRegExpParser parser(pattern, FAcceptDBMeta);
    parser.IgnoreCase = FIgnoreCase;
    parser.Rules = PatternCache[entry].Rules;
    if (parser.Rules.Syntax == synEngine)
      parser.Parse();
    else
      CompilePosix(pattern, parser);
    LineHeadCode = lineHeadCode;
    LineTailCode = lineTailCode;
    // A chain (a fixed string above all) is built directly: its length is
    // its only limit.  Everything else goes through the NFA.
    const std::optional<TChain> chain = FindChain(parser.ParseTree->TopNode, lineHeadCode, lineTailCode);
    TNFA nfa(&parser);
    if (chain) {
      PatternCache[entry].DFA = std::make_unique<TDFA>(nullptr, FAcceptDBMeta, FIgnoreCase);
      PatternCache[entry].DFA->BuildChain(*chain);
    } else {
      nfa.LineHeadCode = lineHeadCode;
      nfa.LineTailCode = lineTailCode;
      nfa.Build();
      PatternCache[entry].DFA = std::make_unique<TDFA>(&nfa, FAcceptDBMeta, FIgnoreCase);
      PatternCache[entry].DFA->Build();
    }
    const TRequiredBytes required = FindRequiredBytes(parser.ParseTree->TopNode);
    PatternCache[entry].DFA->Required = required.Bytes;
    PatternCache[entry].DFA->RequiredFoldsCase = required.FoldsCase;
    const TRequiredBytes prefix = FindRequiredPrefix(parser.ParseTree->TopNode);
    PatternCache[entry].DFA->RequiredPrefix = prefix.Bytes;
    PatternCache[entry].DFA->RequiredPrefixFoldsCase = prefix.FoldsCase;
    PatternCache[entry].DFA->RequiredSet = FindRequiredSet(parser.ParseTree->TopNode);
    PatternCache[entry].DFA->NFA = nullptr;
  } catch (...) {
    PatternCache.erase(PatternCache.begin() + static_cast<std::ptrdiff_t>(entry));
    CacheIndex = 0;
    throw;
  }
}

void TRegularExpression::SetPattern(const std::string& pattern) {
  CacheIndex = -1;
  for (std::size_t i = 0; i < PatternCache.size(); ++i) {
    if (SameTextIgnoringCase(PatternCache[i].Pattern, pattern)) {
      CacheIndex = static_cast<int>(i);
      break;
    }
  }
  if (CacheIndex >= 0) {
    const TCacheEntry& found = PatternCache[static_cast<std::size_t>(CacheIndex)];
    if (found.Pattern == pattern && found.DFA->AcceptDBMeta == FAcceptDBMeta && found.DFA->IgnoreCase == FIgnoreCase &&
        found.Rules == FRules)
      return;
  }
  if (static_cast<int>(PatternCache.size()) >= CacheSize) PatternCache.pop_back();
  PatternCache.insert(PatternCache.begin() + 1, TCacheEntry{pattern, nullptr, FRules});
  CacheIndex = 1;
  Compile(PatternCache[1].Pattern);
}

std::string TRegularExpression::GetPattern() const {
  return PatternCache[static_cast<std::size_t>(CacheIndex)].Pattern;
}

void TRegularExpression::SetAcceptDBMeta(bool value) {
  if (value == FAcceptDBMeta) return;
  FAcceptDBMeta = value;
  SetPattern(GetPattern());
}

void TRegularExpression::SetIgnoreCase(bool value) {
  if (value == FIgnoreCase) return;
  FIgnoreCase = value;
  SetPattern(GetPattern());
}

void TRegularExpression::SetRules(const TPatternRules& rules) {
  if (rules == FRules) return;
  FRules = rules;
  SetPattern(GetPattern());
}

TDFAState* TRegularExpression::NextState(const TDFAState* state, TCharCode code) {
  for (const TDFATransition& t : state->Transitions) {
    if (code < t.Low) return nullptr;
    if (code <= t.High) return t.Target;
  }
  return nullptr;
}

// The end of the subject is not a character: no transition is taken there,
// so a transition on the code 0 (which only an escape can write) applies to a
// zero byte inside the subject and never loops at its end.
int TRegularExpression::MatchFrom(const std::string& s, int startPos, const TDFAState* state, int& pos,
                                  int& len) const {
  pos = 0;
  len = 0;
  int cursor = startPos;
  const TDFAState* prev = state;
  TCharCode c = 0;
  bool atEnd = false;
  while (state != nullptr) {
    if (state->Accepting != 0) {
      pos = startPos;
      len = cursor - startPos;
    }
    atEnd = cursor > static_cast<int>(s.size());
    const int before = cursor;
    c = NextChar(s, cursor);
    prev = state;
    state = atEnd ? nullptr : NextState(state, c);
    // A line-tail anchor holds before this line feed even when the run goes
    // on over it (the check after the loop sees only where the run ends).
    if (state != nullptr && c == '\n' && LineTailCode != '\n' && NextState(prev, LineTailCode) != nullptr) {
      pos = startPos;
      len = before - startPos;
    }
  }
  const bool lineFeed = !atEnd && c == '\n';
  if ((lineFeed || atEnd) && NextState(prev, LineTailCode) != nullptr) {
    pos = startPos;
    len = cursor - startPos - (lineFeed ? 1 : 0);
  }
  return pos;
}

int TRegularExpression::Match(const std::string& s, int& pos, int& len) const {
  const TDFA* dfa = CurrentDFA();
  if (dfa->BeginAnchored) {
    const TDFAState* head = NextState(dfa->Start, LineHeadCode);
    if (head != nullptr && MatchFrom(s, 1, head, pos, len) != 0) {
      const int anchoredLen = len;
      int plainPos = 0;
      int plainLen = 0;
      MatchFrom(s, 1, dfa->Start, plainPos, plainLen);
      pos = 1;
      len = plainPos != 1 ? anchoredLen : std::max(plainLen, anchoredLen);
      return 1;
    }
  }
  return FindMatch(s, pos, len);
}

int TRegularExpression::FindMatch(const std::string& s, int& pos, int& len) const {
  const TDFA* dfa = CurrentDFA();
  // Only where the bytes every match begins with stand can a start succeed.
  // Anchored patterns and a subject whose lone last byte must raise its
  // error where the character scan reads it take every start.
  bool foldCase = false;
  const std::string prefix =
      dfa->BeginAnchored || dfa->EndAnchored ? std::string() : TPrefixStarts::MatchPrefix(*dfa, foldCase);
  if (!prefix.empty() && !EndsInLoneLeadByte(s)) {
    TPrefixStarts starts(s, prefix, foldCase);
    for (std::size_t at = starts.Next(); at != TPrefixStarts::npos; at = starts.Next()) {
      if (MatchFrom(s, static_cast<int>(at) + 1, dfa->Start, pos, len) != 0) return pos;
    }
    pos = 0;
    len = 0;
    return 0;
  }
  const int length = static_cast<int>(s.size());
  int i = 1;
  TCharCode c = CodeAt(s, i);
  for (;;) {
    if (MatchFrom(s, i, dfa->Start, pos, len) != 0) return pos;
    if (c == '\n' && dfa->BeginAnchored) {
      int j = i;
      NextChar(s, j);
      const TDFAState* head = NextState(dfa->Start, LineHeadCode);
      if (head != nullptr && MatchFrom(s, j, head, pos, len) != 0) {
        const int anchoredPos = pos;
        const int anchoredLen = len;
        int plainPos = 0;
        int plainLen = 0;
        MatchFrom(s, j, dfa->Start, plainPos, plainLen);
        pos = anchoredPos;
        len = plainPos != anchoredPos ? anchoredLen : std::max(plainLen, anchoredLen);
        return anchoredPos;
      }
    }
    NextChar(s, i);
    if (i > length) {
      if (dfa->EndAnchored && NextState(dfa->Start, LineTailCode) != nullptr) {
        pos = i;
        len = 0;
        return i;
      }
      pos = 0;
      len = 0;
      return 0;
    }
    c = CodeAt(s, i);
  }
}

TCharCode TRegularExpression::CodeAt(const std::string& s, int p) {
  if (p < 1 || p > static_cast<int>(s.size())) return 0;
  const auto b = static_cast<unsigned char>(s[static_cast<std::size_t>(p - 1)]);
  if (b == 0) return 0;
  if (!IsDBCSLeadByte(b)) return b;
  const auto trail = p < static_cast<int>(s.size()) ? static_cast<unsigned char>(s[static_cast<std::size_t>(p)]) : 0;
  return static_cast<TCharCode>(b << 8 | trail);
}

int TRegularExpression::StringToCodes(const std::string& s, std::vector<TCharCode>& codes) {
  codes.clear();
  int position = 1;
  for (TCharCode c = NextChar(s, position); c != 0; c = NextChar(s, position)) codes.push_back(c);
  const int count = static_cast<int>(codes.size());
  codes.push_back(0);
  return count;
}
