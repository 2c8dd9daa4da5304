// A regular file mapped into memory whole, with a window that moves over it
// from start to end, so that the reader scans the file's pages where they
// lie instead of copying them out with read(); a file that shrinks under it
// is told by Lost() rather than ending the process.  See mappedwindow.cpp.
#pragma once

#include <sys/types.h>

#include <cstddef>

class TMappedWindow {
 public:
  // Maps the first fileBytes bytes of the file, for windows of capacity
  // bytes (rounded up to whole pages).  Ok() is false when the file cannot be
  // mapped (no address space, or more mappings alive at once than the
  // handler keeps track of); the reader then reads.
  TMappedWindow(int fd, std::size_t fileBytes, std::size_t capacity);
  ~TMappedWindow();
  TMappedWindow(const TMappedWindow&) = delete;
  TMappedWindow& operator=(const TMappedWindow&) = delete;

  bool Ok() const { return FSlot >= 0; }
  std::size_t Capacity() const { return FCapacity; }
  static std::size_t PageSize();

  // Moves the window to length bytes of the file from offset, at or after
  // the end of the window before; the bytes after the file's end, up to a
  // page past it, read as zero.  False when the window would pass the bytes
  // mapped (the file grew) or the bytes behind the old window cannot be read
  // back.
  bool Map(off_t offset, std::size_t length);
  // The window's first byte; Data()[-1] is writable, and so is every byte
  // up to Data()[length + 2].
  unsigned char* Data() const { return FFile + FOffset; }
  // Whether a page of the file went missing under the mapping.
  bool Lost() const;

 private:
  int FFd;
  std::size_t FFileBytes;  // the file's bytes that the mapping holds
  std::size_t FCapacity;
  unsigned char* FRegion = nullptr;  // the page before, the file, the pages after
  std::size_t FRegionBytes = 0;
  unsigned char* FFile = nullptr;  // the file's first byte
  std::size_t FOffset = 0;         // the window, in the file
  std::size_t FLength = 0;
  int FSlot = -1;
};
