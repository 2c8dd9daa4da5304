#include "core/settings_location.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "core/atomic_file.h"
#include "core/file_error.h"
#include "core/file_system.h"
#include "core/profile.h"
#include "core/settings.h"
#include "kovalex_version.h"

namespace settings {
namespace {

class TRealFileProbe : public IFileProbe {
 public:
  bool Exists(const std::string& path) const override {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
  }
  bool IsDirectory(const std::string& path) const override {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  bool MayWrite(const std::string& path) const override {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && file_system::MayWrite(path, st);
  }
};

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// An installed program lies in <prefix>/bin with its data in
// <prefix>/share/kovalex.
bool IsInstalled(const std::string& programFolder, const IFileProbe& probe) {
  return file_system::NameOf(programFolder) == "bin" &&
         probe.IsDirectory(file_system::ParentOf(programFolder) + "/share/" KOVALEX_PROGRAM);
}

// XDG base directories must be absolute; anything else is ignored.
std::string UserConfigFolder(const TSettingsPlaces& places) {
  if (!places.ConfigHome.empty() && places.ConfigHome[0] == '/') return places.ConfigHome;
  return places.Home + "/.config";
}

// Creates folder and its missing parents, each with mode 0700.
void CreateFolders(const std::string& folder, const std::string& settingsPath) {
  struct stat st;
  if (stat(folder.c_str(), &st) == 0) {
    if (!S_ISDIR(st.st_mode)) file_error::ThrowCannotWrite(settingsPath, ENOTDIR);
    return;
  }
  const std::string parent = file_system::ParentOf(folder);
  if (parent != folder) CreateFolders(parent, settingsPath);
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) file_error::ThrowCannotWrite(settingsPath, errno);
}

// Copies source to target, private to the user, through a temporary file
// that is renamed into place, so target is either missing or complete (and a
// copy killed half-way is cleared away by a later save).  A defaults file
// that cannot be read (a FIFO is refused at once, not waited on), which the
// start has already reported, is not copied.
void CopyWhole(const std::string& source, const std::string& target) {
  const TProfile defaults(source);
  if (defaults.ReadError() != 0) return;
  if (const int error = atomic_file::Replace(target, defaults.Content(), 0600); error != 0)
    file_error::ThrowCannotWrite(target, error);
}

}  // namespace

const IFileProbe& RealFileProbe() {
  static const TRealFileProbe probe;
  return probe;
}

TSettingsPlaces SettingsPlacesFromEnvironment(const std::string& programPath) {
  TSettingsPlaces places{programPath, Environment("KOVALEX_SETTINGS"), Environment("XDG_CONFIG_HOME"),
                         Environment("HOME")};
  if (places.Home.empty()) {
    if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr) places.Home = user->pw_dir;
  }
  return places;
}

// The file beside the program (its path with the extension ".ini") is used
// when the program is run from a folder of its own: a build tree, an
// unpacked archive, run.sh.  That needs a folder the user may write, or a
// kovalex.ini there that the user may write.
//
// An installed program (one whose folder is a "bin" folder next to a
// "share/kovalex" folder) and a program in a folder the user may not write
// keep the settings in the user's own space instead:
// $XDG_CONFIG_HOME/kovalex/kovalex.ini, by default
// ~/.config/kovalex/kovalex.ini.  The folder is created (mode 0700) by the
// first save.  A kovalex.ini beside the program then only gives the
// defaults for a user who has no file yet; it is never written.  This way
// the program never writes into a system folder, not even when the
// superuser starts it.
//
// $KOVALEX_SETTINGS, when set and not empty, names the file outright.
//
// Choosing only looks at paths and asks a probe about the file system, so
// the rules can be tested with any answers, the superuser's included.
TSettingsLocation ChooseSettingsLocation(const TSettingsPlaces& places, const IFileProbe& probe) {
  if (!places.Override.empty()) return {TSettingsKind::Named, places.Override, ""};
  const std::string beside = SettingsPathFor(places.ProgramPath);
  const std::string folder = file_system::ParentOf(places.ProgramPath);
  const bool besideExists = probe.Exists(beside);
  if (!IsInstalled(folder, probe)) {
    if (besideExists ? probe.MayWrite(beside) : probe.MayWrite(folder)) {
      return {TSettingsKind::Portable, beside, ""};
    }
  }
  return {TSettingsKind::User, UserConfigFolder(places) + "/" KOVALEX_PROGRAM "/" KOVALEX_PROGRAM ".ini",
          besideExists ? beside : ""};
}

std::string FileToLoad(const TSettingsLocation& location, const IFileProbe& probe) {
  if (location.Defaults.empty() || probe.Exists(location.Path)) return location.Path;
  return location.Defaults;
}

void PrepareSave(const TSettingsLocation& location) {
  if (location.Kind != TSettingsKind::User) return;
  CreateFolders(file_system::ParentOf(location.Path), location.Path);
  if (location.Defaults.empty() || RealFileProbe().Exists(location.Path)) return;
  if (!RealFileProbe().Exists(location.Defaults)) return;
  CopyWhole(location.Defaults, location.Path);
}

}  // namespace settings
