// The bytes that every match holds, found in the parse tree: the longest
// run of single characters and the prefix (required.h), and the sets of
// strings of which every match holds one (required_set.h).
#include "regexp/required.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "regexp/parser.h"
#include "regexp/required_set.h"
#include "support/sjis_literals.h"

namespace {

// A pattern's parse tree, kept alive with its parser.
struct TParsed {
  TParsed(const std::string& pattern, bool ignoreCase) : Parser(pattern, false) {
    Parser.IgnoreCase = ignoreCase;
    Parser.Parse();
  }
  const TParseNode* Top() const { return Parser.ParseTree->TopNode; }
  TRegExpParser Parser;
};

}  // namespace

// The longest run of single characters at the top; a leading "^" stands for
// the line feed that it matches.  The prefix: the run that begins every
// match, when two bytes or more.
TEST(RequiredBytes, LongestRunAndPrefix) {
  const struct {
    std::string Pattern;
    bool IgnoreCase;
    std::string Bytes;
  } rows[] = {
      {"[a-z]+ing ", false, "ing "},
      {"(^|[ (])run([ )]|$)", false, "run"},
      {"ab(cd)+x", false, "abcd"},
      {S("■検索") + ".*x", false, S("■検索")},
      {"abc|abd", false, ""},    // alternatives at the top
      {"a.c", false, ""},        // no run of two
      {"\\x82zz", false, "zz"},  // a lead byte on its own cannot be text
      {"xSearch", true, "XSEARCH"},
      {"^" + S("検") + "[^ ]* \\[", false, "\n" + S("検")},
      {"x^ab", false, "ab"},
  };
  for (const auto& row : rows) {
    const TRequiredBytes required = FindRequiredBytes(TParsed(row.Pattern, row.IgnoreCase).Top());
    EXPECT_EQ(required.Bytes, row.Bytes) << row.Pattern;
    EXPECT_EQ(required.FoldsCase, row.IgnoreCase) << row.Pattern;
  }
  const std::pair<std::string, std::string> prefixes[] = {{"^" + S("検") + "[^ ]* \\[", "\n" + S("検")},
                                                          {"cat[^!]*dog", "cat"},
                                                          {"[a-z]+ing ", ""},
                                                          {"^a", "\na"},
                                                          {"a.c", ""}};
  for (const auto& [pattern, prefix] : prefixes)
    EXPECT_EQ(FindRequiredPrefix(TParsed(pattern, false).Top()).Bytes, prefix) << pattern;
}

// Sets of strings of which every match holds one; exact when the pattern
// matches exactly those strings.
TEST(RequiredSet, SetsOfAlternatives) {
  const struct {
    std::string Pattern;
    bool IgnoreCase;
    std::vector<std::string> Strings;
    bool Exact;
    bool FoldsCase;
  } rows[] = {
      {"cat|dog|bird", false, {"bird", "cat", "dog"}, true, false},
      {"(" + S("辞書|検索") + ")" + S("語"), false, {S("検索語"), S("辞書語")}, true, false},
      {"[ab]xyz", false, {"axyz", "bxyz"}, true, false},
      {"cat|dog", true, {"CAT", "DOG"}, true, true},
      {"[Cc]at", false, {"Cat"}, false, true},  // a folded and a plain letter: no longer exact
      {"^(cat|dog)", false, {"cat", "dog"}, false, false},
      {"(cat|dog)s*", false, {"cat", "dog"}, false, false},
      {"(cat|dog)[a-z]+(bird|fish)", false, {"bird", "fish"}, false, false},
      {"cat|dog\\n", false, {"cat", "dog"}, false, false},  // no line end in a string
      {"cat|x*", false, {}, false, false},
      {"[a-z]+", false, {}, false, false},
  };
  for (const auto& row : rows) {
    TRequiredSet set = FindRequiredSet(TParsed(row.Pattern, row.IgnoreCase).Top());
    std::sort(set.Strings.begin(), set.Strings.end());
    EXPECT_EQ(set.Strings, row.Strings) << row.Pattern;
    EXPECT_EQ(set.Exact, row.Exact) << row.Pattern;
    EXPECT_TRUE(row.Strings.empty() || set.FoldsCase == row.FoldsCase) << row.Pattern;
  }
}
