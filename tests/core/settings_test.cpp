// Settings as one value: what a file loads as, what a save writes, and what
// several runs on one file leave in it.
#include "core/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <functional>

#include "core/settings_session.h"
#include "support/temp_dir.h"
#include "text/encoding.h"

using encoding::Sjis;
using settings::TSettingsValues;

namespace {

// Every value as the file spells it, readable in a failure.
std::string Show(const TSettingsValues& v) {
  std::string text;
  for (const settings::TSettingText& t : settings::SettingTexts(v))
    text += encoding::SjisToUtf8(t.Key + "=" + t.Value) + "\n";
  return text;
}

// Settings that differ from the defaults in every value.
TSettingsValues Changed() {
  // clang-format off
  return {{true, false, true, false, true, false}, true, 3, true, 42, Sjis("ＭＳ 明朝"), 9, 128, true, true, true, 0,
          -2147483643, 5, 6, 700, 500, ""};
  // clang-format on
}

TSettingsValues Load(const std::string& path, TSettingsValues values = settings::DefaultSettings()) {
  settings::LoadSettings(TProfile(path), values);
  return values;
}

}  // namespace

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

// ---------------------------------------------------------------------------
// Several runs of the program on one settings file

namespace {

// One run: its session and the values its window shows, the font name as
// the window can show it (bytes without a character become "?").
struct TRun {
  settings::TSettingsSession Session;
  TSettingsValues Values = settings::DefaultSettings();
  explicit TRun(const std::string& path) {
    Session.Load(path, Values);
    Values.NormalFontFace = encoding::EncodeSjisLossy(encoding::SjisToUtf16(Values.NormalFontFace)).Bytes;
    Session.SetLoadedValues(Values);
  }
};

}  // namespace

// Each run writes only what it changed over what the file holds when it
// ends; a font name nobody changed keeps bytes the window cannot show.  A
// run alone writes what SaveSettings writes for its values.
TEST(SettingsRuns, EachRunWritesWhatItChanged) {
  const std::string badFace = "Bad\377\375\202Font";
  TTempDir dir;
  const std::string path = dir.Write(
      "k.ini", Sjis("[表示]\r\n通常のフォント名=") + badFace + Sjis("\r\n検索件数=250\r\n[ほか]\r\n未知=残す\r\n"));
  TRun first(path), second(path);
  first.Values.HitLimit = 300, first.Values.Dictionaries[0] = true;
  first.Session.Save(path, first.Values);
  second.Values.KeywordMark = 2, second.Values.Width = 600;
  second.Session.Save(path, second.Values);
  TSettingsValues expected = settings::DefaultSettings();
  expected.NormalFontFace = badFace;
  expected.HitLimit = 300, expected.Dictionaries[0] = true, expected.KeywordMark = 2, expected.Width = 600;
  EXPECT_EQ(Show(Load(path)), Show(expected));
  const std::string saved = TTempDir::Read(path);
  EXPECT_NE(saved.find(Sjis("未知=残す")), std::string::npos);
  TRun third(path);  // a run that changes nothing leaves the file as it is
  third.Session.Save(path, third.Values);
  EXPECT_EQ(TTempDir::Read(path), saved);
  third.Values = Changed();
  third.Session.Save(path, third.Values);
  TProfile alone(dir.Write("alone.ini", saved));
  settings::SaveSettings(alone, third.Values);
  EXPECT_EQ(TTempDir::Read(path), TTempDir::Read(dir / "alone.ini"));
}

// A file that cannot be read is reported once, at the start, after the
// defaults were filled in; the end neither writes it nor reports it again.
// What is not a regular file is refused at once (a plain open of a FIFO
// would wait for a writer for ever).
TEST(SettingsRuns, UnreadableFileIsReportedAtTheStartOnly) {
  TTempDir dir;
  ASSERT_EQ(mkfifo((dir / "fifo.ini").c_str(), 0644), 0);
  std::filesystem::create_directory(dir / "directory.ini");
  std::filesystem::create_symlink("loop.ini", dir / "loop.ini");
  for (const auto& [name, reason] :
       {std::pair{"fifo.ini", "通常のファイルではありません"}, std::pair{"directory.ini", "ディレクトリは開けません"},
        std::pair{"loop.ini", "シンボリックリンクが循環しています"}}) {
    settings::TSettingsSession session;
    TSettingsValues values = Changed();
    try {
      session.Load(dir / name, values);
      ADD_FAILURE() << "no error for " << name;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), dir / name + ": " + Sjis(reason));
    }
    EXPECT_EQ(Show(values), Show(settings::DefaultSettings()));
    session.SetLoadedValues(values);
    EXPECT_NO_THROW(session.Save(dir / name, Changed()));
    TProfile profile(dir / name);
    EXPECT_THROW(settings::SaveSettings(profile, Changed()), Exception);
  }
  EXPECT_EQ(std::filesystem::status(dir / "fifo.ini").type(), std::filesystem::file_type::fifo);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "directory.ini"));
  EXPECT_EQ(dir.Names().size(), 3u);
}
