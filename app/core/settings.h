// The program's settings in the profile file beside the executable.
//
// Three sections: "辞書" (which dictionaries are selected), "表示" (tags,
// keyword mark, hit limit, fonts and colours) and "フォーム位置" (the main
// window's position and client size).  Loading hands each setting to the
// window through ISettingsTarget, in a fixed order; saving writes every key
// from a TSettingsValues snapshot.
//
// Value encodings:
//  - integers are written in decimal; they read as hexadecimal after "0x" or
//    "0X" (when the text is longer than two characters) or after "$", as
//    decimal otherwise; a text that is not a valid 32-bit integer gives the
//    default;
//  - booleans are written "1" and "0" and read as integers, non-zero is true;
//  - colours (red in the low byte, then green, then blue; negative values are
//    system colours) are written in decimal; on reading, a text that is not a
//    valid integer raises Exception, which ends the loading there;
//  - strings are written and read as they are.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/profile.h"

namespace settings {

// What the window does with the loaded settings.  LoadSettings calls these in
// the order they are declared.
class ISettingsTarget {
 public:
  virtual ~ISettingsTarget() = default;
  // A click on the menu item of dictionary number (1..6); called only for the
  // dictionaries stored as selected.  The window ignores it for a dictionary
  // whose files were not found.
  virtual void ClickDictionary(int number) = 0;
  virtual void SetShowTags(bool show) = 0;
  // 1 "【 】", 2 "《 》", 3 "** **", 4 "// //", 5 none.
  virtual void SetKeywordMark(int mark) = 0;
  virtual void SetLimitEnabled(bool enabled) = 0;
  // Called only for a stored limit of 1 to 9999; otherwise the window keeps 100.
  virtual void SetHitLimit(int limit) = 0;
  virtual void SetNormalFont(const std::string& faceSjis, int size) = 0;
  virtual void SetNormalColour(std::int32_t colour) = 0;
  virtual void SetKeywordStyle(bool bold, bool italic, bool underline) = 0;
  virtual void SetKeywordColour(std::int32_t colour) = 0;
  virtual void SetBackgroundColour(std::int32_t colour) = 0;
  virtual void SetGeometry(int top, int left, int width, int height) = 0;
};

// Reads the settings and applies them to target.  A colour that is not a
// valid integer raises Exception ("'<text>' は正しい整数値ではありません");
// what was applied before it stays applied, the rest is not read.
void LoadSettings(const TProfile& profile, ISettingsTarget& target);

struct TSettingsValues {
  std::array<bool, 6> Dictionaries{};  // dictionaries 1..6 at indexes 0..5
  bool ShowTags = false;
  int KeywordMark = 5;
  bool LimitEnabled = false;
  int HitLimit = 100;
  std::string NormalFontFace;  // Shift-JIS
  int NormalFontSize = 12;
  std::int32_t NormalColour = 0;
  bool Bold = false, Italic = false, Underline = false;
  std::int32_t KeywordColour = 255;
  std::int32_t BackgroundColour = 16777215;
  int Top = 0, Left = 0, Width = 415, Height = 180;
  // The dictionary folder the user chose with the menu command, as its
  // bytes on disk; "" when none was chosen, and then the key is not written,
  // so a file without it stays as it was.
  std::string DictionaryFolder;
};

// The dictionary folder remembered in the section of the dictionaries; ""
// when none.
std::string RememberedDictionaryFolder(const TProfile& profile);

// The values that a missing file gives (normal font "ＭＳ ゴシック" 12 points).
TSettingsValues DefaultSettings();

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

// The integer reading of a profile value, exposed for the windows that show
// such values: nullopt when text is not a valid integer.
std::optional<std::int32_t> ParseProfileInteger(const std::string& text);

}  // namespace settings
