// "Find next" in the in-memory view (the hit store: Shift-JIS lines, one
// byte between lines, positions in bytes), row by row of a table of finds.
// The dialog's tests give finds their errors and undecodable pairs.
#include "core/find.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "regexp/regexp.h"
#include "support/memory_view.h"

namespace {

// Lines of a view, a caret, the find options, and what successive presses
// select until one fails.
struct TFindCase {
  std::vector<std::string> Lines;  // UTF-8
  std::u16string Text;
  std::int64_t Caret = 0;
  bool Word = false;
  bool IgnoreCase = false;
  bool FromTop = false;
  // Each successful press: where the selection starts and its text.
  std::vector<std::pair<std::int64_t, std::string>> Found;
};

const std::string kLong(5000, 'x');
const std::string kLongKana = [] {
  std::string s;
  for (int i = 0; i < 3000; ++i) s += "あ";
  return s + "abc";
}();

const TFindCase kFinds[] = {
    // A continued find goes on from the character after the last match's
    // first one, and a match at the candidate's first character is none.
    {{"aaaa", "xaa"}, u"aa", 0, false, false, false, {{0, "aa"}, {6, "aa"}}},
    {{"abab", "zz"}, u"ab", 0, false, false, false, {{0, "ab"}, {2, "ab"}}},
    {{"ab ab ab"}, u"ab", 3, false, false, false, {{3, "ab"}, {6, "ab"}}},
    {{"ab ab ab"}, u"ab", 5, false, false, false, {{6, "ab"}}},
    {{"ab ab ab", "ab"}, u"ab", 4, false, false, false, {{9, "ab"}}},
    {{"ab", "ab"}, u"ab", 4, false, false, true, {{0, "ab"}, {3, "ab"}}},
    {{"ab", "xx"}, u"ab", 3, false, false, false, {}},
    {{"xabc", "ayz"}, u"a.c", 0, false, false, false, {{1, "abc"}}},
    {{"xabc", "ayz"}, u"[xy]z", 0, false, false, false, {{6, "yz"}}},
    {{"abc", "def"}, u"", 0, false, false, false, {}},
    {{}, u"a", 0, false, false, false, {}},
    {{"xabc", "q"}, u"bc ", 0, false, false, false, {{2, "bc"}}},
    // Case: only single-byte letters are lowered ("ア" is never "ヂ").
    {{"xAbC", "ABC", "abc"}, u"aBc", 0, false, true, false, {{1, "AbC"}, {5, "ABC"}, {9, "abc"}}},
    {{"xAbC", "xaBc"}, u"aBc", 0, false, false, false, {{6, "aBc"}}},
    {{"ヂ", "xア", "ヂア"}, u"ア", 0, false, true, false, {{4, "ア"}, {9, "ア"}}},
    {{"ア", "xヂ"}, u"ヂ", 0, false, true, false, {{4, "ヂ"}}},
    // Words: the delimiters are matched but not selected.
    {{"word here"}, u"word", 0, true, false, false, {{0, "word"}}},
    {{"the word"}, u"word", 0, true, false, false, {{4, "word"}}},
    {{"word-like", "a word-like"}, u"word", 0, true, false, false, {}},
    {{"swords", "(word)"}, u"word", 0, true, false, false, {{8, "word"}}},
    {{"word \"word\" word."}, u"word", 0, true, false, false, {{0, "word"}, {6, "word"}, {12, "word"}}},
    {{"aa word", "xxword word"}, u"word", 3, true, false, false, {{3, "word"}, {15, "word"}}},
    {{"aa word", "xxword word"}, u"word", 10, true, false, false, {{15, "word"}}},
    {{"■word!"}, u"word", 0, true, false, false, {{2, "word"}}},
    // Double-byte text: positions in bytes, steps by whole characters (the
    // second bytes of "検" and "日" are lead bytes themselves).
    {{"日本語abc"}, u"abc", 0, false, false, false, {{6, "abc"}}},
    {{"英和", "日本語の辞書です"}, u"辞書", 0, false, false, false, {{13, "辞書"}}},
    {{"検索検"}, u"検", 0, false, false, false, {{0, "検"}, {4, "検"}}},
    {{"日検"}, u"検", 2, false, false, false, {{2, "検"}}},
    {{"アイアイ"}, u"アイ", 0, false, false, false, {{0, "アイ"}, {4, "アイ"}}},
    {{"first", kLong + "needle", "zz needle"}, u"needle", 0, false, false, false, {{5006, "needle"}, {5016, "needle"}}},
    {{kLongKana}, u"abc", 0, false, false, false, {{6000, "abc"}}},
};

class FindTable : public ::testing::TestWithParam<TFindCase> {};

TEST_P(FindTable, SuccessivePresses) {
  const TFindCase& c = GetParam();
  TMemoryView view(c.Lines);
  TAWKStr awk;
  view.SetSelection(c.Caret, 0);
  const find::TFindOptions options{c.Text, c.Word, c.IgnoreCase, c.FromTop};
  bool continuing = false;
  for (const auto& [start, text] : c.Found) {
    ASSERT_TRUE(find::FindNext(view, awk, options, continuing)) << text << " at " << start;
    EXPECT_EQ(view.SelStart(), start);
    EXPECT_EQ(view.Selected(), text);
    continuing = true;
  }
  // Then nothing more: the selection collapses at its start, and pressing
  // again fails again.
  const std::int64_t last = view.SelStart();
  for (int press = 0; press < 2; ++press) {
    EXPECT_FALSE(find::FindNext(view, awk, options, continuing));
    find::CollapseSelection(view);
    EXPECT_EQ(view.SelStart(), last);
    EXPECT_EQ(view.SelLength(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Finds, FindTable, ::testing::ValuesIn(kFinds));

}  // namespace
