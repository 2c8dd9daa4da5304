#include "core/query.h"

#include <gtest/gtest.h>

#include "regexp/regexp.h"
#include "text/encoding.h"

using encoding::Sjis;
using query::KeywordPattern;
using query::TransformQuery;

TEST(TransformQuery, AtsExpandDoubleAtsStayAndTailsAreCut) {
  const std::string any = "[A-Za-z0-9%]*", hou = Sjis("法");  // second byte 0x40, no "@"
  ASSERT_EQ(hou[1], '@');
  std::string cats;
  for (int i = 0; i < 200; ++i) cats += Sjis("猫");
  const std::string x300(300, 'x');
  const std::pair<std::string, std::string> cases[] = {
      {"ab@", "ab" + any},
      {"a@b@c", "a" + any + "b" + any + "c"},
      {"plain|(re)*", "plain|(re)*"},
      // The first "@@" becomes one "@" and nothing expands.
      {"a@@b@c", "a@b@c"},
      {"a@b@@c", "a@b@c"},
      {"@@@", "@@"},
      {"x@@y@@z", "x@y@@z"},
      {hou, hou},
      {Sjis("　") + "a", Sjis("　") + "a"},
      {hou + "@x", hou + any + "x"},
      {hou + hou + "@@", hou + hou + "@"},
      // The text after each "@" is cut to 255 bytes.
      {"a@" + x300, "a" + any + std::string(255, 'x')},
      {"@" + std::string(254, 'x') + "@" + std::string(100, 'y'), any + std::string(254, 'x') + any},
      {"a@@" + x300, "a@" + std::string(254, 'x')},
      {"@" + cats, any + cats.substr(0, 255)},
  };
  for (const auto& [query, pattern] : cases) EXPECT_EQ(TransformQuery(query), pattern) << query;
}

// Where the engine finds the keyword pattern of "cat" in lines: a plain
// search anywhere; a word search only between boundary characters, which
// belong to the match.  A backslash is an escape in the wrappers, not a
// boundary character.
TEST(KeywordPattern, WordSearchFindsOnlyWholeWords) {
  // clang-format off
  const struct { std::string Line; int Plain, Word, WordLength; } rows[] = {
      {"category", 1, 0, 0}, {"bobcat", 4, 0, 0}, {"cat here", 1, 1, 4}, {"a cat.", 3, 2, 5}, {"cat", 1, 1, 3},
      {"\\cat\\", 2, 0, 0}, {"/cat/", 2, 0, 0}};
  // clang-format on
  TAWKStr plain, word;
  plain.SetPattern(KeywordPattern("cat", false));
  word.SetPattern(KeywordPattern("cat", true));
  int pos = 0, len = 0;
  for (const auto& row : rows) {
    plain.Match(row.Line, pos, len);
    EXPECT_EQ(pos, row.Plain) << row.Line;
    word.Match(row.Line, pos, len);
    EXPECT_EQ(pos, row.Word) << row.Line;
    if (pos > 0) {
      EXPECT_EQ(len, row.WordLength) << row.Line;
    }
  }
  for (const char* before : {" ", "(", "{", "[", "\"", "'", "-", "■", "●"}) {
    word.Match("x" + Sjis(before) + "cat", pos, len);
    EXPECT_EQ(pos, 2) << "before: " << before;
  }
  for (const char* after : {" ", ")", "\"", "'", "]", "}", ":", ";", ".", ",", "!", "?", "-"}) {
    word.Match("cat" + std::string(after) + "x", pos, len);
    EXPECT_EQ(pos, 1) << "after: " << after;
  }
}
