// From the user's patterns to the engine's: rows of patterns and options and
// the one pattern they make, rows of patterns that do not compile and where
// the error is said to be; then matching within a line (-w, -i, anchors) and
// the word characters of -w.
#include "cli/patterns.h"

#include <gtest/gtest.h>

#include <random>

#include "support/sjis_literals.h"

namespace {

TOptions Flags(const std::string& flags) {
  TOptions o;
  o.Syntax = flags.find('F') != std::string::npos   ? TSyntax::Fixed
             : flags.find('G') != std::string::npos ? TSyntax::Basic
             : flags.find('E') != std::string::npos ? TSyntax::Extended
                                                    : TSyntax::Engine;
  o.WholeLine = flags.find('x') != std::string::npos;
  o.Word = flags.find('w') != std::string::npos;
  o.IgnoreCase = flags.find('i') != std::string::npos;
  o.DBMeta = flags.find('D') != std::string::npos;  // --db-meta
  o.NullData = flags.find('z') != std::string::npos;
  return o;
}

struct TAssemblyRow {
  std::vector<std::string> Patterns;
  std::string Flags;
  // The engine pattern, "+" after it when every line is a candidate, and
  // " [w]" or " [x]" for the word or whole-line test of the line matcher.
  std::string Expected;
};

std::string Describe(const TEnginePattern& p) {
  return p.Pattern + (p.EveryLine ? "+" : "") + (p.Test == TLineTest::Word ? " [w]" : "") +
         (p.Test == TLineTest::WholeLine ? " [x]" : "");
}

TEST(BuildEnginePattern, PatternsMakeOneAlternation) {
  const TAssemblyRow rows[] = {
      {{"cat"}, "", "cat"},
      {{"cat"}, "wi", "cat [w]"},  // -w is the matcher's, not the pattern's
      {{"a", "b|c", "d"}, "", "(a)|(b|c)|(d)"},
      {{"a"}, "x", "^(a)$"},
      {{"a", "b"}, "x", "^((a)|(b))$"},
      {{""}, "", "+"},
      {{"a*"}, "", "a*+"},
      {{"x", ""}, "", "(x)|()+"},
      {{""}, "x", "^()$"},
      {{"^"}, "", "^"},
      {{"a?"}, "w", "a?+ [w]"},
      // -x with anchors of the user's own: the line matcher tests lines.
      {{"^abc$"}, "x", "^abc$ [x]"},
      {{"a", "b$"}, "x", "(a)|(b$) [x]"},
      {{"a^b"}, "x", "^(a^b)$"},  // a caret inside is a character
      {{"a*"}, "xw", "^(a*)$"},   // -x wins over -w
      // A pattern given again counts once, blank lines above all.
      {{"a", "", "a", "", ""}, "", "(a)|()+"},
  };
  for (const TAssemblyRow& row : rows) {
    const TEnginePattern pattern = BuildEnginePattern(row.Patterns, Flags(row.Flags));
    EXPECT_FALSE(pattern.None);
    EXPECT_EQ(Describe(pattern), row.Expected) << Hex(row.Patterns.front()) << " " << row.Flags;
  }
  EXPECT_TRUE(BuildEnginePattern({}, TOptions()).None);  // an empty -f file
}

TEST(BuildEnginePattern, AnErrorNamesThePatternAndTheByte) {
  const struct {
    std::vector<std::string> Patterns;
    std::string Flags;
    std::size_t Index;
    int Position;
  } rows[] = {
      {{"ca(t"}, "", 0, 5},
      {{"ok", "ca(t"}, "", 1, 5},
      {{"(a"}, "x", 0, 3},
      {{"a)", "b"}, "", 0, 3},
      {{"[b"}, "i", 0, 3},
      {{"ok", "ok", "", "", "ca(t"}, "", 4, 5},
      {{"a\\nb"}, "", 0, 4},  // no line holds a line feed
      // Together too complex (each alone is not): no pattern is to blame.
      {{"[ab]*a[ab][ab][ab][ab][ab][ab][ab][ab][ab][ab][ab][ab][ab]",
        "[cd]*c[cd][cd][cd][cd][cd][cd][cd][cd][cd][cd][cd][cd][cd]"},
       "",
       TPatternError::kAllPatterns,
       122},
  };
  for (const auto& row : rows) {
    try {
      BuildEnginePattern(row.Patterns, Flags(row.Flags));
      ADD_FAILURE() << row.Patterns.back() << ": compiled";
    } catch (const TPatternError& e) {
      EXPECT_EQ(e.Index, row.Index) << row.Patterns.back();
      EXPECT_EQ(e.Position, row.Position) << row.Patterns.back();
    }
  }
  EXPECT_NO_THROW(BuildEnginePattern({"a\\nb"}, Flags("z"))) << "-z: lines may hold line feeds";
  // The index follows the numbers of the patterns as given.
  TOptions numbered;
  numbered.PatternNumbers = {1, 5};
  try {
    BuildEnginePattern({"", "ca(t"}, numbered);
    ADD_FAILURE() << "ca(t: compiled";
  } catch (const TPatternError& e) {
    EXPECT_EQ(e.Index, 4u);
  }
  try {
    BuildEnginePattern({"a(b"}, TOptions());
    ADD_FAILURE() << "a(b: compiled";
  } catch (const TPatternError& e) {
    EXPECT_EQ(e.Message, expected::kRightParen);
  }
}

struct TMatchRow {
  std::string Pattern;  // patterns parted by line feeds
  std::string Flags;
  std::string Line;
  std::size_t From;
  std::string Expected;  // "pos+len" of the first match from From, or "none"
};

TEST(TLineMatcher, FindsTheLeftmostLongestMatchThatStandsAsAWordOrTheLine) {
  const TMatchRow rows[] = {
      {"cat", "", "concatenate cat", 0, "3+3"},
      {"cat", "w", "concatenate cat", 0, "12+3"},
      {"cat", "w", "cat_ _cat cats", 0, "none"},
      {"cat", "w", "cat-dog", 0, "0+3"},
      {"cat", "w", "(cat)", 0, "1+3"},
      {"cat", "w", "cat cat", 1, "4+3"},
      {"c.t|cat", "w", "cut cat", 0, "0+3"},
      {"ab*", "", "abbbc ab", 0, "0+4"},
      // A shorter match at the same start when the longest is not a word.
      {"ab*", "w", "abbbc ab", 0, "6+2"},
      {"a.*", "w", "a b c", 0, "0+5"},
      {"ab|abcd", "w", "abcd abx", 0, "0+4"},
      {"a.*b", "w", "a b bc", 0, "0+3"},
      // "$" holds only at the line's end, "^" only at its start.
      {"a$", "w", "a a", 0, "2+1"},
      {"ab-$|ab--", "w", "ab--x", 0, "none"},
      {"^a", "", "aa", 1, "none"},
      {"^a", "", "aa", 0, "0+1"},
      {"x*", "", "abc", 0, "0+0"},
      {"x*", "w", "abc", 0, "none"},
      {"CAT", "", "the Cat", 0, "none"},
      {"CAT", "i", "the Cat", 0, "4+3"},
      {"cat", "wi", "CATS Cat", 0, "5+3"},
      // Double-byte letters are word characters; brackets and spaces are not.
      {S("猫"), "w", S("子猫 「猫」"), 0, "7+2"},
      {S("猫"), "w", S("猫だ"), 0, "none"},
      {S("猫"), "w", S("猫　犬"), 0, "0+2"},
      {S("猫"), "w", S("猫１"), 0, "none"},
      {"a", "w", S("ａa"), 0, "none"},
      // A trail byte is no character of its own.
      {"\\[", "", S("ー[") + "[", 0, "2+1"},
      // With several patterns each stands on its own: an empty match counts
      // for a pattern whose longest match it is.
      {"-\n", "w", "-x", 0, "0+0"},
      {" \n", "w", " x", 0, "0+0"},
      {"( |)", "w", " x", 0, "none"},
      {"x*\n ", "w", "xx", 0, "0+2"},
      {"ab\nabc", "w", "abc ab", 0, "0+3"},
      // -x with the user's anchors; -i between brackets; -z's line feeds.
      {"^ab$", "x", "ab", 0, "0+2"},
      {"^ab", "x", "abc", 0, "none"},
      {"x\na|^b$", "x", "b", 0, "0+1"},
      {"^b", "xo", "b", 1, "none"},
      {"[a-c]x", "i", "zBX", 0, "1+2"},
      {"[^a]", "i", "A", 0, "none"},
      {"a.b|c[^x]d", "z", "a\nb c\rd", 0, "0+3"},
      {"c[^x]d", "z", "a\nb c\rd", 0, "4+3"},
      {"a$", "z", "a\nb", 0, "none"},
      // A long text without metacharacters of the engine's syntax is still
      // read in GNU's languages: their letters fold and braces count.
      {std::string(300, 'a'), "Ei", std::string(300, 'A'), 0, "0+300"},
      {std::string(300, 'a') + "b{2}", "E", std::string(300, 'a') + "bb", 0, "0+302"},
      // GNU's assertions: the search starts where a match can begin, at the
      // line's start for an anchor whatever byte stands there.
      {"^\\bcat", "E", "cat dog", 0, "0+3"},
      {"^\\<c|x\\>", "E", "c x", 0, "0+1"},
      {"\\bran\\b", "E", "run ran", 0, "4+3"},
      {"\\bran\\b", "E", "rran ran", 1, "5+3"},
      // A long plain text of the engine's syntax, as a whole line.
      {std::string(300, 'a'), "x", std::string(300, 'a'), 0, "0+300"},
      {std::string(300, 'a'), "x", std::string(301, 'a'), 0, "none"},
  };
  for (const TMatchRow& row : rows) {
    std::vector<std::string> patterns;
    for (std::size_t at = 0; at <= row.Pattern.size();) {
      const std::size_t feed = std::min(row.Pattern.find('\n', at), row.Pattern.size());
      patterns.push_back(row.Pattern.substr(at, feed - at));
      at = feed + 1;
    }
    const TLineMatcher matcher(BuildEnginePattern(patterns, Flags(row.Flags)));
    std::size_t pos, len;
    const std::string found =
        matcher.Find(row.Line, row.From, pos, len) ? std::to_string(pos) + "+" + std::to_string(len) : "none";
    EXPECT_EQ(found, row.Expected) << Hex(row.Pattern) << " " << row.Flags << " in " << Hex(row.Line);
    EXPECT_EQ(matcher.Matches(row.Line), row.From > 0 || found != "none") << Hex(row.Line);
  }
}

// The finder passes over places whose byte cannot begin a match and reads
// character starts backwards; checked against the plain definition: the
// first character start at or after from with a whole match there, the
// longest one (each candidate tried as a whole line with -x).  Second
// bytes ("[" of ー, "A" of ア) are the bytes patterns ask for.
TEST(TLineMatcher, FindAgreesWithTryingEverySpanAsAWholeLine) {
  const std::string chars[] = {"a", "A", "[", " ", S("ア"), S("ー"), S("猫"), S("ｱ")};
  const std::string atoms[] = {"a", "A", "\\[", ".", "[aA]", S("ア"), S("猫"), S("ー"), "[^a]"};
  const char* postfix[] = {"", "", "*", "+", "?"};
  std::mt19937 random(27);
  const auto pick = [&](auto& list) -> const auto& { return list[random() % std::size(list)]; };
  for (int round = 0; round < 3000; ++round) {
    std::string pattern;
    for (int k = 1 + random() % 3; k > 0; --k) pattern += pick(atoms) + pick(postfix);
    if (random() % 4 == 0) pattern += "|" + pick(atoms) + pick(postfix);
    const std::string flags = random() % 3 == 0 ? "i" : "";
    std::string line;
    std::vector<std::size_t> starts;
    for (int k = random() % 10; k > 0; --k) starts.push_back(line.size()), line += pick(chars);
    starts.push_back(line.size());
    const std::size_t from = starts[random() % starts.size()];
    const TLineMatcher matcher(BuildEnginePattern({pattern}, Flags(flags)));
    const TLineMatcher whole(BuildEnginePattern({pattern}, Flags(flags + "x")));
    std::string expected = "none";
    for (std::size_t i = 0; i < starts.size() && expected == "none"; ++i) {
      if (starts[i] < from) continue;
      for (std::size_t j = starts.size(); j-- > i;)
        if (whole.Matches(line.substr(starts[i], starts[j] - starts[i]))) {
          expected = std::to_string(starts[i]) + "+" + std::to_string(starts[j] - starts[i]);
          break;
        }
    }
    std::size_t pos, len;
    const std::string found =
        matcher.Find(line, from, pos, len) ? std::to_string(pos) + "+" + std::to_string(len) : "none";
    ASSERT_EQ(found, expected) << Hex(pattern) << " " << flags << " in " << Hex(line) << " from " << from;
  }
}

TEST(IsWordCode, LettersDigitsAndUnderscoreOfBothWidths) {
  for (const char* word : {"_", "0", "9", "a", "Z", "猫", "ア", "ｱ", "ａ", "１", "Ω", "ж", "々"})
    EXPECT_TRUE(IsWordCode(Code(word))) << word;
  for (const char* other : {"-", " ", "@", "[", "`", "{", "「", "　", "。", "・", "♪", "＿"})
    EXPECT_FALSE(IsWordCode(Code(other))) << other;
}

}  // namespace
