// The words of a line: runs of one kind of character, each other character
// alone, cut as the engine cuts characters.
#include "core/words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/encoding.h"

namespace {

// Every byte of each word gives that word; the line's end gives the last.
void ExpectWords(const std::string& line, const std::vector<std::string>& words) {
  std::string joined;
  for (const std::string& word : words) {
    for (std::size_t at = 0; at < word.size(); ++at) {
      EXPECT_EQ(hits::WordAt(line, joined.size() + at), std::make_pair(joined.size(), joined.size() + word.size()))
          << encoding::SjisToUtf8(line) << " at " << joined.size() + at;
    }
    joined += word;
  }
  ASSERT_EQ(joined, line);
  EXPECT_EQ(hits::WordAt(line, line.size()).second, line.size());
}

}  // namespace

TEST(WordsTest, RunsOfOneKind) {
  const std::vector<std::vector<std::string>> rows = {
      {"日本語", "の", "辞書", "です", "。", "カタカナー", "と", "ｶﾀｶﾞﾅ", "、", "人々", "ゞ"},
      {"don't", " ", "stop_now", "  ", "123abc", "\t", "'", "quoted", "'"},
      {"（", "ＡＢＣ１", "）", "　", "αβγ", " ", "Да", "-", "-", "=", "〒"},
      {"■", "run", "\x7f", "漢字", "かな", "Kanji"},
  };
  for (const auto& words : rows) {
    std::vector<std::string> sjis;
    std::string line;
    for (const std::string& word : words) line += sjis.emplace_back(encoding::Sjis(word));
    ExpectWords(line, sjis);
  }
}

TEST(WordsTest, CutAsTheEngineCutsCharacters) {
  // A second byte with a letter's code belongs to its kanji (0x8A 0x61), and
  // a lead byte that ends the line stands alone.
  ExpectWords("ab\x8A\x61z\x82", {"ab", "\x8A\x61", "z", "\x82"});
  EXPECT_EQ(hits::WordAt("", 0), std::make_pair(std::size_t{0}, std::size_t{0}));
}
