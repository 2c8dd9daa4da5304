#include "cli/walk.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

std::string BaseName(const std::string& name) {
  const std::size_t end = name.find_last_not_of('/');
  if (end == std::string::npos) return name;
  const std::size_t slash = name.rfind('/', end);
  return name.substr(slash == std::string::npos ? 0 : slash + 1,
                     end - (slash == std::string::npos ? 0 : slash + 1) + 1);
}

// A glob matches a name when it matches the whole name or its last part.
bool Matches(const std::vector<std::string>& globs, const std::string& name) {
  const std::string base = BaseName(name);
  return std::any_of(globs.begin(), globs.end(), [&](const std::string& glob) {
    return fnmatch(glob.c_str(), base.c_str(), 0) == 0 || fnmatch(glob.c_str(), name.c_str(), 0) == 0;
  });
}

}  // namespace

bool TWalk::FileWanted(const std::string& name) const {
  if (Matches(FOptions.Exclude, name)) return false;
  return FOptions.Include.empty() || Matches(FOptions.Include, name);
}

bool TWalk::DirectoryWanted(const std::string& name) const { return !Matches(FOptions.ExcludeDir, name); }

bool TWalk::Enters(const std::string& name) const {
  struct stat st;
  return FOptions.Recursion != TRecursion::None && name != "-" && ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void TWalk::Operand(const std::string& name, bool implicit) {
  if (name == "-") {
    FVisit(FOptions.Label, "-");
    return;
  }
  if (Enters(name)) {
    if (implicit || DirectoryWanted(name)) Directory(name, name, implicit);
    return;
  }
  if (FileWanted(name)) FVisit(name, name);
}

void TWalk::Directory(const std::string& display, const std::string& path, bool implicit) {
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) {
    FError(display, errno);
    return;
  }
  std::vector<std::string> names;
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  const int readError = errno;
  ::closedir(dir);
  if (readError != 0) FError(display, readError);
  std::sort(names.begin(), names.end());

  for (const std::string& name : names) {
    const std::string childPath = path + (path.back() == '/' ? "" : "/") + name;
    const std::string childDisplay = implicit ? (display == "." ? name : display + "/" + name) : childPath;
    struct stat st;
    // -r does not follow symbolic links met in the walk; -R does.
    const bool follow = FOptions.Recursion == TRecursion::Logical;
    if ((follow ? ::stat(childPath.c_str(), &st) : ::lstat(childPath.c_str(), &st)) != 0) {
      FError(childDisplay, errno);
      continue;
    }
    if (S_ISDIR(st.st_mode)) {
      if (DirectoryWanted(name)) Directory(implicit ? childDisplay : childPath, childPath, implicit);
    } else if (S_ISREG(st.st_mode)) {
      // Devices, FIFOs, sockets and (for -r) symbolic links are skipped.
      if (FileWanted(childDisplay)) FVisit(childDisplay, childPath);
    }
  }
}
