#include "core/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "core/file_system.h"
#include "sjis/posix_io.h"

namespace atomic_file {
namespace {

// Temporary files are named ".<name>.tmp-<pid>-<n>": hidden, beside the
// file, and telling which process made them.
std::string TempPrefix(const std::string& base) { return "." + base + ".tmp-"; }

// The process that made a temporary file named prefix + "<pid>-<n>"; 0 when
// the name is not of that form.
pid_t TempOwner(const std::string& name, const std::string& prefix) {
  if (name.compare(0, prefix.size(), prefix) != 0) return 0;
  const std::string rest = name.substr(prefix.size());
  const std::size_t dash = rest.find('-');
  if (dash == 0 || dash == std::string::npos || dash + 1 == rest.size()) return 0;
  if (rest.find_first_not_of("0123456789-") != std::string::npos || rest.find('-', dash + 1) != std::string::npos)
    return 0;
  const long pid = std::strtol(rest.c_str(), nullptr, 10);
  return pid > 0 && pid <= INT32_MAX ? static_cast<pid_t>(pid) : 0;
}

}  // namespace

int Replace(const std::string& target, std::string_view content, mode_t mode, const struct stat* keep) {
  const std::string directory = file_system::ParentOf(target);
  const std::string prefix = directory + "/" + TempPrefix(file_system::NameOf(target)) + std::to_string(getpid()) + "-";
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp = prefix + std::to_string(attempt);
    fd = posix_io::Open(temp, O_WRONLY | O_CREAT | O_EXCL, mode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return errno;

  bool ok = posix_io::WriteAll(fd, content.data(), content.size());
  if (ok && keep != nullptr) {
    // Owner and group can only be kept by the superuser; the mode always.
    [[maybe_unused]] const int owned = fchown(fd, keep->st_uid, keep->st_gid);
    ok = fchmod(fd, keep->st_mode & 07777) == 0;
  }
  ok = ok && fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temp.c_str());
    return error;
  }
  const int dirFd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    fsync(dirFd);
    close(dirFd);
  }
  return 0;
}

// A process that is gone left its file behind when it was killed; a file
// older than a day is left over whatever its number says (the number may
// have been reused, or the file came from another machine sharing the
// folder).
void RemoveStaleTemporaries(const std::string& directory, const std::string& base) {
  DIR* dir = opendir(directory.c_str());
  if (dir == nullptr) return;
  const std::string prefix = TempPrefix(base);
  const std::time_t dayAgo = std::time(nullptr) - 24 * 60 * 60;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    const pid_t owner = TempOwner(name, prefix);
    if (owner == 0 || owner == getpid()) continue;
    struct stat st;
    if (fstatat(dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    const bool gone = kill(owner, 0) != 0 && errno == ESRCH;
    if (gone || st.st_mtime < dayAgo) unlinkat(dirfd(dir), name.c_str(), 0);
  }
  closedir(dir);
}

}  // namespace atomic_file
