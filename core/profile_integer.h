// The integers of the settings file: the syntax of a value read as an
// integer, and the error of a text that is not one.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// A value text read as an integer; nullopt when it is not a valid integer.
std::optional<std::int32_t> ProfileInteger(std::string_view text);

// The error of a text (Shift-JIS) that should be an integer: Exception
// ("'<text>' は正しい整数値ではありません").
[[noreturn]] void ThrowNotAnInteger(std::string_view textSjis);
