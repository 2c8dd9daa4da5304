#include "core/profile_integer.h"

#include <string>

#include "core/texts.h"
#include "sjis/exceptions.h"

namespace {

// The value of digits in base, nullopt when a character is not a digit or
// the value exceeds max.
std::optional<std::uint32_t> ParseDigits(std::string_view digits, unsigned base, std::uint64_t max) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    unsigned d;
    if (c >= '0' && c <= '9') {
      d = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      d = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      d = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * base + d;
    if (value > max) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace

// Hexadecimal after "0x" or "0X" (when the text is longer than two
// characters) or after an optional sign and "$", decimal otherwise; the
// value must fit 32 bits (hexadecimal wraps to negative).
std::optional<std::int32_t> ProfileInteger(std::string_view s) {
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    const std::optional<std::uint32_t> v = ParseDigits(s.substr(2), 16, 0xFFFFFFFFu);
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(*v);
  }
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (!s.empty() && s[0] == '$') {
    const std::optional<std::uint32_t> v = ParseDigits(s.substr(1), 16, 0xFFFFFFFFu);
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(negative ? 0u - *v : *v);
  }
  const std::optional<std::uint32_t> v = ParseDigits(s, 10, negative ? 2147483648u : 2147483647u);
  if (!v) return std::nullopt;
  return static_cast<std::int32_t>(negative ? 0u - *v : *v);
}

void ThrowNotAnInteger(std::string_view textSjis) {
  throw Exception("'" + std::string(textSjis) + "' " + std::string(sjis_text::kTextNotAnInteger));
}
