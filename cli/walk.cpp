#include "cli/walk.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Whether a glob matches a name: the base name of a file met in the walk as
// a whole; an operand as a whole or from any "/" on that no "/" follows, as
// GNU grep matches the names the user typed.  No flags: "*" matches "/" and
// a leading ".".
bool GlobMatches(const std::string& glob, const std::string& name, bool operand) {
  if (fnmatch(glob.c_str(), name.c_str(), 0) == 0) return true;
  for (std::size_t i = 0; operand && i < name.size(); ++i)
    if (name[i] == '/' && name[i + 1] != '/' && fnmatch(glob.c_str(), name.c_str() + i + 1, 0) == 0) return true;
  return false;
}

bool IsDevice(const struct stat& st) {
  return S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode);
}

TFileIdentity Identity(const struct stat& st) { return {st.st_dev, st.st_ino}; }

}  // namespace

bool TWalk::FileWanted(const std::string& name, bool operand) const {
  const std::vector<TFileGlob>& globs = FOptions.FileGlobs;
  for (auto glob = globs.rbegin(); glob != globs.rend(); ++glob)
    if (GlobMatches(glob->Glob, name, operand)) return glob->Include;
  // No glob matches: the file is wanted unless the first is an --include.
  return globs.empty() || !globs.front().Include;
}

bool TWalk::DirectoryWanted(const std::string& name, bool operand) const {
  return std::none_of(FOptions.ExcludeDir.begin(), FOptions.ExcludeDir.end(),
                      [&](const std::string& glob) { return GlobMatches(glob, name, operand); });
}

bool TWalk::Enters(const std::string& name) const {
  struct stat st;
  return FOptions.Recursive() && name != "-" && ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void TWalk::Operand(const std::string& name, bool implicit) {
  struct stat st;
  if (name == "-") {
    if (::fstat(STDIN_FILENO, &st) != 0) st.st_mode = 0;
    return File(FOptions.Label, "-", st);
  }
  // An operand that cannot be looked at is opened all the same, to say why
  // (as GNU grep does, whatever the globs say).
  if (::stat(name.c_str(), &st) != 0) return FVisit(name, name);
  if (S_ISDIR(st.st_mode)) {
    // The implicit "." is never excluded.
    if (FOptions.Directories == TDirectories::Skip || (!implicit && !DirectoryWanted(name, true))) return;
    if (FOptions.Directories == TDirectories::Read) return FVisit(name, name);  // its search says what it is
    FAncestors.clear();
    return Directory(name, name, implicit);
  }
  if (FileWanted(name, true) && !(IsDevice(st) && FOptions.Devices == TDevices::Skip)) File(name, name, st);
}

void TWalk::Directory(const std::string& display, const std::string& path, bool implicit) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return FReport(display, std::strerror(errno), false);
  if (std::find(FAncestors.begin(), FAncestors.end(), Identity(st)) != FAncestors.end())
    return FReport(display, "warning: recursive directory loop", true);
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) return FReport(display, std::strerror(errno), false);
  std::vector<TEntry> entries;
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") entries.push_back({name, entry->d_type, entry->d_ino});
  }
  const int readError = errno;
  ::closedir(dir);
  if (readError != 0) FReport(display, std::strerror(readError), false);
  std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.Name < b.Name; });

  struct TInside {
    std::vector<TFileIdentity>& Ancestors;
    ~TInside() { Ancestors.pop_back(); }
  } inside{FAncestors};
  FAncestors.push_back(Identity(st));
  for (const TEntry& entry : entries) {
    const std::string& name = entry.Name;
    const std::string childPath = path + (path.back() == '/' ? "" : "/") + name;
    Entry(implicit ? (display == "." ? name : display + "/" + name) : childPath, childPath, entry, implicit);
  }
}

// An entry of a directory, filtered by its name before anything is opened.
void TWalk::Entry(const std::string& display, const std::string& path, const TEntry& entry, bool implicit) {
  const std::string& name = entry.Name;
  // The type the directory gives spares a stat: a regular file (unless it
  // may be standard output), or a directory, which Directory looks at
  // itself.  Links, devices and entries of an unknown type are looked at.
  if (entry.Type == DT_REG && !(FOutput && (!FEntryInodes || FOutput->Inode == entry.Inode))) {
    if (FileWanted(name, false)) FVisit(display, path);
    return;
  }
  if (entry.Type == DT_DIR) {
    if (DirectoryWanted(name, false)) Directory(display, path, implicit);
    return;
  }
  struct stat st;
  // -r does not follow symbolic links met in the walk; -R does.
  if ((FOptions.Dereference ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0) {
    // A dangling link counts as a file, which the filters may skip.
    if (FileWanted(name, false)) FReport(display, std::strerror(errno), false);
    return;
  }
  if (S_ISDIR(st.st_mode)) {
    if (DirectoryWanted(name, false)) Directory(display, path, implicit);
    return;
  }
  // Links (for -r) are skipped, and devices, FIFOs and sockets unless -D read.
  if (S_ISLNK(st.st_mode) || (IsDevice(st) && FOptions.Devices != TDevices::Read)) return;
  if (FileWanted(name, false)) File(display, path, st);
}

// A file to search, unless it is standard output, which it would feed
// (-c, -l, -L, -q and -m 1 read no more than they print, as in GNU grep).
void TWalk::File(const std::string& display, const std::string& path, const struct stat& st) {
  const bool printsLines = !FOptions.Quiet && !FOptions.Count && !FOptions.FilesWithMatches &&
                           !FOptions.FilesWithoutMatch && (FOptions.MaxCount < 0 || FOptions.MaxCount > 1);
  if (printsLines && S_ISREG(st.st_mode) && FOutput && Identity(st) == *FOutput)
    return FReport(display, "input file is also the output", false);
  FVisit(display, path);
}
