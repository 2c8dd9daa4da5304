// Matching with the regular-expression component: leftmost start, longest
// match there, anchors at line starts and ends, double-byte characters as
// units; and a comparison with a reference matcher on random patterns.
#include <gtest/gtest.h>

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

Found MatchOf(const std::string& pattern, const std::string& subject, bool ignoreCase = false, bool dbMeta = false) {
  TAWKStr re;
  re.SetIgnoreCase(ignoreCase);
  re.SetAcceptDBMeta(dbMeta);
  re.SetPattern(pattern);
  return MatchNow(re, subject);
}

constexpr Found kNone{0, 0};

}  // namespace

// ---------------------------------------------------------------------------
// Leftmost, longest

TEST(Matching, EmptyPatternMatchesEverythingAtOne) {
  EXPECT_EQ(MatchOf("", ""), (Found{1, 0}));
  EXPECT_EQ(MatchOf("", "abc"), (Found{1, 0}));
  EXPECT_EQ(MatchOf("", S("あ")), (Found{1, 0}));
  TAWKStr fresh;
  EXPECT_EQ(MatchNow(fresh, "xyz"), (Found{1, 0})) << "the pattern compiled at creation";
}

TEST(Matching, LeftmostStartWinsEvenWithAnEmptyMatch) {
  EXPECT_EQ(MatchOf("a*", "bbb"), (Found{1, 0}));
  EXPECT_EQ(MatchOf("a*", "aab"), (Found{1, 2}));
  EXPECT_EQ(MatchOf("a+", "bbaa"), (Found{3, 2}));
}

TEST(Matching, FirstOccurrenceAndLongestAlternative) {
  EXPECT_EQ(MatchOf("abc", "xxabcabc"), (Found{3, 3}));
  EXPECT_EQ(MatchOf("a|ab", "ab"), (Found{1, 2}));
  EXPECT_EQ(MatchOf("ab|a", "ab"), (Found{1, 2}));
  EXPECT_EQ(MatchOf("a(b|bc)d?", "xabcd"), (Found{2, 4}));
  EXPECT_EQ(MatchOf("abc", "ab"), kNone);
  EXPECT_EQ(MatchOf("abc", ""), kNone);
  EXPECT_EQ(MatchOf("(ab)*c", "ababab"), kNone);
  EXPECT_EQ(MatchOf("(ab)*c", "xababc"), (Found{2, 5}));
}

TEST(Matching, PeriodAndClasses) {
  EXPECT_EQ(MatchOf("a.c", "abc"), (Found{1, 3}));
  EXPECT_EQ(MatchOf("a.c", "a\nc"), kNone);
  EXPECT_EQ(MatchOf(".", "\r"), kNone);
  EXPECT_EQ(MatchOf(".", "\r\nx"), (Found{3, 1}));
  EXPECT_EQ(MatchOf("[^x]", "\r\n"), kNone);
  EXPECT_EQ(MatchOf("\\r", "\r"), (Found{1, 1}));
  EXPECT_EQ(MatchOf("[a-c]+", "xxbcaz"), (Found{3, 3}));
  EXPECT_EQ(MatchOf("[^a-c]+", "abxyc"), (Found{3, 2}));
  EXPECT_EQ(MatchOf("[\\]a]+", "x]a]"), (Found{2, 3}));
}

// ---------------------------------------------------------------------------
// Double-byte characters

TEST(Matching, DoubleByteCharactersAreUnits) {
  EXPECT_EQ(MatchOf(S("あ"), S("xあ")), (Found{2, 2}));
  EXPECT_EQ(MatchOf("a.c", S("aあc")), (Found{1, 4}));
  EXPECT_EQ(MatchOf(".", S("あ")), (Found{1, 2}));
  EXPECT_EQ(MatchOf(S("[あ-う]"), S("xい")), (Found{2, 2}));
  EXPECT_EQ(MatchOf(S("[^あ]"), S("あい")), (Found{3, 2}));
  EXPECT_EQ(MatchOf(S("い+"), S("あいいう")), (Found{3, 4}));
  EXPECT_EQ(MatchOf("\\x82A0", S("xあ")), (Found{2, 2}));
  EXPECT_EQ(MatchOf(S("ｱ"), S("あｱ")), (Found{3, 1})) << "half-width katakana is one byte";
}

TEST(Matching, NeverStartsOnATrailByte) {
  // "Ｂ" is 0x82 0x61: its trail byte is the letter a.
  EXPECT_EQ(MatchOf("a", S("Ｂ")), kNone);
  EXPECT_EQ(MatchOf("a", S("Ｂa")), (Found{3, 1}));
  EXPECT_EQ(MatchOf("ab", S("Ｂb")), kNone);
  EXPECT_EQ(MatchOf("ab", S("ＢbＢab")), (Found{6, 2}));
  EXPECT_EQ(MatchOf("a[bc]", S("Ｂb") + "ac"), (Found{4, 2}));
  // "亜" is 0x88 0x9F: both bytes could be lead bytes, so only counting from
  // the start tells the pair 0x9F 0x88 across two of them from a character.
  std::string run;
  for (int i = 0; i < 40; ++i) run += S("亜");
  EXPECT_EQ(MatchOf("\x9F\x88", run), kNone);
  EXPECT_EQ(MatchOf("\x9F\x88", run + "\x9F\x88"), (Found{81, 2}));
  // A pattern equal to a trail byte followed by the next character's lead
  // byte never matches across two characters.
  EXPECT_EQ(MatchOf(S("aＢ"), S("ＢＢ")), kNone);
  EXPECT_EQ(MatchOf("\xA0" + S("い"), S("あい")), kNone);
  // "表" ends in 0x5C, the backslash.
  EXPECT_EQ(MatchOf("\\\\", S("表")), kNone);
  EXPECT_EQ(MatchOf(S("表"), S("a表")), (Found{2, 2}));
}

TEST(Matching, FullWidthLettersAreNotFolded) {
  EXPECT_EQ(MatchOf(S("ａ"), S("Ａ"), true), kNone);
  EXPECT_EQ(MatchOf(S("ａ"), S("ａ"), true), (Found{1, 2}));
}

TEST(Matching, LoneLeadByteAtTheEndOfTheSubjectIsAnError) {
  // Raised when the scan reads the lone byte: also when a match ends just
  // before it, because the scan reads one character past a match.
  for (const char* pattern : {"x", "abc", "c", "bc*"}) {
    try {
      MatchOf(pattern, "abc\x82");
      ADD_FAILURE() << pattern << ": no error";
    } catch (const ERegExpParser& e) {
      EXPECT_EQ(e.Message(), expected::kBadDoubleByte) << pattern;
      EXPECT_EQ(e.Position, 4) << pattern;
    }
  }
  // A scan that stops before the lone byte does not read it.
  EXPECT_EQ(MatchOf("", "abc\x82"), (Found{1, 0}));
  EXPECT_EQ(MatchOf("a", "abc\x82"), (Found{1, 1}));
}

// ---------------------------------------------------------------------------
// Case

TEST(Matching, IgnoreCaseFoldsOnlyOrdinaryLetters) {
  EXPECT_EQ(MatchOf("abc", "ABC", true), (Found{1, 3}));
  EXPECT_EQ(MatchOf("abc", "xaBc", true), (Found{2, 3}));
  EXPECT_EQ(MatchOf("ABC", "abc", true), (Found{1, 3}));
  EXPECT_EQ(MatchOf("\\x41", "a", true), (Found{1, 1}));
  EXPECT_EQ(MatchOf("[a-c]", "B", true), kNone);
  EXPECT_EQ(MatchOf("abc", "ABC", false), kNone);
}

// ---------------------------------------------------------------------------
// Line anchors

TEST(LineAnchors, CaretAtLineStarts) {
  EXPECT_EQ(MatchOf("^ab", "xx\nabc"), (Found{4, 2}));
  EXPECT_EQ(MatchOf("^ab", "xab"), kNone);
  EXPECT_EQ(MatchOf("^ab", "abab"), (Found{1, 2}));
  EXPECT_EQ(MatchOf("^b", "a\nb\nb"), (Found{3, 1}));
  EXPECT_EQ(MatchOf("^b", "a\r\nb"), (Found{4, 1}));
  EXPECT_EQ(MatchOf("^", "abc"), (Found{1, 0}));
  EXPECT_EQ(MatchOf("^", ""), (Found{1, 0}));
  EXPECT_EQ(MatchOf("^x", "a\n"), kNone);
  EXPECT_EQ(MatchOf("x|^", "ab\n"), (Found{1, 0}));
}

TEST(LineAnchors, AnchoredAndPlainAlternativesCompeteForLength) {
  EXPECT_EQ(MatchOf("^ab|a", "ab"), (Found{1, 2}));
  EXPECT_EQ(MatchOf("^a|ab", "ab"), (Found{1, 2}));
  EXPECT_EQ(MatchOf("^a|ab", "x\nab"), (Found{3, 2}));
  EXPECT_EQ(MatchOf("^ab|b", "x\nab"), (Found{3, 2}));
  EXPECT_EQ(MatchOf("^a|b", "xba"), (Found{2, 1}));
  EXPECT_EQ(MatchOf("^a|\\n", "x\na"), (Found{2, 1})) << "the line feed itself starts earlier";
}

TEST(LineAnchors, DollarAtLineEnds) {
  EXPECT_EQ(MatchOf("ab$", "ab\ncd"), (Found{1, 2}));
  EXPECT_EQ(MatchOf("x$", "abx"), (Found{3, 1}));
  EXPECT_EQ(MatchOf("$", "abc"), (Found{4, 0}));
  EXPECT_EQ(MatchOf("$", ""), (Found{1, 0}));
  EXPECT_EQ(MatchOf("$", "ab\ncd"), (Found{3, 0}));
  EXPECT_EQ(MatchOf("ab$", "ab\r\n"), kNone);
  EXPECT_EQ(MatchOf("a$", "a\r\n"), kNone);
  EXPECT_EQ(MatchOf("b*$", "abb"), (Found{2, 2})) << "before the a there is no line end";
  EXPECT_EQ(MatchOf("ab*$", "xabb\n"), (Found{2, 3}));
}

TEST(LineAnchors, EmptyLines) {
  EXPECT_EQ(MatchOf("^$", ""), (Found{1, 0}));
  EXPECT_EQ(MatchOf("^$", "ab\n\ncd"), (Found{4, 0}));
  EXPECT_EQ(MatchOf("^$", "abc"), kNone);
  EXPECT_EQ(MatchOf("^$", "ab\n"), (Found{4, 0}));
  EXPECT_EQ(MatchOf("^$", "\nab"), (Found{1, 0}));
}

TEST(LineAnchors, AnchorsElsewhereMatchThemselves) {
  EXPECT_EQ(MatchOf("a^", "a^"), (Found{1, 2}));
  EXPECT_EQ(MatchOf("a^", "a"), kNone);
  EXPECT_EQ(MatchOf("(^a)*", "^a^ab"), (Found{1, 4}));
  EXPECT_EQ(MatchOf("a$b", "a$b"), (Found{1, 3}));
  EXPECT_EQ(MatchOf("^+", "^^x"), (Found{1, 2})) << "the first caret anchors, the others are characters";
  EXPECT_EQ(MatchOf("^+", "x^"), (Found{1, 0}));
  EXPECT_EQ(MatchOf(S("a＾"), S("a＾"), false, true), (Found{1, 3}));
  EXPECT_EQ(MatchOf(S("＾a"), S("x\na"), false, true), (Found{3, 1}));
}

TEST(LineAnchors, CaretThatMatchesItselfFollowsEveryPath) {
  EXPECT_EQ(MatchOf("x^a|x.b", "x^a"), (Found{1, 3}));
  EXPECT_EQ(MatchOf("x^a|x.b", "x^b"), (Found{1, 3}));
  EXPECT_EQ(MatchOf("x^a|x.b", "xzb"), (Found{1, 3}));
  EXPECT_EQ(MatchOf("x^a|x.b", "xza"), kNone);
  EXPECT_EQ(MatchOf("a$b|a[\\x20-\\x30]c", "a$c"), (Found{1, 3}));
  EXPECT_EQ(MatchOf("a$b|a[\\x20-\\x30]c", "a$b"), (Found{1, 3}));
}

TEST(LineAnchors, DollarBeforeALineFeedThatThePatternCouldAlsoRead) {
  // At "a" followed by a line feed the line-tail alternative holds, even
  // though the other alternative reads on over the line feed and fails.
  EXPECT_EQ(MatchOf("a$|a\\nb", "a\nc"), (Found{1, 1}));
  EXPECT_EQ(MatchOf("a$|a\\nb", "a\nb"), (Found{1, 3}));
  EXPECT_EQ(MatchOf("a(\\n|$)", "a\nx"), (Found{1, 2}));
}

// ---------------------------------------------------------------------------
// The zero code

TEST(ZeroCode, EscapedZeroMatchesAZeroByteInsideTheSubjectOnly) {
  EXPECT_EQ(MatchOf("a\\0", "a"), kNone);
  EXPECT_EQ(MatchOf("a\\0", std::string("a\0", 2)), (Found{1, 2}));
  EXPECT_EQ(MatchOf("a\\0b", std::string("xa\0b", 4)), (Found{2, 3}));
  EXPECT_EQ(MatchOf("a\\0*", "a"), (Found{1, 1}));
  EXPECT_EQ(MatchOf("a\\0*", std::string("a\0\0b", 4)), (Found{1, 3}));
  EXPECT_EQ(MatchOf("\\0", std::string("ab\0", 3)), (Found{3, 1}));
  EXPECT_EQ(MatchOf("\\0*$", ""), (Found{1, 0}));
}

TEST(ZeroCode, ZeroByteInsideTheSubjectIsNoLineEnd) {
  EXPECT_EQ(MatchOf("a$", std::string("a\0", 2)), kNone);
  EXPECT_EQ(MatchOf("a$", std::string("a\0a", 3)), (Found{3, 1}));
  EXPECT_EQ(MatchOf(".", std::string("\0a", 2)), (Found{2, 1}));
  EXPECT_EQ(MatchOf("^a", std::string("\0a", 2)), kNone);
}

TEST(ZeroCode, ZeroByteInsideThePatternIsAnOrdinaryCharacter) {
  EXPECT_EQ(MatchOf(std::string("a\0b", 3), std::string("xa\0b", 4)), (Found{2, 3}));
  EXPECT_EQ(MatchOf(std::string("a\0b", 3), "ab"), kNone);
  EXPECT_EQ(MatchOf(std::string("\0[", 2) + S("あ]"), std::string("\0", 1) + S("あ")), (Found{1, 3}));
}

// ---------------------------------------------------------------------------
// The component's lower-level operations

TEST(MatchingParts, MatchFromFindsTheLongestMatchAtOneStart) {
  TAWKStr re;
  re.SetPattern("ab*");
  int pos = -1;
  int len = -1;
  EXPECT_EQ(re.MatchFrom("xxabbbc", 3, re.StartState(), pos, len), 3);
  EXPECT_EQ(len, 4);
  EXPECT_EQ(re.MatchFrom("xxabbbc", 2, re.StartState(), pos, len), 0);
  EXPECT_EQ(pos, 0);
  EXPECT_EQ(len, 0);
  re.SetPattern("b*");
  EXPECT_EQ(re.MatchFrom("abb", 1, re.StartState(), pos, len), 1);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(re.MatchFrom("abb", 4, re.StartState(), pos, len), 4) << "an empty match at the end";
  EXPECT_EQ(len, 0);
}

TEST(MatchingParts, NextStateUsesTheSortedRanges) {
  TAWKStr re;
  re.SetPattern("[b-d]x|[m-p]y|z");
  const TDFAState* start = re.StartState();
  EXPECT_EQ(TRegularExpression::NextState(start, 'a'), nullptr);
  EXPECT_NE(TRegularExpression::NextState(start, 'b'), nullptr);
  EXPECT_NE(TRegularExpression::NextState(start, 'd'), nullptr);
  EXPECT_EQ(TRegularExpression::NextState(start, 'e'), nullptr);
  EXPECT_NE(TRegularExpression::NextState(start, 'p'), nullptr);
  EXPECT_EQ(TRegularExpression::NextState(start, 'q'), nullptr);
  EXPECT_NE(TRegularExpression::NextState(start, 'z'), nullptr);
  EXPECT_EQ(TRegularExpression::NextState(start, 0xFFFF), nullptr);
  EXPECT_NE(TRegularExpression::NextState(start, 'b'), TRegularExpression::NextState(start, 'm'));
}

TEST(MatchingParts, CodeAtReadsTheCharacterAtAPosition) {
  const std::string s = S("aあ") + std::string("\0b", 2);
  EXPECT_EQ(TRegularExpression::CodeAt(s, 1), 'a');
  EXPECT_EQ(TRegularExpression::CodeAt(s, 2), Code("あ"));
  EXPECT_EQ(TRegularExpression::CodeAt(s, 4), 0);
  EXPECT_EQ(TRegularExpression::CodeAt(s, 5), 'b');
}

TEST(MatchingParts, StringToCodes) {
  std::vector<TCharCode> codes;
  EXPECT_EQ(TRegularExpression::StringToCodes(S("aあb"), codes), 3);
  EXPECT_EQ(codes, (std::vector<TCharCode>{'a', Code("あ"), 'b', 0}));
  EXPECT_EQ(TRegularExpression::StringToCodes("", codes), 0);
  EXPECT_EQ(codes, (std::vector<TCharCode>{0}));
  EXPECT_THROW(TRegularExpression::StringToCodes("ab\x82", codes), ERegExpParser);
}

TEST(MatchingParts, LineCodesOfTheComponent) {
  TAWKStr re;
  re.SetPattern("^a$");
  EXPECT_EQ(re.LineHeadCode, 0xFFFD);
  EXPECT_EQ(re.LineTailCode, 0xFFFE);
  EXPECT_TRUE(re.CurrentDFA()->BeginAnchored);
  EXPECT_TRUE(re.CurrentDFA()->EndAnchored);
  EXPECT_EQ(re.StartState(), re.CurrentDFA()->Start);
  re.SetPattern("^abc");
  EXPECT_TRUE(re.CurrentDFA()->IsLiteral);
  EXPECT_EQ(re.CurrentDFA()->Literal,
            "\xFF\xFD"
            "abc");
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
