// The settings file over one run of the program: read once at the start,
// written once at the end with what this run changed.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "core/profile.h"
#include "core/settings.h"

namespace settings {

class TSettingsSession {
 public:
  // Reads the file at path, once for the run: the remembered folder and the
  // values come from this reading.  A save in place of an earlier run that
  // was cut short is put right first (see core/safe_save.h).
  void Read(const std::string& path);
  // The dictionary folder remembered in the file read; "" when none.
  const std::string& RememberedFolder() const { return FRememberedFolder; }
  // Loads the values of the file read into values (see LoadSettings); then
  // only the texts of the settings' keys are kept.  Raises what LoadSettings
  // raises (a colour that is not an integer), and Exception
  // ("<path>: <reason>") for a file that exists but cannot be read, after
  // filling values with the defaults.
  void Load(TSettingsValues& values);
  // Read, then Load.
  void Load(const std::string& path, TSettingsValues& values) {
    Read(path);
    Load(values);
  }

  // The window's values once loading is done, what its changes are counted
  // against.  Without them Save writes every value of the run.
  void SetLoadedValues(const TSettingsValues& values) { FLoadedValues = values; }

  // Writes this run's changes over what the file at path holds now (see
  // above).  Raises Exception ("<path> に書き込めません") when the file
  // cannot be written, ("<path>: <reason>") when it can no longer be read.
  void Save(const std::string& path, const TSettingsValues& values);

 private:
  using TKeyName = std::pair<std::string, std::string>;  // section, key

  std::optional<TProfile> FProfile;  // from Read to Load
  std::string FPath;
  bool FRead = false;
  int FReadError = 0;
  int FRecoveryError = 0;  // an interrupted save could not be put right
  std::string FRememberedFolder;
  std::map<TKeyName, std::string> FTextsAtStart;  // the keys the file held
  std::set<TKeyName> FUnread;                     // keys that loading stopped before
  std::optional<TSettingsValues> FLoadedValues;
};

}  // namespace settings
