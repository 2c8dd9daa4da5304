// The set search fitted to a text (samples of many strings chosen by it,
// buckets of more than eight of a few strings formed by it) against the
// same search as built (samples from the first bytes, buckets in order),
// which the byte-level tests hold to a byte-at-a-time search: strings of
// several lengths over a small alphabet, so that samples move within the
// longer strings, in text made of them, so that occurrences overlap.
#include "multisearch.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::string RandomBytes(std::mt19937& random, std::size_t n, std::string_view alphabet) {
  std::string s(n, ' ');
  for (char& c : s) c = alphabet[random() % alphabet.size()];
  return s;
}

}  // namespace

TEST(MultiSearch, FittedSearchFindsWhatTheBuiltOneFinds) {
  std::mt19937 random(29);
  for (int round = 0; round < 300; ++round) {
    const std::string_view alphabet = round % 2 == 0 ? "abcab\x82\xa0 " : "abAB";
    std::vector<std::string> needles(round % 4 == 0 ? 9 + random() % (TMultiSearch::kFewStrings - 8)
                                                    : TMultiSearch::kFewStrings + 1 + random() % 40);
    const std::size_t shortest = 1 + random() % 6;
    for (std::string& n : needles) n = RandomBytes(random, shortest + random() % 12, alphabet);
    const std::string text = RandomBytes(random, random() % 3000, alphabet);
    // The strings themselves, between a few random bytes.
    std::string h;
    while (h.size() < 400) h += RandomBytes(random, random() % 4, alphabet) + needles[random() % needles.size()];
    for (bool fold : {false, true}) {
      const TMultiSearch first(needles, fold);
      TMultiSearch tuned(needles, fold);
      tuned.Tune(round % 3 == 0 ? h : text);
      for (std::size_t from = 0; from < h.size(); from += 1 + random() % 40)
        ASSERT_EQ(tuned.Find(h, from), first.Find(h, from)) << h << " from " << from << " fold " << fold;
    }
  }
}
