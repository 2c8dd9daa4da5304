// The result view's caret and selection without a display: where the keys
// and a double click take them, always onto character boundaries.
#include "core/selection.h"

#include <gtest/gtest.h>

#include <vector>

#include "text/encoding.h"

using hits::TCaretMove;
using hits::TSelection;

namespace {

// "ab 日本" [0, 7), an empty line at 8, "猫 cat dog" [9, 19); 20 bytes with
// the line ends.
class SelectionTest : public ::testing::Test {
 protected:
  SelectionTest() {
    for (const char* line : {"ab 日本", "", "猫 cat dog"}) Store.AppendLine(encoding::Sjis(line));
  }
  hits::THitStore Store;
  TSelection Selection{Store};
};

}  // namespace

TEST_F(SelectionTest, KeysMoveTheCaret) {
  using enum TCaretMove;
  const struct {
    std::int64_t From;
    TCaretMove Move;
    std::int64_t Page, To;
  } rows[] = {
      {5, Left, 1, 3},      {9, Left, 1, 8},       {0, Left, 1, 0},        {3, Right, 1, 5},     {7, Right, 1, 8},
      {20, Right, 1, 20},   {14, Up, 1, 8},        {5, Up, 1, 0},          {5, Down, 1, 8},      {1, PageDown, 2, 9},
      {8, Down, 1, 9},      {14, Down, 1, 20},     {14, PageUp, 2, 0},     {14, PageUp, 1, 8},   {0, PageDown, 2, 9},
      {3, PageDown, 9, 20}, {14, LineStart, 1, 9}, {14, LineEnd, 1, 19},   {5, TextStart, 1, 0}, {5, TextEnd, 1, 20},
      {20, Up, 1, 9},       {20, PageUp, 2, 8},    {20, LineStart, 1, 20}, {20, LineEnd, 1, 20},
  };
  // Column 1 of line 0 falls into "猫" two lines down: its start.  The end
  // of the text (20) is a row of its own below the last line.
  for (const auto& row : rows) {
    Selection.MoveCaret(row.From, false);
    EXPECT_EQ(Selection.Target(row.Move, row.Page), row.To) << row.From << " " << static_cast<int>(row.Move);
  }
}

TEST_F(SelectionTest, PositionsSnapToCharacterBoundaries) {
  const std::pair<std::int64_t, std::int64_t> rows[] = {{-5, 0}, {4, 3}, {7, 7}, {10, 9}, {19, 19}, {100, 20}};
  for (const auto& [position, snapped] : rows) EXPECT_EQ(Selection.Snap(position), snapped) << position;
  // Right from the start visits every boundary once; Left goes back the same way.
  std::vector<std::int64_t> right{0}, left{20};
  while (right.back() < Store.Size()) {
    Selection.MoveCaret(right.back(), false);
    right.push_back(Selection.Target(TCaretMove::Right, 1));
  }
  while (left.back() > 0) {
    Selection.MoveCaret(left.back(), false);
    left.push_back(Selection.Target(TCaretMove::Left, 1));
  }
  EXPECT_EQ(right, (std::vector<std::int64_t>{0, 1, 2, 3, 5, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
  EXPECT_EQ(std::vector<std::int64_t>(left.rbegin(), left.rend()), right);
}

TEST_F(SelectionTest, AnchorStaysWhileShiftExtends) {
  Selection.MoveCaret(4, false);
  Selection.MoveCaret(14, true);
  EXPECT_TRUE(Selection.Start() == 3 && Selection.Length() == 11 && Selection.Caret() == 14);
  Selection.MoveCaret(0, true);
  EXPECT_TRUE(Selection.Start() == 0 && Selection.Length() == 3 && Selection.Caret() == 0);
  Selection.Select(4, 6);  // both ends inside a character
  EXPECT_TRUE(Selection.Start() == 3 && Selection.Length() == 6 && Selection.Caret() == 9);
  Selection.SelectAll();
  EXPECT_TRUE(Selection.Start() == 0 && Selection.Length() == 20 && Selection.Caret() == 20);
  Selection.Collapse(9);
  EXPECT_TRUE(Selection.Empty() && Selection.Caret() == 9);
}

// A double click selects the word around it (core/words.h), the one before
// a line end.
TEST_F(SelectionTest, DoubleClickSelectsAWord) {
  const struct {
    std::int64_t At, Start, Length;
  } rows[] = {{13, 12, 3}, {10, 9, 2}, {2, 2, 1}, {4, 3, 4}, {8, 8, 0}, {19, 16, 3}, {20, 16, 3}};
  for (const auto& row : rows) {
    EXPECT_EQ(Selection.WordAt(row.At), std::make_pair(row.Start, row.Length)) << row.At;
  }
  const hits::THitStore empty;
  EXPECT_EQ(TSelection(empty).WordAt(5), std::make_pair(std::int64_t{0}, std::int64_t{0}));
}
