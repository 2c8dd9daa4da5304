// The integers of the settings file.
#include "core/profile_integer.h"

#include <gtest/gtest.h>

#include "sjis/exceptions.h"
#include "text/encoding.h"

// Decimal, hexadecimal after "0x" (more than two characters) or after an
// optional sign and "$"; 32 bits, hexadecimal wrapping to negative.
TEST(ProfileInteger, Table) {
  const std::pair<const char*, std::optional<std::int32_t>> rows[] = {{"0x1F", 31},
                                                                      {"0X20", 32},
                                                                      {"-$2", -2},
                                                                      {"$10", 16},
                                                                      {"+7", 7},
                                                                      {"-2147483648", INT32_MIN},
                                                                      {"2147483647", INT32_MAX},
                                                                      {"0xFFFFFFFF", -1},
                                                                      {"2147483648", std::nullopt},
                                                                      {"0x", std::nullopt},
                                                                      {"$", std::nullopt},
                                                                      {"12a", std::nullopt},
                                                                      {"0xG", std::nullopt},
                                                                      {"", std::nullopt},
                                                                      {" 1", std::nullopt},
                                                                      {"0x100000000", std::nullopt}};
  for (const auto& [text, value] : rows) EXPECT_EQ(ProfileInteger(text), value) << text;
}

TEST(ProfileInteger, NotAnIntegerNamesTheText) {
  try {
    ThrowNotAnInteger("blue");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "'blue' " + encoding::Sjis("は正しい整数値ではありません"));
  }
}
