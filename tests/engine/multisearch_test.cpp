// The set search fitted to a text (samples of many strings chosen by it,
// buckets of more than eight of a few strings formed by it) and as built
// (samples from the first bytes, buckets in order), against a byte-at-a-time
// search: strings of several lengths over a small alphabet, so that samples
// move within the longer strings, in text made of them, so that occurrences
// overlap.  The shortest strings run to more than the longest sampled run,
// so that every spacing of samples is tried, and the text is long enough
// for the wide pass.
#include "multisearch.h"

#include <gtest/gtest.h>

#include <random>

#include "sjis.h"

namespace {

std::string RandomBytes(std::mt19937& random, std::size_t n, std::string_view alphabet) {
  std::string s(n, ' ');
  for (char& c : s) c = alphabet[random() % alphabet.size()];
  return s;
}

// The first place at or after from where a string stands, its letters that
// are single characters compared without case when fold.
std::size_t FirstOf(std::string_view h, const std::vector<std::string>& needles, bool fold, std::size_t from) {
  for (std::size_t i = from; i < h.size(); ++i) {
    for (const std::string& n : needles) {
      bool same = i + n.size() <= h.size();
      for (std::size_t j = 0; j < n.size() && same;) {
        const bool pair = IsDBCSLeadByte(static_cast<unsigned char>(n[j])) && j + 1 < n.size();
        const bool letter = (n[j] | 0x20) >= 'a' && (n[j] | 0x20) <= 'z';
        same = pair ? h.substr(i + j, 2) == std::string_view(n).substr(j, 2)
                    : h[i + j] == n[j] || (fold && letter && (h[i + j] | 0x20) == (n[j] | 0x20));
        j += pair ? 2 : 1;
      }
      if (same) return i;
    }
  }
  return h.size();
}

}  // namespace

TEST(MultiSearch, TunedAndUntunedFindWhatByteAtATimeFinds) {
  std::mt19937 random(29);
  for (int round = 0; round < 300; ++round) {
    const std::string_view alphabet = round % 2 == 0 ? "abcab\x82\xa0 " : "abAB";
    std::vector<std::string> needles(round % 4 == 1 ? 9 + random() % (TMultiSearch::kFewStrings - 8)
                                                    : TMultiSearch::kFewStrings + 1 + random() % 40);
    const std::size_t shortest = 1 + random() % (round % 4 == 0 ? 20 : 6);
    for (std::string& n : needles) n = RandomBytes(random, shortest + random() % 12, alphabet);
    const std::string text = RandomBytes(random, random() % 3000, alphabet);
    // The strings themselves, between a few random bytes.
    std::string h;
    while (h.size() < (round % 4 == 0 ? 2000 : 400))
      h += RandomBytes(random, random() % 4, alphabet) + needles[random() % needles.size()];
    for (bool fold : {false, true}) {
      const TMultiSearch first(needles, fold);
      TMultiSearch tuned(needles, fold);
      tuned.Tune(round % 3 == 0 ? h : text);
      for (std::size_t from = 0; from < h.size(); from += 1 + random() % 40) {
        const std::size_t expected = FirstOf(h, needles, fold, from);
        std::size_t which = needles.size();
        ASSERT_EQ(tuned.Find(h, from, &which), expected) << h << " from " << from << " fold " << fold;
        ASSERT_EQ(first.Find(h, from), expected) << h << " from " << from << " fold " << fold;
        // The string named stands there.
        if (expected < h.size()) {
          ASSERT_TRUE(tuned.StandsAt(h, expected, which)) << h << " from " << from;
        }
      }
    }
  }
}
