// The byte-level primitives against plain byte-at-a-time versions, over
// random data that puts the interesting bytes at every offset of a chunk.
// The public functions run the 32-byte code where the processor has it and
// the 16-byte code for the rest; the 16-byte code is also tested alone, since
// it does all the work on processors without AVX2.
#include "sjis/bytescan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "sjis/bytescan_impl.h"
#include "sjis/sjis.h"
#include "support/naive_search.h"
#include "support/sjis_literals.h"

// Random bytes with every interesting byte at every offset of a chunk;
// mostly short, long enough in some rounds for the lanes to be added up more
// than once.
TEST(ByteScan, PrimitivesAgreeWithByteAtATime) {
  std::mt19937 random(13);
  for (int round = 0; round < 500; ++round) {
    const std::size_t size = round % 10 == 0 ? 5000 + random() % 5000 : random() % 700;
    const std::string h = RandomBytes(random, size, std::string("abAB\n\x82\xa0 c\r\0\t", 12));
    const auto feeds = static_cast<std::size_t>(std::count(h.begin(), h.end(), '\n'));
    EXPECT_EQ(CountByte(h.data(), h.size(), '\n'), feeds);
    EXPECT_EQ(bytescan::CountByte16(h.data(), h.size(), '\n'), feeds);
    // Lead bytes before line ends, with the bytes at both edges of the lead
    // byte ranges.
    const std::string l = RandomBytes(random, size, "aaaaaaaa\n\r\x80\x81\x9f\xa0\xdf\xe0\xfc\xfd");
    std::size_t lead = 0;
    while (lead + 1 < l.size() && !(IsDBCSLeadByte(static_cast<unsigned char>(l[lead])) &&
                                    (l[lead + 1] == '\n' || l[lead + 1] == '\r')))
      ++lead;
    if (lead + 1 >= l.size()) lead = l.size();
    EXPECT_EQ(FindLeadBeforeLineEnd(l.data(), l.size()), lead) << Hex(l);
    EXPECT_EQ(bytescan::FindLeadBeforeLineEnd16(l.data(), l.size()), lead) << Hex(l);
    const std::string n = RandomBytes(random, 1 + random() % 4, "abAB\n ");
    for (bool fold : {false, true}) {
      for (bool asRead : {false, true}) {
        const std::size_t expected = NaiveFindAny(h, {n}, fold, 0, asRead);
        EXPECT_EQ(FindBytes(h, n, fold, asRead), expected) << Hex(h) << " / " << n << " as read " << asRead;
        EXPECT_EQ(bytescan::FindBytes16(h, n, fold, asRead), expected) << Hex(h) << " / " << n << " as read " << asRead;
      }
    }

    // Cleaning: a zero byte as a space, CR LF and a lone CR as a line feed,
    // a CR at the end held back.
    std::string expected, cleaned = h;
    for (std::size_t i = 0; i < cleaned.size(); ++i) {
      if (cleaned[i] != '\r')
        expected += cleaned[i] == 0 ? ' ' : cleaned[i];
      else if (i + 1 < cleaned.size() && cleaned[i + 1] != '\n')
        expected += '\n';
    }
    bool endsInCR = false;
    EXPECT_EQ(cleaned.substr(0, CleanLineEnds(cleaned.data(), cleaned.size(), endsInCR)), expected);
    EXPECT_EQ(endsInCR, !h.empty() && h.back() == '\r');

    // Mostly clean text, so that the line feeds counted on the way are
    // checked often.
    std::string text = RandomBytes(random, size, "ab\n\n\n");
    for (std::size_t i = 0; i + 1 < text.size(); i += 2 + random() % 40) text.replace(i, 2, "\r\n");
    if (round % 3 == 0 && !text.empty()) text[random() % text.size()] = round % 2 != 0 ? '\0' : '\r';
    bool dirty = false;
    for (std::size_t i = 0; i < text.size(); ++i)
      dirty = dirty || text[i] == 0 || (text[i] == '\r' && i + 1 < text.size() && text[i + 1] != '\n');
    std::size_t counted[2] = {0, 0};
    ASSERT_EQ(HasZeroOrLoneCR(text.data(), text.size(), counted[0]), dirty) << round;
    ASSERT_EQ(bytescan::HasZeroOrLoneCR16(text.data(), text.size(), counted[1]), dirty) << round;
    const auto clean = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    EXPECT_TRUE(dirty || (counted[0] == clean && counted[1] == clean)) << round;
  }
  // More than 255 line feeds per lane.
  const std::string feeds(20000, '\n');
  std::size_t counted[2] = {0, 0};
  EXPECT_FALSE(HasZeroOrLoneCR(feeds.data(), feeds.size(), counted[0]));
  EXPECT_FALSE(bytescan::HasZeroOrLoneCR16(feeds.data(), feeds.size(), counted[1]));
  EXPECT_EQ(counted[0] + counted[1] + CountByte(feeds.data(), feeds.size(), '\n') +
                bytescan::CountByte16(feeds.data(), feeds.size(), '\n'),
            80000u);
}
