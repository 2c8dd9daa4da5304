// The profile file: reading, writing in place, saving safely, and the
// messages about files it gives.
#include "core/profile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/file_error.h"
#include "sjis/io_error.h"
#include "support/temp_dir.h"
#include "text/encoding.h"

using encoding::Sjis;

// Names compare without regard to ASCII case and blanks, character by
// character ("]" and "A" as second bytes); the first of a name counts.
TEST(Profile, ReadTable) {
  TTempDir dir;
  const TProfile p(dir.Write("a.ini",
                             "k=0\n[ View ]\r\n  Tags =  1  \r\nEmpty=\nKey=a=b\n;c=1\n# d=2\nno equals\n=3\n"
                             "[s]\nk=1\nK=2\n[S]\nk=3\nonly=4\n" +
                                 Sjis("[ゾーン]\nア=1\n") + "[i]\na=0x1F\nb=-$2\nc=2147483648\nd=0x\ne=+7\nf=$\n"));
  // clang-format off
  const struct {
    std::string Section, Key;
    std::optional<std::string> Value;
  } rows[] = {
      {"  VIEW", "tags ", "1"}, {"view", "empty", ""}, {"view", "key", "a=b"}, {"view", "missing", std::nullopt},
      {"view", ";c", std::nullopt}, {"view", "no equals", std::nullopt}, {"view", "k", std::nullopt},
      {"other", "k", std::nullopt}, {"s", "k", "1"}, {"s", "only", std::nullopt},
      {Sjis("ゾーン"), Sjis("ア"), "1"}, {Sjis("ゾーン"), Sjis("ヂ"), std::nullopt}};
  // clang-format on
  for (const auto& row : rows) EXPECT_EQ(p.ReadString(row.Section, row.Key), row.Value) << row.Section << row.Key;
  const std::pair<std::string, std::optional<std::int32_t>> integers[] = {
      {"a", 31}, {"b", -2},           {"c", std::nullopt}, {"d", std::nullopt},
      {"e", 7},  {"f", std::nullopt}, {"z", std::nullopt}};
  for (const auto& [key, value] : integers) EXPECT_EQ(p.ReadInteger("i", key), value) << key;
}

// Written keys replace their values where they stand; a missing key goes
// after the last key of its section, a missing section to the end, with the
// line end of the file's first line; every other byte stays.
TEST(Profile, WriteTable) {
  const struct {
    std::string Content;
    std::vector<std::array<std::string, 3>> Writes;
    std::string Expected;
  } rows[] = {
      {"; s\r\n[U]\r\nFoo = bar \r\n\r\n[View]\n# c\nTags = 0\nOther=x\r\n\tgarbage ]\r\n",
       {{"VIEW", "tags", "1"}},
       "; s\r\n[U]\r\nFoo = bar \r\n\r\n[View]\n# c\nTags = 1\nOther=x\r\n\tgarbage ]\r\n"},
      {"[a]\r\nx=1\r\n; note\r\n\r\n[b]\r\ny=2\r\n",
       {{"a", "new", "v"}, {"a", "newer", "w"}, {"b", "z", "3"}},
       "[a]\r\nx=1\r\nnew=v\r\nnewer=w\r\n; note\r\n\r\n[b]\r\ny=2\r\nz=3\r\n"},
      {"[a]\n\n[b]\nk=1\n", {{"a", "k", "2"}}, "[a]\nk=2\n\n[b]\nk=1\n"},
      {"[a]\nk=1", {{"new", "n", "1"}, {"a", "k2", "2"}}, "[a]\nk=1\nk2=2\n[new]\nn=1\n"},
      {"",
       {{"one", "b", "1"}, {"one", "a", "2"}, {"two", "z", "3"}, {"one", "B", "5"}},
       "[one]\r\nb=5\r\na=2\r\n[two]\r\nz=3\r\n"},
      // A key added to an inner section leaves the last line alone.
      {"; c\n[a]\nk=1\n[b]\nx=y", {{"a", "new", "v"}}, "; c\n[a]\nk=1\nnew=v\n[b]\nx=y"},
      // A last line ending in a carriage return keeps it.
      {"[a]\nlast=x\r", {{"a", "new", "v"}}, "[a]\nlast=x\r\r\nnew=v\n"},
      {"[a]\r\nlast=x\r", {{"a", "new", "v"}}, "[a]\r\nlast=x\r\r\nnew=v\r\n"},
  };
  for (const auto& row : rows) {
    TTempDir dir;
    const std::string path = dir.Write("a.ini", row.Content);
    TProfile p(path);
    for (const auto& [section, key, value] : row.Writes) p.WriteString(section, key, value);
    p.Save();
    EXPECT_EQ(TTempDir::Read(path), row.Expected) << row.Content;
    const auto& [section, key, value] = row.Writes.back();
    EXPECT_EQ(TProfile(path).ReadString(section, key), value) << row.Content;
  }
}

// Names and values whose lines would not read back as written are refused.
TEST(Profile, RefusesTextsTheFileCannotHold) {
  TTempDir dir;
  const std::string original = "[s]\n[abc=1\n";
  TProfile p(dir.Write("a.ini", original));
  const std::array<std::string, 3> refused[] = {
      {"s", "k", "two\r\nlines"}, {"s", "k=v", "x"}, {"s]", "k", "x"},   {"s", " ", "x"},
      {"s", "[Other]x", "1"},     {"s", " [x", "]"}, {"s", "[abc", "]"}, {"s", "[abc", "x]"},
      {"s", ";k", "1"},           {"s", " #k", "1"}, {"s\x95", "k", "1"}};
  for (const auto& [section, key, value] : refused)
    EXPECT_THROW(p.WriteString(section, key, value), std::invalid_argument) << section << " " << key;
  EXPECT_EQ(p.Content(), original);
  for (const auto& [section, key, value] : std::vector<std::array<std::string, 3>>{
           {"s", "[abc", "x"}, {"s\x95\x5c", "k", "1"}, {"s", "k", "[v]"}, {Sjis("ゾ"), "k", "x"}}) {
    p.WriteString(section, key, value);
    EXPECT_EQ(p.ReadString(section, key), value);
  }
}

TEST(ProfileSave, WritesThroughSymbolicLinks) {
  TTempDir dir;
  const std::string real = dir.Write("real.ini", "[a]\nk=1\n");
  std::filesystem::create_symlink(real, dir / "link.ini");
  std::filesystem::create_symlink("link.ini", dir / "chain.ini");
  std::filesystem::create_symlink("made.ini", dir / "dangling.ini");
  for (const char* name : {"link.ini", "chain.ini", "dangling.ini"}) {
    TProfile q(dir / name);
    q.WriteString("a", "k", name);
    q.Save();
  }
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
  EXPECT_EQ(TTempDir::Read(real), "[a]\nk=chain.ini\n");
  EXPECT_EQ(TTempDir::Read(dir / "made.ini"), "[a]\r\nk=dangling.ini\r\n");
  EXPECT_EQ(dir.Names().size(), 5u);
}

// A plain file is replaced by a new one.  A file that cannot be replaced (a
// directory that nobody may write, another hard link, a hundred temporary
// names taken) is written in place; a read-only file, a new one in such a
// directory, or one that cannot grow (the file size limit) is refused and
// keeps its content.  No write bit at all holds for the superuser too.  A
// program started without standard input gets descriptor 0 for the file.
TEST(ProfileSave, ReplacedInPlaceOrRefused) {
  enum TOutcome { Replaced, InPlace, Refused };
  // clang-format off
  const struct {
    const char* Name;
    mode_t DirectoryMode, FileMode;
    bool HardLink, TempsTaken, SizeLimit, NoStandardInput;
    TOutcome Outcome;
  } rows[] = {{"plain file", 0755, 0640, false, false, false, false, Replaced},
              {"directory without write permission", 0555, 0644, true, false, false, false, InPlace},
              {"file with a hard link", 0755, 0600, true, false, false, false, InPlace},
              {"hard link, the file read and written as descriptor 0", 0755, 0600, true, false, false, true, InPlace},
              {"temporary names taken", 0755, 0600, false, true, false, false, InPlace},
              {"read-only file", 0755, 0444, false, false, false, false, Refused},
              {"read-only file in such a directory", 0555, 0444, false, false, false, false, Refused},
              {"file size limit", 0755, 0644, true, false, true, false, Refused}};
  // clang-format on
  for (const auto& c : rows) {
    SCOPED_TRACE(c.Name);
    TTempDir dir;
    const std::string original = "[a]\nk=1000\n", existing = dir.Write("設定.ini", original);
    ASSERT_EQ(chmod(existing.c_str(), c.FileMode), 0);
    if (c.HardLink) {
      ASSERT_EQ(link(existing.c_str(), (dir / "b.ini").c_str()), 0);
    }
    for (int i = 0; c.TempsTaken && i < 100; ++i)
      dir.Write(".設定.ini.tmp-" + std::to_string(getpid()) + "-" + std::to_string(i), "");
    struct stat before, after;
    ASSERT_EQ(stat(existing.c_str(), &before), 0);
    ASSERT_EQ(chmod(dir.Path().c_str(), c.DirectoryMode), 0);
    const int input = dup(0);  // a program started without standard input
    if (c.NoStandardInput) close(0);
    TProfile changed(existing);
    changed.WriteString("a", "k", "100000");
    struct rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{5, limit.rlim_max};
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    if (c.SizeLimit) setrlimit(RLIMIT_FSIZE, &small);
    try {
      changed.Save();
      EXPECT_NE(c.Outcome, Refused);
    } catch (const Exception& e) {
      EXPECT_EQ(c.Outcome, Refused);
      EXPECT_EQ(e.Message(), encoding::Utf8ToSjis(existing) + Sjis(" に書き込めません"));
    }
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, oldHandler);
    dup2(input, 0);
    close(input);
    const std::string expected = c.Outcome == Refused ? original : "[a]\nk=100000\n";
    EXPECT_EQ(TTempDir::Read(existing), expected);
    EXPECT_EQ(TTempDir::Read(dir / "b.ini"), c.HardLink ? expected : "");
    ASSERT_EQ(stat(existing.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino == before.st_ino, c.Outcome != Replaced);
    EXPECT_EQ(after.st_mode, before.st_mode);
    if (c.DirectoryMode == 0555) {
      EXPECT_THROW(TProfile(dir / "new.ini").Save(), Exception);
    }
    EXPECT_EQ(dir.Names().size(), (c.HardLink ? 2u : 1u) + (c.TempsTaken ? 100u : 0u));
  }
}

// A save killed half-way leaves its temporary file behind; the next save
// removes it, but not one whose process still runs, nor one of another file.
TEST(ProfileSave, TemporaryFilesOfKilledSavesAreRemoved) {
  TTempDir dir;
  const std::string path = dir.Write("a.ini", "[a]\nk=1\n");
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  ASSERT_GT(gone, 0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  const std::string running = ".a.ini.tmp-" + std::to_string(getppid()) + "-3";
  const std::string otherFile = ".b.ini.tmp-" + std::to_string(gone) + "-0";
  for (const std::string& name : {".a.ini.tmp-" + std::to_string(gone) + "-0", running, otherFile})
    dir.Write(name, "[a]\nk=");
  TProfile p(path);
  p.Save();
  std::vector<std::string> names = dir.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{running, otherFile, "a.ini"}));
}

// Each message names the file and says why, in Japanese for what users meet,
// in the C library's words otherwise; the engine's exceptions are worded by
// the error number they carry, whatever their own text.
TEST(FileErrors, NameTheFileAndSayWhy) {
  const std::string file = Sjis("辞書.TXT");
  for (const auto& [error, reason] :
       {std::pair{ELOOP, "シンボリックリンクが循環しています"}, std::pair{ENOENT, "ファイルが見つかりません"},
        std::pair{EACCES, "アクセスが拒否されました"},
        std::pair{io_error::kNotRegularFile, "通常のファイルではありません"}}) {
    EXPECT_EQ(file_error::Message(file, error), file + ": " + Sjis(reason));
    if (error > 0) {
      EXPECT_EQ(file_error::Message(file, EInOutError(error)), file + ": " + Sjis(reason));
    }
  }
  EXPECT_EQ(file_error::Message(file, EXDEV), file + ": " + strerror(EXDEV));
  EXPECT_EQ(file_error::Message(file, EFileNotFound(EXDEV)), file + ": " + strerror(EXDEV));
  EXPECT_EQ(file_error::Message(file, std::bad_alloc()), file + ": " + Sjis("メモリが足りません"));
  EXPECT_EQ(file_error::Message(file, EFileNotFound(Sjis("ディレクトリは開けません"))),
            file + ": " + Sjis("ディレクトリは開けません"));
}
