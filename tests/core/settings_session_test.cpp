// Several runs of the program on one settings file: what each leaves in it,
// and a file that cannot be read.
#include "core/settings_session.h"

#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/settings_table.h"
#include "settings_samples.h"
#include "support/temp_dir.h"

using encoding::Sjis;
using namespace settings_samples;

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

namespace {

// The bytes the process has allocated now; 0 where the allocator does not
// say (a sanitizer's).
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

}  // namespace

// Files that a run must not spoil.  A bad value at each key in turn: loading
// stops at a bad colour, and a run that changes nothing leaves every line but
// the bad key's as it was, the keys it never read included; a change to the
// last key is written, nothing else.  A file of nothing but line feeds is
// held in memory once, not per line, and keeps them all.
TEST(SettingsRuns, BadValuesAndLargeFilesLoseNothing) {
  TSettingsValues stored = Changed();
  stored.DictionaryFolder = "/" + Sjis("辞書");
  const std::vector<settings::TSettingText> texts = settings::SettingTexts(stored);
  // The file of stored, with "red" as the value of key bad.
  const auto file = [&texts](std::size_t bad) {
    std::string content, section;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (texts[i].Section != section) content += "[" + (section = texts[i].Section) + "]\r\n";
      content += texts[i].Key + "=" + (i == bad ? "red" : texts[i].Value) + "\r\n";
    }
    return content + Sjis("[ほか]\r\n未知=残す\r\n");
  };
  const auto without = [](std::string content, const std::string& key) {
    const std::size_t at = content.find("\n" + key + "=") + 1;
    return content.erase(at, content.find('\n', at) + 1 - at);
  };
  TTempDir dir;
  for (std::size_t bad = 0; bad <= texts.size(); ++bad) {
    SCOPED_TRACE(bad);
    const bool lineFeeds = bad == texts.size();
    const std::string content = lineFeeds ? std::string(4 << 20, '\n') : file(bad);
    const bool stops = !lineFeeds && settings::SettingRows()[bad].Kind == settings::TValueKind::Colour;
    const std::string path = dir.Write("k.ini", content);
    const std::size_t before = HeapInUse();
    {
      const TProfile profile(path);
      EXPECT_LE(HeapInUse() - before, content.size() + 65536);
    }
    for (const int height : {0, 999}) {
      settings::TSettingsSession session;
      TSettingsValues values = settings::DefaultSettings();
      try {
        session.Load(path, values);
        EXPECT_FALSE(stops);
      } catch (const Exception& e) {
        EXPECT_TRUE(stops);
        EXPECT_EQ(e.Message(), Sjis("'red' は正しい整数値ではありません"));
      }
      session.SetLoadedValues(values);
      if (height != 0) values.Height = height;
      session.Save(path, values);
    }
    const std::string saved = TTempDir::Read(path);
    if (lineFeeds) {
      EXPECT_EQ(saved.substr(0, content.size()), content);
      TSettingsValues expected = settings::DefaultSettings();
      expected.Height = 999;
      EXPECT_EQ(Show(Load(path)), Show(expected));
    } else {
      std::string expected = content;
      if (const std::size_t at = expected.find(Sjis("高さ=500")); at != std::string::npos)
        expected.replace(at, Sjis("高さ=500").size(), Sjis("高さ=999"));
      EXPECT_EQ(without(saved, texts[bad].Key), without(expected, texts[bad].Key));
    }
  }
}
