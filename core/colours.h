// Colour values as the settings file stores them: a 32-bit signed integer
// with red in the low byte, green in the next and blue in the third (255 is
// red, 16777215 white).  A value with the top bit set names a system colour
// instead; its low byte is the number of that colour (5 the window
// background, 8 the window text, 15 the button face, 16 the button shadow
// and so on), which the window maps to its own palette.
#pragma once

#include <cstdint>

namespace colours {

struct TRgb {
  int Red = 0, Green = 0, Blue = 0;
};

inline constexpr std::int32_t kBlack = 0;
inline constexpr std::int32_t kRed = 255;
inline constexpr std::int32_t kWhite = 16777215;

// The system colours the windows use, as stored values.
inline constexpr int kSystemWindow = 5;
inline constexpr int kSystemWindowText = 8;
inline constexpr int kSystemButtonFace = 15;
inline constexpr int kSystemButtonShadow = 16;

constexpr bool IsSystemColour(std::int32_t colour) { return colour < 0; }

// The number of a system colour (only meaningful when IsSystemColour).
constexpr int SystemColourIndex(std::int32_t colour) { return static_cast<int>(colour & 0xFF); }

// The stored value of system colour number index.
constexpr std::int32_t SystemColour(int index) {
  return static_cast<std::int32_t>(0xFF000000u | static_cast<std::uint32_t>(index & 0xFF));
}

// The red, green and blue parts of an explicit colour (the top byte is
// ignored).
constexpr TRgb RgbOf(std::int32_t colour) {
  const auto value = static_cast<std::uint32_t>(colour);
  return {static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
          static_cast<int>((value >> 16) & 0xFF)};
}

// The stored value of an explicit colour; each part is taken modulo 256.
constexpr std::int32_t FromRgb(int red, int green, int blue) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(red) & 0xFF) |
                                   (static_cast<std::uint32_t>(green) & 0xFF) << 8 |
                                   (static_cast<std::uint32_t>(blue) & 0xFF) << 16);
}

}  // namespace colours
