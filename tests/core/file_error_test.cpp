// The messages about files that cannot be opened, read or written.
#include "core/file_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "sjis/exceptions.h"
#include "sjis/io_error.h"
#include "text/encoding.h"

using encoding::Sjis;

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

// A file that cannot be written is named as it is on disk, with the reason
// when one is known: a full disk says so in Japanese.
TEST(FileErrors, CannotWriteSaysWhyWhenKnown) {
  for (const auto& [error, text] :
       {std::pair{0, ""}, {ENOSPC, " (ディスクの空きが足りません)"}, {EDQUOT, " (ディスクの空きが足りません)"}}) {
    try {
      file_error::ThrowCannotWrite("/d/" + Sjis("設定.ini"), error);
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "/d/" + Sjis("設定.ini に書き込めません") + Sjis(text));
    }
  }
}
