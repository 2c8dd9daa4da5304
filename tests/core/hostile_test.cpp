// The settings file under hostile content and permissions, through the
// settings layer the window uses, and the profile inputs that fuzzing found
// (fuzz/).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <random>
#include <stdexcept>

#include "core/encoding.h"
#include "core/file_error.h"
#include "core/profile.h"
#include "core/settings.h"
#include "core/settings_session.h"
#include "exceptions.h"
#include "temp_dir.h"

using encoding::Sjis;

namespace {

// What LoadSettings hands to the window.
class TRecorder : public settings::ISettingsTarget {
 public:
  settings::TSettingsValues Values;
  void ClickDictionary(int number) override { Values.Dictionaries[static_cast<std::size_t>(number - 1)] = true; }
  void SetShowTags(bool show) override { Values.ShowTags = show; }
  void SetKeywordMark(int mark) override { Values.KeywordMark = mark; }
  void SetLimitEnabled(bool enabled) override { Values.LimitEnabled = enabled; }
  void SetHitLimit(int limit) override { Values.HitLimit = limit; }
  void SetNormalFont(const std::string& faceSjis, int size) override {
    Values.NormalFontFace = faceSjis;
    Values.NormalFontSize = size;
  }
  void SetNormalColour(std::int32_t colour) override { Values.NormalColour = colour; }
  void SetKeywordStyle(bool bold, bool italic, bool underline) override {
    Values.Bold = bold;
    Values.Italic = italic;
    Values.Underline = underline;
  }
  void SetKeywordColour(std::int32_t colour) override { Values.KeywordColour = colour; }
  void SetBackgroundColour(std::int32_t colour) override { Values.BackgroundColour = colour; }
  void SetGeometry(int top, int left, int width, int height) override {
    Values.Top = top;
    Values.Left = left;
    Values.Width = width;
    Values.Height = height;
  }
};

settings::TSettingsValues Load(const std::string& path) {
  TRecorder recorder;
  settings::LoadSettings(TProfile(path), recorder);
  return recorder.Values;
}

void ExpectSame(const settings::TSettingsValues& a, const settings::TSettingsValues& b) {
  EXPECT_EQ(a.Dictionaries, b.Dictionaries);
  EXPECT_EQ(a.ShowTags, b.ShowTags);
  EXPECT_EQ(a.KeywordMark, b.KeywordMark);
  EXPECT_EQ(a.LimitEnabled, b.LimitEnabled);
  EXPECT_EQ(a.HitLimit, b.HitLimit);
  EXPECT_EQ(a.NormalFontFace, b.NormalFontFace);
  EXPECT_EQ(a.NormalFontSize, b.NormalFontSize);
  EXPECT_EQ(a.NormalColour, b.NormalColour);
  EXPECT_EQ(a.Bold, b.Bold);
  EXPECT_EQ(a.Italic, b.Italic);
  EXPECT_EQ(a.Underline, b.Underline);
  EXPECT_EQ(a.KeywordColour, b.KeywordColour);
  EXPECT_EQ(a.BackgroundColour, b.BackgroundColour);
  EXPECT_EQ(a.Top, b.Top);
  EXPECT_EQ(a.Left, b.Left);
  EXPECT_EQ(a.Width, b.Width);
  EXPECT_EQ(a.Height, b.Height);
}

// Settings that differ from the defaults in every value.
settings::TSettingsValues Changed() {
  settings::TSettingsValues v = settings::DefaultSettings();
  v.Dictionaries = {true, false, true, false, true, false};
  v.ShowTags = true;
  v.KeywordMark = 3;
  v.LimitEnabled = true;
  v.HitLimit = 42;
  v.NormalFontFace = Sjis("ＭＳ 明朝");
  v.NormalFontSize = 9;
  v.NormalColour = 128;
  v.Bold = v.Italic = v.Underline = true;
  v.KeywordColour = 0;
  v.BackgroundColour = -2147483643;
  v.Top = 5;
  v.Left = 6;
  v.Width = 700;
  v.Height = 500;
  return v;
}

mode_t ModeOf(const std::string& path) {
  struct stat st;
  EXPECT_EQ(stat(path.c_str(), &st), 0);
  return st.st_mode & 07777;
}

}  // namespace

// ---------------------------------------------------------------------------
// Settings files

TEST(HostileSettings, BinaryGarbageLoadsAsDefaultsAndSurvivesASave) {
  std::mt19937 random(77);
  std::string garbage;
  for (int i = 0; i < 64 * 1024; ++i) garbage += static_cast<char>(random() >> 8);
  // A fake image header, and no line end at the very end.
  garbage = "\x89PNG\r\n\x1a\n" + garbage + "\x82";
  TTempDir dir;
  const std::string path = dir.Write("kovalex.ini", garbage);
  ExpectSame(Load(path), settings::DefaultSettings());

  TProfile profile(path);
  settings::SaveSettings(profile, Changed());
  const std::string saved = TTempDir::Read(path);
  // The garbage stays byte for byte in front of the program's sections.
  ASSERT_GT(saved.size(), garbage.size());
  EXPECT_EQ(saved.compare(0, garbage.size(), garbage), 0);
  ExpectSame(Load(path), Changed());
}

TEST(HostileSettings, TenThousandSectionsAroundTheProgramsOwn) {
  std::string before, after;
  for (int i = 0; i < 5000; ++i) before += "[section" + std::to_string(i) + "]\r\nkey=" + std::to_string(i) + "\r\n";
  for (int i = 5000; i < 10000; ++i) after += "[section" + std::to_string(i) + "]\r\nkey=" + std::to_string(i) + "\r\n";
  const std::string program = Sjis("[表示]\r\n検索件数=250\r\n背景色=255\r\n");
  TTempDir dir;
  const std::string path = dir.Write("kovalex.ini", before + program + after);
  const settings::TSettingsValues loaded = Load(path);
  EXPECT_EQ(loaded.HitLimit, 250);
  EXPECT_EQ(loaded.BackgroundColour, 255);

  TProfile profile(path);
  settings::SaveSettings(profile, Changed());
  const std::string saved = TTempDir::Read(path);
  // The sections before and after the program's are untouched, in place.
  EXPECT_EQ(saved.compare(0, before.size(), before), 0);
  const std::size_t tail = saved.find("[section5000]");
  ASSERT_NE(tail, std::string::npos);
  EXPECT_EQ(saved.compare(tail, after.size(), after), 0);
  ExpectSame(Load(path), Changed());
  const TProfile reread(path);
  for (int i = 0; i < 10000; i += 999)
    EXPECT_EQ(reread.ReadString("section" + std::to_string(i), "key"), std::to_string(i));
}

// The superuser may write anything; a file or directory without any write
// permission bit is refused all the same, so these hold for every user.
TEST(HostileSettings, ReadOnlyFileIsReportedAndStaysIntact) {
  TTempDir dir;
  const std::string original = Sjis("[表示]\r\n検索件数=250\r\n");
  const std::string path = dir.Write("kovalex.ini", original);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  TProfile profile(path);
  try {
    settings::SaveSettings(profile, Changed());
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), path + Sjis(" に書き込めません"));
  }
  EXPECT_EQ(TTempDir::Read(path), original);
  EXPECT_EQ(ModeOf(path), 0444u);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"kovalex.ini"});
  EXPECT_EQ(Load(path).HitLimit, 250);
}

// The file that is there is written in place; a new one cannot be made.
TEST(HostileSettings, DirectoryWithoutWritePermission) {
  TTempDir dir;
  const std::string existing = dir.Write("kovalex.ini", Sjis("[表示]\r\n検索件数=250\r\n"));
  ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
  TProfile profile(existing);
  settings::SaveSettings(profile, Changed());
  ExpectSame(Load(existing), Changed());
  const std::string created = dir / "new.ini";
  TProfile other(created);
  try {
    settings::SaveSettings(other, Changed());
    FAIL() << "no error for " << created;
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), created + Sjis(" に書き込めません"));
  }
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"kovalex.ini"});
}

// ---------------------------------------------------------------------------
// Several runs of the program on one settings file

namespace {

// One run: its settings session and the values its window shows, the font
// name as the window can show it (bytes without a character become "?").
struct TRun {
  settings::TSettingsSession Session;
  settings::TSettingsValues Values;
};

TRun Start(const std::string& path) {
  TRun run;
  TRecorder recorder;
  run.Session.Load(path, recorder);
  run.Values = recorder.Values;
  run.Values.NormalFontFace = encoding::EncodeSjisLossy(encoding::SjisToUtf16(run.Values.NormalFontFace)).Bytes;
  run.Session.SetLoadedValues(run.Values);
  return run;
}

}  // namespace

// Each run writes only what it changed over what the file holds when it
// ends; a font name nobody changed keeps bytes the window cannot show.
TEST(SettingsRuns, TwoRunsSavingInTurnKeepEachOthersChanges) {
  const std::string badFace =
      "Bad\xFF\xFD\x82"
      "Font";
  TTempDir dir;
  const std::string path = dir.Write("kovalex.ini", Sjis("[表示]\r\n通常のフォント名=") + badFace +
                                                        Sjis("\r\n検索件数=250\r\n[ほか]\r\n未知=残す\r\n"));
  TRun first = Start(path);
  TRun second = Start(path);
  first.Values.HitLimit = 300;
  first.Values.Dictionaries[0] = true;
  first.Session.Save(path, first.Values);
  second.Values.KeywordMark = 2;
  second.Values.Width = 600;
  second.Session.Save(path, second.Values);

  settings::TSettingsValues expected = Load(path);
  EXPECT_EQ(expected.HitLimit, 300);
  EXPECT_TRUE(expected.Dictionaries[0]);
  EXPECT_EQ(expected.KeywordMark, 2);
  EXPECT_EQ(expected.Width, 600);
  const std::string saved = TTempDir::Read(path);
  EXPECT_NE(saved.find(Sjis("通常のフォント名=") + badFace + "\r\n"), std::string::npos);
  EXPECT_NE(saved.find(Sjis("未知=残す")), std::string::npos);
  // A run that changes nothing leaves the file as it is.
  TRun third = Start(path);
  third.Session.Save(path, third.Values);
  EXPECT_EQ(TTempDir::Read(path), saved);
}

// One run alone writes what SaveSettings writes for its values: missing keys
// added, numbers in their plain form, its changes, whatever it changed.
TEST(SettingsRuns, ASingleRunWritesWhatSaveSettingsWrites) {
  const std::string original = Sjis(
      "; mine\r\n[フォーム位置]\r\n幅=0x1F0\r\n[表示]\r\n検索件数=0\r\n"
      "通常のフォント名=IPAゴシック\r\n[辞書]\r\nKOVA略語辞書=1\r\n");
  for (int change = 0; change < 3; ++change) {
    TTempDir dir;
    const std::string path = dir.Write("kovalex.ini", original);
    TRun run = Start(path);
    if (change == 1) run.Values.Dictionaries[2] = false;
    if (change == 2) run.Values = Changed();
    run.Session.Save(path, run.Values);
    TProfile today(dir.Write("today.ini", original));
    settings::SaveSettings(today, run.Values);
    EXPECT_EQ(TTempDir::Read(path), TTempDir::Read(dir / "today.ini")) << "change " << change;
  }
}

// A file that cannot be read is reported once, at the start, after the
// defaults were applied; the end neither writes it nor reports it again.
TEST(SettingsRuns, UnreadableFileIsReportedAtTheStartOnly) {
  TTempDir dir;
  ASSERT_EQ(mkfifo((dir / "fifo.ini").c_str(), 0644), 0);
  std::filesystem::create_directory(dir / "directory.ini");
  for (const auto& [name, reason] : {std::pair{"fifo.ini", "通常のファイルではありません"},
                                     std::pair{"directory.ini", "ディレクトリは開けません"}}) {
    const std::string path = dir / name;
    settings::TSettingsSession session;
    TRecorder recorder;
    recorder.Values.HitLimit = 7;
    try {
      session.Load(path, recorder);
      ADD_FAILURE() << "no error for " << name;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), path + ": " + Sjis(reason));
    }
    ExpectSame(recorder.Values, settings::DefaultSettings());
    session.SetLoadedValues(recorder.Values);
    EXPECT_NO_THROW(session.Save(path, Changed()));
  }
  EXPECT_EQ(std::filesystem::status(dir / "fifo.ini").type(), std::filesystem::file_type::fifo);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "directory.ini"));
}

// ---------------------------------------------------------------------------
// Messages about files

// Each names the file and says why, in Japanese for what users meet, in the
// C library's words otherwise; the engine's texts of other errors (the C
// locale's, English) are worded the same way.
TEST(FileErrors, NameTheFileAndSayWhy) {
  const std::string file = Sjis("辞書.TXT");
  for (const auto& [error, reason] :
       {std::pair{ELOOP, "シンボリックリンクが循環しています"}, std::pair{ENOENT, "ファイルが見つかりません"},
        std::pair{EACCES, "アクセスが拒否されました"},
        std::pair{file_error::kNotRegularFile, "通常のファイルではありません"}}) {
    EXPECT_EQ(file_error::Message(file, error), file + ": " + Sjis(reason));
    if (error > 0) {
      EXPECT_EQ(file_error::Message(file, EInOutError(strerror(error))), file + ": " + Sjis(reason));
    }
  }
  EXPECT_EQ(file_error::Message(file, EXDEV), file + ": " + strerror(EXDEV));
  EXPECT_EQ(file_error::Message(file, std::bad_alloc()), file + ": " + Sjis("メモリが足りません"));
  // The engine's own Japanese texts stay as they are.
  EXPECT_EQ(file_error::Message(file, EFileNotFound(Sjis("ディレクトリは開けません"))),
            file + ": " + Sjis("ディレクトリは開けません"));
}

// ---------------------------------------------------------------------------
// Inputs found by fuzzing

// A key added at the end of a section that is not the last one gave the
// file's last line a line end, though that line was no business of the save.
TEST(FuzzRegression, KeyAddedToAnInnerSectionLeavesTheLastLineAlone) {
  TTempDir dir;
  const std::string path = dir.Write("a.ini", "; comment\n[a]\nk=1\n[b]\nx=y");
  TProfile profile(path);
  profile.WriteString("a", "new", "v");
  profile.Save();
  EXPECT_EQ(TTempDir::Read(path), "; comment\n[a]\nk=1\nnew=v\n[b]\nx=y");
  // Appending after the last line still ends it first.
  profile.WriteString("b", "z", "1");
  EXPECT_EQ(profile.Content(), "; comment\n[a]\nk=1\nnew=v\n[b]\nx=y\nz=1\n");
}

// The last line of a file without line end whose text ended in a carriage
// return lost it when a key was added after it: the CR and the added line
// feed read back as one CR LF line end.
TEST(FuzzRegression, KeyAddedAfterALastLineEndingInACarriageReturnKeepsIt) {
  for (const std::string newLine : {"\n", "\r\n"}) {
    TTempDir dir;
    const std::string path = dir.Write("a.ini", "[a]" + newLine + "k=1" + newLine + "last=x\r");
    TProfile profile(path);
    profile.WriteString("a", "new", "v");
    profile.Save();
    const TProfile reread(path);
    EXPECT_EQ(reread.ReadString("a", "last"), "x\r");
    EXPECT_EQ(reread.ReadString("a", "new"), "v");
    EXPECT_EQ(TTempDir::Read(path), "[a]" + newLine + "k=1" + newLine + "last=x\r\r\nnew=v" + newLine);
  }
}

// A key whose line reads as a "[...]" section line (the fuzzer's key was
// "[Other]" followed by text) was written, and the next load saw a new
// section instead of the key, moving the keys after it into that section.
TEST(FuzzRegression, KeysAndSectionsThatWouldNotReadBackAreRefused) {
  TTempDir dir;
  const std::string original = "[s]\n[abc=1\nk=2\n";
  const std::string path = dir.Write("a.ini", original);
  TProfile profile(path);
  EXPECT_THROW(profile.WriteString("s", "[Other]x", "1"), std::invalid_argument);
  EXPECT_THROW(profile.WriteString("s", " [x", "]"), std::invalid_argument);
  // Rewriting an existing key line into a section line.
  EXPECT_EQ(profile.ReadString("s", "[abc"), "1");
  EXPECT_THROW(profile.WriteString("s", "[abc", "]"), std::invalid_argument);
  // Keys that read as comments.
  EXPECT_THROW(profile.WriteString("s", ";k", "1"), std::invalid_argument);
  EXPECT_THROW(profile.WriteString("s", " #k", "1"), std::invalid_argument);
  // A section name ending in a lead byte would take the "]" as its second byte.
  EXPECT_THROW(profile.WriteString("s\x95", "k", "1"), std::invalid_argument);
  EXPECT_EQ(profile.Content(), original);
  // What the file can hold still goes.
  EXPECT_THROW(profile.WriteString("s", "[abc", "x]"), std::invalid_argument);
  EXPECT_NO_THROW(profile.WriteString("s", "[abc", "x"));
  EXPECT_NO_THROW(profile.WriteString("s\x95\x5c", "k", "1"));
  EXPECT_NO_THROW(profile.WriteString("s", "k", "[v]"));
  profile.Save();
  const TProfile reread(path);
  EXPECT_EQ(reread.ReadString("s", "[abc"), "x");
  EXPECT_EQ(reread.ReadString("s\x95\x5c", "k"), "1");
  EXPECT_EQ(reread.ReadString("s", "k"), "[v]");
}
