#include "core/safe_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/atomic_file.h"
#include "core/file_error.h"
#include "core/file_system.h"
#include "sjis/posix_io.h"

namespace safe_save {
namespace {

// The file that path names once every symbolic link on the way has been
// followed (a link to a missing file names that file); 0, or ELOOP.
int ResolveLinks(const std::string& path, std::string& target) {
  constexpr int kMaxLinks = 40;
  target = path;
  for (int links = 0; links <= kMaxLinks; ++links) {
    struct stat st;
    if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 0;
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096), '\0');
    const ssize_t n = readlink(target.c_str(), link.data(), link.size());
    if (n < 0) return 0;  // gone meanwhile: the path itself is written
    link.resize(static_cast<std::size_t>(n));
    target = !link.empty() && link[0] == '/' ? link : file_system::ParentOf(target) + "/" + link;
  }
  return ELOOP;
}

// Overwrites the existing file target with content, keeping the file itself
// (its hard links, owner and permissions).  The space is reserved before the
// first byte changes, so a full disk leaves the old content whole.
bool WriteInPlace(const std::string& target, std::string_view content) {
  int error;
  const int fd = posix_io::OpenRegular(target, O_WRONLY, error);
  if (fd < 0) return false;
  const off_t size = static_cast<off_t>(content.size());
  const int reserved = size > 0 ? posix_fallocate(fd, 0, size) : 0;
  // A file system that cannot reserve space is written all the same.
  bool ok = reserved == 0 || reserved == EOPNOTSUPP || reserved == EINVAL;
  ok = ok && lseek(fd, 0, SEEK_SET) == 0 && posix_io::WriteAll(fd, content.data(), content.size()) &&
       ftruncate(fd, size) == 0 && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  return ok;
}

}  // namespace

// Where the folder may be written and the file has no other hard link, the
// file is replaced through a temporary file, keeping the old file's
// permissions.  Otherwise, when the file itself may be written, it is
// overwritten in place, so its hard links, owner and permissions stay.  A
// symbolic link is followed: the file it points to is written, the link
// stays.  A file or folder that nobody may write counts as read-only even
// for the superuser: a file in such a folder is written in place, a
// read-only file is refused.
void SaveFile(const std::string& path, std::string_view content) {
  std::string target;
  if (ResolveLinks(path, target) != 0) file_error::ThrowCannotWrite(path);
  struct stat st;
  const bool exists = stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) file_error::ThrowCannotWrite(path);
  if (exists && (!S_ISREG(st.st_mode) || !file_system::MayWrite(target, st))) file_error::ThrowCannotWrite(path);

  const std::string directory = file_system::ParentOf(target);
  struct stat dirSt;
  const bool directoryWritable =
      stat(directory.c_str(), &dirSt) == 0 && S_ISDIR(dirSt.st_mode) && file_system::MayWrite(directory, dirSt, X_OK);
  const bool replaced = directoryWritable && (!exists || st.st_nlink <= 1) &&
                        atomic_file::Replace(target, content, 0666, exists ? &st : nullptr);
  if (!replaced && (!exists || !WriteInPlace(target, content))) file_error::ThrowCannotWrite(path);
  if (directoryWritable) atomic_file::RemoveStaleTemporaries(directory, file_system::NameOf(target));
}

}  // namespace safe_save
