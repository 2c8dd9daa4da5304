// The About text: lines centred as a fixed-pitch font shows them.
#include "core/about.h"

#include <gtest/gtest.h>

#include "kovalex_version.h"

using about::CentredLines;

// A double-byte character takes two columns, a half-width katakana one; an
// odd remainder of columns goes to the right.
TEST(About, LinesAreCentredOnTheWidest) {
  const struct {
    std::vector<std::u16string> Lines;
    std::u16string Text;
  } rows[] = {
      {{u"abcdef", u"", u"ab"}, u"abcdef\n\n  ab"},
      {{u"ab", u"日本語"}, u"  ab\n日本語"},
      {{u"ｱｲｳ", u"日本"}, u"ｱｲｳ\n日本"},
      {{u"abc", u"a"}, u"abc\n a"},
      {{u"x"}, u"x"},
  };
  for (const auto& row : rows) EXPECT_EQ(CentredLines(row.Lines), row.Text) << row.Lines.size();
  // The program's name and version, then the engine's.
  const std::string name = "KOVALEX Searcher Mini " KOVALEX_VERSION;
  const std::u16string text = about::AboutText();
  const std::size_t first = text.find_first_not_of(u' ');
  EXPECT_EQ(text.substr(first, text.find(u'\n') - first), std::u16string(name.begin(), name.end()));
  EXPECT_NE(text.find(u"\n\n"), std::u16string::npos);
  EXPECT_TRUE(text.ends_with(u"正規表現コンポーネント0.14"));
}
