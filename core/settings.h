// The program's settings in the profile file beside the executable.
//
// Three sections: "辞書" (which dictionaries are selected), "表示" (tags,
// keyword mark, hit limit, fonts and colours) and "フォーム位置" (the main
// window's position and client size).  The settings are one value,
// TSettingsValues: loading fills it from the file, the window applies it and
// gathers it back, saving writes every key of it.  The names of the sections
// and keys are in core/texts.txt, the dictionaries' keys in the catalogue.
//
// Value encodings:
//  - integers are written in decimal and read as the profile reads them
//    (TProfile::ReadInteger); a text that is not a valid 32-bit integer gives
//    the default;
//  - booleans are written "1" and "0" and read as integers, non-zero is true;
//  - colours (red in the low byte, then green, then blue; negative values are
//    system colours) are written in decimal; on reading, a text that is not a
//    valid integer raises Exception, which ends the loading there;
//  - strings are written and read as they are.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/profile.h"

namespace settings {

// Every setting; DefaultSettings() gives their defaults.
struct TSettingsValues {
  std::array<bool, 6> Dictionaries{};  // dictionaries 1..6 at indexes 0..5
  bool ShowTags = false;
  int KeywordMark = 0;  // 1 "【 】", 2 "《 》", 3 "** **", 4 "// //", 5 none
  bool LimitEnabled = false;
  int HitLimit = 0;
  std::string NormalFontFace;  // Shift-JIS
  int NormalFontSize = 0;
  std::int32_t NormalColour = 0;
  bool Bold = false, Italic = false, Underline = false;
  std::int32_t KeywordColour = 0;
  std::int32_t BackgroundColour = 0;
  int Top = 0, Left = 0, Width = 0, Height = 0;
  // The dictionary folder the user chose with the menu command, as its
  // bytes on disk; "" when none was chosen, and then the key is not written,
  // so a file without it stays as it was.
  std::string DictionaryFolder;

  bool operator==(const TSettingsValues&) const = default;
};

// The dictionary folder remembered in the section of the dictionaries; ""
// when none.
std::string RememberedDictionaryFolder(const TProfile& profile);

// The values that a missing file gives, and the window's values before the
// settings are loaded: the only statement of the defaults.
TSettingsValues DefaultSettings();

// Reads the settings into values, in the order SettingTexts lists them;
// where the file has no valid value, the default.  A stored keyword mark
// outside 1..4 reads as none (5), a hit limit outside 1..9999 as the default,
// a font name is cut to 255 bytes.  A colour that is not a valid integer
// raises Exception ("'<text>' は正しい整数値ではありません"): values then
// holds what was read before it, the rest as it was.
void LoadSettings(const TProfile& profile, TSettingsValues& values);

// One key as SaveSettings writes it: names and value as Shift-JIS.
struct TSettingText {
  std::string Section;
  std::string Key;
  std::string Value;
  bool IsString;  // a text the user chose, not a number or flag written by the program
};

// Every key with the text written for values, in the order LoadSettings
// reads them.
std::vector<TSettingText> SettingTexts(const TSettingsValues& values);

// Writes every key, in the order LoadSettings reads them, then saves the
// profile (which raises Exception when the file cannot be written).
void SaveSettings(TProfile& profile, const TSettingsValues& values);

// The settings file of an executable: its path with the extension replaced
// by ".ini", or ".ini" appended when it has none.
std::string SettingsPathFor(const std::string& executablePath);

}  // namespace settings
