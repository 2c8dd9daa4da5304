#include "core/settings_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "temp_dir.h"

using settings::TSettingsKind;

namespace {

// A file system described by three lists, so that "not writable" holds for
// the superuser too.
class TFakeProbe : public settings::IFileProbe {
 public:
  std::set<std::string> Files, Folders, Writable;
  bool Exists(const std::string& path) const override { return Files.count(path) || Folders.count(path); }
  bool IsDirectory(const std::string& path) const override { return Folders.count(path) != 0; }
  bool MayWrite(const std::string& path) const override { return Writable.count(path) != 0; }
};

struct TCase {
  const char* Name;
  std::string Program;
  std::set<std::string> Files, Folders, Writable;
  std::string Override, ConfigHome;
  TSettingsKind Kind;
  std::string Path, Defaults;
};

}  // namespace

TEST(SettingsLocation, ChoiceTable) {
  const std::string user = "/home/u/.config/kovalex/kovalex.ini";
  const TCase cases[] = {
      {"named by the environment",
       "/opt/k/kovalex",
       {},
       {"/opt/k"},
       {"/opt/k"},
       "/tmp/s.ini",
       "",
       TSettingsKind::Named,
       "/tmp/s.ini",
       ""},
      {"writable program folder",
       "/opt/k/kovalex",
       {},
       {"/opt/k"},
       {"/opt/k"},
       "",
       "",
       TSettingsKind::Portable,
       "/opt/k/kovalex.ini",
       ""},
      {"read-only folder", "/opt/k/kovalex", {}, {"/opt/k"}, {}, "", "", TSettingsKind::User, user, ""},
      {"writable file in a read-only folder",
       "/opt/k/kovalex",
       {"/opt/k/kovalex.ini"},
       {"/opt/k"},
       {"/opt/k/kovalex.ini"},
       "",
       "",
       TSettingsKind::Portable,
       "/opt/k/kovalex.ini",
       ""},
      {"read-only file in a writable folder gives defaults",
       "/opt/k/kovalex",
       {"/opt/k/kovalex.ini"},
       {"/opt/k"},
       {"/opt/k"},
       "",
       "",
       TSettingsKind::User,
       user,
       "/opt/k/kovalex.ini"},
      {"installed, folder writable by the superuser",
       "/usr/bin/kovalex",
       {},
       {"/usr/bin", "/usr/share/kovalex"},
       {"/usr/bin"},
       "",
       "",
       TSettingsKind::User,
       user,
       ""},
      {"installed, a file there gives defaults",
       "/usr/local/bin/kovalex",
       {"/usr/local/bin/kovalex.ini"},
       {"/usr/local/bin", "/usr/local/share/kovalex"},
       {"/usr/local/bin", "/usr/local/bin/kovalex.ini"},
       "",
       "",
       TSettingsKind::User,
       user,
       "/usr/local/bin/kovalex.ini"},
      {"a bin folder of a build tree is not installed",
       "/src/bin/kovalex",
       {},
       {"/src/bin"},
       {"/src/bin"},
       "",
       "",
       TSettingsKind::Portable,
       "/src/bin/kovalex.ini",
       ""},
      {"XDG_CONFIG_HOME",
       "/opt/k/kovalex",
       {},
       {"/opt/k"},
       {},
       "",
       "/cfg",
       TSettingsKind::User,
       "/cfg/kovalex/kovalex.ini",
       ""},
      {"relative XDG_CONFIG_HOME is ignored",
       "/opt/k/kovalex",
       {},
       {"/opt/k"},
       {},
       "",
       "cfg",
       TSettingsKind::User,
       user,
       ""},
  };
  for (const TCase& c : cases) {
    TFakeProbe probe;
    probe.Files = c.Files;
    probe.Folders = c.Folders;
    probe.Writable = c.Writable;
    const settings::TSettingsLocation location =
        settings::ChooseSettingsLocation({c.Program, c.Override, c.ConfigHome, "/home/u"}, probe);
    EXPECT_EQ(location.Kind, c.Kind) << c.Name;
    EXPECT_EQ(location.Path, c.Path) << c.Name;
    EXPECT_EQ(location.Defaults, c.Defaults) << c.Name;
    // The defaults are read only while the user has no file.
    EXPECT_EQ(settings::FileToLoad(location, probe), c.Defaults.empty() ? c.Path : c.Defaults) << c.Name;
    probe.Files.insert(location.Path);
    EXPECT_EQ(settings::FileToLoad(location, probe), location.Path) << c.Name;
  }
}

TEST(SettingsLocation, FirstSaveCreatesPrivateFoldersAndStartsFromTheDefaults) {
  TTempDir dir;
  const std::string defaults = dir.Write("kovalex.ini", "[x]\r\ny=1\r\n");
  const settings::TSettingsLocation location{TSettingsKind::User, dir / "config/kovalex/kovalex.ini", defaults};
  settings::PrepareSave(location);
  struct stat st;
  ASSERT_EQ(stat((dir / "config/kovalex").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(stat((dir / "config").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(TTempDir::Read(location.Path), "[x]\r\ny=1\r\n");
  // A file of the user's own is never replaced by the defaults.
  dir.Write("config/kovalex/kovalex.ini", "mine");
  settings::PrepareSave(location);
  EXPECT_EQ(TTempDir::Read(location.Path), "mine");
  EXPECT_EQ(TTempDir::Read(defaults), "[x]\r\ny=1\r\n");
}
