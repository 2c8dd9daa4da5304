// Matching with the regular-expression component: leftmost start, longest
// match there, anchors at line starts and ends, double-byte characters as
// units.  A table holds the cases that each name a fault; a reference matcher
// checks random patterns against random subjects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "exceptions.h"
#include "regexp.h"
#include "sjis_literals.h"

namespace {

struct Found {
  int pos;
  int len;
  bool operator==(const Found& other) const { return pos == other.pos && len == other.len; }
};

void PrintTo(const Found& f, std::ostream* os) { *os << "(pos " << f.pos << ", len " << f.len << ")"; }

Found MatchNow(const TRegularExpression& re, const std::string& subject) {
  int pos = -1;
  int len = -1;
  const int result = re.Match(subject, pos, len);
  EXPECT_EQ(result, pos) << "the result is Pos";
  return {pos, len};
}

constexpr Found kNone{0, 0};

struct TCase {
  std::string Pattern;
  std::string Subject;
  Found Want;
  bool IgnoreCase = false;
  bool DbMeta = false;
};

std::string Z(const char* bytes, std::size_t n) { return std::string(bytes, n); }

}  // namespace

TEST(Matching, Table) {
  std::string kanjiRun;  // "亜" is 0x88 0x9F: both bytes could be lead bytes
  for (int i = 0; i < 40; ++i) kanjiRun += S("亜");
  const std::vector<TCase> cases = {
      // Leftmost start, longest match there.
      {"", "", {1, 0}},
      {"", S("あ"), {1, 0}},
      {"a*", "bbb", {1, 0}},
      {"a*", "aab", {1, 2}},
      {"a+", "bbaa", {3, 2}},
      {"abc", "xxabcabc", {3, 3}},
      {"a|ab", "ab", {1, 2}},
      {"ab|a", "ab", {1, 2}},
      {"a(b|bc)d?", "xabcd", {2, 4}},
      {"abc", "ab", kNone},
      {"(ab)*c", "ababab", kNone},
      {"(ab)*c", "xababc", {2, 5}},
      // The period and classes never take a line end.
      {"a.c", "a\nc", kNone},
      {".", "\r", kNone},
      {".", "\r\nx", {3, 1}},
      {"[^x]", "\r\n", kNone},
      {"\\r", "\r", {1, 1}},
      {"[a-c]+", "xxbcaz", {3, 3}},
      {"[^a-c]+", "abxyc", {3, 2}},
      {"[\\]a]+", "x]a]", {2, 3}},
      // Double-byte characters are units.
      {S("あ"), S("xあ"), {2, 2}},
      {"a.c", S("aあc"), {1, 4}},
      {".", S("あ"), {1, 2}},
      {S("[あ-う]"), S("xい"), {2, 2}},
      {S("[^あ]"), S("あい"), {3, 2}},
      {S("い+"), S("あいいう"), {3, 4}},
      {"\\x82A0", S("xあ"), {2, 2}},
      {S("ｱ"), S("あｱ"), {3, 1}},
      // A match never starts on a trail byte ("Ｂ" is 0x82 0x61, "表" ends in 0x5C).
      {"a", S("Ｂ"), kNone},
      {"a", S("Ｂa"), {3, 1}},
      {"ab", S("Ｂb"), kNone},
      {"ab", S("ＢbＢab"), {6, 2}},
      {"a[bc]", S("Ｂb") + "ac", {4, 2}},
      {"\x9F\x88", kanjiRun, kNone},
      {"\x9F\x88", kanjiRun + "\x9F\x88", {81, 2}},
      {S("aＢ"), S("ＢＢ"), kNone},
      {"\xA0" + S("い"), S("あい"), kNone},
      {"\\\\", S("表"), kNone},
      {S("表"), S("a表"), {2, 2}},
      // Case folds ordinary letters only.
      {"abc", "xaBc", {2, 3}, true},
      {"ABC", "abc", {1, 3}, true},
      {"\\x41", "a", {1, 1}, true},
      {"[a-c]", "B", kNone, true},
      {"abc", "ABC", kNone},
      {S("ａ"), S("Ａ"), kNone, true},
      {S("ａ"), S("ａ"), {1, 2}, true},
      // The caret at line starts.
      {"^ab", "xx\nabc", {4, 2}},
      {"^ab", "xab", kNone},
      {"^ab", "abab", {1, 2}},
      {"^b", "a\nb\nb", {3, 1}},
      {"^b", "a\r\nb", {4, 1}},
      {"^", "", {1, 0}},
      {"^x", "a\n", kNone},
      {"x|^", "ab\n", {1, 0}},
      {"^ab|a", "ab", {1, 2}},
      {"^a|ab", "ab", {1, 2}},
      {"^a|ab", "x\nab", {3, 2}},
      {"^ab|b", "x\nab", {3, 2}},
      {"^a|b", "xba", {2, 1}},
      {"^a|\\n", "x\na", {2, 1}},
      // The dollar at line ends.
      {"ab$", "ab\ncd", {1, 2}},
      {"$", "abc", {4, 0}},
      {"$", "", {1, 0}},
      {"$", "ab\ncd", {3, 0}},
      {"ab$", "ab\r\n", kNone},
      {"b*$", "abb", {2, 2}},
      {"ab*$", "xabb\n", {2, 3}},
      {"^$", "ab\n\ncd", {4, 0}},
      {"^$", "abc", kNone},
      {"^$", "ab\n", {4, 0}},
      {"^$", "\nab", {1, 0}},
      {"a$|a\\nb", "a\nc", {1, 1}},
      {"a$|a\\nb", "a\nb", {1, 3}},
      {"a(\\n|$)", "a\nx", {1, 2}},
      // Anchors elsewhere match themselves, on every path.
      {"a^", "a^", {1, 2}},
      {"a^", "a", kNone},
      {"(^a)*", "^a^ab", {1, 4}},
      {"a$b", "a$b", {1, 3}},
      {"^+", "^^x", {1, 2}},
      {"^+", "x^", {1, 0}},
      {S("a＾"), S("a＾"), {1, 3}, false, true},
      {S("＾a"), S("x\na"), {3, 1}, false, true},
      {"x^a|x.b", "x^a", {1, 3}},
      {"x^a|x.b", "x^b", {1, 3}},
      {"x^a|x.b", "xza", kNone},
      {"a$b|a[\\x20-\\x30]c", "a$c", {1, 3}},
      {"a$b|a[\\x20-\\x30]c", "a$b", {1, 3}},
      // The zero code: an escaped zero matches a zero byte inside the
      // subject, which is no line end; in the pattern it is a character.
      {"a\\0", "a", kNone},
      {"a\\0b", Z("xa\0b", 4), {2, 3}},
      {"a\\0*", "a", {1, 1}},
      {"a\\0*", Z("a\0\0b", 4), {1, 3}},
      {"\\0", Z("ab\0", 3), {3, 1}},
      {"\\0*$", "", {1, 0}},
      {"a$", Z("a\0", 2), kNone},
      {"a$", Z("a\0a", 3), {3, 1}},
      {".", Z("\0a", 2), {2, 1}},
      {"^a", Z("\0a", 2), kNone},
      {Z("a\0b", 3), Z("xa\0b", 4), {2, 3}},
      {Z("a\0b", 3), "ab", kNone},
      {Z("\0[", 2) + S("あ]"), Z("\0", 1) + S("あ"), {1, 3}},
      // A scan that stops before a lone lead byte at the end does not read it.
      {"", "abc\x82", {1, 0}},
      {"a", "abc\x82", {1, 1}},
  };
  for (const TCase& c : cases) {
    TAWKStr re;
    re.SetIgnoreCase(c.IgnoreCase);
    re.SetAcceptDBMeta(c.DbMeta);
    re.SetPattern(c.Pattern);
    EXPECT_EQ(MatchNow(re, c.Subject), c.Want) << Hex(c.Pattern) << " on " << Hex(c.Subject);
  }
  TAWKStr fresh;
  EXPECT_EQ(MatchNow(fresh, "xyz"), (Found{1, 0})) << "the pattern compiled at creation";
}

TEST(Matching, LoneLeadByteAtTheEndOfTheSubjectIsAnError) {
  // Raised when the scan reads the lone byte: also when a match ends just
  // before it, because the scan reads one character past a match.
  for (const char* pattern : {"x", "abc", "c", "bc*"}) {
    TAWKStr re;
    re.SetPattern(pattern);
    try {
      MatchNow(re, "abc\x82");
      ADD_FAILURE() << pattern << ": no error";
    } catch (const ERegExpParser& e) {
      EXPECT_EQ(e.Message(), expected::kBadDoubleByte) << pattern;
      EXPECT_EQ(e.Position, 4) << pattern;
    }
  }
}

// The operations the line scans build on.
TEST(Matching, Parts) {
  TAWKStr re;
  re.SetPattern("ab*");
  int pos = -1;
  int len = -1;
  EXPECT_EQ(re.MatchFrom("xxabbbc", 3, re.StartState(), pos, len), 3);
  EXPECT_EQ(len, 4);
  EXPECT_EQ(re.MatchFrom("xxabbbc", 2, re.StartState(), pos, len), 0);
  EXPECT_EQ(len, 0);
  re.SetPattern("b*");
  EXPECT_EQ(re.MatchFrom("abb", 4, re.StartState(), pos, len), 4) << "an empty match at the end";
  re.SetPattern("[b-d]x|[m-p]y|z");
  const TDFAState* start = re.StartState();
  for (const TCharCode c : {TCharCode{'a'}, TCharCode{'e'}, TCharCode{'q'}, TCharCode{0xFFFF}})
    EXPECT_EQ(TRegularExpression::NextState(start, c), nullptr) << c;
  for (const TCharCode c : {'b', 'd', 'p', 'z'}) EXPECT_NE(TRegularExpression::NextState(start, c), nullptr) << c;
  EXPECT_NE(TRegularExpression::NextState(start, 'b'), TRegularExpression::NextState(start, 'm'));
  const std::string s = S("aあ") + Z("\0b", 2);
  EXPECT_EQ(TRegularExpression::CodeAt(s, 2), Code("あ"));
  EXPECT_EQ(TRegularExpression::CodeAt(s, 4), 0);
  EXPECT_EQ(TRegularExpression::CodeAt(s, 5), 'b');
  std::vector<TCharCode> codes;
  EXPECT_EQ(TRegularExpression::StringToCodes(S("aあb"), codes), 3);
  EXPECT_EQ(codes, (std::vector<TCharCode>{'a', Code("あ"), 'b', 0}));
  EXPECT_THROW(TRegularExpression::StringToCodes("ab\x82", codes), ERegExpParser);
  re.SetPattern("^abc");
  EXPECT_TRUE(re.CurrentDFA()->IsLiteral);
  EXPECT_EQ(re.CurrentDFA()->Literal,
            "\xFF\xFD"
            "abc")
      << "the component's own line-head code";
}

// ---------------------------------------------------------------------------
// Comparison with a reference matcher
//
// Random patterns are built as trees, printed as pattern text (with every
// form of writing a character, with full-width metacharacters when they
// count), compiled by the component and matched against random subjects.
// The reference simulates a nondeterministic automaton of its own made from
// the same tree and searches every character boundary for the leftmost
// start with the longest match: a line-head anchor may be crossed only at a
// line start, a line-tail anchor only before a line feed or at the end.

namespace {

struct RNode;
using RPtr = std::shared_ptr<RNode>;

struct RNode {
  enum Kind { kChar, kAny, kClass, kHead, kTail, kConcat, kUnion, kStar, kPlus, kOpt, kEmpty } kind = kEmpty;
  TCharCode code = 0;  // kChar; the written character of kHead and kTail
  bool negated = false;
  std::vector<std::pair<TCharCode, TCharCode>> items;
  RPtr a, b;
};

constexpr TCharCode kFullCaret = 0x814F;   // ＾
constexpr TCharCode kFullDollar = 0x8190;  // ＄

const std::vector<TCharCode>& Alphabet() {
  static const std::vector<TCharCode> codes = {'a', 'b',        'A',        '^',        '$',        '\n',      '\r',
                                               0,   Code("あ"), Code("い"), Code("Ｂ"), Code("表"), kFullCaret};
  return codes;
}

bool IsLetter(TCharCode c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool InPeriod(TCharCode c) { return c >= 1 && c <= 0xFCFC && c != '\n' && c != '\r'; }

class PatternWriter {
 public:
  PatternWriter(std::mt19937& rng, bool dbMeta) : rng_(rng), meta_(dbMeta) {}

  std::string Write(const RNode& n) {
    switch (n.kind) {
      case RNode::kChar:
        return Char(n.code);
      case RNode::kAny:
        return Meta(".", "．");
      case RNode::kClass: {
        std::string out = Meta("[", "［");
        if (n.negated) out += Meta("^", "＾");
        for (const auto& [lo, hi] : n.items) {
          out += Char(lo);
          if (hi != lo) out += Meta("-", "－") + Char(hi);
        }
        return out + Meta("]", "］");
      }
      case RNode::kHead:
        return n.code == '^' ? "^" : S("＾");
      case RNode::kTail:
        return n.code == '$' ? "$" : S("＄");
      case RNode::kConcat:
        return Group(*n.a, n.a->kind == RNode::kUnion) +
               Group(*n.b, n.b->kind == RNode::kUnion || n.b->kind == RNode::kConcat);
      case RNode::kUnion:
        return Write(*n.a) + Meta("|", "｜") + Group(*n.b, n.b->kind == RNode::kUnion);
      case RNode::kStar:
        return Group(*n.a, !Atomic(*n.a)) + Meta("*", "＊");
      case RNode::kPlus:
        return Group(*n.a, !Atomic(*n.a)) + Meta("+", "＋");
      case RNode::kOpt:
        return Group(*n.a, !Atomic(*n.a)) + Meta("?", "？");
      case RNode::kEmpty:
        return Meta("(", "（") + Meta(")", "）");
    }
    return "";
  }

 private:
  static bool Atomic(const RNode& n) {
    return n.kind == RNode::kChar || n.kind == RNode::kAny || n.kind == RNode::kClass || n.kind == RNode::kHead ||
           n.kind == RNode::kTail || n.kind == RNode::kEmpty;
  }
  std::string Group(const RNode& n, bool parenthesize) {
    return parenthesize ? Meta("(", "（") + Write(n) + Meta(")", "）") : Write(n);
  }
  std::string Meta(const char* ascii, const char* wide) {
    return meta_ && rng_() % 2 == 0 ? S(wide) : std::string(ascii);
  }
  std::string Escape() { return meta_ && rng_() % 3 == 0 ? S("￥") : std::string("\\"); }
  std::string Char(TCharCode c) {
    if (rng_() % 5 == 0) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "x%04X", c);
      return Escape() + buf;
    }
    if (IsLetter(c)) return std::string(1, static_cast<char>(c));
    if (c == '\n') return Escape() + "n";
    if (c == '\r') return Escape() + "r";
    if (c == 0) return Escape() + "0";
    if (c < 0x80) return Escape() + std::string(1, static_cast<char>(c));
    std::string bytes;
    bytes.push_back(static_cast<char>(c >> 8));
    bytes.push_back(static_cast<char>(c & 0xFF));
    // The full-width caret needs an escape when it counts as a metacharacter
    // (between brackets too, where it could negate the class).
    if (meta_ && c == kFullCaret) return Escape() + bytes;
    return bytes;
  }

  std::mt19937& rng_;
  bool meta_;
};

RPtr RandomTree(std::mt19937& rng, int depth, bool dbMeta) {
  auto node = std::make_shared<RNode>();
  const auto& alphabet = Alphabet();
  const int choice = depth <= 0 ? static_cast<int>(rng() % 5) : static_cast<int>(rng() % 12);
  switch (choice) {
    case 0:
    case 1:
      node->kind = RNode::kChar;
      node->code = alphabet[rng() % alphabet.size()];
      break;
    case 2:
      node->kind = rng() % 3 == 0 ? RNode::kAny : RNode::kClass;
      if (node->kind == RNode::kClass) {
        node->negated = rng() % 3 == 0;
        const int items = 1 + static_cast<int>(rng() % 3);
        for (int i = 0; i < items; ++i) {
          TCharCode lo = alphabet[rng() % alphabet.size()];
          TCharCode hi = rng() % 2 == 0 ? lo : alphabet[rng() % alphabet.size()];
          if (hi < lo) std::swap(lo, hi);
          node->items.push_back({lo, hi});
        }
      }
      break;
    case 3:
      node->kind = RNode::kHead;
      node->code = dbMeta && rng() % 2 == 0 ? kFullCaret : '^';
      break;
    case 4:
      node->kind = rng() % 4 == 0 ? RNode::kEmpty : RNode::kTail;
      node->code = dbMeta && rng() % 2 == 0 ? kFullDollar : '$';
      break;
    case 5:
    case 6:
    case 7:
      node->kind = RNode::kConcat;
      break;
    case 8:
    case 9:
      node->kind = RNode::kUnion;
      break;
    case 10:
      node->kind = rng() % 2 == 0 ? RNode::kStar : RNode::kPlus;
      break;
    default:
      node->kind = RNode::kOpt;
      break;
  }
  if (node->kind >= RNode::kConcat && node->kind <= RNode::kUnion) {
    node->a = RandomTree(rng, depth - 1, dbMeta);
    node->b = RandomTree(rng, depth - 1, dbMeta);
  } else if (node->kind >= RNode::kStar && node->kind <= RNode::kOpt) {
    node->a = RandomTree(rng, depth - 1, dbMeta);
  }
  return node;
}

// The reference automaton: states with edges that are empty, a test on one
// character, or a line anchor.
class RefMatcher {
 public:
  RefMatcher(const RNode& root, bool ignoreCase) : ignoreCase_(ignoreCase) {
    NewState();
    NewState();
    Build(root, 0, 1);
  }

  Found Match(const std::string& s) const {
    const int length = static_cast<int>(s.size());
    for (int i = 1; i <= length + 1; i += Width(s, i)) {
      int best = RunFrom(s, i, false);
      if (i == 1 || s[static_cast<std::size_t>(i - 2)] == '\n') best = std::max(best, RunFrom(s, i, true));
      if (best >= 0) return {i, best};
      if (i > length) break;
    }
    return kNone;
  }

 private:
  enum EdgeKind { kEpsilon, kTest, kLineHead, kLineTail };
  struct Edge {
    EdgeKind kind;
    const RNode* node;
    int to;
  };

  int NewState() {
    edges_.emplace_back();
    return static_cast<int>(edges_.size()) - 1;
  }
  void Add(int from, int to, EdgeKind kind, const RNode* node = nullptr) {
    edges_[static_cast<std::size_t>(from)].push_back({kind, node, to});
  }
  void Build(const RNode& n, int from, int to) {
    switch (n.kind) {
      case RNode::kChar:
      case RNode::kAny:
      case RNode::kClass:
        Add(from, to, kTest, &n);
        break;
      case RNode::kHead:
        Add(from, to, from == 0 ? kLineHead : kTest, &n);
        break;
      case RNode::kTail:
        Add(from, to, to == 1 ? kLineTail : kTest, &n);
        break;
      case RNode::kConcat: {
        const int m = NewState();
        Build(*n.a, from, m);
        Build(*n.b, m, to);
        break;
      }
      case RNode::kUnion:
        Build(*n.a, from, to);
        Build(*n.b, from, to);
        break;
      case RNode::kStar:
        StarOf(*n.a, from, to);
        break;
      case RNode::kPlus: {
        const int m = NewState();
        Build(*n.a, from, m);
        StarOf(*n.a, m, to);
        break;
      }
      case RNode::kOpt:
        Build(*n.a, from, to);
        Add(from, to, kEpsilon);
        break;
      case RNode::kEmpty:
        Add(from, to, kEpsilon);
        break;
    }
  }
  void StarOf(const RNode& body, int from, int to) {
    const int a = NewState();
    const int b = NewState();
    Add(from, a, kEpsilon);
    Build(body, a, b);
    Add(b, a, kEpsilon);
    Add(a, to, kEpsilon);
  }

  bool Admits(const RNode& n, TCharCode c) const {
    switch (n.kind) {
      case RNode::kChar:
        if (ignoreCase_ && IsLetter(c) && IsLetter(n.code)) return (c | 0x20) == (n.code | 0x20);
        return c == n.code;
      case RNode::kAny:
        return InPeriod(c);
      case RNode::kClass: {
        bool member = false;
        for (const auto& [lo, hi] : n.items) member = member || (lo <= c && c <= hi);
        return n.negated ? InPeriod(c) && !member : member;
      }
      case RNode::kHead:
      case RNode::kTail:
        return c == n.code;
      default:
        return false;
    }
  }

  std::vector<bool> Closure(std::vector<bool> set) const {
    std::vector<int> todo;
    for (std::size_t i = 0; i < set.size(); ++i)
      if (set[i]) todo.push_back(static_cast<int>(i));
    while (!todo.empty()) {
      const int i = todo.back();
      todo.pop_back();
      for (const Edge& e : edges_[static_cast<std::size_t>(i)])
        if (e.kind == kEpsilon && !set[static_cast<std::size_t>(e.to)]) {
          set[static_cast<std::size_t>(e.to)] = true;
          todo.push_back(e.to);
        }
    }
    return set;
  }

  std::vector<bool> Follow(const std::vector<bool>& set, EdgeKind kind, TCharCode c) const {
    std::vector<bool> next(edges_.size(), false);
    for (std::size_t i = 0; i < set.size(); ++i) {
      if (!set[i]) continue;
      for (const Edge& e : edges_[i])
        if (e.kind == kind && (kind != kTest || Admits(*e.node, c))) next[static_cast<std::size_t>(e.to)] = true;
    }
    return Closure(next);
  }

  static bool Empty(const std::vector<bool>& set) { return std::find(set.begin(), set.end(), true) == set.end(); }

  static int Width(const std::string& s, int p) {
    if (p > static_cast<int>(s.size())) return 1;
    const auto b = static_cast<unsigned char>(s[static_cast<std::size_t>(p - 1)]);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC) ? 2 : 1;
  }

  // The longest match from position i, or -1.
  int RunFrom(const std::string& s, int i, bool anchored) const {
    std::vector<bool> start(edges_.size(), false);
    start[0] = true;
    std::vector<bool> set = Closure(start);
    if (anchored) set = Follow(set, kLineHead, 0);
    const int length = static_cast<int>(s.size());
    int best = -1;
    for (int p = i; !Empty(set);) {
      if (set[1]) best = p - i;
      const bool atEnd = p > length;
      if ((atEnd || s[static_cast<std::size_t>(p - 1)] == '\n') && !Empty(Follow(set, kLineTail, 0))) best = p - i;
      if (atEnd) break;
      const int w = Width(s, p);
      TCharCode c = static_cast<unsigned char>(s[static_cast<std::size_t>(p - 1)]);
      if (w == 2) c = static_cast<TCharCode>(c << 8 | static_cast<unsigned char>(s[static_cast<std::size_t>(p)]));
      set = Follow(set, kTest, c);
      p += w;
    }
    return best;
  }

  bool ignoreCase_;
  std::vector<std::vector<Edge>> edges_;
};

std::string RandomSubject(std::mt19937& rng) {
  const auto& alphabet = Alphabet();
  std::string s;
  const int n = static_cast<int>(rng() % 9);
  for (int i = 0; i < n; ++i) {
    const TCharCode c = alphabet[rng() % alphabet.size()];
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
  for (int round = 0; round < 4000; ++round) {
    const bool ignoreCase = rng() % 4 == 0;
    const bool dbMeta = rng() % 3 == 0;
    const RPtr tree = RandomTree(rng, 1 + static_cast<int>(rng() % 4), dbMeta);
    PatternWriter writer(rng, dbMeta);
    const std::string pattern = writer.Write(*tree);
    // The flag setters recompile the current pattern: make it one that is
    // valid under any flags first.
    re.SetPattern("");
    re.SetIgnoreCase(ignoreCase);
    re.SetAcceptDBMeta(dbMeta);
    ASSERT_NO_THROW(re.SetPattern(pattern)) << Hex(pattern);
    const RefMatcher ref(*tree, ignoreCase);
    for (int k = 0; k < 25; ++k) {
      const std::string subject = RandomSubject(rng);
      const Found want = ref.Match(subject);
      const Found got = MatchNow(re, subject);
      ++total;
      if (want.pos != 0) ++matched;
      if (!(got == want)) {
        ADD_FAILURE() << "pattern " << Hex(pattern) << (ignoreCase ? " (ignoring case)" : "")
                      << (dbMeta ? " (full-width metacharacters)" : "") << " on " << Hex(subject) << ": got "
                      << ::testing::PrintToString(got) << ", reference " << ::testing::PrintToString(want);
        return;
      }
    }
  }
  // The comparison is worth something only if both outcomes are common.
  EXPECT_GT(matched, total / 5);
  EXPECT_LT(matched, total * 4 / 5);
}
