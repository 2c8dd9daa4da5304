// The character boundaries the result view's store uses, the match subject
// of a line that ends in a lone lead byte, and hit lines inside their line
// (the search table builds them), and the keyword marks.
#include "core/hits.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <vector>

#include "core/hitstore.h"
#include "sjis/sjis.h"
#include "text/encoding.h"

using encoding::Sjis;

namespace {

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
    ASSERT_EQ(hits::MatchSubject(line), line.substr(0, line.size() - (loneLead ? 1 : 0))) << round;
  }
  // A hit line's match lies inside its line.
  EXPECT_THROW(hits::BuildHitLine("", "abc", 3, 2, {}), std::out_of_range);
  EXPECT_THROW(hits::BuildHitLine("", "abc", 0, 1, {}), std::out_of_range);
}

// Marks 1..4 have their marks; anything else is none.
TEST(KeywordMarks, OneToFourElseNone) {
  const std::tuple<int, int, std::string> rows[] = {{-1, 5, ""},  {0, 5, ""},   {1, 1, Sjis("【")}, {2, 2, Sjis("《")},
                                                    {3, 3, "**"}, {4, 4, "//"}, {5, 5, ""},         {9, 5, ""}};
  for (const auto& [mark, shown, open] : rows) {
    EXPECT_EQ(hits::MarkOrNone(mark), shown) << mark;
    EXPECT_EQ(hits::MarksFor(mark).Open, open) << mark;
  }
}

}  // namespace
