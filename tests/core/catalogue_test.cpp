#include "core/catalogue.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "core/encoding.h"
#include "temp_dir.h"

using catalogue::FindDictionaries;
using catalogue::MatchesMask;
using encoding::Sjis;

TEST(DictionaryMask, StarMatchesAnyRunIncludingNone) {
  EXPECT_TRUE(MatchesMask(u"KOVA5.TXT", u"KOVA5*.*"));
  EXPECT_TRUE(MatchesMask(u"KOVA5ABC.DAT", u"KOVA5*.*"));
  EXPECT_TRUE(MatchesMask(u"KOVA5A.B.C", u"KOVA5*.*"));
  EXPECT_FALSE(MatchesMask(u"KOVA4A.TXT", u"KOVA5*.*"));
  EXPECT_FALSE(MatchesMask(u"XKOVA5.TXT", u"KOVA5*.*"));
  EXPECT_TRUE(MatchesMask(u"KOVSEN2.TXT", u"KOVSEN*.*"));
  EXPECT_FALSE(MatchesMask(u"KOVSE.TXT", u"KOVSEN*.*"));
}

TEST(DictionaryMask, TrailingDotStarAdmitsNameWithoutExtension) {
  EXPECT_TRUE(MatchesMask(u"KOVA-BIL", u"KOVA-BIL.*"));
  EXPECT_TRUE(MatchesMask(u"KOVA-BIL.TXT", u"KOVA-BIL.*"));
  EXPECT_TRUE(MatchesMask(u"KOVA5", u"KOVA5*.*"));
  EXPECT_TRUE(MatchesMask(u"KOVA5B", u"KOVA5*.*"));
  EXPECT_FALSE(MatchesMask(u"KOVA-BIL2", u"KOVA-BIL.*"));
  EXPECT_FALSE(MatchesMask(u"KOVA-BIL2.TXT", u"KOVA-BIL.*"));
  EXPECT_FALSE(MatchesMask(u"KOVA-BI", u"KOVA-BIL.*"));
}

TEST(DictionaryMask, LetterCaseIsIgnored) {
  EXPECT_TRUE(MatchesMask(u"kova5a.txt", u"KOVA5*.*"));
  EXPECT_TRUE(MatchesMask(u"Kova-Bil.Txt", u"KOVA-BIL.*"));
  EXPECT_TRUE(MatchesMask(u"ｋｏｖａ略語.ＴＸＴ", u"ＫＯＶＡ略語.ｔｘｔ"));
  EXPECT_FALSE(MatchesMask(u"KOVA略語.TXT", u"ＫＯＶＡ略語.TXT"));  // full-width is not ASCII
}

TEST(FindDictionaries, FilesAreSortedWithoutRegardToCase) {
  TTempDir dir;
  dir.Write("KOVA5B.TXT", "b\r\n");
  dir.Write("kova5a.txt", "a\r\n");
  dir.Write("Kova5C", "c\r\n");
  dir.Write("other.txt", "x\r\n");
  const auto found = FindDictionaries(dir.Path());
  EXPECT_TRUE(found[0].Available);
  EXPECT_EQ(found[0].Files, (std::vector<std::string>{"kova5a.txt", "KOVA5B.TXT", "Kova5C"}));
  for (std::size_t d = 1; d < 6; ++d) EXPECT_FALSE(found[d].Available) << "dictionary " << d + 1;
}

TEST(FindDictionaries, NamesEqualButForCaseAreBothKeptInByteOrder) {
  TTempDir dir;
  dir.Write("kova-bil.txt", "");
  dir.Write("KOVA-BIL.TXT", "");
  dir.Write("KOVA-BIL", "");
  const auto found = FindDictionaries(dir.Path());
  EXPECT_EQ(found[1].Files, (std::vector<std::string>{"KOVA-BIL", "KOVA-BIL.TXT", "kova-bil.txt"}));
}

TEST(FindDictionaries, FixedNameFoundAsUtf8OnDisk) {
  TTempDir dir;
  dir.Write("KOVA略語.TXT", "");
  const auto found = FindDictionaries(dir.Path());
  EXPECT_TRUE(found[2].Available);
  EXPECT_EQ(found[2].Files, std::vector<std::string>{"KOVA略語.TXT"});
  for (const std::size_t d : {0, 1, 3, 4, 5}) {
    EXPECT_FALSE(found[d].Available) << "dictionary " << d + 1;
    EXPECT_TRUE(found[d].Files.empty());
  }
  EXPECT_EQ(catalogue::FileNameAsSjis(found[2].Files[0]), Sjis("KOVA略語.TXT"));
}

TEST(FindDictionaries, FixedNameFoundAsShiftJisOnDisk) {
  TTempDir dir;
  const std::string sjisName = Sjis("kova略語.txt");
  dir.Write(sjisName, "");
  const auto found = FindDictionaries(dir.Path());
  ASSERT_TRUE(found[2].Available);
  EXPECT_EQ(found[2].Files, std::vector<std::string>{sjisName});  // the bytes as on disk
  EXPECT_EQ(catalogue::DisplayFileName(found[2].Files[0]), u"kova略語.txt");
  EXPECT_EQ(catalogue::FileNameAsSjis(found[2].Files[0]), sjisName);
}

TEST(FindDictionaries, FixedNameKeepsOnlyTheFirstOfSeveralMatches) {
  TTempDir dir;
  dir.Write("kova固名.txt", "");
  dir.Write("KOVA固名.TXT", "");
  const auto found = FindDictionaries(dir.Path());
  EXPECT_EQ(found[3].Files, std::vector<std::string>{"KOVA固名.TXT"});
  EXPECT_FALSE(found[2].Available);
}

TEST(FindDictionaries, OnlyRegularFilesCountThroughLinksToo) {
  TTempDir dir;
  std::filesystem::create_directory(dir / "KOVA4DIR");
  std::filesystem::create_directory(dir / "KOVSEN");
  dir.Write("real.txt", "");
  std::filesystem::create_symlink(dir / "real.txt", dir / "KOVA4LINK.TXT");
  std::filesystem::create_symlink(dir / "missing.txt", dir / "KOVA4DANGLING.TXT");
  dir.Write(".KOVA4HIDDEN", "");  // does not begin with the mask
  const auto found = FindDictionaries(dir.Path());
  EXPECT_EQ(found[5].Files, std::vector<std::string>{"KOVA4LINK.TXT"});
  EXPECT_FALSE(found[4].Available);
}

TEST(FindDictionaries, EveryDictionaryFromOneListing) {
  TTempDir dir;
  for (const char* name : {"KOVA5.TXT", "KOVA-BIL.DIC", "KOVA略語.TXT", "KOVA固名.TXT", "KOVSEN1.TXT", "KOVA4.TXT"}) {
    dir.Write(name, "");
  }
  const auto found = FindDictionaries(dir.Path());
  for (std::size_t d = 0; d < 6; ++d) {
    EXPECT_TRUE(found[d].Available) << "dictionary " << d + 1;
    EXPECT_EQ(found[d].Files.size(), 1u) << "dictionary " << d + 1;
  }
}

TEST(FindDictionaries, MissingDirectoryMakesNothingAvailable) {
  const auto found = FindDictionaries("/nonexistent/kovalex/dictionaries");
  for (const auto& d : found) EXPECT_FALSE(d.Available);
}

TEST(FindDictionaries, EmptyDirectoryNameMeansTheCurrentDirectory) {
  TTempDir dir;
  dir.Write("KOVA-BIL.TXT", "");
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  const auto found = FindDictionaries("");
  std::filesystem::current_path(previous);
  EXPECT_EQ(found[1].Files, std::vector<std::string>{"KOVA-BIL.TXT"});
}

TEST(Catalogue, TableTextsConvertToShiftJis) {
  for (const auto& d : catalogue::kDictionaries) {
    EXPECT_NO_THROW(Sjis(d.HeaderLine));
    EXPECT_NO_THROW(Sjis(d.SettingsKey));
    EXPECT_EQ(&catalogue::Dictionary(d.Number), &d);
  }
  EXPECT_THROW(catalogue::Dictionary(7), std::out_of_range);
}
