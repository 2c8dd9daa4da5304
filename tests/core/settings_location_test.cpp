#include "core/settings_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>
#include <sstream>

#include "core/settings.h"
#include "support/temp_dir.h"

using settings::TSettingsKind;

namespace {

// A file system of three lists of paths, so that "not writable" holds for
// the superuser too.
class TFakeProbe : public settings::IFileProbe {
 public:
  std::set<std::string> Files, Folders, Writable;
  bool Exists(const std::string& path) const override { return Files.count(path) || Folders.count(path); }
  bool IsDirectory(const std::string& path) const override { return Folders.count(path) != 0; }
  bool MayWrite(const std::string& path) const override { return Writable.count(path) != 0; }
};

std::set<std::string> Paths(const std::string& blankSeparated) {
  std::istringstream in(blankSeparated);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

}  // namespace

TEST(SettingsLocation, ChoiceTable) {
  const std::string user = "/home/u/.config/kovalex/kovalex.ini";
  const TSettingsKind named = TSettingsKind::Named, portable = TSettingsKind::Portable, home = TSettingsKind::User;
  const struct {
    std::string Program, Files, Folders, Writable, Override, ConfigHome;
    TSettingsKind Kind;
    std::string Path, Defaults;
  } rows[] = {
      // program, files, folders, writable, KOVALEX_SETTINGS, XDG_CONFIG_HOME -> kind, path, defaults
      {"/opt/k/kovalex", "", "/opt/k", "/opt/k", "/tmp/s.ini", "", named, "/tmp/s.ini", ""},
      {"/opt/k/kovalex", "", "/opt/k", "/opt/k", "", "", portable, "/opt/k/kovalex.ini", ""},
      {"/opt/k/kovalex", "", "/opt/k", "", "", "", home, user, ""},
      {"/opt/k/kovalex", "/opt/k/kovalex.ini", "/opt/k", "/opt/k/kovalex.ini", "", "", portable, "/opt/k/kovalex.ini",
       ""},
      {"/opt/k/kovalex", "/opt/k/kovalex.ini", "/opt/k", "/opt/k", "", "", home, user, "/opt/k/kovalex.ini"},
      {"/usr/bin/kovalex", "", "/usr/bin /usr/share/kovalex", "/usr/bin", "", "", home, user, ""},
      {"/usr/local/bin/kovalex", "/usr/local/bin/kovalex.ini", "/usr/local/bin /usr/local/share/kovalex",
       "/usr/local/bin /usr/local/bin/kovalex.ini", "", "", home, user, "/usr/local/bin/kovalex.ini"},
      {"/src/bin/kovalex", "", "/src/bin", "/src/bin", "", "", portable, "/src/bin/kovalex.ini", ""},
      {"/opt/k/kovalex", "", "/opt/k", "", "", "/cfg", home, "/cfg/kovalex/kovalex.ini", ""},
      {"/opt/k/kovalex", "", "/opt/k", "", "", "cfg", home, user, ""},  // a relative XDG_CONFIG_HOME is ignored
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.Program + " " + c.Files + " / " + c.Writable + " / " + c.Override + c.ConfigHome);
    TFakeProbe probe;
    probe.Files = Paths(c.Files), probe.Folders = Paths(c.Folders), probe.Writable = Paths(c.Writable);
    const settings::TSettingsLocation location =
        settings::ChooseSettingsLocation({c.Program, c.Override, c.ConfigHome, "/home/u"}, probe);
    EXPECT_EQ(location.Kind, c.Kind);
    EXPECT_EQ(location.Path, c.Path);
    EXPECT_EQ(location.Defaults, c.Defaults);
    // The defaults are read only while the user has no file.
    EXPECT_EQ(settings::FileToLoad(location, probe), c.Defaults.empty() ? c.Path : c.Defaults);
    probe.Files.insert(location.Path);
    EXPECT_EQ(settings::FileToLoad(location, probe), location.Path);
  }
  EXPECT_EQ(settings::SettingsPathFor("/o/k.v/kovalex"), "/o/k.v/kovalex.ini");
  EXPECT_EQ(settings::SettingsPathFor("/o/kovalex.1.10"), "/o/kovalex.1.ini");
}

// The first save makes the folders, private, and starts from the defaults'
// file copied whole (one byte or more) into a private file; a file of the
// user's own is never replaced by them.
TEST(SettingsLocation, FirstSaveCreatesPrivateFoldersAndStartsFromTheDefaults) {
  for (const char* defaults : {"[x]\r\ny=1\r\n", ";"}) {
    TTempDir dir;
    const settings::TSettingsLocation location{TSettingsKind::User, dir / "config/kovalex/kovalex.ini",
                                               dir.Write("kovalex.ini", defaults)};
    settings::PrepareSave(location);
    for (const char* folder : {"config", "config/kovalex"}) {
      struct stat st;
      ASSERT_EQ(stat((dir / folder).c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
    }
    EXPECT_EQ(TTempDir::Read(location.Path), defaults);
    struct stat copy;
    EXPECT_TRUE(stat(location.Path.c_str(), &copy) == 0 && (copy.st_mode & 0777) == 0600);
    dir.Write("config/kovalex/kovalex.ini", "mine");
    settings::PrepareSave(location);
    EXPECT_EQ(TTempDir::Read(location.Path), "mine");
  }
}

// The real file system as the choice sees it.
TEST(SettingsLocation, RealFileProbe) {
  TTempDir dir;
  const std::string file = dir.Write("f.ini", ""), readOnly = dir.Write("r.ini", "");
  ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
  const settings::IFileProbe& probe = settings::RealFileProbe();
  EXPECT_TRUE(probe.Exists(file) && probe.IsDirectory(dir.Path()) && probe.MayWrite(file) &&
              probe.MayWrite(dir.Path()));
  EXPECT_FALSE(probe.Exists(dir / "missing") || probe.IsDirectory(file) || probe.IsDirectory(dir / "missing"));
  EXPECT_FALSE(probe.MayWrite(readOnly) || probe.MayWrite(dir / "missing"));
}
