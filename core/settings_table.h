// The keys of the settings file: one row per setting, in the order the file
// is read and written.  Loading, saving and the defaults all go by it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/settings.h"

namespace settings {

// How a value is written and read back.
enum class TValueKind {
  Flag,    // "1" or "0"; read as an integer, non-zero is true
  Number,  // decimal; read as ProfileInteger reads it
  Mark,    // a keyword mark, written and read as hits::MarkOrNone gives it
  Limit,   // a hit limit; a stored number outside kLimitRange reads as the default
  Size,    // a font size in points; above kFontSizeRange reads as its top, below as the default
  Colour,  // decimal; a stored text that is not an integer raises Exception
  Text,    // a text the user chose, as it is; read cut to kMaxTextBytes
  Folder,  // written only when chosen and a line can hold it; loaded on its own
};
inline constexpr std::int32_t kLimitRange[2] = {1, 9999};
// The sizes the font chooser accepts; a larger one would fill the view with
// the top of a single line.
inline constexpr std::int32_t kFontSizeRange[2] = {1, 512};
inline constexpr std::size_t kMaxTextBytes = 255;

// Where a value lives in TSettingsValues: a member, or a dictionary's flag.
struct TDictionaryFlag {
  std::size_t Index;  // into TSettingsValues::Dictionaries
};
using TField = std::variant<bool TSettingsValues::*, std::int32_t TSettingsValues::*, std::string TSettingsValues::*,
                            TDictionaryFlag>;

struct TSettingRow {
  std::string_view Section;  // Shift-JIS, as the file holds names
  std::string_view Key;
  TValueKind Kind;
  TField Field;
  std::int32_t Default = 0;           // flags and numbers
  std::string_view TextDefault = {};  // texts
};

// Every setting: the dictionaries' flags, the chosen folder, the view's
// settings, then the window's place and size.
const std::vector<TSettingRow>& SettingRows();

}  // namespace settings
