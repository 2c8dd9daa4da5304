// The settings file over one run of the program: read once at the start,
// written once at the end with what this run changed.
//
// Several windows may run at once, each with the file as it was at its own
// start.  At the end a run reads the file again and writes over what it holds
// at that moment, key by key:
//  - a key whose value this run changed gets this run's value;
//  - a key that another run has written since this run loaded the file (its
//    text differs from the one loaded) keeps the other run's value;
//  - a text the user chose (the font name) that this run did not change
//    stays byte for byte as the file has it, also when the window could not
//    show all of its bytes;
//  - every other key gets this run's value, as a single run has always
//    written every key (missing keys are added, numbers written in their
//    plain decimal form).
// A single run thus writes what SaveSettings writes, except that a font name
// it never changed is kept exactly.  Runs that end at the same moment take
// turns (a lock on the file's directory), so none writes over a file that
// another has read but not yet written.
//
// A file that exists but cannot be read (no permission, a FIFO, a directory)
// is reported once, by Load, after the defaults have been applied; it is
// never replaced.  At the end Save reads it again: when it still cannot be
// read, nothing is written and nothing more is said; when it was readable at
// the start and is not any more, Save reports that instead of writing.
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
