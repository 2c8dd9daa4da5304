#include "core/dictionary_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/texts.h"
#include "kovalex_version.h"
#include "text/encoding.h"

namespace dictionary_folder {
namespace {

constexpr char kSubfolder[] = "/" KOVALEX_PROGRAM "/dictionaries";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// XDG base directories must be absolute; anything else is ignored.
bool IsAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

bool HoldsAnyDictionary(const catalogue::TFoundDictionaries& found) {
  return std::any_of(found.begin(), found.end(), [](const catalogue::TDictionaryFiles& d) { return d.Available; });
}

}  // namespace

TPlaces PlacesFromEnvironment(const std::string& argument, const std::string& remembered) {
  std::error_code ec;
  const std::filesystem::path cwd = std::filesystem::current_path(ec);
  return {argument,
          remembered,
          ec ? std::string(".") : cwd.native(),
          Environment("XDG_DATA_HOME"),
          Environment("XDG_DATA_DIRS"),
          Environment("HOME")};
}

std::vector<std::string> Candidates(const TPlaces& places) {
  std::vector<std::string> out;
  const auto add = [&out](const std::string& folder) {
    if (!folder.empty() && std::find(out.begin(), out.end(), folder) == out.end()) out.push_back(folder);
  };
  add(places.Remembered);
  add(places.WorkingDirectory);
  add((IsAbsolute(places.DataHome) ? places.DataHome : places.Home + "/.local/share") + kSubfolder);
  const std::string dirs = places.DataDirs.empty() ? "/usr/local/share:/usr/share" : places.DataDirs;
  for (std::size_t start = 0; start <= dirs.size();) {
    const std::size_t colon = std::min(dirs.find(':', start), dirs.size());
    const std::string dir = dirs.substr(start, colon - start);
    if (IsAbsolute(dir)) add(dir + kSubfolder);
    start = colon + 1;
  }
  return out;
}

// The candidates, in order:
//  1. the folder given on the command line; it is taken even when it holds
//     no dictionary, because the user asked for it;
//  2. the folder the user last chose with the menu command (remembered in the
//     settings file);
//  3. the working directory;
//  4. $XDG_DATA_HOME/kovalex/dictionaries (by default
//     ~/.local/share/kovalex/dictionaries);
//  5. kovalex/dictionaries in each folder of $XDG_DATA_DIRS (by default
//     /usr/local/share and /usr/share), where a package puts the samples.
// From 2 on, the first candidate that holds any dictionary is taken.  When
// none does, no folder is in use and Looked lists every place tried, for the
// message that says so.
TChoice Choose(const TPlaces& places) {
  TChoice choice;
  if (!places.Argument.empty()) {
    struct stat st {};
    choice.Looked = {places.Argument};
    if (stat(places.Argument.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      choice.NoFolder = true;
      return choice;
    }
    choice.Folder = places.Argument;
    choice.Found = catalogue::FindDictionaries(places.Argument);
    choice.Looked = {places.Argument};
    return choice;
  }
  for (const std::string& folder : Candidates(places)) {
    choice.Looked.push_back(folder);
    const catalogue::TFoundDictionaries found = catalogue::FindDictionaries(folder);
    if (!HoldsAnyDictionary(found)) continue;
    choice.Folder = folder;
    choice.Found = found;
    return choice;
  }
  return choice;
}

std::vector<std::string> NothingFoundLines(const TChoice& choice) {
  if (choice.NoFolder) {
    return {std::string(sjis_text::kTextNoSuchFolder) + " " + encoding::FileNameToSjis(choice.Looked.front()),
            std::string(sjis_text::kTextChooseFolder)};
  }
  std::string places;
  for (const std::string& folder : choice.Looked) {
    if (!places.empty()) places += sjis_text::kTextPlaceSeparator;
    places += encoding::FileNameToSjis(folder);
  }
  return {std::string(sjis_text::kTextNothingFound) + " " + places + std::string(sjis_text::kTextNothingFoundEnd),
          std::string(sjis_text::kTextChooseFolder)};
}

std::string FolderStatus(const TChoice& choice) {
  if (choice.NoFolder)
    return encoding::SjisToUtf8(sjis_text::kTextNoSuchFolder) + " " +
           encoding::Utf16ToUtf8(catalogue::DisplayFileName(choice.Looked.front()));
  if (choice.Folder.empty()) return "辞書が見つかりません";
  return "辞書フォルダ: " + encoding::Utf16ToUtf8(catalogue::DisplayFileName(choice.Folder));
}

std::string FileInFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace dictionary_folder
