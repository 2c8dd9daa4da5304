// Dictionary discovery: the file masks, and which files of a folder become
// which dictionary's, in what order.
#include "core/catalogue.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "text/encoding.h"

using catalogue::FindDictionaries;
using encoding::Sjis;
using TNames = std::vector<std::string>;

// clang-format off
TEST(DictionaryMask, StarsTrailingDotStarAndLetterCase) {
  const struct {
    const char16_t* Name;
    const char16_t* Mask;
    bool Matches;
  } cases[] = {
      {u"KOVA5.TXT", u"KOVA5*.*", true},         {u"KOVA5A.B.C", u"KOVA5*.*", true},
      {u"KOVA4A.TXT", u"KOVA5*.*", false},       {u"XKOVA5.TXT", u"KOVA5*.*", false},
      {u"KOVSE.TXT", u"KOVSEN*.*", false},       {u"KOVA-BIL", u"KOVA-BIL.*", true},
      {u"KOVA5B", u"KOVA5*.*", true},            {u"KOVA-BIL2", u"KOVA-BIL.*", false},
      {u"KOVA-BIL2.TXT", u"KOVA-BIL.*", false},  {u"KOVA-BI", u"KOVA-BIL.*", false},
      {u"Kova-Bil.Txt", u"KOVA-BIL.*", true},    {u"ｋｏｖａ略語.ＴＸＴ", u"ＫＯＶＡ略語.ｔｘｔ", true},
      {u"KOVA略語.TXT", u"ＫＯＶＡ略語.TXT", false},  // full-width is not ASCII
      {u"", u".*", true},
  };
  for (const auto& c : cases) EXPECT_EQ(catalogue::MatchesMask(c.Name, c.Mask), c.Matches) << encoding::Utf16ToUtf8(c.Name);
}
// clang-format on

TEST(FindDictionaries, FilesOfEachDictionaryInOrder) {
  TTempDir dir;
  // Sorted without regard to case, names equal but for case in byte order,
  // a fixed name found once (as UTF-8 or Shift-JIS on disk), only regular
  // files, through links too.
  for (const std::string& name :
       TNames{"KOVA5B.TXT", "kova5a.txt", "Kova5C", "other.txt", "kova-bil.txt", "KOVA-BIL.TXT", "KOVA-BIL",
              Sjis("kova略語.txt"), "kova固名.txt", "KOVA固名.TXT", "real.txt", ".KOVA4HIDDEN"}) {
    dir.Write(name, "x\r\n");
  }
  std::filesystem::create_directory(dir / "KOVA4DIR");
  std::filesystem::create_directory(dir / "KOVSEN");
  std::filesystem::create_symlink(dir / "real.txt", dir / "KOVA4LINK.TXT");
  std::filesystem::create_symlink(dir / "missing.txt", dir / "KOVA4DANGLING.TXT");
  const auto found = FindDictionaries(dir.Path());
  const TNames expected[] = {{"kova5a.txt", "KOVA5B.TXT", "Kova5C"},
                             {"KOVA-BIL", "KOVA-BIL.TXT", "kova-bil.txt"},
                             {Sjis("kova略語.txt")},
                             {"KOVA固名.TXT"},
                             {},
                             {"KOVA4LINK.TXT"}};
  for (std::size_t d = 0; d < catalogue::kDictionaryCount; ++d) {
    EXPECT_EQ(found[d].Files, expected[d]) << "dictionary " << d + 1;
    EXPECT_EQ(found[d].Available, !expected[d].empty()) << "dictionary " << d + 1;
  }
  EXPECT_EQ(catalogue::DisplayFileName(found[2].Files[0]), u"kova略語.txt");
  EXPECT_EQ(catalogue::FileNameAsSjis(found[2].Files[0]), Sjis("kova略語.txt"));
  EXPECT_EQ(catalogue::FileNameAsSjis("KOVA略語.TXT"), Sjis("KOVA略語.TXT"));
  for (const auto& d : FindDictionaries(dir / "missing")) EXPECT_FALSE(d.Available);
}
