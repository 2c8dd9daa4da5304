// Building hit lines: tags, marks, the keyword run's byte range, the match
// subject of a line that ends in a lone lead byte, and the status texts; the
// store of the result view's lines and its character boundaries.
#include "core/hits.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <vector>

#include "core/encoding.h"
#include "core/hitstore.h"
#include "sjis.h"

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

// Random Shift-JIS-like bytes, lead bytes frequent (runs of lead-byte values
// make the backward look of CharStart work hardest).
std::string RandomLine(std::mt19937& random) {
  static const unsigned char bytes[] = {'a', ' ', 0x81, 0x82, 0x88, 0x9F, 0xE0, 0xFC, 0x40, 0xA0, 0xB1, 0x5C, 0x0D};
  std::string line(random() % 24, '\0');
  for (char& c : line) c = static_cast<char>(bytes[random() % sizeof bytes]);
  return line;
}

// The character starts of a line by a walk from its start.
std::vector<bool> Starts(const std::string& line) {
  std::vector<bool> starts(line.size() + 1, false);
  std::size_t i = 0;
  while (i < line.size()) {
    starts[i] = true;
    i += IsDBCSLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size() ? 2 : 1;
  }
  starts[line.size()] = true;
  return starts;
}

TEST(CharacterBoundaries, AgreeWithAWalkFromTheLineStart) {
  std::mt19937 random(14);
  for (int round = 0; round < 2000; ++round) {
    const std::string line = RandomLine(random);
    const std::vector<bool> starts = Starts(line);
    for (std::size_t at = 0; at <= line.size(); ++at) {
      std::size_t before = at;
      while (!starts[before]) --before;
      std::size_t after = at;
      while (!starts[after]) ++after;
      ASSERT_EQ(hits::CharStart(line, at), before) << round << " " << at;
      ASSERT_EQ(hits::NextCharStart(line, at), after) << round << " " << at;
    }
    // The match subject cuts exactly a lone lead byte at the end.
    const bool loneLead =
        !line.empty() && starts[line.size() - 1] && IsDBCSLeadByte(static_cast<unsigned char>(line.back()));
    ASSERT_EQ(hits::MatchSubjectLength(line), line.size() - (loneLead ? 1 : 0)) << round;
  }
}

TEST(HitStore, HoldsLinesRunsAndLooksAsAppended) {
  std::mt19937 random(16);
  hits::THitStore store;
  for (int pass = 0; pass < 2; ++pass) {  // the second after a Clear
    std::vector<std::string> lines;
    std::vector<hits::TLineRun> runs;
    std::string text;
    const hits::TKeywordStyle looks[] = {{}, {true, false, true, 65280}};
    for (int i = 0; i < 3000; ++i) {
      lines.push_back(RandomLine(random));
      const std::string& line = lines.back();
      if (i % 7 == 0) {
        store.AppendLine(line);
        runs.push_back({});
      } else {
        const std::size_t start = random() % (line.size() + 1);
        const std::size_t length = random() % (line.size() - start + 1);
        store.AppendHitLine(line, start, length, looks[i % 2]);
        runs.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(length), 0});
      }
      text += line + "\n";
    }
    store.Compact();
    ASSERT_EQ(store.Text(), text);
    ASSERT_EQ(store.LineCount(), 3000);
    for (std::int64_t i = 0; i < store.LineCount(); ++i) {
      const auto index = static_cast<std::size_t>(i);
      ASSERT_EQ(store.Line(i), lines[index]);
      const std::int64_t start = store.LineStart(i);
      ASSERT_EQ(text.substr(static_cast<std::size_t>(start), lines[index].size()), lines[index]);
      ASSERT_EQ(store.LineOf(start), i);
      ASSERT_EQ(store.LineOf(start + static_cast<std::int64_t>(lines[index].size())), i);  // its line end
      const hits::TLineRun run = store.Run(i);
      if (i % 7 == 0) {
        ASSERT_EQ(run.Style, hits::kNoRun);
      } else {
        ASSERT_EQ(run.Start, runs[index].Start);
        ASSERT_EQ(run.Length, runs[index].Length);
        ASSERT_EQ(store.Style(run.Style), looks[i % 2]);
      }
    }
    store.Clear();
    ASSERT_EQ(store.LineCount(), 0);
    ASSERT_EQ(store.Size(), 0);
  }
  EXPECT_THROW(store.AppendHitLine("abc", 2, 2, {}), std::out_of_range);
}

TEST(Status, RunningCountNamesTheFile) { EXPECT_EQ(hits::RunningStatus(7, u"KOVA5.TXT"), u"7件ﾋｯﾄ KOVA5.TXT"); }

TEST(Status, EndShowsSecondsWithTwoDecimalsAndTheCount) {
  EXPECT_EQ(hits::EndStatus(0.47, 12), u"終了:0.47秒 12件ﾋｯﾄ");
  EXPECT_EQ(hits::EndStatus(0.004, 0), u"終了:0.00秒 0件ﾋｯﾄ");
  EXPECT_EQ(hits::EndStatus(61.5, 3), u"終了:61.50秒 3件ﾋｯﾄ");
}

}  // namespace
