#include "core/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>

#include "core/encoding.h"
#include "core/file_error.h"
#include "temp_dir.h"

using encoding::Sjis;

namespace {

mode_t ModeOf(const std::string& path) {
  struct stat st;
  EXPECT_EQ(stat(path.c_str(), &st), 0);
  return st.st_mode & 07777;
}

// The message Save gives for path.
std::string CannotWrite(const std::string& path) { return path + Sjis(" に書き込めません"); }

}  // namespace

TEST(ProfileRead, NamesIgnoreCaseAndBlanksAroundNamesAndValues) {
  TTempDir dir;
  const std::string path = dir.Write("a.ini", "[ Display ]\r\n  ShowTags =  1  \r\nEmpty=\r\n");
  const TProfile p(path);
  EXPECT_EQ(p.ReadString("display", "SHOWTAGS"), "1");
  EXPECT_EQ(p.ReadString("  DISPLAY", "showtags "), "1");
  EXPECT_EQ(p.ReadString("display", "empty"), "");
  EXPECT_EQ(p.ReadString("display", "missing"), std::nullopt);
  EXPECT_EQ(p.ReadString("other", "ShowTags"), std::nullopt);
}

TEST(ProfileRead, ShiftJisNamesAreComparedCharacterByCharacter) {
  TTempDir dir;
  // The second byte of ゾ is "]"; that of ア is "A", which must not fold to ヂ.
  const std::string path = dir.Write("a.ini", Sjis("[ゾーン]\nア=1\n[表示]\nKey=a=b\n"));
  const TProfile p(path);
  EXPECT_EQ(p.ReadString(Sjis("ゾーン"), Sjis("ア")), "1");
  EXPECT_EQ(p.ReadString(Sjis("ゾーン"), Sjis("ヂ")), std::nullopt);
  EXPECT_EQ(p.ReadString(Sjis("表示"), "key"), "a=b");
}

TEST(ProfileRead, FirstOfRepeatedSectionsAndKeysCounts) {
  TTempDir dir;
  const std::string path = dir.Write("a.ini", "[s]\nk=1\nK=2\n[S]\nk=3\nonly=4\n");
  const TProfile p(path);
  EXPECT_EQ(p.ReadString("s", "k"), "1");
  EXPECT_EQ(p.ReadString("s", "only"), std::nullopt);
}

TEST(ProfileRead, CommentsAndOtherLinesAreNoKeys) {
  TTempDir dir;
  const std::string path = dir.Write("a.ini", "k=0\n[s]\n;k=1\n# k=2\nno equals\n=3\n");
  const TProfile p(path);
  EXPECT_EQ(p.ReadString("s", "k"), std::nullopt);  // the line before any section is no key of s
  EXPECT_EQ(p.ReadString("s", ";k"), std::nullopt);
  EXPECT_EQ(p.ReadString("s", "no equals"), std::nullopt);
}

TEST(ProfileWrite, ReplacesValueInPlaceAndKeepsEveryOtherByte) {
  TTempDir dir;
  const std::string original =
      "; settings\r\n"
      "[Unknown]\r\n"
      "Foo = bar \r\n"
      "\r\n"
      "[View]\n"
      "# a comment\n"
      "Tags = 0\n"
      "Other=x\r\n"
      "\tgarbage line ]\r\n";
  const std::string path = dir.Write("a.ini", original);
  TProfile p(path);
  p.WriteString("VIEW", "tags", "1");
  p.Save();
  std::string expected = original;
  expected.replace(expected.find("Tags = 0"), 8, "Tags = 1");
  EXPECT_EQ(TTempDir::Read(path), expected);
}

TEST(ProfileWrite, MissingKeyGoesAfterLastKeyOfItsSection) {
  TTempDir dir;
  const std::string path = dir.Write("a.ini", "[a]\r\nx=1\r\n; note\r\n\r\n\r\n[b]\r\ny=2\r\n");
  TProfile p(path);
  p.WriteString("a", "new", "v");
  p.WriteString("a", "newer", "w");
  p.WriteString("b", "z", "3");
  EXPECT_EQ(p.Content(), "[a]\r\nx=1\r\nnew=v\r\nnewer=w\r\n; note\r\n\r\n\r\n[b]\r\ny=2\r\nz=3\r\n");
}

TEST(ProfileWrite, KeyOfSectionWithoutKeysGoesRightAfterItsHeader) {
  TTempDir dir;
  const std::string path = dir.Write("a.ini", "[a]\n\n[b]\nk=1\n");
  TProfile p(path);
  p.WriteString("a", "k", "2");
  EXPECT_EQ(p.Content(), "[a]\nk=2\n\n[b]\nk=1\n");
}

TEST(ProfileWrite, MissingSectionGoesToTheEndWithTheFilesLineEnds) {
  TTempDir dir;
  const std::string path = dir.Write("a.ini", "[a]\nk=1");  // no line end after the last line
  TProfile p(path);
  p.WriteString("new", "n", "1");
  p.WriteString("a", "k2", "2");
  EXPECT_EQ(p.Content(), "[a]\nk=1\nk2=2\n[new]\nn=1\n");
  EXPECT_EQ(p.ReadString("NEW", "N"), "1");
}

TEST(ProfileWrite, NewFileHasCrLfAndKeysInWrittenOrder) {
  TTempDir dir;
  const std::string path = dir / "new.ini";
  TProfile p(path);
  p.WriteString("one", "b", "1");
  p.WriteString("one", "a", "2");
  p.WriteString("two", "z", "3");
  p.WriteString("one", "c", "4");
  p.WriteString("one", "B", "5");
  p.Save();
  EXPECT_EQ(TTempDir::Read(path), "[one]\r\nb=5\r\na=2\r\nc=4\r\n[two]\r\nz=3\r\n");
  EXPECT_EQ(TProfile(path).ReadString("one", "b"), "5");
}

TEST(ProfileWrite, RefusesTextsTheFileCannotHold) {
  TProfile p("/nonexistent/a.ini");
  EXPECT_THROW(p.WriteString("s", "k", "two\r\nlines"), std::invalid_argument);
  EXPECT_THROW(p.WriteString("s", "k=v", "x"), std::invalid_argument);
  EXPECT_THROW(p.WriteString("s]", "k", "x"), std::invalid_argument);
  EXPECT_THROW(p.WriteString("s", " ", "x"), std::invalid_argument);
  EXPECT_NO_THROW(p.WriteString(Sjis("ゾ"), "k", "x"));  // "]" only as a second byte
}

TEST(ProfileSave, KeepsThePermissionsOfTheOldFile) {
  TTempDir dir;
  const std::string path = dir.Write("a.ini", "[a]\nk=1\n");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  TProfile p(path);
  p.WriteString("a", "k", "2");
  p.Save();
  EXPECT_EQ(ModeOf(path), 0640u);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.ini"});
}

TEST(ProfileSave, WritesThroughASymbolicLink) {
  TTempDir dir;
  const std::string real = dir.Write("real.ini", "[a]\nk=1\n");
  const std::string link = dir / "link.ini";
  std::filesystem::create_symlink(real, link);
  TProfile p(link);
  p.WriteString("a", "k", "2");
  p.Save();
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(TTempDir::Read(real), "[a]\nk=2\n");
  // A chain of relative links; a link to a file not yet there creates it.
  std::filesystem::create_symlink("link.ini", dir / "chain.ini");
  std::filesystem::create_symlink("made.ini", dir / "dangling.ini");
  for (const char* name : {"chain.ini", "dangling.ini"}) {
    TProfile q(dir / name);
    q.WriteString("a", "k", name);
    q.Save();
  }
  EXPECT_EQ(TTempDir::Read(real), "[a]\nk=chain.ini\n");
  EXPECT_EQ(TTempDir::Read(dir / "made.ini"), "[a]\r\nk=dangling.ini\r\n");
  EXPECT_EQ(dir.Names().size(), 5u);
}

// The superuser may write any file; a file without any write permission bit
// is refused all the same, so these cases hold for every user.
TEST(ProfileSave, ReadOnlyFileIsRefusedAndStaysIntact) {
  TTempDir dir;
  const std::string original = "[a]\r\nk=1\r\n";
  const std::string path = dir.Write("a.ini", original);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  TProfile p(path);
  p.WriteString("a", "k", "2");
  try {
    p.Save();
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), CannotWrite(path));
  }
  EXPECT_EQ(TTempDir::Read(path), original);
  EXPECT_EQ(ModeOf(path), 0444u);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.ini"});
}

// Renaming a new file over the old one cannot be done in a directory that
// nobody may write (no write bit at all, so the superuser too), and would
// part a file from its other hard links: such a file is written in place,
// the same file with a shorter content.  A new file in such a directory, or
// a read-only file, is refused.
TEST(ProfileSave, FileThatCannotBeReplacedIsWrittenInPlace) {
  struct TCase {
    const char* Name;
    mode_t DirectoryMode, FileMode;
    bool HardLink, Saved;
  };
  for (const TCase& c : {TCase{"directory without write permission", 0555, 0644, true, true},
                         TCase{"file with a hard link", 0755, 0600, true, true},
                         TCase{"read-only file in such a directory", 0555, 0444, false, false}}) {
    SCOPED_TRACE(c.Name);
    TTempDir dir;
    const std::string original = "[a]\nk=1000\n";
    const std::string existing = dir.Write("a.ini", original);
    ASSERT_EQ(chmod(existing.c_str(), c.FileMode), 0);
    if (c.HardLink) {
      ASSERT_EQ(link(existing.c_str(), (dir / "b.ini").c_str()), 0);
    }
    struct stat before;
    ASSERT_EQ(stat(existing.c_str(), &before), 0);
    ASSERT_EQ(chmod(dir.Path().c_str(), c.DirectoryMode), 0);
    TProfile changed(existing);
    changed.WriteString("a", "k", "2");
    if (c.Saved) {
      EXPECT_NO_THROW(changed.Save());
    } else {
      EXPECT_THROW(changed.Save(), Exception);
    }
    const std::string expected = c.Saved ? "[a]\nk=2\n" : original;
    EXPECT_EQ(TTempDir::Read(existing), expected);
    if (c.HardLink) {
      EXPECT_EQ(TTempDir::Read(dir / "b.ini"), expected);
    }
    struct stat after;
    ASSERT_EQ(stat(existing.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    TProfile created(dir / "new.ini");
    created.WriteString("a", "k", "1");
    if (c.DirectoryMode == 0555) {
      EXPECT_THROW(created.Save(), Exception);
    }
    std::vector<std::string> names = dir.Names();
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expectedNames =
        c.HardLink ? std::vector<std::string>{"a.ini", "b.ini"} : std::vector<std::string>{"a.ini"};
    EXPECT_EQ(names, expectedNames);
  }
}

// A save killed half-way leaves its temporary file behind; the next save
// removes it, but not one whose process still runs (a save in progress), nor
// one of another file.
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
  p.WriteString("a", "k", "2");
  p.Save();
  std::vector<std::string> names = dir.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{running, otherFile, "a.ini"}));
}

TEST(ProfileSave, MessageNamesTheFileInShiftJis) {
  TTempDir dir;
  const std::string sub = dir / "設定";
  std::filesystem::create_directory(sub);
  const std::string path = sub + "/kovalex.ini";
  ASSERT_EQ(chmod(sub.c_str(), 0555), 0);
  TProfile p(path);
  try {
    p.Save();
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), CannotWrite(encoding::Utf8ToSjis(path)));
  }
  chmod(sub.c_str(), 0755);
}

// What is not a regular file reads as an empty profile at once (a plain open
// of a FIFO would wait for a writer for ever) and is never replaced.
TEST(ProfileSave, PathThatIsNoRegularFileIsRefused) {
  TTempDir dir;
  std::filesystem::create_directory(dir / "directory.ini");
  ASSERT_EQ(mkfifo((dir / "fifo.ini").c_str(), 0644), 0);
  std::filesystem::create_symlink("loop.ini", dir / "loop.ini");
  for (const auto& [name, error] : {std::pair{"directory.ini", EISDIR},
                                    std::pair{"fifo.ini", file_error::kNotRegularFile}, std::pair{"loop.ini", ELOOP}}) {
    SCOPED_TRACE(name);
    TProfile p(dir / name);
    EXPECT_EQ(p.ReadError(), error);
    EXPECT_EQ(p.ReadString("a", "k"), std::nullopt);
    p.WriteString("a", "k", "1");
    EXPECT_THROW(p.Save(), Exception);
  }
  EXPECT_EQ(std::filesystem::status(dir / "fifo.ini").type(), std::filesystem::file_type::fifo);
  EXPECT_EQ(dir.Names().size(), 3u);
  EXPECT_EQ(TProfile(dir / "missing.ini").ReadError(), 0);
}

TEST(ProfileRobustness, BinaryGarbageSurvivesByteForByte) {
  std::mt19937 random(12345);
  std::string garbage;
  const std::string pieces[] = {"[", "]", "=", "\r", "\n", "\r\n", ";", " ", "\x83", "\x5D", std::string(1, '\0')};
  for (int i = 0; i < 20000; ++i) {
    if (random() % 3 == 0) {
      garbage += pieces[random() % std::size(pieces)];
    } else {
      garbage += static_cast<char>(random() % 256);
    }
  }
  TTempDir dir;
  const std::string path = dir.Write("g.ini", garbage);
  TProfile p(path);
  EXPECT_EQ(p.Content(), garbage);
  p.WriteString("kovalex", "key", "value");
  p.Save();
  const TProfile reread(path);
  EXPECT_EQ(reread.ReadString("kovalex", "key"), "value");
  // The garbage stays in front of the appended section.
  EXPECT_EQ(TTempDir::Read(path).compare(0, garbage.size(), garbage), 0);
}

TEST(ProfileRobustness, TenThousandSectionsKeepEveryValue) {
  std::string content;
  for (int i = 0; i < 10000; ++i) {
    content += "[section" + std::to_string(i) + "]\r\nkey=" + std::to_string(i) + "\r\n\r\n";
  }
  TTempDir dir;
  const std::string path = dir.Write("big.ini", content);
  TProfile p(path);
  for (int i = 0; i < 10000; ++i) {
    const std::string section = "SECTION" + std::to_string(i);
    ASSERT_EQ(p.ReadString(section, "KEY"), std::to_string(i));
    p.WriteString(section, "added", "x");
    p.WriteString(section, "key", "y");
    p.WriteString("new" + std::to_string(i), "k", "v");
  }
  p.Save();
  const TProfile reread(path);
  EXPECT_EQ(reread.ReadString("section9999", "added"), "x");
  EXPECT_EQ(reread.ReadString("section0", "key"), "y");
  EXPECT_EQ(reread.ReadString("new9999", "k"), "v");
}
