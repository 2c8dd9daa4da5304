#include "core/dictionary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "text/encoding.h"

// Places in order: the argument (even without dictionaries), the remembered
// folder, the working directory, the data home, the data dirs (relative
// ones skipped); the first that holds a dictionary is chosen.
TEST(DictionaryFolder, ChoiceTable) {
  TTempDir dir;
  const std::array<std::string, 6> names = {
      "arg", "remembered", "cwd", "home/kovalex/dictionaries", "d1/kovalex/dictionaries", "d2/kovalex/dictionaries"};
  for (const std::string& name : names) std::filesystem::create_directories(dir / name);
  const struct {
    bool Argument, Remembered;
    std::string Holding;  // places with a dictionary, by their first letters
    std::string Expected;
  } rows[] = {
      {true, true, "rc", "arg"},
      {false, true, "rc1", "remembered"},
      {false, true, "c", "cwd"},
      {false, false, "ch", "cwd"},
      {false, false, "h1", "home/kovalex/dictionaries"},
      {false, false, "12", "d1/kovalex/dictionaries"},
      {false, false, "2", "d2/kovalex/dictionaries"},
      {false, true, "", ""},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.Holding + " -> " + c.Expected);
    for (const std::string& name : names) {
      const char letter = name.substr(0, 2) == "d1" ? '1' : name.substr(0, 2) == "d2" ? '2' : name[0];
      std::filesystem::remove(dir / name + "/KOVA4.TXT");
      if (c.Holding.find(letter) != std::string::npos) dir.Write(name + "/KOVA4.TXT", "x\r\n");
    }
    dictionary_folder::TPlaces places;
    if (c.Argument) places.Argument = dir / "arg";
    if (c.Remembered) places.Remembered = dir / "remembered";
    places.WorkingDirectory = dir / "cwd";
    places.DataHome = dir / "home";
    places.Home = dir / "nohome";
    places.DataDirs = dir / "d1" + ":relative:" + dir / "d2";
    const dictionary_folder::TChoice choice = dictionary_folder::Choose(places);
    EXPECT_EQ(choice.Folder, c.Expected.empty() ? "" : dir / c.Expected);
    EXPECT_EQ(choice.Found[5].Available, !c.Expected.empty() && c.Expected != "arg");
    if (c.Expected.empty()) {
      // Every place is named in what the view then says, relative ones never.
      EXPECT_EQ(choice.Looked.size(), 5u);
      const std::vector<std::string> said = dictionary_folder::NothingFoundLines(choice);
      EXPECT_EQ(
          encoding::SjisToUtf8(said[0]).rfind("辞書が見つかりませんでした (探した場所: " + dir / "remembered、", 0),
          0u);
      for (const std::string& folder : choice.Looked) EXPECT_NE(said[0].find(folder), std::string::npos) << folder;
    }
  }
  dictionary_folder::TPlaces places;
  places.WorkingDirectory = "/w";
  places.Home = "/h";
  EXPECT_EQ(dictionary_folder::Candidates(places),
            (std::vector<std::string>{"/w", "/h/.local/share/kovalex/dictionaries",
                                      "/usr/local/share/kovalex/dictionaries", "/usr/share/kovalex/dictionaries"}));
}

// A folder given that does not exist or is a file is reported, in the
// status line and in the view, and no other place is tried.
TEST(DictionaryFolder, ArgumentThatIsNoFolder) {
  TTempDir dir;
  dir.Write("file", "x");
  std::filesystem::create_directories(dir / "cwd");
  dir.Write("cwd/KOVA4.TXT", "x\r\n");
  for (const std::string& name : {std::string("missing"), std::string("file")}) {
    dictionary_folder::TPlaces places;
    places.Argument = dir / name;
    places.WorkingDirectory = dir / "cwd";
    const dictionary_folder::TChoice choice = dictionary_folder::Choose(places);
    EXPECT_TRUE(choice.NoFolder && choice.Folder.empty() && !choice.Found[5].Available);
    EXPECT_EQ(dictionary_folder::FolderStatus(choice), "辞書フォルダがありません: " + dir / name);
    EXPECT_EQ(encoding::SjisToUtf8(dictionary_folder::NothingFoundLines(choice).at(0)),
              "辞書フォルダがありません: " + dir / name);
  }
}
