#include "core/dictionary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "core/encoding.h"
#include "temp_dir.h"

namespace {

struct TCase {
  const char* Name;
  bool Argument, Remembered, Working, DataHome, DataDir1, DataDir2;  // which places are given
  std::set<std::string> Holding;                                     // which of them hold a dictionary
  std::string Expected;                                              // the place chosen; "" for none
};

}  // namespace

TEST(DictionaryFolder, ChoiceTable) {
  TTempDir dir;
  // Each place is its own folder; "holding" ones get one dictionary file.
  const std::array<std::string, 6> names = {
      "arg", "remembered", "cwd", "home/kovalex/dictionaries", "d1/kovalex/dictionaries", "d2/kovalex/dictionaries"};
  for (const std::string& name : names) std::filesystem::create_directories(dir / name);
  const TCase cases[] = {
      {"argument even when empty", true, true, true, true, true, true, {"remembered", "cwd"}, "arg"},
      {"remembered first",
       false,
       true,
       true,
       true,
       true,
       true,
       {"remembered", "cwd", "d1/kovalex/dictionaries"},
       "remembered"},
      {"remembered folder without dictionaries", false, true, true, true, true, true, {"cwd"}, "cwd"},
      {"working directory", false, false, true, true, true, true, {"cwd", "home/kovalex/dictionaries"}, "cwd"},
      {"data home",
       false,
       false,
       true,
       true,
       true,
       true,
       {"home/kovalex/dictionaries", "d1/kovalex/dictionaries"},
       "home/kovalex/dictionaries"},
      {"first data dir",
       false,
       false,
       true,
       true,
       true,
       true,
       {"d1/kovalex/dictionaries", "d2/kovalex/dictionaries"},
       "d1/kovalex/dictionaries"},
      {"second data dir", false, false, true, true, true, true, {"d2/kovalex/dictionaries"}, "d2/kovalex/dictionaries"},
      {"nothing anywhere", false, true, true, true, true, true, {}, ""},
  };
  for (const TCase& c : cases) {
    for (const std::string& name : names) {
      std::filesystem::remove(dir / name + "/KOVA4.TXT");
      if (c.Holding.count(name)) dir.Write(name + "/KOVA4.TXT", "x\r\n");
    }
    dictionary_folder::TPlaces places;
    if (c.Argument) places.Argument = dir / "arg";
    if (c.Remembered) places.Remembered = dir / "remembered";
    if (c.Working) places.WorkingDirectory = dir / "cwd";
    places.DataHome = c.DataHome ? dir / "home" : "";
    places.Home = dir / "nohome";
    places.DataDirs = dir / "d1" + ":relative:" + dir / "d2";
    const dictionary_folder::TChoice choice = dictionary_folder::Choose(places);
    EXPECT_EQ(choice.Folder, c.Expected.empty() ? "" : dir / c.Expected) << c.Name;
    EXPECT_EQ(choice.Found[5].Available, c.Holding.count(c.Expected) != 0) << c.Name;
    if (c.Expected.empty()) {
      // Every place is named in what the view then says, relative ones never.
      EXPECT_EQ(choice.Looked.size(), 5u) << c.Name;
      const std::string said = dictionary_folder::NothingFoundLines(choice)[0];
      for (const std::string& folder : choice.Looked) EXPECT_NE(said.find(folder), std::string::npos) << folder;
    }
  }
}

TEST(DictionaryFolder, DefaultDataFolders) {
  dictionary_folder::TPlaces places;
  places.WorkingDirectory = "/w";
  places.Home = "/h";
  EXPECT_EQ(dictionary_folder::Candidates(places),
            (std::vector<std::string>{"/w", "/h/.local/share/kovalex/dictionaries",
                                      "/usr/local/share/kovalex/dictionaries", "/usr/share/kovalex/dictionaries"}));
}
