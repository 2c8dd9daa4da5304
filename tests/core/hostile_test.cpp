// The settings file under hostile content and permissions, through the
// settings layer the window uses, and the profile inputs that fuzzing found
// (fuzz/).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <stdexcept>

#include "core/encoding.h"
#include "core/profile.h"
#include "core/settings.h"
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

TEST(HostileSettings, DirectoryWithoutWritePermissionIsReportedAndNothingChanges) {
  TTempDir dir;
  const std::string original = Sjis("[表示]\r\n検索件数=250\r\n");
  const std::string existing = dir.Write("kovalex.ini", original);
  ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
  for (const std::string& path : {existing, dir / "new.ini"}) {
    TProfile profile(path);
    try {
      settings::SaveSettings(profile, Changed());
      FAIL() << "no error for " << path;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), path + Sjis(" に書き込めません"));
    }
  }
  EXPECT_EQ(TTempDir::Read(existing), original);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"kovalex.ini"});
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
