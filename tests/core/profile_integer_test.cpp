// The integers of the settings file.
#include "core/profile_integer.h"

#include <gtest/gtest.h>

// Decimal; hexadecimal after "0x" (3+ characters) or an optional sign and "$"; 32 bits, hex wrapping.
TEST(ProfileInteger, Table) {
  // clang-format off
  const std::pair<const char*, std::optional<std::int32_t>> rows[] = {
      {"0x1F", 31}, {"0X20", 32}, {"-$2", -2}, {"$10", 16}, {"+7", 7}, {"-2147483648", INT32_MIN},
      {"2147483647", INT32_MAX}, {"0xFFFFFFFF", -1}, {"2147483648", std::nullopt}, {"0x", std::nullopt},
      {"$", std::nullopt}, {"12a", std::nullopt}, {"0xG", std::nullopt}, {"", std::nullopt}, {" 1", std::nullopt},
      {"0x100000000", std::nullopt}};
  // clang-format on
  for (const auto& [text, value] : rows) EXPECT_EQ(ProfileInteger(text), value) << text;
}
