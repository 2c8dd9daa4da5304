// Settings as one value: what a file loads as and what a save writes.
#include "core/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <functional>

#include "settings_samples.h"
#include "support/temp_dir.h"
#include "text/encoding.h"

using encoding::Sjis;
using namespace settings_samples;

// Each file is loaded over values that differ from the defaults in every
// key.  A bad colour ends the reading: the keys before it are read, the rest
// keep what the values held.
TEST(LoadSettings, Table) {
  std::string longFace, cutFace;
  for (int i = 0; i < 200; ++i) longFace += "字";  // 400 bytes
  for (int i = 0; i < 127; ++i) cutFace += "字";   // 254 bytes: the 128th would end at byte 256
  // clang-format off
  const struct {
    std::string File;
    std::function<void(TSettingsValues&)> Change;
    std::string StopKey = "", BadText = "";
  } rows[] = {
      {"", [](TSettingsValues&) {}},
      {"[辞書]\nKOVA辞書第4版=2\nKOVA略語辞書=1\nKOVA辞書第5版=0\nKOVAバイリンガル辞書=yes\nKOVA固有名詞辞書=0x1\n",
       [](TSettingsValues& v) { v.Dictionaries = {false, false, true, true, false, true}; }},
      {"[フォーム位置]\n幅=0x1F\n高さ=0X20\nトップ=$10\nレフト=-$2\n",
       [](TSettingsValues& v) { v.Width = 31, v.Height = 32, v.Top = 16, v.Left = -2; }},
      {"[フォーム位置]\n幅=0x\n高さ=12a\nトップ=2147483648\nレフト=0xG\n", [](TSettingsValues&) {}},
      {"[フォーム位置]\nトップ=-2147483648\nレフト=0xFFFFFFFF\n", [](TSettingsValues& v) { v.Top = INT_MIN, v.Left = -1; }},
      {"[表示]\n検索件数=0\nキーワードのマーク=0\n", [](TSettingsValues&) {}},
      {"[表示]\n検索件数=10000\nキーワードのマーク=7\n", [](TSettingsValues&) {}},
      {"[表示]\n検索件数=1\nキーワードのマーク=1\n背景色=-16777201\nキーワードのフォントスタイル アンダーライン=-1\n",
       [](TSettingsValues& v) { v.HitLimit = 1, v.KeywordMark = 1, v.BackgroundColour = -16777201, v.Underline = true; }},
      {"[表示]\n検索件数=9999\nキーワードのマーク=4\n", [](TSettingsValues& v) { v.HitLimit = 9999, v.KeywordMark = 4; }},
      {"[表示]\n通常のフォント名=" + longFace + "\n通常のフォントサイズ=9\n",
       [&cutFace](TSettingsValues& v) { v.NormalFontFace = Sjis(cutFace), v.NormalFontSize = 9; }},
      {"[表示]\n通常のフォントサイズ=5000\n", [](TSettingsValues& v) { v.NormalFontSize = 512; }},
      {"[表示]\n通常のフォントサイズ=512\n", [](TSettingsValues& v) { v.NormalFontSize = 512; }},
      {"[表示]\n通常のフォントサイズ=1\n", [](TSettingsValues& v) { v.NormalFontSize = 1; }},
      {"[表示]\n通常のフォントサイズ=0\n", [](TSettingsValues&) {}},
      {"[表示]\n通常のフォントサイズ=-12\n", [](TSettingsValues&) {}},
      {"[表示]\n通常のフォント名=Serif\n通常のフォントサイズ=14\n通常のフォント色=red\n[フォーム位置]\n幅=5\n",
       [](TSettingsValues& v) { v.NormalFontFace = "Serif", v.NormalFontSize = 14; }, "通常のフォント色", "red"},
      {"[表示]\nキーワードのフォント色=$FF00\n背景色=\n", [](TSettingsValues& v) { v.KeywordColour = 0xFF00; }, "背景色"},
  };
  // clang-format on
  TTempDir dir;
  for (const auto& row : rows) {
    TSettingsValues expected = settings::DefaultSettings(), loaded = Changed();
    row.Change(expected);
    try {
      settings::LoadSettings(TProfile(dir.Write("k.ini", Sjis(row.File))), loaded);
      EXPECT_EQ(row.StopKey, "") << row.File;
    } catch (const Exception& e) {
      EXPECT_EQ(encoding::SjisToUtf8(e.Message()), "'" + row.BadText + "' は正しい整数値ではありません");
    }
    const std::string read = Show(expected), kept = Show(Changed());
    const auto stop = [&row](const std::string& s) {
      return row.StopKey.empty() ? s.size() : s.find("\n" + row.StopKey + "=") + 1;
    };
    EXPECT_EQ(Show(loaded), read.substr(0, stop(read)) + kept.substr(stop(kept))) << row.File;
  }
  // A name of exactly 255 bytes stays whole, even ending in a lead byte.
  const std::string face = std::string(254, 'x') + "\x82";
  EXPECT_EQ(Load(dir.Write("k.ini", Sjis("[表示]\n通常のフォント名=") + face + "\n")).NormalFontFace, face);
}

TEST(SaveSettings, WritesEveryKeyInOrderAndReadsBack) {
  TTempDir dir;
  TProfile profile(dir / "k.ini");
  TSettingsValues v = settings::DefaultSettings();
  v.Dictionaries = {true, false, true, false, false, true};
  v.Italic = true;
  settings::SaveSettings(profile, v);
  EXPECT_EQ(encoding::SjisToUtf8(TTempDir::Read(dir / "k.ini")),
            "[辞書]\r\nKOVA辞書第5版=1\r\nKOVAバイリンガル辞書=0\r\nKOVA略語辞書=1\r\nKOVA固有名詞辞書=0\r\n"
            "KOVA専門用語辞書第5版=0\r\nKOVA辞書第4版=1\r\n"
            "[表示]\r\nタグの表示=0\r\nキーワードのマーク=5\r\n検索件数の制限=0\r\n検索件数=100\r\n"
            "通常のフォント名=ＭＳ ゴシック\r\n通常のフォントサイズ=12\r\n通常のフォント色=0\r\n"
            "キーワードのフォントスタイル ボールド=0\r\nキーワードのフォントスタイル イタリック=1\r\n"
            "キーワードのフォントスタイル アンダーライン=0\r\nキーワードのフォント色=255\r\n背景色=16777215\r\n"
            "入力中に検索=1\r\nクリップボードの監視=0\r\n"
            "[フォーム位置]\r\nトップ=0\r\nレフト=0\r\n幅=415\r\n高さ=180\r\n");
  for (TSettingsValues values : {settings::DefaultSettings(), Changed()}) {
    values.DictionaryFolder = "/d/" + Sjis("辞書");
    settings::SaveSettings(profile, values);
    TSettingsValues loaded = Load(dir / "k.ini");
    loaded.DictionaryFolder = settings::RememberedDictionaryFolder(TProfile(dir / "k.ini"));
    EXPECT_EQ(Show(loaded), Show(values));
    EXPECT_EQ(loaded, values);
  }
}
