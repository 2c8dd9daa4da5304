#include "core/query.h"

#include <gtest/gtest.h>

#include "core/encoding.h"
#include "regexp.h"

using encoding::Sjis;
using query::KeywordPattern;
using query::TransformQuery;

namespace {

const std::string kAny = "[A-Za-z0-9%]*";

}  // namespace

TEST(TransformQuery, AtsExpandDoubleAtsStayAndTailsAreCut) {
  const std::string hou = Sjis("法");  // second byte 0x40, no "@"
  ASSERT_EQ(hou[1], '@');
  std::string cats;
  for (int i = 0; i < 200; ++i) cats += Sjis("猫");
  const std::string x300(300, 'x');
  const std::pair<std::string, std::string> cases[] = {
      {"ab@", "ab" + kAny},
      {"a@b@c", "a" + kAny + "b" + kAny + "c"},
      {"plain|(re)*", "plain|(re)*"},
      // The first "@@" becomes one "@" and nothing expands.
      {"a@@b@c", "a@b@c"},
      {"a@b@@c", "a@b@c"},
      {"@@@", "@@"},
      {"x@@y@@z", "x@y@@z"},
      {hou, hou},
      {Sjis("　") + "a", Sjis("　") + "a"},
      {hou + "@x", hou + kAny + "x"},
      {hou + hou + "@@", hou + hou + "@"},
      // The text after each "@" is cut to 255 bytes.
      {"a@" + x300, "a" + kAny + std::string(255, 'x')},
      {"@" + std::string(254, 'x') + "@" + std::string(100, 'y'), kAny + std::string(254, 'x') + kAny},
      {"a@@" + x300, "a@" + std::string(254, 'x')},
      {"@" + cats, kAny + cats.substr(0, 255)},
  };
  for (const auto& [query, pattern] : cases) EXPECT_EQ(TransformQuery(query), pattern) << query;
}

TEST(KeywordPattern, PlainSearchUsesTheSearchPattern) { EXPECT_EQ(KeywordPattern("cat", false), "cat"); }

TEST(KeywordPattern, WordSearchWrapsThePattern) {
  EXPECT_EQ(KeywordPattern("cat", true), query::WordPrefix() + "cat" + query::WordSuffix());
}

namespace {

// Where the engine finds the whole-word pattern of "cat" in line (0: nowhere).
int WordMatch(const std::string& line, int* length = nullptr) {
  TAWKStr matcher;
  matcher.SetPattern(KeywordPattern("cat", true));
  int pos = 0, len = 0;
  matcher.Match(line, pos, len);
  if (length) *length = len;
  return pos;
}

}  // namespace

TEST(KeywordPattern, WordSearchFindsOnlyWholeWords) {
  EXPECT_EQ(WordMatch("category"), 0);
  EXPECT_EQ(WordMatch("bobcat"), 0);
  EXPECT_EQ(WordMatch("cat here"), 1);
  int len = 0;
  EXPECT_EQ(WordMatch("a cat.", &len), 2);
  EXPECT_EQ(len, 5);  // the space and the full stop belong to the match
  EXPECT_EQ(WordMatch("cat"), 1);
}

TEST(KeywordPattern, WordSearchAcceptsEveryBoundaryCharacter) {
  for (const std::string& before : std::vector<std::string>{" ", "(", "{", "[", "\"", "'", "-", Sjis("■"), Sjis("●")}) {
    EXPECT_GT(WordMatch("x" + before + "cat"), 0) << "before: " << before;
  }
  for (const char* after : {" ", ")", "\"", "'", "]", "}", ":", ";", ".", ",", "!", "?", "-"}) {
    EXPECT_GT(WordMatch("cat" + std::string(after) + "x"), 0) << "after: " << after;
  }
  // A backslash is an escape in the wrappers, not a boundary character.
  EXPECT_EQ(WordMatch("\\cat\\"), 0);
  EXPECT_EQ(WordMatch("/cat/"), 0);
}
