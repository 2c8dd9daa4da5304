#include "core/settings.h"

#include <filesystem>

#include "core/catalogue.h"
#include "core/encoding.h"
#include "exceptions.h"
#include "sjis.h"

namespace settings {
namespace {

using encoding::Sjis;

constexpr char kDictionarySection[] = "辞書";
constexpr char kViewSection[] = "表示";
constexpr char kFormSection[] = "フォーム位置";

constexpr char kDictionaryFolder[] = "辞書フォルダ";
constexpr char kShowTags[] = "タグの表示";
constexpr char kKeywordMark[] = "キーワードのマーク";
constexpr char kLimitEnabled[] = "検索件数の制限";
constexpr char kHitLimit[] = "検索件数";
constexpr char kFontFace[] = "通常のフォント名";
constexpr char kFontSize[] = "通常のフォントサイズ";
constexpr char kFontColour[] = "通常のフォント色";
constexpr char kBold[] = "キーワードのフォントスタイル ボールド";
constexpr char kItalic[] = "キーワードのフォントスタイル イタリック";
constexpr char kUnderline[] = "キーワードのフォントスタイル アンダーライン";
constexpr char kKeywordColour[] = "キーワードのフォント色";
constexpr char kBackground[] = "背景色";
constexpr char kTop[] = "トップ";
constexpr char kLeft[] = "レフト";
constexpr char kWidth[] = "幅";
constexpr char kHeight[] = "高さ";

constexpr char kDefaultFontFace[] = "ＭＳ ゴシック";
constexpr std::size_t kMaxFontFaceBytes = 255;

int MarkOrNone(int mark) { return mark >= 1 && mark <= 4 ? mark : 5; }

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

// Settings read through the profile, with the names as Shift-JIS.
class TReader {
 public:
  explicit TReader(const TProfile& profile) : FProfile(profile) {}

  std::optional<std::string> Text(const char* section, std::string_view key) const {
    return FProfile.ReadString(Sjis(section), Sjis(key));
  }
  std::int32_t Integer(const char* section, std::string_view key, std::int32_t fallback) const {
    const std::optional<std::string> text = Text(section, key);
    if (!text) return fallback;
    return ParseProfileInteger(*text).value_or(fallback);
  }
  bool Boolean(const char* section, std::string_view key) const { return Integer(section, key, 0) != 0; }
  std::int32_t Colour(const char* section, std::string_view key, std::int32_t fallback) const {
    const std::string text = Text(section, key).value_or(std::to_string(fallback));
    const std::optional<std::int32_t> value = ParseProfileInteger(text);
    if (!value) throw Exception("'" + text + "'" + Sjis(" は正しい整数値ではありません"));
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
    const std::size_t next = end + (IsDBCSLeadByte(static_cast<unsigned char>(s[end])) ? 2 : 1);
    if (next > max) break;
    end = next;
  }
  return s.substr(0, end);
}

}  // namespace

std::optional<std::int32_t> ParseProfileInteger(const std::string& text) {
  std::string_view s = text;
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

void LoadSettings(const TProfile& profile, ISettingsTarget& target) {
  const TReader r(profile);
  for (const catalogue::TDictionaryInfo& d : catalogue::kDictionaries) {
    if (r.Boolean(kDictionarySection, d.SettingsKey)) target.ClickDictionary(d.Number);
  }
  target.SetShowTags(r.Boolean(kViewSection, kShowTags));
  target.SetKeywordMark(MarkOrNone(r.Integer(kViewSection, kKeywordMark, 5)));
  target.SetLimitEnabled(r.Boolean(kViewSection, kLimitEnabled));
  const std::int32_t limit = r.Integer(kViewSection, kHitLimit, 100);
  if (limit >= 1 && limit <= 9999) target.SetHitLimit(limit);

  const std::string face = r.Text(kViewSection, kFontFace).value_or(Sjis(kDefaultFontFace));
  target.SetNormalFont(CutAtCharacter(face, kMaxFontFaceBytes), r.Integer(kViewSection, kFontSize, 12));
  target.SetNormalColour(r.Colour(kViewSection, kFontColour, 0));
  target.SetKeywordStyle(r.Boolean(kViewSection, kBold), r.Boolean(kViewSection, kItalic),
                         r.Boolean(kViewSection, kUnderline));
  target.SetKeywordColour(r.Colour(kViewSection, kKeywordColour, 255));
  target.SetBackgroundColour(r.Colour(kViewSection, kBackground, 16777215));
  target.SetGeometry(r.Integer(kFormSection, kTop, 0), r.Integer(kFormSection, kLeft, 0),
                     r.Integer(kFormSection, kWidth, 415), r.Integer(kFormSection, kHeight, 180));
}

std::string RememberedDictionaryFolder(const TProfile& profile) {
  return TReader(profile).Text(kDictionarySection, kDictionaryFolder).value_or("");
}

TSettingsValues DefaultSettings() {
  TSettingsValues v;
  v.NormalFontFace = Sjis(kDefaultFontFace);
  return v;
}

std::vector<TSettingText> SettingTexts(const TSettingsValues& values) {
  std::vector<TSettingText> texts;
  const auto add = [&texts](const char* section, std::string_view key, std::string value, bool isString = false) {
    texts.push_back({Sjis(section), Sjis(key), std::move(value), isString});
  };
  const auto boolean = [](bool b) { return std::string(b ? "1" : "0"); };
  for (const catalogue::TDictionaryInfo& d : catalogue::kDictionaries) {
    add(kDictionarySection, d.SettingsKey, boolean(values.Dictionaries[static_cast<std::size_t>(d.Number - 1)]));
  }
  // A path that a line of the file cannot hold is not remembered.
  if (!values.DictionaryFolder.empty() && values.DictionaryFolder.find_first_of("\r\n") == std::string::npos) {
    add(kDictionarySection, kDictionaryFolder, values.DictionaryFolder, true);
  }
  add(kViewSection, kShowTags, boolean(values.ShowTags));
  add(kViewSection, kKeywordMark, std::to_string(MarkOrNone(values.KeywordMark)));
  add(kViewSection, kLimitEnabled, boolean(values.LimitEnabled));
  add(kViewSection, kHitLimit, std::to_string(values.HitLimit));
  add(kViewSection, kFontFace, values.NormalFontFace, true);
  add(kViewSection, kFontSize, std::to_string(values.NormalFontSize));
  add(kViewSection, kFontColour, std::to_string(values.NormalColour));
  add(kViewSection, kBold, boolean(values.Bold));
  add(kViewSection, kItalic, boolean(values.Italic));
  add(kViewSection, kUnderline, boolean(values.Underline));
  add(kViewSection, kKeywordColour, std::to_string(values.KeywordColour));
  add(kViewSection, kBackground, std::to_string(values.BackgroundColour));
  add(kFormSection, kTop, std::to_string(values.Top));
  add(kFormSection, kLeft, std::to_string(values.Left));
  add(kFormSection, kWidth, std::to_string(values.Width));
  add(kFormSection, kHeight, std::to_string(values.Height));
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
