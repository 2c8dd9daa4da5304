// A plain open of a FIFO waits for its writer (or reader), and the open of a
// device may wait for the device: a program that did that would hang before
// it could even say why.  OpenRegular opens without waiting, checks what it
// opened, and only then lets the reads and writes block again.
#include "sjis/posix_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sjis/io_error.h"

namespace posix_io {
namespace {

// A write that wrote nothing (returned 0) would be retried for ever; it is
// taken as an input/output error.
bool Failed(ssize_t written) {
  if (written == 0) errno = EIO;
  return false;
}

}  // namespace

int Open(const std::string& path, int flags, mode_t mode) {
  return RetryInterrupted([&] { return ::open(path.c_str(), flags | O_CLOEXEC, mode); });
}

int OpenRegular(const std::string& path, int access, int& error) {
  const int fd = Open(path, access | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    error = errno;
    return -1;
  }
  struct stat st;
  error = 0;
  if (::fstat(fd, &st) != 0) {
    error = errno;
  } else if (S_ISDIR(st.st_mode)) {
    error = EISDIR;
  } else if (!S_ISREG(st.st_mode)) {
    error = io_error::kNotRegularFile;
  } else if (!MakeBlocking(fd)) {
    error = errno;
  }
  if (error != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool MakeBlocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ((flags & O_NONBLOCK) == 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0);
}

ssize_t Read(int fd, void* to, std::size_t n) {
  return RetryInterrupted([&] { return ::read(fd, to, n); });
}

ssize_t ReadAt(int fd, void* to, std::size_t n, off_t offset) {
  return RetryInterrupted([&] { return ::pread(fd, to, n, offset); });
}

bool WriteAll(int fd, const void* from, std::size_t n) {
  const char* p = static_cast<const char*>(from);
  for (std::size_t done = 0; done < n;) {
    const ssize_t w = RetryInterrupted([&] { return ::write(fd, p + done, n - done); });
    if (w <= 0) return Failed(w);
    done += static_cast<std::size_t>(w);
  }
  return true;
}

bool WriteAllAt(int fd, const void* from, std::size_t n, off_t offset) {
  const char* p = static_cast<const char*>(from);
  for (std::size_t done = 0; done < n;) {
    const ssize_t w =
        RetryInterrupted([&] { return ::pwrite(fd, p + done, n - done, offset + static_cast<off_t>(done)); });
    if (w <= 0) return Failed(w);
    done += static_cast<std::size_t>(w);
  }
  return true;
}

}  // namespace posix_io
