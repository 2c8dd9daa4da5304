// The program's settings as one value, TSettingsValues, and the settings
// file it is loaded from and saved to (the keys: core/settings_table.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/profile.h"

namespace settings {

// Every setting; DefaultSettings() gives their defaults.
struct TSettingsValues {
  std::array<bool, catalogue::kDictionaryCount> Dictionaries{};  // dictionary n at index n - 1
  bool ShowTags = false;
  std::int32_t KeywordMark = 0;  // see hits::MarksFor
  bool LimitEnabled = false;
  std::int32_t HitLimit = 0;
  std::string NormalFontFace;  // Shift-JIS
  std::int32_t NormalFontSize = 0;
  std::int32_t NormalColour = 0;  // colours as core/colours.h stores them
  bool Bold = false, Italic = false, Underline = false;
  std::int32_t KeywordColour = 0;
  std::int32_t BackgroundColour = 0;
  bool SearchAsYouType = false;  // the query box's text is searched after a pause in typing
  bool WatchClipboard = false;   // a short text copied anywhere is searched
  std::int32_t Top = 0, Left = 0, Width = 0, Height = 0;
  // The dictionary folder the user chose with the menu command, as its
  // bytes on disk; "" when none was chosen, and then the key is not written,
  // so a file without it stays as it was.
  std::string DictionaryFolder;

  bool operator==(const TSettingsValues&) const = default;
};

// The dictionary folder remembered in the settings; "" when none.
std::string RememberedDictionaryFolder(const TProfile& profile);

// The values that a missing file gives, and the window's values before the
// settings are loaded.
TSettingsValues DefaultSettings();

// Reads the settings into values, in the order of the table; where the file
// has no valid value, the default.  A colour that is not a valid integer
// raises Exception ("'<text>' は正しい整数値ではありません"): values then
// holds what was read before it, the rest as it was.  rowsRead, when given,
// gets the number of rows of the table that were read.
void LoadSettings(const TProfile& profile, TSettingsValues& values, std::size_t* rowsRead = nullptr);

// One key as SaveSettings writes it: names and value as Shift-JIS.
struct TSettingText {
  std::string Section;
  std::string Key;
  std::string Value;
  bool IsString;  // a text the user chose, not a number or flag written by the program
};

// Every key with the text written for values, in the order of the table.
std::vector<TSettingText> SettingTexts(const TSettingsValues& values);

// Writes every key, in the order of the table, then saves the profile
// (which raises Exception when the file cannot be written).
void SaveSettings(TProfile& profile, const TSettingsValues& values);

// The settings file of an executable: its path with the extension replaced
// by ".ini", or ".ini" appended when it has none.
std::string SettingsPathFor(const std::string& executablePath);

}  // namespace settings
