// Where the settings file lives, and which file gives the defaults.
#pragma once

#include <string>

namespace settings {

enum class TSettingsKind {
  Named,     // $KOVALEX_SETTINGS
  Portable,  // beside the program
  User,      // in the user's configuration folder
};

struct TSettingsLocation {
  TSettingsKind Kind = TSettingsKind::User;
  std::string Path;      // the file that is read and saved
  std::string Defaults;  // read instead while Path does not exist; "" when none
};

// What the chooser needs to know of the file system.
class IFileProbe {
 public:
  virtual ~IFileProbe() = default;
  virtual bool Exists(const std::string& path) const = 0;
  virtual bool IsDirectory(const std::string& path) const = 0;
  // Whether the user may write path.  An object without any write
  // permission bit counts as read-only even for the superuser.
  virtual bool MayWrite(const std::string& path) const = 0;
};

// The probe of the real file system.
const IFileProbe& RealFileProbe();

struct TSettingsPlaces {
  std::string ProgramPath;  // the executable's full path
  std::string Override;     // $KOVALEX_SETTINGS
  std::string ConfigHome;   // $XDG_CONFIG_HOME
  std::string Home;         // $HOME
};

// The places from the environment, for the given executable.
TSettingsPlaces SettingsPlacesFromEnvironment(const std::string& programPath);

TSettingsLocation ChooseSettingsLocation(const TSettingsPlaces& places, const IFileProbe& probe = RealFileProbe());

// The file to read: Path, or Defaults while Path does not exist.
std::string FileToLoad(const TSettingsLocation& location, const IFileProbe& probe = RealFileProbe());

// Makes ready for the first save: creates the missing folders of the user's
// settings file (mode 0700) and, while that file does not exist, starts it
// as a copy of the defaults file so that the settings and lines the defaults
// hold carry over.  Nothing is done for the other kinds.  Raises Exception
// ("<path> に書き込めません") when the folder or the copy cannot be made.
void PrepareSave(const TSettingsLocation& location);

}  // namespace settings
