// Which folder the dictionaries are taken from.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/catalogue.h"

namespace dictionary_folder {

struct TPlaces {
  std::string Argument;          // from the command line; "" when none
  std::string Remembered;        // from the settings; "" when none
  std::string WorkingDirectory;  // the process's current directory
  std::string DataHome;          // $XDG_DATA_HOME
  std::string DataDirs;          // $XDG_DATA_DIRS, folders separated by ":"
  std::string Home;              // $HOME
};

// The places from the environment and the process's current directory.
TPlaces PlacesFromEnvironment(const std::string& argument, const std::string& remembered);

// The candidates after the argument, in order, without repeats.
std::vector<std::string> Candidates(const TPlaces& places);

struct TChoice {
  std::string Folder;  // "" when no dictionary was found anywhere
  catalogue::TFoundDictionaries Found{};
  std::vector<std::string> Looked;  // the folders tried, in order
  bool NoFolder = false;            // the folder given does not exist or is no folder
};

TChoice Choose(const TPlaces& places);

// What the result view says when no dictionary was found anywhere: where the
// program looked and how to choose a folder.  Shift-JIS lines.
std::vector<std::string> NothingFoundLines(const TChoice& choice);

// The status line's text about the folder in use (UTF-8).
std::string FolderStatus(const TChoice& choice);

// The file of a dictionary in folder, as the search opens it.
std::string FileInFolder(const std::string& folder, const std::string& name);

}  // namespace dictionary_folder
