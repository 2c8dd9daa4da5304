// Replacing a file through a temporary file, and clearing away the
// temporary files of replacements killed half-way.
#include "core/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "support/temp_dir.h"

// The new file takes the given mode, or the replaced file's; the folder
// holds nothing else afterwards.
TEST(AtomicFile, ReplacesWholeWithTheModeGivenOrKept) {
  TTempDir dir;
  const std::string path = dir / "a.ini";
  ASSERT_EQ(atomic_file::Replace(path, "new", 0600), 0);
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  ASSERT_EQ(atomic_file::Replace(path, "newer", 0600, &st), 0);
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(TTempDir::Read(path), "newer");
  EXPECT_EQ(dir.Names().size(), 1u);
  EXPECT_EQ(atomic_file::Replace(dir / "missing/a.ini", "x", 0600), ENOENT);
}

// A replacement killed half-way leaves its temporary file behind; the
// cleanup removes it, but not one whose process still runs, nor one of
// another file.
TEST(AtomicFile, TemporaryFilesOfKilledReplacementsAreRemoved) {
  TTempDir dir;
  dir.Write("a.ini", "[a]\nk=1\n");
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  ASSERT_GT(gone, 0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  const std::string running = ".a.ini.tmp-" + std::to_string(getppid()) + "-3";
  const std::string otherFile = ".b.ini.tmp-" + std::to_string(gone) + "-0";
  for (const std::string& name : {".a.ini.tmp-" + std::to_string(gone) + "-0", running, otherFile})
    dir.Write(name, "[a]\nk=");
  atomic_file::RemoveStaleTemporaries(dir.Path(), "a.ini");
  std::vector<std::string> names = dir.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{running, otherFile, "a.ini"}));
}
