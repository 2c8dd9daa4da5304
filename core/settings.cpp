#include "core/settings.h"

#include <filesystem>

#include "core/catalogue.h"
#include "core/texts.h"
#include "sjis/exceptions.h"
#include "sjis/sjis.h"
#include "text/encoding.h"

namespace settings {
namespace {

using namespace sjis_text;

constexpr std::size_t kMaxFontFaceBytes = 255;

int MarkOrNone(int mark) { return mark >= 1 && mark <= 4 ? mark : 5; }

// Settings read through the profile; the defaults come from the values the
// caller passes.
class TReader {
 public:
  explicit TReader(const TProfile& profile) : FProfile(profile) {}

  std::optional<std::string> Text(std::string_view section, std::string_view key) const {
    return FProfile.ReadString(std::string(section), std::string(key));
  }
  std::int32_t Integer(std::string_view section, std::string_view key, std::int32_t fallback) const {
    return FProfile.ReadInteger(std::string(section), std::string(key)).value_or(fallback);
  }
  bool Boolean(std::string_view section, std::string_view key) const { return Integer(section, key, 0) != 0; }
  std::int32_t Colour(std::string_view section, std::string_view key, std::int32_t fallback) const {
    const std::optional<std::string> text = Text(section, key);
    if (!text) return fallback;
    const std::optional<std::int32_t> value = ProfileInteger(*text);
    if (!value) throw Exception("'" + *text + "' " + std::string(kTextNotAnInteger));
    return *value;
  }

 private:
  const TProfile& FProfile;
};

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

}  // namespace

void LoadSettings(const TProfile& profile, TSettingsValues& values) {
  const TSettingsValues defaults = DefaultSettings();
  const TReader r(profile);
  for (const catalogue::TDictionaryInfo& d : catalogue::kDictionaries) {
    values.Dictionaries[static_cast<std::size_t>(d.Number - 1)] = r.Boolean(kSectionDictionaries, d.SettingsKey);
  }
  values.ShowTags = r.Boolean(kSectionView, kKeyShowTags);
  values.KeywordMark = MarkOrNone(r.Integer(kSectionView, kKeyKeywordMark, defaults.KeywordMark));
  values.LimitEnabled = r.Boolean(kSectionView, kKeyLimitEnabled);
  const std::int32_t limit = r.Integer(kSectionView, kKeyHitLimit, defaults.HitLimit);
  values.HitLimit = limit >= 1 && limit <= 9999 ? limit : defaults.HitLimit;
  values.NormalFontFace =
      CutAtCharacter(r.Text(kSectionView, kKeyFontFace).value_or(defaults.NormalFontFace), kMaxFontFaceBytes);
  values.NormalFontSize = r.Integer(kSectionView, kKeyFontSize, defaults.NormalFontSize);
  values.NormalColour = r.Colour(kSectionView, kKeyFontColour, defaults.NormalColour);
  values.Bold = r.Boolean(kSectionView, kKeyBold);
  values.Italic = r.Boolean(kSectionView, kKeyItalic);
  values.Underline = r.Boolean(kSectionView, kKeyUnderline);
  values.KeywordColour = r.Colour(kSectionView, kKeyKeywordColour, defaults.KeywordColour);
  values.BackgroundColour = r.Colour(kSectionView, kKeyBackground, defaults.BackgroundColour);
  values.Top = r.Integer(kSectionForm, kKeyTop, defaults.Top);
  values.Left = r.Integer(kSectionForm, kKeyLeft, defaults.Left);
  values.Width = r.Integer(kSectionForm, kKeyWidth, defaults.Width);
  values.Height = r.Integer(kSectionForm, kKeyHeight, defaults.Height);
}

std::string RememberedDictionaryFolder(const TProfile& profile) {
  return TReader(profile).Text(kSectionDictionaries, kKeyDictionaryFolder).value_or("");
}

TSettingsValues DefaultSettings() {
  TSettingsValues v;
  v.KeywordMark = 5;
  v.HitLimit = 100;
  v.NormalFontFace = std::string(kDefaultFontFace);
  v.NormalFontSize = 12;
  v.NormalColour = 0;             // black
  v.KeywordColour = 255;          // red
  v.BackgroundColour = 16777215;  // white
  v.Width = 415;
  v.Height = 180;
  return v;
}

std::vector<TSettingText> SettingTexts(const TSettingsValues& values) {
  std::vector<TSettingText> texts;
  const auto add = [&texts](std::string_view section, std::string_view key, std::string value, bool isString = false) {
    texts.push_back({std::string(section), std::string(key), std::move(value), isString});
  };
  const auto boolean = [](bool b) { return std::string(b ? "1" : "0"); };
  for (const catalogue::TDictionaryInfo& d : catalogue::kDictionaries) {
    add(kSectionDictionaries, d.SettingsKey, boolean(values.Dictionaries[static_cast<std::size_t>(d.Number - 1)]));
  }
  // A path that a line of the file cannot hold is not remembered.
  if (!values.DictionaryFolder.empty() && values.DictionaryFolder.find_first_of("\r\n") == std::string::npos) {
    add(kSectionDictionaries, kKeyDictionaryFolder, values.DictionaryFolder, true);
  }
  add(kSectionView, kKeyShowTags, boolean(values.ShowTags));
  add(kSectionView, kKeyKeywordMark, std::to_string(MarkOrNone(values.KeywordMark)));
  add(kSectionView, kKeyLimitEnabled, boolean(values.LimitEnabled));
  add(kSectionView, kKeyHitLimit, std::to_string(values.HitLimit));
  add(kSectionView, kKeyFontFace, values.NormalFontFace, true);
  add(kSectionView, kKeyFontSize, std::to_string(values.NormalFontSize));
  add(kSectionView, kKeyFontColour, std::to_string(values.NormalColour));
  add(kSectionView, kKeyBold, boolean(values.Bold));
  add(kSectionView, kKeyItalic, boolean(values.Italic));
  add(kSectionView, kKeyUnderline, boolean(values.Underline));
  add(kSectionView, kKeyKeywordColour, std::to_string(values.KeywordColour));
  add(kSectionView, kKeyBackground, std::to_string(values.BackgroundColour));
  add(kSectionForm, kKeyTop, std::to_string(values.Top));
  add(kSectionForm, kKeyLeft, std::to_string(values.Left));
  add(kSectionForm, kKeyWidth, std::to_string(values.Width));
  add(kSectionForm, kKeyHeight, std::to_string(values.Height));
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
