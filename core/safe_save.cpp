#include "core/safe_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "core/atomic_file.h"
#include "core/file_error.h"
#include "core/file_system.h"
#include "core/inplace_file.h"
#include "sjis/io_error.h"

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

// Where the copy of the old content of an overwrite in place goes: beside
// the file, or where the folder cannot be written, beside the path the user
// named when a symbolic link led from there.
std::vector<std::string> CopyPlaces(const std::string& path, const std::string& target) {
  std::vector<std::string> places{target + "~"};
  if (path != target) places.push_back(path + "~");
  return places;
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
  if (const int error = ResolveLinks(path, target); error != 0) file_error::ThrowCannotWrite(path, error);
  struct stat st;
  const bool exists = stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) file_error::ThrowCannotWrite(path, errno);
  if (exists && !S_ISREG(st.st_mode))
    file_error::ThrowCannotWrite(path, S_ISDIR(st.st_mode) ? EISDIR : io_error::kNotRegularFile);
  if (exists && !file_system::MayWrite(target, st)) file_error::ThrowCannotWrite(path, EACCES);

  const std::string directory = file_system::ParentOf(target);
  struct stat dirSt;
  const bool directoryWritable =
      stat(directory.c_str(), &dirSt) == 0 && S_ISDIR(dirSt.st_mode) && file_system::MayWrite(directory, dirSt, X_OK);
  int error = EACCES;
  bool saved = false;
  if (directoryWritable && (!exists || st.st_nlink <= 1)) {
    error = atomic_file::Replace(target, content, 0666, exists ? &st : nullptr);
    saved = error == 0;
  }
  if (!saved && exists) {
    error = inplace_file::Overwrite(target, content, CopyPlaces(path, target));
    saved = error == 0;
  }
  if (!saved) file_error::ThrowCannotWrite(path, error);
  if (directoryWritable) atomic_file::RemoveStaleTemporaries(directory, file_system::NameOf(target));
}

int RecoverInterruptedSave(const std::string& path) {
  std::string target;
  if (ResolveLinks(path, target) != 0) return 0;  // nothing was ever saved through it
  return inplace_file::Recover(target, CopyPlaces(path, target));
}

}  // namespace safe_save
