// "Find next" in the result view, driven through an in-memory view of
// Shift-JIS lines whose positions count bytes and whose lines are separated
// by one byte, as in the window's result view.
#include "core/find.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "exceptions.h"
#include "regexp.h"
#include "sjis.h"

namespace {

class TMemoryView : public find::TFindView {
 public:
  explicit TMemoryView(const std::vector<std::u16string>& lines) {
    for (const std::u16string& line : lines) FLines.push_back(encoding::EncodeSjisLossy(line).Bytes);
  }
  // Lines given as Shift-JIS bytes.
  static TMemoryView OfBytes(std::vector<std::string> lines) {
    TMemoryView view({});
    view.FLines = std::move(lines);
    return view;
  }

  std::int64_t LineCount() const override { return static_cast<std::int64_t>(FLines.size()); }
  std::string_view LineBytes(std::int64_t line) const override { return FLines.at(static_cast<std::size_t>(line)); }
  std::int64_t SelStartLine() const override {
    for (std::int64_t i = 0; i + 1 < LineCount(); ++i) {
      if (FStart < LineStart(i + 1)) return i;
    }
    return LineCount() - 1;
  }
  std::int64_t LineStart(std::int64_t line) const override {
    std::int64_t start = 0;
    for (std::int64_t i = 0; i < line; ++i)
      start += static_cast<std::int64_t>(FLines.at(static_cast<std::size_t>(i)).size()) + 1;
    return start;
  }
  std::int64_t SelStart() const override { return FStart; }
  void SetSelection(std::int64_t start, std::int64_t length) override {
    FStart = start;
    FLength = length;
    ++SetCount;
  }

  std::int64_t Start() const { return FStart; }
  std::int64_t Length() const { return FLength; }
  // The selected text, as UTF-8 for readable failures.
  std::string Selected() const {
    std::string all;
    for (const auto& line : FLines) all += line + '\n';
    return encoding::SjisToUtf8(all.substr(static_cast<std::size_t>(FStart), static_cast<std::size_t>(FLength)));
  }

  int SetCount = 0;

 private:
  std::vector<std::string> FLines;
  std::int64_t FStart = 0;
  std::int64_t FLength = 0;
};

// Presses "find next" the way the dialog does: a success makes the next find
// a continued one, a failure empties the selection.
class TFinder {
 public:
  TFinder(TMemoryView& view, TAWKStr& matcher) : FView(view), FMatcher(matcher) {}

  bool Next(const find::TFindOptions& options) {
    const bool found = find::FindNext(FView, FMatcher, options, FContinue);
    if (found) {
      FContinue = true;
    } else {
      find::CollapseSelection(FView);
    }
    return found;
  }
  bool Next(std::u16string text) {
    find::TFindOptions options;
    options.Text = std::move(text);
    return Next(options);
  }

 private:
  TMemoryView& FView;
  TAWKStr& FMatcher;
  bool FContinue = false;
};

find::TFindOptions Options(std::u16string text, bool wholeWord = false, bool ignoreCase = false, bool fromTop = false) {
  find::TFindOptions options;
  options.Text = std::move(text);
  options.WholeWord = wholeWord;
  options.IgnoreCase = ignoreCase;
  options.FromTop = fromTop;
  return options;
}

#define EXPECT_SELECTION(view, start, length, text) \
  do {                                              \
    EXPECT_EQ((view).Start(), (start));             \
    EXPECT_EQ((view).Length(), (length));           \
    EXPECT_EQ((view).Selected(), (text));           \
  } while (false)

// The byte-wise lowering that must not be used: every byte from "A" to "Z".
std::string LowerEveryByte(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return s;
}

}  // namespace

// --- Plain find: where a find starts and which match it takes ---------------

TEST(FindPlain, FourEqualLettersSecondFindGoesOnToFollowingLines) {
  TMemoryView view({u"aaaa", u"xaa"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"aa"));
  EXPECT_SELECTION(view, 0, 2, "aa");
  // The first match in "aaa " (from the byte after the previous start) is at
  // its first byte and counts as none, so the line is passed over.
  ASSERT_TRUE(finder.Next(u"aa"));
  EXPECT_SELECTION(view, 6, 2, "aa");
}

TEST(FindPlain, TwoLetterPairFindsFirstThenSecondOccurrence) {
  TMemoryView view({u"abab"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"ab"));
  EXPECT_SELECTION(view, 0, 2, "ab");
  ASSERT_TRUE(finder.Next(u"ab"));
  EXPECT_SELECTION(view, 2, 2, "ab");
}

TEST(FindPlain, AfterLastOccurrenceNothingIsFoundAndCaretStaysAtLastMatchStart) {
  TMemoryView view({u"abab", u"zz"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"ab"));
  ASSERT_TRUE(finder.Next(u"ab"));
  EXPECT_FALSE(finder.Next(u"ab"));
  EXPECT_EQ(view.Start(), 2);
  EXPECT_EQ(view.Length(), 0);
  // Pressing again searches from the same place and fails again.
  EXPECT_FALSE(finder.Next(u"ab"));
  EXPECT_EQ(view.Start(), 2);
}

TEST(FindPlain, FreshFindTakesFirstMatchAtOrAfterCaret) {
  TMemoryView view({u"ab ab ab"});
  TAWKStr awk;
  view.SetSelection(3, 0);
  TFinder atMatch(view, awk);
  ASSERT_TRUE(atMatch.Next(u"ab"));
  EXPECT_SELECTION(view, 3, 2, "ab");

  view.SetSelection(5, 0);
  TFinder afterMatch(view, awk);
  ASSERT_TRUE(afterMatch.Next(u"ab"));
  EXPECT_SELECTION(view, 6, 2, "ab");
}

TEST(FindPlain, FreshFindPassesOverLineWhoseFirstMatchBeginsBeforeCaret) {
  // The candidate text begins with the character before the caret; its first
  // match begins there and counts as none, so the rest of the line is passed
  // over.
  TMemoryView view({u"ab ab ab", u"ab"});
  TAWKStr awk;
  view.SetSelection(4, 0);
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"ab"));
  EXPECT_SELECTION(view, 9, 2, "ab");
}

TEST(FindPlain, FromTopStartsFreshFindAtTopAndContinuesAfterwards) {
  TMemoryView view({u"ab", u"ab"});
  TAWKStr awk;
  view.SetSelection(4, 0);
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(Options(u"ab", false, false, true)));
  EXPECT_SELECTION(view, 0, 2, "ab");
  ASSERT_TRUE(finder.Next(Options(u"ab", false, false, true)));
  EXPECT_SELECTION(view, 3, 2, "ab");
}

TEST(FindPlain, FromCaretDoesNotWrapAround) {
  TMemoryView view({u"ab", u"xx"});
  TAWKStr awk;
  view.SetSelection(3, 0);
  TFinder finder(view, awk);
  EXPECT_FALSE(finder.Next(u"ab"));
  EXPECT_EQ(view.Start(), 3);
}

TEST(FindPlain, PeriodAndBracketsAreRegularExpressionCharacters) {
  TMemoryView view({u"xabc", u"ayz"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"a.c"));
  EXPECT_SELECTION(view, 1, 3, "abc");
  TFinder brackets(view, awk);
  view.SetSelection(0, 0);
  ASSERT_TRUE(brackets.Next(u"[xy]z"));
  EXPECT_SELECTION(view, 6, 2, "yz");
}

TEST(FindPlain, EmptyFindTextFindsNothing) {
  TMemoryView view({u"abc", u"def"});
  TAWKStr awk;
  TFinder finder(view, awk);
  EXPECT_FALSE(finder.Next(u""));
}

TEST(FindPlain, EmptyViewFindsNothing) {
  TMemoryView view({});
  TAWKStr awk;
  TFinder finder(view, awk);
  EXPECT_FALSE(finder.Next(u"a"));
}

TEST(FindPlain, MatchReachingLineEndSelectsOnlyTheLinesText) {
  // The space added after the line is not part of the view.
  TMemoryView view({u"xabc", u"q"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"bc "));
  EXPECT_SELECTION(view, 2, 2, "bc");
}

TEST(FindPlain, SelectionSpanningLinesSearchesFromItsStart) {
  TMemoryView view({u"xx ab", u"ab"});
  TAWKStr awk;
  view.SetSelection(1, 6);  // from line 0 into line 1
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"ab"));
  EXPECT_SELECTION(view, 3, 2, "ab");
}

// --- The shared matcher: pattern, errors, its own case option --------------

TEST(FindMatcher, FindSetsThePatternOfTheSharedMatcher) {
  TMemoryView view({u"abc"});
  TAWKStr awk;
  awk.SetPattern("zzz");
  TFinder finder(view, awk);
  finder.Next(u"b.");
  EXPECT_EQ(awk.GetPattern(), "b.");
}

TEST(FindMatcher, MalformedPatternRaisesAndLeavesSelectionAlone) {
  TMemoryView view({u"(ab", u"cd"});
  TAWKStr awk;
  view.SetSelection(4, 1);
  const int setCount = view.SetCount;
  EXPECT_THROW(find::FindNext(view, awk, Options(u"(", false, false, true), false), ERegExpParser);
  EXPECT_EQ(view.SetCount, setCount);
  EXPECT_EQ(view.Start(), 4);
  EXPECT_EQ(view.Length(), 1);
}

TEST(FindMatcher, FindTextWithoutShiftJisFormRaises) {
  TMemoryView view({u"abc"});
  TAWKStr awk;
  EXPECT_THROW(find::FindNext(view, awk, Options(u"a\u20ac"), false), encoding::EEncodingError);
}

TEST(FindMatcher, MatchersOwnIgnoreCaseApplies) {
  TMemoryView view({u"xabc"});
  TAWKStr awk;
  TFinder exact(view, awk);
  EXPECT_FALSE(exact.Next(u"ABC"));
  awk.SetIgnoreCase(true);
  TFinder folding(view, awk);
  ASSERT_TRUE(folding.Next(u"ABC"));
  EXPECT_SELECTION(view, 1, 3, "abc");
}

// --- Case-insensitive find ---------------------------------------------------

TEST(FindCase, MixedCaseTextFindsAnyCase) {
  TMemoryView view({u"xAbC", u"ABC", u"abc"});
  TAWKStr awk;
  TFinder finder(view, awk);
  const auto options = Options(u"aBc", false, true);
  ASSERT_TRUE(finder.Next(options));
  EXPECT_SELECTION(view, 1, 3, "AbC");
  ASSERT_TRUE(finder.Next(options));
  EXPECT_SELECTION(view, 5, 3, "ABC");
  ASSERT_TRUE(finder.Next(options));
  EXPECT_SELECTION(view, 9, 3, "abc");
}

TEST(FindCase, WithoutTheOptionOnlyExactCaseIsFound) {
  TMemoryView view({u"xAbC", u"xaBc"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"aBc"));
  EXPECT_SELECTION(view, 6, 3, "aBc");
}

TEST(FindCase, KatakanaAIsNeverTakenForDi) {
  // Lowering every byte would turn the second byte of "ア" into that of "ヂ".
  ASSERT_EQ(LowerEveryByte(encoding::Sjis("ア")), encoding::Sjis("ヂ"));
  TMemoryView view({u"ヂ", u"xア", u"ヂア"});
  TAWKStr awk;
  TFinder finder(view, awk);
  const auto options = Options(u"ア", false, true);
  ASSERT_TRUE(finder.Next(options));
  EXPECT_SELECTION(view, 4, 2, "ア");
  ASSERT_TRUE(finder.Next(options));
  EXPECT_SELECTION(view, 9, 2, "ア");
  EXPECT_FALSE(finder.Next(options));
}

TEST(FindCase, KatakanaDiDoesNotFindA) {
  TMemoryView view({u"ア", u"xヂ"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(Options(u"ヂ", false, true)));
  EXPECT_SELECTION(view, 4, 2, "ヂ");
}

TEST(FindCase, PatternLowersOnlySingleByteLetters) {
  EXPECT_EQ(find::FindPattern(Options(u"AbアC", false, true)), encoding::Sjis("abアc"));
  EXPECT_EQ(find::FindPattern(Options(u"AbアC")), encoding::Sjis("AbアC"));
}

// --- Word search -------------------------------------------------------------

TEST(FindWord, PatternWrapsTextInDelimiters) {
  EXPECT_EQ(find::FindPattern(Options(u"x", true)), encoding::Sjis("[ \"■{(]x[ \")!?.,:;]"));
}

TEST(FindWord, WordAtLineStartIsFound) {
  TMemoryView view({u"word here"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(Options(u"word", true)));
  EXPECT_SELECTION(view, 0, 4, "word");
}

TEST(FindWord, WordAtLineEndIsFound) {
  TMemoryView view({u"the word"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(Options(u"word", true)));
  EXPECT_SELECTION(view, 4, 4, "word");
}

TEST(FindWord, WordFollowedByHyphenIsNotFound) {
  TMemoryView view({u"word-like", u"a word-like"});
  TAWKStr awk;
  TFinder finder(view, awk);
  EXPECT_FALSE(finder.Next(Options(u"word", true)));
}

TEST(FindWord, WordInsideLongerWordIsNotFound) {
  TMemoryView view({u"swords", u"(word)"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(Options(u"word", true)));
  EXPECT_SELECTION(view, 8, 4, "word");
}

TEST(FindWord, SuccessiveWordsOnOneLine) {
  TMemoryView view({u"word \"word\" word."});
  TAWKStr awk;
  TFinder finder(view, awk);
  const auto options = Options(u"word", true);
  ASSERT_TRUE(finder.Next(options));
  EXPECT_SELECTION(view, 0, 4, "word");
  ASSERT_TRUE(finder.Next(options));
  EXPECT_SELECTION(view, 6, 4, "word");
  ASSERT_TRUE(finder.Next(options));
  EXPECT_SELECTION(view, 12, 4, "word");
  EXPECT_FALSE(finder.Next(options));
}

TEST(FindWord, CharacterBeforeCaretServesAsLeadingDelimiter) {
  TMemoryView view({u"aa word", u"xxword word"});
  TAWKStr awk;
  view.SetSelection(3, 0);
  TFinder atWord(view, awk);
  ASSERT_TRUE(atWord.Next(Options(u"word", true)));
  EXPECT_SELECTION(view, 3, 4, "word");
  // Before the caret stands a letter: that "word" is no word.
  view.SetSelection(10, 0);
  TFinder afterLetter(view, awk);
  ASSERT_TRUE(afterLetter.Next(Options(u"word", true)));
  EXPECT_SELECTION(view, 15, 4, "word");
}

TEST(FindWord, DoubleByteDelimiterIsNotSelected) {
  TMemoryView view({u"■word!"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(Options(u"word", true)));
  EXPECT_SELECTION(view, 2, 4, "word");
}

// --- Double-byte text: positions in bytes -------------------------------------

TEST(FindDoubleByte, MatchAfterDoubleByteTextIsSelectedExactly) {
  TMemoryView view({u"日本語abc"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"abc"));
  EXPECT_SELECTION(view, 6, 3, "abc");
}

TEST(FindDoubleByte, DoubleByteMatchOnLaterLine) {
  TMemoryView view({u"英和", u"日本語の辞書です"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"辞書"));
  EXPECT_SELECTION(view, 13, 4, "辞書");
}

TEST(FindDoubleByte, ContinuedFindStepsOverWholeCharacter) {
  // The second byte of "検" is itself a lead byte: a candidate text starting
  // there would pair it with the next byte and lose step with the characters.
  ASSERT_TRUE(IsDBCSLeadByte(static_cast<unsigned char>(encoding::Sjis("検")[1])));
  TMemoryView view({u"検索検"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"検"));
  EXPECT_SELECTION(view, 0, 2, "検");
  ASSERT_TRUE(finder.Next(u"検"));
  EXPECT_SELECTION(view, 4, 2, "検");
}

TEST(FindDoubleByte, FreshFindAfterDoubleByteCharacterAtCaret) {
  ASSERT_TRUE(IsDBCSLeadByte(static_cast<unsigned char>(encoding::Sjis("日")[1])));
  TMemoryView view({u"日検"});
  TAWKStr awk;
  view.SetSelection(2, 0);
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"検"));
  EXPECT_SELECTION(view, 2, 2, "検");
}

TEST(FindDoubleByte, TwoDoubleBytePairFindsBothOccurrences) {
  TMemoryView view({u"アイアイ"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"アイ"));
  EXPECT_SELECTION(view, 0, 4, "アイ");
  ASSERT_TRUE(finder.Next(u"アイ"));
  EXPECT_SELECTION(view, 4, 4, "アイ");
}

TEST(FindDoubleByte, UndecodableCharacterCountsAsOneCharacter) {
  // 0x85 0x40 is a pair without a Unicode form, one character to the engine.
  TMemoryView view = TMemoryView::OfBytes({"x\x85\x40zz"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"x.z"));
  EXPECT_SELECTION(view, 0, 4, "x\uFFFDz");
  TFinder after(view, awk);
  view.SetSelection(0, 0);
  ASSERT_TRUE(after.Next(u"zz"));
  EXPECT_SELECTION(view, 3, 2, "zz");
}

// --- Long lines ----------------------------------------------------------------

TEST(FindLongLine, MatchBeyondFourThousandBytes) {
  const std::u16string longLine = std::u16string(5000, u'x') + u"needle";
  TMemoryView view({u"first", longLine, u"zz needle"});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"needle"));
  EXPECT_SELECTION(view, 6 + 5000, 6, "needle");
  ASSERT_TRUE(finder.Next(u"needle"));
  EXPECT_SELECTION(view, 6 + 5006 + 1 + 3, 6, "needle");
}

TEST(FindLongLine, DoubleByteLineBeyondFourThousandBytes) {
  std::u16string line;
  for (int i = 0; i < 3000; ++i) line += u"あ";
  line += u"abc";
  TMemoryView view({line});
  TAWKStr awk;
  TFinder finder(view, awk);
  ASSERT_TRUE(finder.Next(u"abc"));
  EXPECT_SELECTION(view, 6000, 3, "abc");
}
