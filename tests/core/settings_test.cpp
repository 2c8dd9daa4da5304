#include "core/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/encoding.h"
#include "temp_dir.h"

using encoding::Sjis;
using settings::LoadSettings;

namespace {

// Records every call in order, as readable text.
class TRecorder : public settings::ISettingsTarget {
 public:
  std::vector<std::string> Calls;

  void ClickDictionary(int number) override { Add("click " + std::to_string(number)); }
  void SetShowTags(bool show) override { Add("tags " + std::to_string(show)); }
  void SetKeywordMark(int mark) override { Add("mark " + std::to_string(mark)); }
  void SetLimitEnabled(bool enabled) override { Add("limit on " + std::to_string(enabled)); }
  void SetHitLimit(int limit) override { Add("hit limit " + std::to_string(limit)); }
  void SetNormalFont(const std::string& faceSjis, int size) override {
    Add("font " + encoding::SjisToUtf8(faceSjis) + " " + std::to_string(size));
  }
  void SetNormalColour(std::int32_t colour) override { Add("colour " + std::to_string(colour)); }
  void SetKeywordStyle(bool bold, bool italic, bool underline) override {
    Add("style " + std::to_string(bold) + std::to_string(italic) + std::to_string(underline));
  }
  void SetKeywordColour(std::int32_t colour) override { Add("keyword colour " + std::to_string(colour)); }
  void SetBackgroundColour(std::int32_t colour) override { Add("background " + std::to_string(colour)); }
  void SetGeometry(int top, int left, int width, int height) override {
    Add("geometry " + std::to_string(top) + " " + std::to_string(left) + " " + std::to_string(width) + " " +
        std::to_string(height));
  }

  // The recorded calls that start with prefix.
  std::vector<std::string> Starting(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& c : Calls) {
      if (c.compare(0, prefix.size(), prefix) == 0) found.push_back(c);
    }
    return found;
  }

 private:
  void Add(std::string call) { Calls.push_back(std::move(call)); }
};

const std::vector<std::string> kDefaultCalls = {
    "tags 0",   "mark 5",    "limit on 0",         "hit limit 100",       "font ＭＳ ゴシック 12",
    "colour 0", "style 000", "keyword colour 255", "background 16777215", "geometry 0 0 415 180"};

// Loads settings from a file with the given UTF-8 text (stored as Shift-JIS).
TRecorder LoadFrom(const std::string& utf8Text) {
  TTempDir dir;
  const std::string path = dir.Write("kovalex.ini", Sjis(utf8Text));
  TRecorder recorder;
  LoadSettings(TProfile(path), recorder);
  return recorder;
}

}  // namespace

TEST(LoadSettings, DefaultsWithoutAFile) {
  TTempDir dir;
  TRecorder recorder;
  LoadSettings(TProfile(dir / "missing.ini"), recorder);
  EXPECT_EQ(recorder.Calls, kDefaultCalls);
}

TEST(LoadSettings, ClicksOnlyDictionariesThatReadTrue) {
  const TRecorder r = LoadFrom(
      "[辞書]\r\nKOVA辞書第4版=2\r\nKOVA略語辞書=1\r\nKOVA辞書第5版=0\r\nKOVAバイリンガル辞書=yes\r\n"
      "KOVA固有名詞辞書=0x1\r\n");
  EXPECT_EQ(r.Starting("click"), (std::vector<std::string>{"click 3", "click 4", "click 6"}));
  EXPECT_EQ(r.Calls.front(), "click 3");  // before every other setting
}

TEST(LoadSettings, IntegersReadHexadecimalAfter0xOrDollar) {
  EXPECT_EQ(LoadFrom("[フォーム位置]\n幅=0x1F\n高さ=0X20\nトップ=$10\nレフト=-$2\n").Starting("geometry"),
            std::vector<std::string>{"geometry 16 -2 31 32"});
  // "0x" alone, bad digits and overflow give the default.
  EXPECT_EQ(LoadFrom("[フォーム位置]\n幅=0x\n高さ=12a\nトップ=2147483648\nレフト=0xG\n").Starting("geometry"),
            std::vector<std::string>{"geometry 0 0 415 180"});
  EXPECT_EQ(LoadFrom("[フォーム位置]\nトップ=-2147483648\n").Starting("geometry"),
            std::vector<std::string>{"geometry -2147483648 0 415 180"});
}

TEST(LoadSettings, HitLimitOutsideOneTo9999IsNotPassedOn) {
  EXPECT_TRUE(LoadFrom("[表示]\n検索件数=0\n").Starting("hit limit").empty());
  EXPECT_TRUE(LoadFrom("[表示]\n検索件数=10000\n").Starting("hit limit").empty());
  EXPECT_TRUE(LoadFrom("[表示]\n検索件数=-5\n").Starting("hit limit").empty());
  EXPECT_EQ(LoadFrom("[表示]\n検索件数=250\n").Starting("hit limit"), std::vector<std::string>{"hit limit 250"});
  EXPECT_EQ(LoadFrom("[表示]\n検索件数=9999\n").Starting("hit limit"), std::vector<std::string>{"hit limit 9999"});
  EXPECT_EQ(LoadFrom("[表示]\n検索件数=1\n").Starting("hit limit"), std::vector<std::string>{"hit limit 1"});
}

TEST(LoadSettings, KeywordMarkOutsideOneToFourIsNone) {
  EXPECT_EQ(LoadFrom("[表示]\nキーワードのマーク=0\n").Starting("mark"), std::vector<std::string>{"mark 5"});
  EXPECT_EQ(LoadFrom("[表示]\nキーワードのマーク=7\n").Starting("mark"), std::vector<std::string>{"mark 5"});
  EXPECT_EQ(LoadFrom("[表示]\nキーワードのマーク=1\n").Starting("mark"), std::vector<std::string>{"mark 1"});
  EXPECT_EQ(LoadFrom("[表示]\nキーワードのマーク=4\n").Starting("mark"), std::vector<std::string>{"mark 4"});
}

TEST(LoadSettings, FontFaceIsCutTo255BytesOnACharacterBoundary) {
  std::string face;
  for (int i = 0; i < 200; ++i) face += "字";  // 400 bytes in Shift-JIS
  const TRecorder r = LoadFrom("[表示]\n通常のフォント名=" + face + "\n通常のフォントサイズ=9\n");
  std::string expected;
  for (int i = 0; i < 127; ++i) expected += "字";  // 254 bytes
  EXPECT_EQ(r.Starting("font"), std::vector<std::string>{"font " + expected + " 9"});
}

TEST(LoadSettings, BadColourStopsTheRemainingSteps) {
  TTempDir dir;
  const std::string path =
      dir.Write("kovalex.ini", Sjis("[表示]\n通常のフォント名=Serif\n通常のフォントサイズ=14\n通常のフォント色=red\n"
                                    "キーワードのフォントスタイル ボールド=1\n[フォーム位置]\n幅=500\n"));
  TRecorder recorder;
  try {
    LoadSettings(TProfile(path), recorder);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(encoding::SjisToUtf8(e.Message()), "'red' は正しい整数値ではありません");
  }
  // The font came before the colour; nothing after the colour was applied.
  EXPECT_EQ(recorder.Calls.back(), "font Serif 14");
  EXPECT_TRUE(recorder.Starting("style").empty());
  EXPECT_TRUE(recorder.Starting("geometry").empty());
}

TEST(LoadSettings, BadBackgroundKeepsTheStepsBeforeIt) {
  TRecorder recorder;
  TTempDir dir;
  const std::string path = dir.Write("kovalex.ini", Sjis("[表示]\nキーワードのフォント色=$FF00\n背景色=\n"));
  EXPECT_THROW(LoadSettings(TProfile(path), recorder), Exception);
  EXPECT_EQ(recorder.Calls.back(), "keyword colour 65280");
}

TEST(LoadSettings, NegativeColoursAreSystemColours) {
  EXPECT_EQ(LoadFrom("[表示]\n背景色=-16777201\n").Starting("background"),
            std::vector<std::string>{"background -16777201"});
}

TEST(SaveSettings, WritesEveryKeyInOrderWithOneAndZero) {
  TTempDir dir;
  TProfile profile(dir / "kovalex.ini");
  settings::TSettingsValues v = settings::DefaultSettings();
  v.Dictionaries = {true, false, true, false, false, true};
  v.Italic = true;
  settings::SaveSettings(profile, v);
  const std::string expected =
      "[辞書]\r\nKOVA辞書第5版=1\r\nKOVAバイリンガル辞書=0\r\nKOVA略語辞書=1\r\nKOVA固有名詞辞書=0\r\n"
      "KOVA専門用語辞書第5版=0\r\nKOVA辞書第4版=1\r\n"
      "[表示]\r\nタグの表示=0\r\nキーワードのマーク=5\r\n検索件数の制限=0\r\n検索件数=100\r\n"
      "通常のフォント名=ＭＳ ゴシック\r\n通常のフォントサイズ=12\r\n通常のフォント色=0\r\n"
      "キーワードのフォントスタイル ボールド=0\r\nキーワードのフォントスタイル イタリック=1\r\n"
      "キーワードのフォントスタイル アンダーライン=0\r\nキーワードのフォント色=255\r\n背景色=16777215\r\n"
      "[フォーム位置]\r\nトップ=0\r\nレフト=0\r\n幅=415\r\n高さ=180\r\n";
  EXPECT_EQ(TTempDir::Read(dir / "kovalex.ini"), Sjis(expected));
}

TEST(SaveSettings, EveryValueSurvivesARoundTrip) {
  TTempDir dir;
  settings::TSettingsValues v;
  v.Dictionaries = {false, true, false, true, true, false};
  v.ShowTags = true;
  v.KeywordMark = 3;
  v.LimitEnabled = true;
  v.HitLimit = 42;
  v.NormalFontFace = Sjis("IPAゴシック");
  v.NormalFontSize = 15;
  v.NormalColour = 0x123456;
  v.Bold = true;
  v.Underline = true;
  v.KeywordColour = 0xFF00;
  v.BackgroundColour = -16777201;
  v.Top = -20;
  v.Left = 30;
  v.Width = 800;
  v.Height = 600;
  {
    TProfile profile(dir / "kovalex.ini");
    settings::SaveSettings(profile, v);
  }
  TRecorder r;
  LoadSettings(TProfile(dir / "kovalex.ini"), r);
  EXPECT_EQ(r.Calls,
            (std::vector<std::string>{"click 2", "click 4", "click 5", "tags 1", "mark 3", "limit on 1", "hit limit 42",
                                      "font IPAゴシック 15", "colour 1193046", "style 101", "keyword colour 65280",
                                      "background -16777201", "geometry -20 30 800 600"}));
}

TEST(SaveSettings, DefaultsSurviveARoundTrip) {
  TTempDir dir;
  {
    TProfile profile(dir / "kovalex.ini");
    settings::SaveSettings(profile, settings::DefaultSettings());
  }
  TRecorder r;
  LoadSettings(TProfile(dir / "kovalex.ini"), r);
  EXPECT_EQ(r.Calls, kDefaultCalls);
}

TEST(SaveSettings, UnknownKeysAndSectionsSurvive) {
  TTempDir dir;
  const std::string path =
      dir.Write("kovalex.ini", Sjis("; mine\r\n[表示]\r\n検索件数=7\r\n独自=keep\r\n\r\n[Extra]\r\nx=1\r\n"));
  TProfile profile(path);
  settings::TSettingsValues v = settings::DefaultSettings();
  v.HitLimit = 8;
  settings::SaveSettings(profile, v);
  // Known keys missing from a section go after its last key; missing sections
  // go to the end in the order they are written.
  const std::string expected =
      "; mine\r\n[表示]\r\n検索件数=8\r\n独自=keep\r\nタグの表示=0\r\nキーワードのマーク=5\r\n検索件数の制限=0\r\n"
      "通常のフォント名=ＭＳ ゴシック\r\n通常のフォントサイズ=12\r\n通常のフォント色=0\r\n"
      "キーワードのフォントスタイル ボールド=0\r\nキーワードのフォントスタイル イタリック=0\r\n"
      "キーワードのフォントスタイル アンダーライン=0\r\nキーワードのフォント色=255\r\n背景色=16777215\r\n"
      "\r\n[Extra]\r\nx=1\r\n"
      "[辞書]\r\nKOVA辞書第5版=0\r\nKOVAバイリンガル辞書=0\r\nKOVA略語辞書=0\r\nKOVA固有名詞辞書=0\r\n"
      "KOVA専門用語辞書第5版=0\r\nKOVA辞書第4版=0\r\n"
      "[フォーム位置]\r\nトップ=0\r\nレフト=0\r\n幅=415\r\n高さ=180\r\n";
  EXPECT_EQ(TTempDir::Read(path), Sjis(expected));
}

TEST(SaveSettings, FailedSaveReportsTheFile) {
  TTempDir dir;
  const std::string path = dir.Write("kovalex.ini", "");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  TProfile profile(path);
  EXPECT_THROW(settings::SaveSettings(profile, settings::DefaultSettings()), Exception);
}

TEST(SettingsPath, ExtensionIsReplacedOrAppended) {
  EXPECT_EQ(settings::SettingsPathFor("/opt/kovalex/kovalex"), "/opt/kovalex/kovalex.ini");
  EXPECT_EQ(settings::SettingsPathFor("/opt/kovalex/kovalex.exe"), "/opt/kovalex/kovalex.ini");
  EXPECT_EQ(settings::SettingsPathFor("/opt/k.v/kovalex"), "/opt/k.v/kovalex.ini");
  EXPECT_EQ(settings::SettingsPathFor("/opt/kovalex/kovalex.1.10"), "/opt/kovalex/kovalex.1.ini");
}
