// Building hit lines: tags, marks, the keyword run's byte range, the match
// subject of a line that ends in a lone lead byte, and the status texts.
#include "core/hits.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/encoding.h"

using encoding::Sjis;

namespace {

TEST(HitMarks, EachMenuItemHasItsPair) {
  EXPECT_EQ(hits::MarksFor(1).Open, Sjis("【"));
  EXPECT_EQ(hits::MarksFor(1).Close, Sjis("】"));
  EXPECT_EQ(hits::MarksFor(2).Open, Sjis("《"));
  EXPECT_EQ(hits::MarksFor(2).Close, Sjis("》"));
  EXPECT_EQ(hits::MarksFor(3).Open, "**");
  EXPECT_EQ(hits::MarksFor(4).Close, "//");
  EXPECT_TRUE(hits::MarksFor(5).Open.empty());
  EXPECT_TRUE(hits::MarksFor(5).Close.empty());
  EXPECT_TRUE(hits::MarksFor(0).Open.empty());
  EXPECT_TRUE(hits::MarksFor(7).Close.empty());
}

TEST(HitLine, TagNamesFileAndLine) { EXPECT_EQ(hits::Tag(Sjis("KOVA略語.TXT"), 12), Sjis("KOVA略語.TXT(12): ")); }

TEST(HitLine, MarksFrameTheMatchAndTheRunIsTheMatch) {
  const hits::THitLine hit = hits::BuildHitLine("", "a cat sat", 3, 3, hits::MarksFor(1));
  EXPECT_EQ(hit.Text, Sjis("a 【cat】 sat"));
  EXPECT_EQ(hit.Text.substr(static_cast<std::size_t>(hit.RunStart), static_cast<std::size_t>(hit.RunLength)), "cat");
}

TEST(HitLine, TagShiftsTheRunByItsLength) {
  const std::string tag = hits::Tag(Sjis("KOVA略語.TXT"), 12);
  const std::string line = Sjis("猫 cat です");
  const hits::THitLine hit = hits::BuildHitLine(tag, line, 4, 3, hits::MarksFor(2));
  EXPECT_EQ(hit.Text, tag + Sjis("猫 《cat》 です"));
  EXPECT_EQ(hit.RunStart, static_cast<int>(tag.size()) + 3 + 2);
  EXPECT_EQ(hit.RunLength, 3);
}

TEST(HitLine, NoMarksLeaveTheLineAsItIs) {
  const std::string line = Sjis("辞書の見出し cat");
  const hits::THitLine hit = hits::BuildHitLine("", line, static_cast<int>(line.size()) - 2, 3, hits::MarksFor(5));
  EXPECT_EQ(hit.Text, line);
  EXPECT_EQ(hit.RunStart, static_cast<int>(line.size()) - 3);
}

TEST(HitLine, EmptyMatchAtTheStartPutsTheMarksTogether) {
  const std::string line = Sjis("日本");
  const hits::THitLine hit = hits::BuildHitLine("", line, 1, 0, hits::MarksFor(3));
  EXPECT_EQ(hit.Text, "****" + line);
  EXPECT_EQ(hit.RunStart, 2);
  EXPECT_EQ(hit.RunLength, 0);
}

TEST(HitLine, MatchOutsideTheLineIsRejected) {
  EXPECT_THROW(hits::BuildHitLine("", "abc", 3, 2, {}), std::out_of_range);
  EXPECT_THROW(hits::BuildHitLine("", "abc", 0, 1, {}), std::out_of_range);
}

TEST(MatchSubject, LoneLeadByteAtTheEndIsCut) {
  EXPECT_EQ(hits::MatchSubject("cat\x82"), "cat");
  EXPECT_EQ(hits::MatchSubject(Sjis("猫") + "\x88"), Sjis("猫"));
}

TEST(MatchSubject, CompleteCharactersStay) {
  const std::string pair = Sjis("猫");
  EXPECT_EQ(hits::MatchSubject(pair), pair);
  // A second byte with a lead byte's value belongs to the pair before it.
  EXPECT_EQ(hits::MatchSubject("\x81\x81"), "\x81\x81");
  EXPECT_EQ(hits::MatchSubject("a\x81\x81\x81"), "a\x81\x81");
  // Half-width katakana are single bytes.
  EXPECT_EQ(hits::MatchSubject("\xB1\xB2"), "\xB1\xB2");
  EXPECT_EQ(hits::MatchSubject(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(hits::MatchSubject(""), "");
}

TEST(Status, RunningCountNamesTheFile) { EXPECT_EQ(hits::RunningStatus(7, u"KOVA5.TXT"), u"7件ﾋｯﾄ KOVA5.TXT"); }

TEST(Status, EndShowsSecondsWithTwoDecimalsAndTheCount) {
  EXPECT_EQ(hits::EndStatus(0.47, 12), u"終了:0.47秒 12件ﾋｯﾄ");
  EXPECT_EQ(hits::EndStatus(0.004, 0), u"終了:0.00秒 0件ﾋｯﾄ");
  EXPECT_EQ(hits::EndStatus(61.5, 3), u"終了:61.50秒 3件ﾋｯﾄ");
}

}  // namespace
