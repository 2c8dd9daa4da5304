// "Find next" in the in-memory view (the hit store: Shift-JIS lines, one
// byte between lines, positions in bytes), row by row of the shared find
// cases, and the find's matcher and errors.
#include "core/find.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/encoding.h"
#include "exceptions.h"
#include "find_cases.h"
#include "memory_view.h"
#include "regexp.h"

namespace {

using find_cases::TFindCase;

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

INSTANTIATE_TEST_SUITE_P(Finds, FindTable, ::testing::ValuesIn(find_cases::kFinds));

// The shared matcher gets the pattern and keeps its own case option; errors
// leave the selection alone; a pair without a Unicode form (85 40) is one
// character to the engine.
TEST(Find, MatcherErrorsAndUndecodablePairs) {
  TMemoryView view({"xabc", "(ab"});
  view.Store.AppendLine("x\x85\x40zz");
  TAWKStr awk;
  EXPECT_FALSE(find::FindNext(view, awk, {u"ABC"}, false));
  EXPECT_EQ(awk.GetPattern(), "ABC");
  awk.SetIgnoreCase(true);
  ASSERT_TRUE(find::FindNext(view, awk, {u"ABC"}, false));
  EXPECT_EQ(view.Selected(), "abc");
  awk.SetIgnoreCase(false);
  view.SetSelection(6, 1);
  EXPECT_THROW(find::FindNext(view, awk, {u"(", false, false, true}, false), ERegExpParser);
  EXPECT_THROW(find::FindNext(view, awk, {u"a\u20ac", false, false, true}, false), encoding::EEncodingError);
  EXPECT_EQ(view.SelStart(), 6);
  EXPECT_EQ(view.SelLength(), 1);
  ASSERT_TRUE(find::FindNext(view, awk, {u"x.z"}, false));
  EXPECT_EQ(view.SelStart(), 9);
  EXPECT_EQ(view.SelLength(), 4);
  ASSERT_TRUE(find::FindNext(view, awk, {u"zz"}, false));
  EXPECT_EQ(view.SelStart(), 12);
}

}  // namespace
