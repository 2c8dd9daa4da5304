#include "core/settings_location.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "core/profile.h"
#include "core/settings.h"
#include "core/texts.h"
#include "sjis/exceptions.h"
#include "sjis/posix_io.h"
#include "text/encoding.h"

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
    if (stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && access(path.c_str(), W_OK) == 0;
  }
};

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string ParentOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An installed program lies in <prefix>/bin with its data in
// <prefix>/share/kovalex.
bool IsInstalled(const std::string& programFolder, const IFileProbe& probe) {
  return NameOf(programFolder) == "bin" && probe.IsDirectory(ParentOf(programFolder) + "/share/kovalex");
}

// XDG base directories must be absolute; anything else is ignored.
std::string UserConfigFolder(const TSettingsPlaces& places) {
  if (!places.ConfigHome.empty() && places.ConfigHome[0] == '/') return places.ConfigHome;
  return places.Home + "/.config";
}

[[noreturn]] void ThrowCannotWrite(const std::string& path) {
  throw Exception(encoding::FileNameToSjis(path) + " " + std::string(sjis_text::kTextCannotWrite));
}

// Creates folder and its missing parents, each with mode 0700.
void CreateFolders(const std::string& folder, const std::string& settingsPath) {
  struct stat st;
  if (stat(folder.c_str(), &st) == 0) {
    if (!S_ISDIR(st.st_mode)) ThrowCannotWrite(settingsPath);
    return;
  }
  const std::string parent = ParentOf(folder);
  if (parent != folder) CreateFolders(parent, settingsPath);
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) ThrowCannotWrite(settingsPath);
}

// Copies source to target through a temporary file that is renamed into
// place, so target is either missing or complete.  A defaults file that
// cannot be read (a FIFO is refused at once, not waited on), which the start
// has already reported, is not copied.  The temporary file is named as a
// save's, so that a copy killed half-way is cleared away by a later save.
void CopyWhole(const std::string& source, const std::string& target) {
  const TProfile defaults(source);
  if (defaults.ReadError() != 0) return;
  const std::string content = defaults.Content();
  const std::string temp = ParentOf(target) + "/." + NameOf(target) + ".tmp-" + std::to_string(getpid()) + "-0";
  const int fd = posix_io::Open(temp, O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) ThrowCannotWrite(target);
  bool ok = posix_io::WriteAll(fd, content.data(), content.size());
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    unlink(temp.c_str());
    ThrowCannotWrite(target);
  }
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

TSettingsLocation ChooseSettingsLocation(const TSettingsPlaces& places, const IFileProbe& probe) {
  if (!places.Override.empty()) return {TSettingsKind::Named, places.Override, ""};
  const std::string beside = SettingsPathFor(places.ProgramPath);
  const std::string folder = ParentOf(places.ProgramPath);
  const bool besideExists = probe.Exists(beside);
  if (!IsInstalled(folder, probe)) {
    if (besideExists ? probe.MayWrite(beside) : probe.MayWrite(folder)) {
      return {TSettingsKind::Portable, beside, ""};
    }
  }
  return {TSettingsKind::User, UserConfigFolder(places) + "/kovalex/kovalex.ini", besideExists ? beside : ""};
}

std::string FileToLoad(const TSettingsLocation& location, const IFileProbe& probe) {
  if (location.Defaults.empty() || probe.Exists(location.Path)) return location.Path;
  return location.Defaults;
}

void PrepareSave(const TSettingsLocation& location) {
  if (location.Kind != TSettingsKind::User) return;
  CreateFolders(ParentOf(location.Path), location.Path);
  if (location.Defaults.empty() || RealFileProbe().Exists(location.Path)) return;
  if (!RealFileProbe().Exists(location.Defaults)) return;
  CopyWhole(location.Defaults, location.Path);
}

}  // namespace settings
