// The POSIX calls every layer makes on files, each retried when a signal
// interrupts it (the one place that does so), and the open of a file that
// must be a regular file, which never waits.  See posix_io.cpp.
#pragma once

#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <string>

namespace posix_io {

// Calls call() again for as long as it fails with EINTR; returns what it
// returned last (errno tells why when that is a failure, a negative value).
template <class Call>
auto RetryInterrupted(Call call) {
  for (;;) {
    const auto result = call();
    if (!(result < 0 && errno == EINTR)) return result;
  }
}

// open(2) with O_CLOEXEC added; -1 with errno set.
int Open(const std::string& path, int flags, mode_t mode = 0);

// Opens path with access (O_RDONLY, O_WRONLY, ...) and returns the
// descriptor; -1 when it cannot be opened, with error set to the error
// number, EISDIR for a directory and io_error::kNotRegularFile (see
// sjis/io_error.h) for anything else that is not a regular file.
int OpenRegular(const std::string& path, int access, int& error);

// Clears O_NONBLOCK of fd; false with errno set.
bool MakeBlocking(int fd);

// One read(2) / pread(2) of at most n bytes: the count, 0 at the end, -1 with
// errno set.
ssize_t Read(int fd, void* to, std::size_t n);
ssize_t ReadAt(int fd, void* to, std::size_t n, off_t offset);

// Writes all n bytes (at offset for WriteAllAt); false with errno set when a
// write fails.
bool WriteAll(int fd, const void* from, std::size_t n);
bool WriteAllAt(int fd, const void* from, std::size_t n, off_t offset);

}  // namespace posix_io
