// The set search against the byte-at-a-time search: sets of a few strings
// (the vectorised pass) and of many (the sampled search), with and without
// case, as read and clean, from every place; fitted to a text and as built.
#include "sjis/multisearch.h"

#include <gtest/gtest.h>

#include <random>

#include "support/naive_search.h"
#include "support/sjis_literals.h"

// Random bytes with zero bytes, CRs and line feeds, and strings of up to
// thirty (a few, or many) over some of the same bytes.
TEST(MultiSearch, FindsWhatByteAtATimeFindsInRandomBytes) {
  std::mt19937 random(13);
  for (int round = 0; round < 500; ++round) {
    const std::size_t size = round % 10 == 0 ? 5000 + random() % 5000 : random() % 700;
    const std::string h = RandomBytes(random, size, std::string("abAB\n\x82\xa0 c\r\0\t", 12));
    std::vector<std::string> needles(1 + random() % 30);
    for (std::string& needle : needles) needle = RandomBytes(random, 1 + random() % 5, "cabAB\x82\xa0 ");
    const std::size_t from = h.empty() ? 0 : random() % h.size();
    const std::string plain = RandomBytes(random, random() % 700, "abAB\n\x82\xa0 c");  // without \r and \0
    for (bool fold : {false, true}) {
      for (bool asRead : {false, true})
        EXPECT_EQ(TMultiSearch(needles, fold, asRead).Find(h, from), NaiveFindAny(h, needles, fold, from, asRead))
            << Hex(h) << " from " << from << " needles " << needles.size() << " fold " << fold << " as read " << asRead;
      EXPECT_EQ(TMultiSearch(needles, fold).Find(plain, 0), NaiveFindAny(plain, needles, fold, 0)) << Hex(plain);
    }
  }
}

// The set search fitted to a text (samples of many strings chosen by it,
// buckets of more than eight of a few strings formed by it) and as built
// (samples from the first bytes, buckets in order), against the
// byte-at-a-time search: strings of several lengths over a small alphabet,
// so that samples move within the longer strings, in text made of them, so
// that occurrences overlap.  The shortest strings run to more than the
// longest sampled run, so that every spacing of samples is tried, and the
// text is long enough for the wide pass.
TEST(MultiSearch, TunedAndUntunedFindWhatByteAtATimeFinds) {
  std::mt19937 random(29);
  for (int round = 0; round < 300; ++round) {
    const std::string_view alphabet = round % 2 == 0 ? "abcab\x82\xa0 " : "abAB";
    std::vector<std::string> needles(round % 4 == 1 ? 9 + random() % (TMultiSearch::kFewStrings - 8)
                                                    : TMultiSearch::kFewStrings + 1 + random() % 40);
    const std::size_t shortest = 1 + random() % (round % 4 == 0 ? 20 : 6);
    for (std::string& n : needles) n = RandomBytes(random, shortest + random() % 12, alphabet);
    const std::string text = RandomBytes(random, random() % 3000, alphabet);
    // The strings themselves, between a few random bytes and line feeds.
    std::string h;
    while (h.size() < (round % 4 == 0 ? 2000 : 400))
      h += RandomBytes(random, random() % 4, alphabet) + (random() % 8 == 0 ? "\n" : "") +
           needles[random() % needles.size()];
    // Searched in a copy of its own size, so that a read past its end is an
    // error under the address sanitizer.
    const std::vector<char> exact(h.begin(), h.end());
    const std::string_view hv(exact.data(), exact.size());
    for (bool fold : {false, true}) {
      const TMultiSearch first(needles, fold);
      TMultiSearch tuned(needles, fold);
      tuned.Tune(round % 3 == 0 ? h : text);
      for (std::size_t from = 0; from < h.size(); from += 1 + random() % 40) {
        const std::size_t expected = NaiveFindAny(h, needles, fold, from);
        std::size_t which = needles.size();
        ASSERT_EQ(tuned.Find(hv, from, &which), expected) << h << " from " << from << " fold " << fold;
        ASSERT_EQ(first.Find(hv, from), expected) << h << " from " << from << " fold " << fold;
        // The string named stands there.
        if (expected < h.size()) {
          ASSERT_TRUE(tuned.StandsAt(h, expected, which)) << h << " from " << from;
        }
        // In the first line that holds one, a place where one stands.
        const std::size_t inLine = tuned.FindInFirstLine(hv, from, &which);
        if (expected == h.size()) {
          ASSERT_EQ(inLine, h.size());
        } else {
          ASSERT_TRUE(inLine >= expected && h.find('\n', expected) == h.find('\n', inLine)) << h << " from " << from;
          ASSERT_TRUE(tuned.StandsAt(h, inLine, which)) << h << " from " << from;
        }
      }
    }
  }
}
