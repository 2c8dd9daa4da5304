// Building hit lines: tags, marks, the keyword run's byte range, the match
// subject of a line that ends in a lone lead byte; the character boundaries
// the result view's store uses.
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

// The marks and tags the search table does not reach.
TEST(HitLine, MarksTagAndRunAsTheMenuItemsSay) {
  // mark, tag, line, 1-based match position and length -> built line (UTF-8)
  // with the run in braces.
  struct TCase {
    int Mark;
    const char *Tag, *Line;
    int Pos, Len;
    const char* Built;
  };
  const TCase cases[] = {
      {4, "", "a cat", 3, 3, "a //{cat}//"},
      {0, "", "cat", 1, 3, "{cat}"},
      {7, "x", "cat", 1, 3, "x(12): {cat}"},
  };
  for (const TCase& c : cases) {
    const std::string tag = *c.Tag ? hits::Tag(Sjis(c.Tag), 12) : "";
    const hits::THitLine hit = hits::BuildHitLine(tag, Sjis(c.Line), c.Pos, c.Len, hits::MarksFor(c.Mark));
    const auto at = [&](int from, int length) {
      return encoding::SjisToUtf8(hit.Text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(length)));
    };
    EXPECT_EQ(at(0, hit.RunStart) + "{" + at(hit.RunStart, hit.RunLength) + "}" +
                  at(hit.RunStart + hit.RunLength, static_cast<int>(hit.Text.size()) - hit.RunStart - hit.RunLength),
              c.Built);
  }
  EXPECT_THROW(hits::BuildHitLine("", "abc", 3, 2, {}), std::out_of_range);
  EXPECT_THROW(hits::BuildHitLine("", "abc", 0, 1, {}), std::out_of_range);
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
    ASSERT_EQ(hits::MatchSubject(line), line.substr(0, line.size() - (loneLead ? 1 : 0))) << round;
  }
}

}  // namespace
