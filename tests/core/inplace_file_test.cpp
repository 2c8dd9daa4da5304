// Saving in place cut short between its steps, as a kill cuts it: the next
// start finds the old content or the new one whole, never a mix of both,
// and no copy left over.
#include "core/inplace_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

#include "core/safe_save.h"
#include "core/settings_session.h"
#include "sjis/exceptions.h"
#include "support/temp_dir.h"
#include "text/encoding.h"

using inplace_file::TStep;

namespace {

struct TKilled {};  // raised by the hook where the process dies

}  // namespace

// The file has a second hard link, so it is saved in place.  A kill in the
// middle of the write leaves the first half of the new content over the old
// one; one while the copy is made leaves half of the copy.  An editor's
// backup of the same name is never touched.
TEST(InPlaceFile, NextStartFinishesOrUndoesASaveCutShort) {
  const std::string old = "[a]\r\nk=" + std::string(3000, 'o') + "\r\n";
  const std::string shorter = "; new\r\n[a]\r\nk=new\r\n",
                    longer = "; new\r\n[a]\r\nk=" + std::string(5000, 'n') + "\r\n";
  enum TTorn { Whole, HalfWritten, HalfCopied, CopyEmpty };
  // clang-format off
  const struct {
    const char* Name;
    std::string New;
    std::optional<TStep> Kill;
    TTorn Torn;
    bool Old;  // the next start finds the old content
    bool EditorBackup = false;
  } rows[] = {
      {"killed while the copy was made", shorter, TStep::CopyMade, HalfCopied, true},
      {"killed as soon as the copy was made", shorter, TStep::CopyMade, CopyEmpty, true},
      {"killed after the copy", shorter, TStep::CopyMade, Whole, true},
      {"killed in the middle of the write", shorter, TStep::SpaceReserved, HalfWritten, true},
      {"killed in the middle of the write, growing", longer, TStep::SpaceReserved, HalfWritten, true},
      {"killed before the new end was cut", shorter, TStep::ContentWritten, Whole, false},
      {"killed before the copy went", shorter, TStep::Truncated, Whole, false},
      {"not killed", longer, std::nullopt, Whole, false},
      {"not killed, beside an editor's backup", shorter, std::nullopt, Whole, false, true},
  };
  // clang-format on
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    TTempDir dir;
    const std::string path = dir.Write("k.ini", old), copy = path + "~";
    ASSERT_EQ(link(path.c_str(), (dir / "link.ini").c_str()), 0);
    if (row.EditorBackup) dir.Write("k.ini~", "an editor's backup\n");
    inplace_file::StepHook = [&](TStep step) {
      if (step != row.Kill) return 0;
      if (row.Torn == HalfWritten) {
        const int fd = open(path.c_str(), O_WRONLY);
        EXPECT_EQ(pwrite(fd, row.New.data(), row.New.size() / 2, 0), static_cast<ssize_t>(row.New.size() / 2));
        close(fd);
      }
      if (row.Torn == HalfCopied || row.Torn == CopyEmpty) {
        EXPECT_EQ(truncate(copy.c_str(), row.Torn == CopyEmpty ? 0 : 1000), 0);
      }
      throw TKilled{};
    };
    try {
      safe_save::SaveFile(path, row.New);
      EXPECT_FALSE(row.Kill);
    } catch (const TKilled&) {
      EXPECT_TRUE(row.Kill);
      EXPECT_TRUE(std::filesystem::exists(copy));
    }
    inplace_file::StepHook = nullptr;
    settings::TSettingsSession().Read(path);  // the next start
    const std::string expected = row.Old ? old : row.New;
    EXPECT_EQ(TTempDir::Read(path), expected);
    EXPECT_EQ(TTempDir::Read(dir / "link.ini"), expected);
    EXPECT_EQ(std::filesystem::exists(copy), row.EditorBackup);
    if (row.EditorBackup) {
      EXPECT_EQ(TTempDir::Read(copy), "an editor's backup\n");
    }
  }
}

// A disk that is full when the file would grow: the save is refused with
// the reason in Japanese, before a byte of the file has changed, and the
// copy goes.
TEST(InPlaceFile, FullDiskLeavesTheFileAndSaysWhy) {
  TTempDir dir;
  const std::string path = dir.Write("k.ini", "[a]\r\nk=1\r\n");
  ASSERT_EQ(link(path.c_str(), (dir / "link.ini").c_str()), 0);
  inplace_file::StepHook = [](TStep step) { return step == TStep::CopyMade ? ENOSPC : 0; };
  try {
    safe_save::SaveFile(path, "[a]\r\nk=" + std::string(5000, '1') + "\r\n");
    ADD_FAILURE() << "saved on a full disk";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), path + encoding::Sjis(" に書き込めません (ディスクの空きが足りません)"));
  }
  inplace_file::StepHook = nullptr;
  EXPECT_EQ(TTempDir::Read(path), "[a]\r\nk=1\r\n");
  EXPECT_EQ(dir.Names().size(), 2u);
}
