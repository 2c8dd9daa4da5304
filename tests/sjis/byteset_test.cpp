// The byte-set search against a byte at a time, for sets of every size
// (beyond eight groups of high halves the wide search's tables admit bytes
// the set does not hold) over texts long enough for the wide code.
#include "sjis/byteset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

TEST(TByteSet, FindAgreesWithByteAtATime) {
  std::mt19937 random(256);
  for (int round = 0; round < 400; ++round) {
    std::array<bool, 256> members{};
    for (int k = static_cast<int>(random() % (round % 4 == 0 ? 200 : 12)); k >= 0; --k) members[random() % 256] = true;
    const TByteSet set(members);
    // Mostly bytes outside the set, so that the first member falls at every
    // offset of a chunk, or nowhere.
    std::vector<unsigned char> text(random() % 300);
    for (unsigned char& b : text) {
      do b = static_cast<unsigned char>(random());
      while (members[b] && random() % 64 != 0);
    }
    for (std::size_t from = 0; from <= text.size(); from += 1 + random() % 40) {
      const unsigned char* p = text.data() + from;
      const std::size_t n = text.size() - from;
      const auto expected =
          static_cast<std::size_t>(std::find_if(p, p + n, [&](unsigned char b) { return members[b]; }) - p);
      ASSERT_EQ(set.Find(p, n), expected) << "round " << round << " from " << from;
      ASSERT_EQ(set.FindNarrow(p, n), expected);
    }
  }
}
