// Saving a file whole: replaced, written in place or refused, through
// symbolic links, never leaving half of it.
#include "core/safe_save.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/file_error.h"
#include "sjis/exceptions.h"
#include "support/temp_dir.h"
#include "text/encoding.h"

using encoding::Sjis;

TEST(SafeSave, WritesThroughSymbolicLinks) {
  TTempDir dir;
  const std::string real = dir.Write("real.ini", "[a]\nk=1\n");
  std::filesystem::create_symlink(real, dir / "link.ini");
  std::filesystem::create_symlink("link.ini", dir / "chain.ini");
  std::filesystem::create_symlink("made.ini", dir / "dangling.ini");
  for (const std::string name : {"link.ini", "chain.ini", "dangling.ini"})
    safe_save::SaveFile(dir / name, "[a]\nk=" + name + "\n");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
  EXPECT_EQ(TTempDir::Read(real), "[a]\nk=chain.ini\n");
  EXPECT_EQ(TTempDir::Read(dir / "made.ini"), "[a]\nk=dangling.ini\n");
  EXPECT_EQ(dir.Names().size(), 5u);
}

// A plain file is replaced by a new one.  A file that cannot be replaced (a
// directory that nobody may write, another hard link, a hundred temporary
// names taken) is written in place; a read-only file, a new one in such a
// directory, or one that cannot grow (the file size limit) is refused,
// saying why, and keeps its content.  No write bit at all holds for the superuser too.  A
// program started without standard input gets descriptor 0 for the file.
TEST(SafeSave, ReplacedInPlaceOrRefused) {
  enum TOutcome { Replaced, InPlace, Refused };
  // clang-format off
  const struct {
    const char* Name;
    mode_t DirectoryMode, FileMode;
    bool HardLink, TempsTaken, SizeLimit, NoStandardInput;
    TOutcome Outcome;
    int Reason = 0;  // why it was refused
  } rows[] = {{"plain file", 0755, 0640, false, false, false, false, Replaced},
              {"directory without write permission", 0555, 0644, true, false, false, false, InPlace},
              {"file with a hard link", 0755, 0600, true, false, false, false, InPlace},
              {"hard link, the file read and written as descriptor 0", 0755, 0600, true, false, false, true, InPlace},
              {"temporary names taken", 0755, 0600, false, true, false, false, InPlace},
              {"read-only file", 0755, 0444, false, false, false, false, Refused, EACCES},
              {"read-only file in such a directory", 0555, 0444, false, false, false, false, Refused, EACCES},
              {"file size limit", 0755, 0644, true, false, true, false, Refused, EFBIG}};
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
    struct rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{5, limit.rlim_max};
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    if (c.SizeLimit) setrlimit(RLIMIT_FSIZE, &small);
    try {
      safe_save::SaveFile(existing, "[a]\nk=100000\n");
      EXPECT_NE(c.Outcome, Refused);
    } catch (const Exception& e) {
      EXPECT_EQ(c.Outcome, Refused);
      EXPECT_EQ(e.Message(),
                encoding::Utf8ToSjis(existing) + Sjis(" に書き込めません (") + file_error::Reason(c.Reason) + ")");
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
      EXPECT_THROW(safe_save::SaveFile(dir / "new.ini", ""), Exception);
    }
    EXPECT_EQ(dir.Names().size(), (c.HardLink ? 2u : 1u) + (c.TempsTaken ? 100u : 0u));
  }
}
