// A window of a regular file mapped into memory, so that the reader scans
// the file's pages where they lie instead of copying them out with read().
//
// The window is one reserved region: a writable page, the window proper,
// and a writable page behind it.  Each Map() puts anonymous memory over the
// whole region and the file's pages, privately and read-only, over the start
// of the window.  The reader writes the line feed before the first line into
// the page before; the pages where it cleans or ends a block it first makes
// writable, and each page written becomes the process's own copy (the file
// never changes).
//
// A file that shrinks while it is mapped takes its pages with it: touching
// one raises SIGBUS.  A process-wide handler looks the address up among the
// windows that exist; for one of them it puts a page of zero bytes where the
// lost page was and marks the window lost, and the access goes on.  The
// reader asks Lost() before it hands out a line and when it moves on, and
// reports a read error instead of lines that held the zero bytes.  Faults at
// any other address take whatever action was set before the handler.
#pragma once

#include <sys/types.h>

#include <cstddef>

class TMappedWindow {
 public:
  // Reserves a window of capacity bytes (rounded up to whole pages).  Ok()
  // is false when no window can be had (no address space, or more windows
  // alive at once than the handler keeps track of); the reader then reads.
  explicit TMappedWindow(std::size_t capacity);
  ~TMappedWindow();
  TMappedWindow(const TMappedWindow&) = delete;
  TMappedWindow& operator=(const TMappedWindow&) = delete;

  bool Ok() const { return FSlot >= 0; }
  std::size_t Capacity() const { return FCapacity; }
  static std::size_t PageSize();

  // Maps length bytes of the file from offset (a multiple of the page size;
  // length at most Capacity()) at Data(); the bytes after them, up to a page
  // past the window, read as zero.  False when the mapping fails.
  bool Map(int fd, off_t offset, std::size_t length);
  // Lets [from, to) of the window (whole pages around it) be written.
  bool MakeWritable(std::size_t from, std::size_t to);
  // The window's first byte; Data()[-1] is writable.
  unsigned char* Data() const { return FRegion + PageSize(); }
  // Whether a page of the file went missing under the window since the last
  // Map().
  bool Lost() const;

 private:
  unsigned char* FRegion = nullptr;
  std::size_t FCapacity = 0;
  int FSlot = -1;
};
