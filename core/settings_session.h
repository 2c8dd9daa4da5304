// The settings file over one run of the program: read once at the start,
// written once at the end with what this run changed.
#pragma once

#include <optional>
#include <string>

#include "core/profile.h"
#include "core/settings.h"

namespace settings {

class TSettingsSession {
 public:
  // Reads the file at path into values (see LoadSettings).  Raises what
  // LoadSettings raises (a colour that is not an integer), and Exception
  // ("<path>: <reason>") for a file that exists but cannot be read, after
  // filling values with the defaults.
  void Load(const std::string& path, TSettingsValues& values);

  // The window's values once loading is done, what its changes are counted
  // against.  Without them Save writes every value of the run.
  void SetLoadedValues(const TSettingsValues& values) { FLoadedValues = values; }

  // Writes this run's changes over what the file at path holds now (see
  // above).  Raises Exception ("<path> に書き込めません") when the file
  // cannot be written, ("<path>: <reason>") when it can no longer be read.
  void Save(const std::string& path, const TSettingsValues& values);

 private:
  std::optional<TProfile> FLoaded;
  std::optional<TSettingsValues> FLoadedValues;
};

}  // namespace settings
