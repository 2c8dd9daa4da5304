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

TEST(TransformQuery, EveryAtBecomesTheWildcard) {
  EXPECT_EQ(TransformQuery("ab@"), "ab" + kAny);
  EXPECT_EQ(TransformQuery("a@b@c"), "a" + kAny + "b" + kAny + "c");
  EXPECT_EQ(TransformQuery("@"), kAny);
  EXPECT_EQ(TransformQuery("plain|(re)*"), "plain|(re)*");
}

TEST(TransformQuery, FirstDoubleAtBecomesOneAtAndNothingExpands) {
  EXPECT_EQ(TransformQuery("a@@b@c"), "a@b@c");
  EXPECT_EQ(TransformQuery("a@b@@c"), "a@b@c");
  EXPECT_EQ(TransformQuery("@@@"), "@@");
  EXPECT_EQ(TransformQuery("x@@y@@z"), "x@y@@z");
}

TEST(TransformQuery, SecondByteOfDoubleByteCharacterIsNoAt) {
  const std::string hou = Sjis("法");        // second byte 0x40
  const std::string wideSpace = Sjis("　");  // second byte 0x40
  ASSERT_EQ(hou[1], '@');
  EXPECT_EQ(TransformQuery(hou), hou);
  EXPECT_EQ(TransformQuery(wideSpace + "a"), wideSpace + "a");
  // 法 followed by one "@": the pair's byte and the "@" are no "@@".
  EXPECT_EQ(TransformQuery(hou + "@x"), hou + kAny + "x");
  EXPECT_EQ(TransformQuery(hou + hou + "@@"), hou + hou + "@");
}

TEST(TransformQuery, TextAfterEachAtIsCutTo255Bytes) {
  const std::string tail(300, 'x');
  EXPECT_EQ(TransformQuery("a@" + tail), "a" + kAny + std::string(255, 'x'));
  // The second "@" survives the first cut and expands; what followed it is gone.
  EXPECT_EQ(TransformQuery("@" + std::string(254, 'x') + "@" + std::string(100, 'y')),
            kAny + std::string(254, 'x') + kAny);
  // With "@@", 255 bytes are kept from the second "@" on.
  EXPECT_EQ(TransformQuery("a@@" + tail), "a@" + std::string(254, 'x'));
}

TEST(TransformQuery, CutCountsBytesNotCharacters) {
  std::string tail;
  for (int i = 0; i < 200; ++i) tail += Sjis("猫");
  const std::string result = TransformQuery("@" + tail);
  EXPECT_EQ(result.size(), kAny.size() + 255);
  EXPECT_EQ(result.substr(kAny.size()), tail.substr(0, 255));
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
