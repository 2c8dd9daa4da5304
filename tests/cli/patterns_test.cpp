// From the user's patterns to the engine's: rows of patterns and options and
// the one pattern they make, rows of patterns that do not compile and where
// the error is said to be; then matching within a line (-w, -i, anchors) and
// the word characters of -w.
#include "cli/patterns.h"

#include <gtest/gtest.h>

#include "support/sjis_literals.h"

namespace {

TOptions Flags(const std::string& flags) {
  TOptions o;
  o.Fixed = flags.find('F') != std::string::npos;
  o.WholeLine = flags.find('x') != std::string::npos;
  o.Word = flags.find('w') != std::string::npos;
  o.IgnoreCase = flags.find('i') != std::string::npos;
  o.DBMeta = flags.find('D') != std::string::npos;  // --db-meta
  return o;
}

struct TAssemblyRow {
  std::vector<std::string> Patterns;
  std::string Flags;
  std::string Expected;  // the engine pattern, "+" after it when every line matches
};

TEST(BuildEnginePattern, PatternsMakeOneAlternation) {
  const TAssemblyRow rows[] = {
      {{"cat"}, "", "cat"},
      {{"cat"}, "wi", "cat"},  // -w and -i are the matcher's, not the pattern's
      {{"a", "b|c", "d"}, "", "(a)|(b|c)|(d)"},
      {{"a"}, "x", "^(a)$"},
      {{"a", "b"}, "x", "^((a)|(b))$"},
      {{""}, "", "+"},
      {{"a*"}, "", "a*+"},
      {{"x", ""}, "", "(x)|()+"},
      {{""}, "x", "^()$"},
      {{"^"}, "", "^"},
      {{"a?"}, "w", "a?+"},
      // A repeated pattern counts once.
      {{"a", "b", "a", "", ""}, "", "(a)|(b)|()+"},
  };
  for (const TAssemblyRow& row : rows) {
    const TEnginePattern pattern = BuildEnginePattern(row.Patterns, Flags(row.Flags));
    EXPECT_FALSE(pattern.None);
    EXPECT_EQ(pattern.Pattern + (pattern.EveryLine ? "+" : ""), row.Expected)
        << Hex(row.Patterns.front()) << " " << row.Flags;
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
      // Numbered as given, repeats included.
      {{"", "", "ok", "", "ca(t"}, "", 4, 5},
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
  try {
    BuildEnginePattern({"a(b"}, TOptions());
    ADD_FAILURE() << "a(b: compiled";
  } catch (const TPatternError& e) {
    EXPECT_EQ(e.Message, expected::kRightParen);
  }
}

struct TMatchRow {
  std::string Pattern;
  std::string Flags;
  std::string Line;
  std::size_t From;
  std::string Expected;  // "pos+len" of the first match from From, or "none"
};

TEST(TLineMatcher, FindsTheLeftmostLongestMatchThatStandsAsAWord) {
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
  };
  for (const TMatchRow& row : rows) {
    const TOptions o = Flags(row.Flags);
    const TLineMatcher matcher(row.Pattern, o.IgnoreCase, o.DBMeta, o.Word);
    std::size_t pos, len;
    const std::string found =
        matcher.Find(row.Line, row.From, pos, len) ? std::to_string(pos) + "+" + std::to_string(len) : "none";
    EXPECT_EQ(found, row.Expected) << Hex(row.Pattern) << " " << row.Flags << " in " << Hex(row.Line);
    EXPECT_EQ(matcher.Matches(row.Line), row.From > 0 || found != "none") << Hex(row.Line);
  }
}

TEST(IsWordCode, LettersDigitsAndUnderscoreOfBothWidths) {
  for (const char* word : {"_", "0", "9", "a", "Z", "猫", "ア", "ｱ", "ａ", "１", "Ω", "ж", "々"})
    EXPECT_TRUE(IsWordCode(Code(word))) << word;
  for (const char* other : {"-", " ", "@", "[", "`", "{", "「", "　", "。", "・", "♪", "＿"})
    EXPECT_FALSE(IsWordCode(Code(other))) << other;
}

}  // namespace
