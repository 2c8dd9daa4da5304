#include "sjis.h"

#include <gtest/gtest.h>

TEST(Sjis, NextCharReadsDoubleByteAsOneCode) {
  const std::string s =
      "a\x82\xa0"
      "b";
  int p = 1;
  EXPECT_EQ(NextChar(s, p), 'a');
  EXPECT_EQ(NextChar(s, p), 0x82A0);
  EXPECT_EQ(p, 4);
  EXPECT_EQ(NextChar(s, p), 'b');
  EXPECT_EQ(NextChar(s, p), 0);
  EXPECT_EQ(p, 5);
}
