// The file is mapped privately, at an address on a boundary of the
// system's large pages (the system can then map a long run of the file's
// pages at once), with a writable page before it and at least one after it.
// Moving the window gives back the pages of the window before; those of the
// new one are read in as the reader touches them (a run of them per fault),
// so that the file's pages held in memory stay about one window.  The
// reader writes where it cleans a window or ends it (the line feed before
// the first line, terminators behind a window); each page written becomes
// the process's own copy, and the file never changes.
// The bytes written behind a window are the next window's first bytes: they
// are read back from the file before the window moves on.
//
// A file that shrinks while it is mapped takes its pages with it: touching
// one raises SIGBUS.  A process-wide handler looks the address up among the
// mappings that exist; for one of them it puts a page of zero bytes where
// the lost page was and marks the mapping lost, and the access goes on.  The
// reader asks Lost() before it hands out a line and when it moves on, and
// reports a read error instead of lines that held the zero bytes.  Faults at
// any other address take whatever action was set before the handler.
#include "grep/mappedwindow.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>

namespace {

// The mappings the handler knows, as plain atomics (a signal handler may read
// nothing else): a slot is taken (Used), its range written, then Begin
// published; it is given up in the reverse order.
struct TSlot {
  std::atomic<bool> Used{false};
  std::atomic<std::uintptr_t> Begin{0};
  std::atomic<std::uintptr_t> End{0};
  std::atomic<bool> Lost{false};
};
static_assert(std::atomic<std::uintptr_t>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

constexpr int kSlots = 32;
TSlot gSlots[kSlots];
std::uintptr_t gPage = 0;
struct sigaction gPrevious;

// A fault in a mapping: a page of zero bytes over the lost page, and the
// mapping marked.  Anywhere else: the action set before, which the repeated
// access then takes.
void OnBus(int, siginfo_t* info, void*) {
  const int savedErrno = errno;
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (TSlot& slot : gSlots) {
    const std::uintptr_t begin = slot.Begin.load();
    if (begin == 0 || address < begin || address >= slot.End.load()) continue;
    void* page = reinterpret_cast<void*>(address & ~(gPage - 1));
    if (::mmap(page, gPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
      slot.Lost.store(true);
      errno = savedErrno;
      return;
    }
  }
  ::sigaction(SIGBUS, &gPrevious, nullptr);
  errno = savedErrno;
}

// Installs the handler once; false when it cannot be installed.
bool InstallHandler() {
  static const bool installed = [] {
    gPage = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action = {};
    action.sa_sigaction = OnBus;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGBUS, &action, &gPrevious) == 0;
  }();
  return installed;
}

std::size_t RoundUp(std::size_t n, std::size_t page) { return (n + page - 1) / page * page; }

// Where the file starts in its region: on a boundary of the system's large
// pages, so that runs of the file's pages can be mapped at once.
constexpr std::size_t kAlignment = std::size_t{2} << 20;

}  // namespace

std::size_t TMappedWindow::PageSize() {
  static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return page;
}

TMappedWindow::TMappedWindow(int fd, std::size_t fileSize, std::size_t capacity)
    : FFd(fd), FFileBytes(fileSize), FCapacity(RoundUp(capacity, PageSize())) {
  if (fileSize == 0 || !InstallHandler()) return;
  const std::size_t page = PageSize();
  const std::size_t fileBytes = RoundUp(fileSize, page);
  FRegionBytes = fileBytes + kAlignment + page;
  void* region = ::mmap(nullptr, FRegionBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (region == MAP_FAILED) return;
  FRegion = static_cast<unsigned char*>(region);
  // The first aligned address after a page of the region.
  const auto first = reinterpret_cast<std::uintptr_t>(FRegion) + page;
  FFile = FRegion + (RoundUp(first, kAlignment) - reinterpret_cast<std::uintptr_t>(FRegion));
  if (::mmap(FFile, fileBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_FIXED, fd, 0) == MAP_FAILED) return;
  for (int k = 0; k < kSlots; ++k) {
    bool expected = false;
    if (!gSlots[k].Used.compare_exchange_strong(expected, true)) continue;
    gSlots[k].Lost.store(false);
    gSlots[k].End.store(reinterpret_cast<std::uintptr_t>(FRegion + FRegionBytes));
    gSlots[k].Begin.store(reinterpret_cast<std::uintptr_t>(FRegion));
    FSlot = k;
    return;
  }
}

TMappedWindow::~TMappedWindow() {
  if (FSlot >= 0) {
    gSlots[FSlot].Begin.store(0);
    gSlots[FSlot].Used.store(false);
  }
  if (FRegion != nullptr) ::munmap(FRegion, FRegionBytes);
}

bool TMappedWindow::Map(off_t offset, std::size_t length) {
  const auto start = static_cast<std::size_t>(offset);
  if (!Ok() || length > FCapacity || start < FOffset + FLength || start + length > FFileBytes) return false;
  // The bytes behind the old window, where the reader wrote its
  // terminators, as the file has them (read, not touched through the
  // mapping, which would map a run of the pages after them too).
  if (FLength > 0) {
    const std::size_t behind = FOffset + FLength;
    const std::size_t count = std::min<std::size_t>(3, FFileBytes - behind);
    if (::pread(FFd, FFile + behind, count, static_cast<off_t>(behind)) != static_cast<ssize_t>(count)) return false;
  }
  // The old window's pages are no longer needed (the reader kept the bytes
  // it still wants).  Those of the new window are read in as they are
  // touched: a fault maps a run of them, which costs less than asking for
  // the whole window at once.
  const std::size_t page = PageSize();
  const std::size_t oldFrom = FOffset / page * page;
  const std::size_t newFrom = start / page * page;
  if (FLength > 0 && newFrom > oldFrom) ::madvise(FFile + oldFrom, newFrom - oldFrom, MADV_DONTNEED);
  FOffset = start;
  FLength = length;
  return true;
}

bool TMappedWindow::Lost() const { return FSlot >= 0 && gSlots[FSlot].Lost.load(); }
