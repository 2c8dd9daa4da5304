// GNU grep's languages through the engine: rows of a pattern, its language
// and flags, a line and the leftmost-longest match the engine finds there
// (the assertion matcher decides where an assertion was left out); rows of
// patterns refused with their message; the warnings.  Behaviour on whole
// files is compared with GNU grep itself in tests/cli/kovagrep_test.sh.
#include "regexp/posix_parser.h"

#include <gtest/gtest.h>

#include "regexp/assertion_matcher.h"
#include "regexp/messages.h"
#include "regexp/posix_lower.h"
#include "regexp/regexp.h"
#include "sjis/exceptions.h"
#include "support/sjis_literals.h"

namespace {

// "pos+len" of the match in line, or "none"; flags: "E" extended (else
// basic), "i" to fold case.
std::string Find(const std::string& pattern, const std::string& flags, const std::string& line) {
  const TPatternSyntax syntax = flags.find('E') != std::string::npos ? synExtended : synBasic;
  const bool fold = flags.find('i') != std::string::npos;
  TAWKStr engine;
  engine.SetRules({false, lfNever, syntax, fold});
  engine.SetPattern(pattern);
  const TPosixPattern tree = ParsePosix(pattern, syntax, fold, lfNever);
  std::size_t pos, len;
  if (NeedsAssertionCheck(tree))
    return TAssertionMatcher(tree).Find(line, 0, pos, len) ? std::to_string(pos) + "+" + std::to_string(len) : "none";
  int p, l;
  return engine.Match(line, p, l) != 0 ? std::to_string(p - 1) + "+" + std::to_string(l) : "none";
}

TEST(ParsePosix, ReadsTheBasicAndExtendedLanguages) {
  const struct {
    std::string Pattern, Flags, Line, Expected;
  } rows[] = {
      // clang-format off
      {"a\\{2,3\\}", "", "caaaa", "1+3"},      {"a{2,3}", "", "a{2,3}", "0+6"},
      {"\\(ab\\)*c", "", "ababc", "0+5"},      {"a\\|b\\+", "", "bbb", "0+3"},
      {"^*a", "", "*a", "0+2"},                {"x^", "", "x^", "0+2"},
      {"$x", "", "$x", "0+2"},                 {"a^b|c", "E", "a^b", "none"},
      {"a$b|^x", "E", "ax", "none"},           {"[]a]*", "", "]a]b", "0+3"},
      {"[^]a]", "", "]ab", "2+1"},             {"[[:digit:]]+", "E", S("１2３4"), "2+1"},
      {"[[:alpha:]]+", "E", S("１ア漢a"), "0+7"}, {"[[:upper:]]", "", S("ａＡ"), "2+2"},
      {"[[=a=]b[.-.]]+", "E", "ab-A", "0+3"},  {"\\w+", "E", S("x_猫１-"), "0+6"},
      {"\\W\\S", "E", S("ab　c"), "2+3"},      {"\\bx*", "E", "  ab", "2+0"},
      {"\\`a|b\\'", "E", "ab", "0+1"},         {S("\\<猫"), "E", S("子猫 猫"), "5+2"},
      {S("ａ[ｂ-ｃ]"), "Ei", S("ＡＣ"), "0+4"},   {S("ω"), "Ei", S("Ω"), "0+2"},
      {S("я"), "Ei", S("Я"), "0+2"},           {"[[:lower:]]+", "Ei", "ABc", "0+3"},
      // clang-format on
  };
  for (const auto& row : rows)
    EXPECT_EQ(Find(row.Pattern, row.Flags, row.Line), row.Expected) << Hex(row.Pattern) << " " << row.Flags;
}

TEST(ParsePosix, RefusesWhatGnuGrepRefusesAndBackReferences) {
  const struct {
    std::string Pattern, Flags;
    std::string_view Message;
  } rows[] = {
      // clang-format off
      {"\\(a", "", sjis_text::kMsgUnmatchedLeftParen}, {"(a", "E", sjis_text::kMsgUnmatchedLeftParen},
      {"a\\)", "", sjis_text::kMsgUnmatchedRightParen}, {"a\\{1", "", sjis_text::kMsgUnmatchedBrace},
      {"a\\{1,x\\}", "", sjis_text::kMsgBadInterval}, {"a{2,1}", "E", sjis_text::kMsgBadInterval},
      {"a{1,2,3}", "E", sjis_text::kMsgBadInterval}, {"a{}", "E", sjis_text::kMsgBadInterval},
      {"a{32768}", "E", sjis_text::kMsgTooBig}, {"a{30000}", "E", sjis_text::kMsgTooBig},
      {"(a{200}){200}", "E", sjis_text::kMsgTooBig}, {"[a", "", sjis_text::kMsgUnmatchedBracket},
      {"[[:alpha:]", "", sjis_text::kMsgUnmatchedBracket}, {"[[:foo:]]", "", sjis_text::kMsgBadClassName},
      {"[:space:]", "", sjis_text::kMsgClassSyntax}, {"[[.ab.]]", "", sjis_text::kMsgBadCollation},
      {"[z-a]", "", sjis_text::kMsgBadRangeEnd}, {"[[:alpha:]-z]", "", sjis_text::kMsgBadRangeEnd},
      {"a\\", "E", sjis_text::kMsgTrailingBackslash}, {"(a)\\1", "E", sjis_text::kMsgBackReference},
      {"\\(a\\)\\9", "", sjis_text::kMsgBackReference},
      // clang-format on
  };
  for (const auto& row : rows) {
    TAWKStr engine;
    engine.SetRules({false, lfNever, row.Flags == "E" ? synExtended : synBasic, false});
    try {
      engine.SetPattern(row.Pattern);
      ADD_FAILURE() << row.Pattern << " compiled";
    } catch (const ERegExpParser& e) {
      EXPECT_EQ(e.Message(), row.Message) << row.Pattern;
    }
  }
}

TEST(ParsePosix, WarnsAsGnuGrepDoes) {
  const auto warnings = [](const std::string& pattern, TPatternSyntax syntax) {
    std::string all;
    for (const TPosixWarning& w : ParsePosix(pattern, syntax, false, lfNever).Warnings)
      all += (all.empty() ? "" : "; ") + w.Message + (w.Subject.empty() ? "" : " " + w.Subject);
    return all;
  };
  using namespace sjis_text;
  EXPECT_EQ(warnings("*a(+b|{1}c)", synExtended), std::string(kMsgStarAtStart) + "; " + std::string(kMsgPlusAtStart) +
                                                      "; " + std::string(kMsgIntervalAtStart));
  EXPECT_EQ(warnings("^*x|?", synExtended), std::string(kMsgStarAtStart) + "; " + std::string(kMsgQMarkAtStart));
  EXPECT_EQ(warnings("\\a\\.\\{" + S("\\猫"), synExtended),
            std::string(kMsgStrayBackslash) + " a; " + std::string(kMsgStrayBackslash) + " " + S("猫"));
  EXPECT_EQ(warnings("a\\ \\\x01", synBasic),
            std::string(kMsgStrayBeforeSpace) + "; " + std::string(kMsgStrayBeforeControl));
  EXPECT_EQ(warnings("*a\\(*b\\)\\{1\\}\\+a**", synBasic), "");
}

}  // namespace
