// Matching with the regular-expression component: leftmost start, longest
// match there, anchors at line starts and ends, double-byte characters as
// units.  A reference matcher on random pattern trees checks random subjects;
// a table holds what random patterns do not reach (raw bytes that split
// characters, long runs of lead bytes, lone lead bytes at the end).
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "regexp/regexp.h"
#include "sjis/exceptions.h"
#include "support/sjis_literals.h"

namespace {

struct Found {
  int pos;
  int len;
  bool operator==(const Found& other) const = default;
};

void PrintTo(const Found& f, std::ostream* os) { *os << "(pos " << f.pos << ", len " << f.len << ")"; }

Found MatchNow(const TRegularExpression& re, const std::string& subject) {
  int pos = -1;
  int len = -1;
  EXPECT_EQ(re.Match(subject, pos, len), pos) << "the result is Pos";
  return {pos, len};
}

constexpr Found kNone{0, 0};
constexpr Found kRaised{-1, 4};  // a lone lead byte at 4 raised

std::string Z(const char* bytes, std::size_t n) { return std::string(bytes, n); }

}  // namespace

TEST(Matching, Table) {
  struct TCase {
    std::string Pattern;
    std::string Subject;
    Found Want;
    bool IgnoreCase = false;
    bool DbMeta = false;
  };
  std::string kanjiRun;  // "亜" is 0x88 0x9F: both bytes could be lead bytes
  for (int i = 0; i < 40; ++i) kanjiRun += S("亜");
  const std::vector<TCase> cases = {
      {"", "", {1, 0}},
      {"[\\]a]+", "x]a]", {2, 3}},
      // Double-byte characters are units; a match never starts on a trail
      // byte ("表" ends in 0x5C), also in runs of lead bytes.
      {"\\x82A0", S("xあ"), {2, 2}},
      {S("ｱ"), S("あｱ"), {3, 1}},
      {"\x9F\x88", kanjiRun, kNone},
      {"\x9F\x88", kanjiRun + "\x9F\x88", {81, 2}},
      {"\xA0" + S("い"), S("あい"), kNone},
      {"\\\\", S("表"), kNone},
      // Case folds no full-width letters.
      {S("ａ"), S("Ａ"), kNone, true},
      // The period takes the last double-byte code; a range into the codes
      // that stand for the anchors stops short of them.
      {".", "\xFC\xFC", {1, 2}},
      {"[\\xFFFC-\\xFFFF]a|a[\\xFFFC-\\xFFFF]", "a\nb", kNone},
      // A zero byte in the pattern is a character.
      {Z("a\0b", 3), Z("xa\0b", 4), {2, 3}},
      {Z("a\0b", 3), "ab", kNone},
      {Z("\0[", 2) + S("あ]"), Z("\0", 1) + S("あ"), {1, 3}},
      // A scan that stops before a lone lead byte at the end does not read
      // it; one that reads it raises, also when a match ends just before it
      // (the scan reads one character past a match).
      {"", "abc\x82", {1, 0}},
      {"a", "abc\x82", {1, 1}},
      {"x", "abc\x82", kRaised},
      {"c", "abc\x82", kRaised},
      {"bc*", "abc\x82", kRaised},
  };
  for (const TCase& c : cases) {
    TAWKStr re;
    re.SetIgnoreCase(c.IgnoreCase);
    re.SetAcceptDBMeta(c.DbMeta);
    re.SetPattern(c.Pattern);
    try {
      EXPECT_EQ(MatchNow(re, c.Subject), c.Want) << Hex(c.Pattern) << " on " << Hex(c.Subject);
    } catch (const ERegExpParser& e) {
      EXPECT_EQ((Found{-1, e.Position}), c.Want) << Hex(c.Pattern) << " on " << Hex(c.Subject);
      EXPECT_EQ(e.Message(), expected::kBadDoubleByte);
    }
  }
  EXPECT_EQ(MatchNow(TAWKStr(), "xyz"), (Found{1, 0})) << "the pattern compiled at creation";
}

// Comparison with a reference matcher.  Random pattern trees are written as
// pattern text in every way the syntax allows, compiled and matched against
// random subjects.  The reference evaluates the tree itself: the positions
// each node can reach from a set of positions.  A caret that nothing precedes
// on its path is a line-start test and a dollar that nothing follows a
// line-end test (such anchors make the automaton anchored); every other
// anchor is a character.

namespace {

struct RNode;
using RPtr = std::shared_ptr<RNode>;

// Op: 'c' character, '.', '[' class, '^', '$', '&' concatenation, '|', '*',
// '+', '?', 'e' empty group.
struct RNode {
  char op = 'e';
  TCharCode code = 0;  // a character; the written character of an anchor
  bool negated = false;
  std::vector<std::pair<TCharCode, TCharCode>> items;
  RPtr a, b;
};

constexpr TCharCode kFullCaret = 0x814F;  // ＾
// Letters and the codes either side of them (case folds letters only), the
// line ends, the zero byte and the controls at the edges of the period's
// ranges, double-byte characters.
const std::vector<TCharCode> kAlphabet = {'a',  'b',  'A',  'Z',    'z',    '@',    '[',    '`',
                                          '{',  '^',  '$',  '\n',   '\r',   0,      1,      9,
                                          0x0B, 0x0C, 0x0E, 0x82A0, 0x82A2, 0x8261, 0x955C, kFullCaret};

bool IsLetter(TCharCode c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool InPeriod(TCharCode c) { return c >= 1 && c <= 0xFCFC && c != '\n' && c != '\r'; }
TCharCode Pick(std::mt19937& rng) { return kAlphabet[rng() % kAlphabet.size()]; }

RPtr RandomTree(std::mt19937& rng, int depth, bool dbMeta) {
  auto n = std::make_shared<RNode>();
  const int choice = static_cast<int>(depth <= 0 ? rng() % 5 : rng() % 12);
  n->op = "cc.^$&&&||+?"[choice];
  if (n->op == 'c') n->code = Pick(rng);
  if (n->op == '.' && rng() % 3 != 0) {
    n->op = '[';
    n->negated = rng() % 3 == 0;
    for (int i = 0, items = 1 + static_cast<int>(rng() % 3); i < items; ++i) {
      const TCharCode lo = Pick(rng);
      const TCharCode hi = rng() % 2 == 0 ? lo : Pick(rng);
      n->items.push_back({std::min(lo, hi), std::max(lo, hi)});
    }
  }
  if (n->op == '$' && rng() % 4 == 0) n->op = 'e';
  if (n->op == '+' && rng() % 2 == 0) n->op = '*';
  if (n->op == '^' || n->op == '$')
    n->code = dbMeta && rng() % 2 == 0 ? (n->op == '^' ? kFullCaret : 0x8190 /* ＄ */) : n->op;
  if (std::string("&|*+?").find(n->op) != std::string::npos) n->a = RandomTree(rng, depth - 1, dbMeta);
  if (n->op == '&' || n->op == '|') n->b = RandomTree(rng, depth - 1, dbMeta);
  return n;
}

class PatternWriter {
 public:
  PatternWriter(std::mt19937& rng, bool dbMeta) : rng_(rng), meta_(dbMeta) {}

  std::string Write(const RNode& n) {
    if (n.op == 'c') return Char(n.code);
    if (n.op == '.') return Meta(".", "．");
    if (n.op == 'e') return Meta("(", "（") + Meta(")", "）");
    if (n.op == '^' || n.op == '$') return n.code < 0x80 ? std::string(1, n.op) : S(n.op == '^' ? "＾" : "＄");
    if (n.op == '&') return Group(*n.a, n.a->op == '|') + Group(*n.b, n.b->op == '|' || n.b->op == '&');
    if (n.op == '|') return Write(*n.a) + Meta("|", "｜") + Group(*n.b, n.b->op == '|');
    if (n.op == '[') {
      std::string out = Meta("[", "［") + (n.negated ? Meta("^", "＾") : "");
      for (const auto& [lo, hi] : n.items) out += Char(lo) + (hi != lo ? Meta("-", "－") + Char(hi) : "");
      return out + Meta("]", "］");
    }
    const char op[] = {n.op, 0};  // a postfix operator
    return Group(*n.a, !Atomic(*n.a)) + Meta(op, n.op == '*' ? "＊" : n.op == '+' ? "＋" : "？");
  }

 private:
  static bool Atomic(const RNode& n) { return std::string("&|*+?").find(n.op) == std::string::npos; }
  std::string Group(const RNode& n, bool paren) {
    return paren ? Meta("(", "（") + Write(n) + Meta(")", "）") : Write(n);
  }
  std::string Meta(const char* ascii, const char* wide) { return meta_ && rng_() % 2 == 0 ? S(wide) : ascii; }
  std::string Escape() { return meta_ && rng_() % 3 == 0 ? S("￥") : "\\"; }
  std::string Char(TCharCode c) {
    if (rng_() % 5 == 0) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "x%04X", c);
      return Escape() + buf;
    }
    if (IsLetter(c)) return std::string(1, static_cast<char>(c));
    if (c == '\n' || c == '\r' || c == 0) return Escape() + (c == '\n' ? "n" : c == '\r' ? "r" : "0");
    if (c < 0x80) return Escape() + static_cast<char>(c);
    const std::string bytes{static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    // The full-width caret is escaped where it counts as a metacharacter
    // (between brackets too, where it could negate the class).
    return meta_ && c == kFullCaret ? Escape() + bytes : bytes;
  }

  std::mt19937& rng_;
  bool meta_;
};

class RefMatcher {
 public:
  using Set = std::set<int>;  // byte offsets

  RefMatcher(const std::string& s, bool ignoreCase, TPatternRules rules = {})
      : s_(s), fold_(ignoreCase), rules_(rules) {}

  Found Match(const RNode& root) const {
    for (int i = 0; i <= Length(); i += Width(i)) {
      const Set ends = Ends(root, {i}, true, true);
      if (!ends.empty()) return {i + 1, *ends.rbegin() - i};
    }
    return kNone;
  }

 private:
  int Length() const { return static_cast<int>(s_.size()); }
  unsigned char Byte(int p) const { return static_cast<unsigned char>(s_[static_cast<std::size_t>(p)]); }
  int Width(int p) const {
    return p < Length() && ((Byte(p) >= 0x81 && Byte(p) <= 0x9F) || (Byte(p) >= 0xE0 && Byte(p) <= 0xFC)) ? 2 : 1;
  }
  TCharCode CodeAt(int p) const { return Width(p) == 2 ? static_cast<TCharCode>(Byte(p) << 8 | Byte(p + 1)) : Byte(p); }

  bool AnyChar(TCharCode c) const { return rules_.LineFeed == lfOrdinary ? c >= 1 && c <= 0xFCFC : InPeriod(c); }
  bool InItems(const RNode& n, TCharCode c) const {
    for (const auto& [lo, hi] : n.items)
      if (lo <= c && c <= hi) return true;
    return false;
  }
  bool Member(const RNode& n, TCharCode c) const {
    if (rules_.LineFeed == lfNever && c == '\n') return false;
    return InItems(n, c) || (fold_ && rules_.FoldInBrackets && IsLetter(c) && InItems(n, c ^ 0x20));
  }

  bool Admits(const RNode& n, TCharCode c) const {
    if (n.op == '.') return AnyChar(c);
    if (n.op == '[') return n.negated ? AnyChar(c) && !Member(n, c) : Member(n, c);
    if (fold_ && n.op == 'c' && IsLetter(c) && IsLetter(n.code)) return (c | 0x20) == (n.code | 0x20);
    return c == n.code;
  }

  // Where n can end when it starts at any of from; first: nothing precedes
  // n on its path, last: nothing follows it.
  Set Ends(const RNode& n, const Set& from, bool first, bool last) const {
    if (n.op == '&') return Ends(*n.b, Ends(*n.a, from, first, false), false, last);
    if (n.op == '*' || n.op == '+') return Star(*n.a, n.op == '*' ? from : Ends(*n.a, from, first, false));
    if (n.op == 'e') return from;
    Set out;
    if (n.op == '|' || n.op == '?') {
      out = Ends(*n.a, from, first, last);
      const Set more = n.op == '|' ? Ends(*n.b, from, first, last) : from;
      out.insert(more.begin(), more.end());
      return out;
    }
    for (const int p : from) {
      if (n.op == '^' && first) {
        if (p == 0 || Byte(p - 1) == '\n') out.insert(p);
      } else if (n.op == '$' && last) {
        if (p == Length() || Byte(p) == '\n') out.insert(p);
      } else if (p < Length() && Admits(n, CodeAt(p))) {
        out.insert(p + Width(p));
      }
    }
    return out;
  }

  Set Star(const RNode& body, Set reached) const {
    Set frontier = reached;
    while (!frontier.empty()) {
      const Set ends = Ends(body, frontier, false, false);
      frontier.clear();
      for (const int p : ends)
        if (reached.insert(p).second) frontier.insert(p);
    }
    return reached;
  }

  const std::string& s_;
  bool fold_;
  TPatternRules rules_;
};

// Whether the tree names the line feed: as a character, or as an end of a
// class's range.
bool NamesLineFeed(const RNode& n) {
  if (n.op == 'c' && n.code == '\n') return true;
  for (const auto& [lo, hi] : n.items)
    if (lo == '\n' || hi == '\n') return true;
  return (n.a && NamesLineFeed(*n.a)) || (n.b && NamesLineFeed(*n.b));
}

// Whether a caret (op '^') or a dollar ('$') of the tree anchors.
bool Anchors(const RNode& n, char op, bool first = true, bool last = true) {
  if (n.op == '&') return Anchors(*n.a, op, first, false) || Anchors(*n.b, op, false, last);
  if (n.op == '|') return Anchors(*n.a, op, first, last) || Anchors(*n.b, op, first, last);
  if (n.op == '?' || n.op == '+') return Anchors(*n.a, op, first, last && n.op == '?');
  return n.op == op && (op == '^' ? first : last);
}

std::string RandomSubject(std::mt19937& rng) {
  std::string s;
  for (int i = 0, n = static_cast<int>(rng() % 9); i < n; ++i) {
    const TCharCode c = Pick(rng);
    if (c > 0xFF) s.push_back(static_cast<char>(c >> 8));
    s.push_back(static_cast<char>(c & 0xFF));
  }
  return s;
}

}  // namespace

TEST(MatchingReference, RandomPatternsAgreeWithTheReferenceMatcher) {
  std::mt19937 rng(1234);
  TAWKStr re;
  int matched = 0;
  int total = 0;
  int refused = 0;
  for (int round = 0; round < 4000; ++round) {
    const bool ignoreCase = rng() % 4 == 0;
    const bool dbMeta = rng() % 3 == 0;
    const TPatternRules rules{rng() % 2 == 0, static_cast<TLineFeedRule>(rng() % 3)};
    const RPtr tree = RandomTree(rng, 1 + static_cast<int>(rng() % 4), dbMeta);
    const std::string pattern = PatternWriter(rng, dbMeta).Write(*tree);
    // The flag setters recompile the current pattern: make it one that is
    // valid under any flags first.
    re.SetPattern("");
    re.SetIgnoreCase(ignoreCase);
    re.SetAcceptDBMeta(dbMeta);
    re.SetRules(rules);
    if (rules.LineFeed == lfNever && NamesLineFeed(*tree)) {
      try {
        re.SetPattern(pattern);
        ADD_FAILURE() << Hex(pattern) << ": a line feed accepted";
      } catch (const ERegExpParser& e) {
        EXPECT_EQ(e.Message(), expected::kLineFeed) << Hex(pattern);
      }
      ++refused;
      continue;
    }
    ASSERT_NO_THROW(re.SetPattern(pattern)) << Hex(pattern);
    ASSERT_EQ(re.CurrentDFA()->BeginAnchored, Anchors(*tree, '^')) << Hex(pattern);
    ASSERT_EQ(re.CurrentDFA()->EndAnchored, Anchors(*tree, '$')) << Hex(pattern);
    for (int k = 0; k < 25; ++k, ++total) {
      const std::string subject = RandomSubject(rng);
      const Found want = RefMatcher(subject, ignoreCase, rules).Match(*tree);
      matched += want.pos != 0;
      ASSERT_EQ(MatchNow(re, subject), want)
          << "pattern " << Hex(pattern) << (ignoreCase ? " (ignoring case)" : "") << " (rules " << rules.FoldInBrackets
          << static_cast<int>(rules.LineFeed) << ")" << (dbMeta ? " (full-width metacharacters)" : "") << " on "
          << Hex(subject);
    }
  }
  // The comparison is worth something only if both outcomes are common.
  EXPECT_GT(matched, total / 5);
  EXPECT_LT(matched, total * 4 / 5);
  EXPECT_GT(refused, 40);
}
