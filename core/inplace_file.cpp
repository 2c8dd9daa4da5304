#include "core/inplace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>

#include "core/file_system.h"
#include "sjis/posix_io.h"

// An overwrite runs in this order:
//  1. the old content is written, behind a header, to the copy, which is
//     flushed to disk with its folder;
//  2. the space that the file grows by is reserved, so that a full disk (or
//     the file size limit) stops the overwrite before a byte has changed;
//  3. the new content is written over the old in one pwrite, and flushed;
//  4. the file is cut to the new content's length, and flushed;
//  5. the copy is removed.
// The header names the file (device and inode), the old length, and the new
// content's length and hash.  A kill between 1 and 5 leaves the copy: at the
// next start, Recover compares the file with the header.  When the file
// begins with the whole new content, only step 4 or 5 was missing; anything
// else (the old content, zeros where it grew, the new content over part of
// the old) is put back to the old content from the copy.  A copy cut short
// in step 1 (shorter than its header says) means the file was never
// touched, and it is simply removed; so is one killed before its mark was
// whole (an empty copy), which would otherwise keep later saves from
// making theirs.
namespace inplace_file {

std::function<int(TStep)> StepHook;

namespace {

constexpr std::string_view kMagic = "KOVALEX in-place copy 1\n";

struct THeader {
  std::uint64_t Device = 0, Inode = 0, OldSize = 0, NewSize = 0, NewHash = 0;
};

std::uint64_t Hash(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

int Step(TStep step) { return StepHook ? StepHook(step) : 0; }

// Closes a descriptor on every way out, as the end of the process would.
class TDescriptor {
 public:
  explicit TDescriptor(int fd) : Fd(fd) {}
  ~TDescriptor() {
    if (Fd >= 0) close(Fd);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  const int Fd;
};

// The whole content of fd, read from its start; false with errno set.
bool ReadWhole(int fd, std::string& content) {
  char buffer[65536];
  for (off_t at = 0;;) {
    const ssize_t n = posix_io::ReadAt(fd, buffer, sizeof buffer, at);
    if (n < 0) return false;
    if (n == 0) return true;
    content.append(buffer, static_cast<std::size_t>(n));
    at += n;
  }
}

void SyncFolderOf(const std::string& path) {
  const int fd = posix_io::Open(file_system::ParentOf(path), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

void RemoveCopy(const std::string& copy) {
  if (unlink(copy.c_str()) == 0) SyncFolderOf(copy);
}

// Whether path is a copy this program made: what it holds begins with the
// mark, or stops inside it (a kill right after the copy was created), so an
// editor's backup of the same name is never touched.
bool IsCopy(const std::string& path, std::string* content = nullptr) {
  int error;
  const TDescriptor file(posix_io::OpenRegular(path, O_RDONLY | O_NOFOLLOW, error));
  std::string bytes;
  if (file.Fd < 0 || !ReadWhole(file.Fd, bytes)) return false;
  if (!std::string_view(bytes).starts_with(kMagic) && !kMagic.starts_with(bytes)) return false;
  if (content != nullptr) *content = std::move(bytes);
  return true;
}

// Writes the copy at the first of copies where it can be made, replacing a
// copy of an earlier overwrite; the path, or "" where none could be made.
std::string MakeCopy(const std::vector<std::string>& copies, const THeader& header, std::string_view old) {
  char line[160];
  std::snprintf(line, sizeof line, "%" PRIu64 " %" PRIu64 " %" PRIu64 " %" PRIu64 " %" PRIx64 "\n", header.Device,
                header.Inode, header.OldSize, header.NewSize, header.NewHash);
  const std::string head = std::string(kMagic) + line;
  for (const std::string& copy : copies) {
    constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW;
    int fd = posix_io::Open(copy, kFlags, 0600);
    if (fd < 0 && errno == EEXIST && IsCopy(copy) && unlink(copy.c_str()) == 0) fd = posix_io::Open(copy, kFlags, 0600);
    if (fd < 0) continue;
    bool ok = posix_io::WriteAll(fd, head.data(), head.size()) && posix_io::WriteAll(fd, old.data(), old.size()) &&
              fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok) {
      unlink(copy.c_str());
      continue;
    }
    SyncFolderOf(copy);
    return copy;
  }
  return "";
}

// The header of a copy and where the old content begins; false for a copy
// cut short or not of this form.
bool ReadHeader(const std::string& copy, THeader& header, std::size_t& dataAt) {
  const std::size_t end = copy.find('\n', kMagic.size());
  if (end == std::string::npos) return false;
  const std::string line = copy.substr(kMagic.size(), end - kMagic.size());
  if (std::sscanf(line.c_str(), "%" SCNu64 " %" SCNu64 " %" SCNu64 " %" SCNu64 " %" SCNx64, &header.Device,
                  &header.Inode, &header.OldSize, &header.NewSize, &header.NewHash) != 5)
    return false;
  dataAt = end + 1;
  return copy.size() - dataAt == header.OldSize;
}

// Puts old back as the whole content of fd; false with errno set.
bool PutBack(int fd, std::string_view old) {
  return posix_io::WriteAllAt(fd, old.data(), old.size(), 0) && fsync(fd) == 0 &&
         ftruncate(fd, static_cast<off_t>(old.size())) == 0 && fsync(fd) == 0;
}

}  // namespace

int Overwrite(const std::string& target, std::string_view content, const std::vector<std::string>& copies) {
  int error = 0;
  const TDescriptor file(posix_io::OpenRegular(target, O_RDWR, error));
  if (file.Fd < 0) return error;
  struct stat st;
  std::string old;
  if (fstat(file.Fd, &st) != 0 || !ReadWhole(file.Fd, old)) return errno;
  const THeader header{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino), old.size(),
                       content.size(), Hash(content)};
  const std::string copy = MakeCopy(copies, header, old);
  const int injected = Step(TStep::CopyMade);

  // Only the growth needs new space; a file system that cannot reserve it
  // is written all the same.
  if (injected != 0 ||
      (content.size() > old.size() &&
       fallocate(file.Fd, 0, static_cast<off_t>(old.size()), static_cast<off_t>(content.size() - old.size())) != 0 &&
       errno != EOPNOTSUPP && errno != ENOSYS)) {
    error = injected != 0 ? injected : errno;
    if (!copy.empty()) RemoveCopy(copy);
    return error;
  }
  Step(TStep::SpaceReserved);
  const off_t size = static_cast<off_t>(content.size());
  bool ok = posix_io::WriteAllAt(file.Fd, content.data(), content.size(), 0) && fsync(file.Fd) == 0;
  if (ok) Step(TStep::ContentWritten);
  ok = ok && ftruncate(file.Fd, size) == 0 && fsync(file.Fd) == 0;
  if (ok) Step(TStep::Truncated);
  if (!ok) {
    error = errno;
    // The copy stays for the next start when the old content cannot be put back.
    if (!PutBack(file.Fd, old)) return error;
  }
  if (!copy.empty()) RemoveCopy(copy);
  return error;
}

int Recover(const std::string& target, const std::vector<std::string>& copies) {
  for (const std::string& copy : copies) {
    std::string bytes;
    if (!IsCopy(copy, &bytes)) continue;
    THeader header;
    std::size_t dataAt = 0;
    if (!ReadHeader(bytes, header, dataAt)) {
      RemoveCopy(copy);  // cut short before the file was touched
      continue;
    }
    int error = 0;
    const TDescriptor file(posix_io::OpenRegular(target, O_RDWR, error));
    struct stat st;
    if (file.Fd < 0 || fstat(file.Fd, &st) != 0) return file.Fd < 0 ? error : errno;
    if (static_cast<std::uint64_t>(st.st_dev) != header.Device || static_cast<std::uint64_t>(st.st_ino) != header.Inode)
      continue;  // another file's
    std::string now;
    if (!ReadWhole(file.Fd, now)) return errno;
    const std::string_view old = std::string_view(bytes).substr(dataAt);
    if (now.size() >= header.NewSize && Hash(std::string_view(now).substr(0, header.NewSize)) == header.NewHash) {
      if (now.size() > header.NewSize &&
          (ftruncate(file.Fd, static_cast<off_t>(header.NewSize)) != 0 || fsync(file.Fd) != 0))
        return errno;
    } else if (now != old && !PutBack(file.Fd, old)) {
      return errno;
    }
    RemoveCopy(copy);
  }
  return 0;
}

}  // namespace inplace_file
