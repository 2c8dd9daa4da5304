// Shift-JIS characters read from a string: forwards, backwards and from
// the start agree on every boundary, and the character starts told from the
// bytes before a place agree with the string cut from its first byte.
#include "sjis/sjis.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/naive_search.h"
#include "support/sjis_literals.h"

// NextChar, UngetChar and IsLeadByteInContext agree on every boundary of
// random strings of single bytes, half-width katakana and double-byte
// characters (some with trail bytes in the lead-byte range).
TEST(CharReader, BoundariesAgreeEveryWay) {
  const std::vector<std::string> pieces = {"a", S("ｱ"), S("あ"), S("＝"), S("Ｂ"), S("表"), "\\", "\xA0", "\x81\n"};
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::string s;
    std::vector<int> starts{1};
    for (int i = 0, n = static_cast<int>(rng() % 8); i < n; ++i) {
      s += pieces[rng() % pieces.size()];
      starts.push_back(static_cast<int>(s.size()) + 1);
    }
    int p = 1;
    for (std::size_t k = 1; k < starts.size(); ++k) {
      const int before = p;
      const TCharCode c = NextChar(s, p);
      ASSERT_EQ(p, starts[k]) << Hex(s);
      EXPECT_EQ(c > 0xFF, p - before == 2) << Hex(s);
      EXPECT_EQ(IsLeadByteInContext(s, static_cast<std::size_t>(before - 1)), p - before == 2) << Hex(s);
      int back = p;
      UngetChar(s, back);
      EXPECT_EQ(back, before) << Hex(s) << " from " << p;
    }
    EXPECT_EQ(NextChar(s, p), 0);
    EXPECT_EQ(p, static_cast<int>(s.size()) + 1) << "the end does not move the position";
  }
}

// Places asked in ascending order, some of them, over strings that hold long
// runs of bytes that can be lead bytes (longer than the run read back).
TEST(CharacterStarts, AgreeWithTheStringCutFromItsStart) {
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    // Runs of lead bytes that average 64 bytes, or short runs.
    const std::string alphabet = round % 2 == 0 ? std::string(63, '\x82') + "a" : std::string("\x81\x82\xe0") + "a\n";
    const std::string s = RandomBytes(random, random() % 400, alphabet);
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    std::vector<bool> start(s.size() + 2, false);
    for (std::size_t i = 0; i <= s.size(); i += i < s.size() && IsDBCSLeadByte(p[i]) ? 2 : 1) start[i] = true;
    TCharacterStarts starts(p);
    for (std::size_t at = 0; at <= s.size(); at += 1 + random() % 3)
      ASSERT_EQ(starts.At(at), start[at]) << Hex(s) << " at " << at;
  }
}
