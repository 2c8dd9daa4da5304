#include "core/settings.h"

#include <algorithm>
#include <filesystem>
#include <type_traits>

#include "core/hits.h"
#include "core/settings_table.h"
#include "sjis/sjis.h"

namespace settings {
namespace {

// At most max bytes of s, never ending in the first byte of a split pair.
std::string CutAtCharacter(const std::string& s, std::size_t max) {
  if (s.size() <= max) return s;
  std::size_t end = 0;
  while (end < s.size()) {
    const std::size_t next = end + CharLength(s, end);
    if (next > max) break;
    end = next;
  }
  return s.substr(0, end);
}

// The value that a row's field names in values (const or not).
template <typename T, typename Values>
auto& ValueOf(Values& values, const TField& field) {
  if constexpr (std::is_same_v<T, bool>) {
    if (const auto* dictionary = std::get_if<TDictionaryFlag>(&field)) return values.Dictionaries.at(dictionary->Index);
  }
  return values.*std::get<T TSettingsValues::*>(field);
}

// Reads one row from the profile into values; a missing or invalid value
// gives the row's default.
void Load(const TProfile& profile, const TSettingRow& row, TSettingsValues& values) {
  const std::string section(row.Section), key(row.Key);
  const auto integer = [&] { return profile.ReadInteger(section, key).value_or(row.Default); };
  switch (row.Kind) {
    case TValueKind::Flag:
      ValueOf<bool>(values, row.Field) = integer() != 0;
      break;
    case TValueKind::Number:
      ValueOf<std::int32_t>(values, row.Field) = integer();
      break;
    case TValueKind::Mark:
      ValueOf<std::int32_t>(values, row.Field) = hits::MarkOrNone(integer());
      break;
    case TValueKind::Limit: {
      const std::int32_t limit = integer();
      ValueOf<std::int32_t>(values, row.Field) =
          limit >= kLimitRange[0] && limit <= kLimitRange[1] ? limit : row.Default;
      break;
    }
    case TValueKind::Size: {
      const std::int32_t size = integer();
      ValueOf<std::int32_t>(values, row.Field) =
          size < kFontSizeRange[0] ? row.Default : std::min(size, kFontSizeRange[1]);
      break;
    }
    case TValueKind::Colour: {
      const std::optional<std::string> text = profile.ReadString(section, key);
      const std::optional<std::int32_t> value = text ? ProfileInteger(*text) : row.Default;
      if (!value) ThrowNotAnInteger(*text);
      ValueOf<std::int32_t>(values, row.Field) = *value;
      break;
    }
    case TValueKind::Text:
      ValueOf<std::string>(values, row.Field) =
          CutAtCharacter(profile.ReadString(section, key).value_or(std::string(row.TextDefault)), kMaxTextBytes);
      break;
    case TValueKind::Folder:
      break;  // RememberedDictionaryFolder
  }
}

// The text one row writes for values; nullopt when it writes none.
std::optional<std::string> Text(const TSettingRow& row, const TSettingsValues& values) {
  switch (row.Kind) {
    case TValueKind::Flag:
      return ValueOf<bool>(values, row.Field) ? "1" : "0";
    case TValueKind::Mark:
      return std::to_string(hits::MarkOrNone(ValueOf<std::int32_t>(values, row.Field)));
    case TValueKind::Number:
    case TValueKind::Limit:
    case TValueKind::Size:
    case TValueKind::Colour:
      return std::to_string(ValueOf<std::int32_t>(values, row.Field));
    case TValueKind::Text:
      return ValueOf<std::string>(values, row.Field);
    case TValueKind::Folder: {
      // A path that a line of the file cannot hold is not remembered.
      const std::string& folder = ValueOf<std::string>(values, row.Field);
      if (folder.empty() || folder.find_first_of("\r\n") != std::string::npos) return std::nullopt;
      return folder;
    }
  }
  return std::nullopt;
}

}  // namespace

void LoadSettings(const TProfile& profile, TSettingsValues& values, std::size_t* rowsRead) {
  std::size_t read = 0;
  for (const TSettingRow& row : SettingRows()) {
    if (rowsRead != nullptr) *rowsRead = read;
    Load(profile, row, values);
    ++read;
  }
  if (rowsRead != nullptr) *rowsRead = read;
}

std::string RememberedDictionaryFolder(const TProfile& profile) {
  for (const TSettingRow& row : SettingRows()) {
    if (row.Kind == TValueKind::Folder)
      return profile.ReadString(std::string(row.Section), std::string(row.Key)).value_or("");
  }
  return "";
}

TSettingsValues DefaultSettings() {
  TSettingsValues values;
  for (const TSettingRow& row : SettingRows()) {
    if (std::holds_alternative<std::string TSettingsValues::*>(row.Field)) {
      ValueOf<std::string>(values, row.Field) = row.TextDefault;
    } else if (std::holds_alternative<std::int32_t TSettingsValues::*>(row.Field)) {
      ValueOf<std::int32_t>(values, row.Field) = row.Default;
    } else {
      ValueOf<bool>(values, row.Field) = row.Default != 0;
    }
  }
  return values;
}

std::vector<TSettingText> SettingTexts(const TSettingsValues& values) {
  std::vector<TSettingText> texts;
  for (const TSettingRow& row : SettingRows()) {
    if (std::optional<std::string> text = Text(row, values)) {
      const bool isString = row.Kind == TValueKind::Text || row.Kind == TValueKind::Folder;
      texts.push_back({std::string(row.Section), std::string(row.Key), std::move(*text), isString});
    }
  }
  return texts;
}

void SaveSettings(TProfile& profile, const TSettingsValues& values) {
  for (const TSettingText& t : SettingTexts(values)) profile.WriteString(t.Section, t.Key, t.Value);
  profile.Save();
}

std::string SettingsPathFor(const std::string& executablePath) {
  std::filesystem::path path(executablePath);
  path.replace_extension(".ini");
  return path.native();
}

}  // namespace settings
