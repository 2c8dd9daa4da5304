#include "mappedwindow.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>

namespace {

// The windows the handler knows, as plain atomics (a signal handler may read
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

// A fault in a window: a page of zero bytes over the lost page, and the
// window marked.  Anywhere else: the action set before, which the repeated
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

}  // namespace

std::size_t TMappedWindow::PageSize() {
  static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return page;
}

TMappedWindow::TMappedWindow(std::size_t capacity) : FCapacity(RoundUp(capacity, PageSize())) {
  if (!InstallHandler()) return;
  const std::size_t size = FCapacity + 2 * PageSize();
  void* region = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (region == MAP_FAILED) return;
  FRegion = static_cast<unsigned char*>(region);
  for (int k = 0; k < kSlots; ++k) {
    bool expected = false;
    if (!gSlots[k].Used.compare_exchange_strong(expected, true)) continue;
    gSlots[k].Lost.store(false);
    gSlots[k].End.store(reinterpret_cast<std::uintptr_t>(FRegion + size));
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
  if (FRegion != nullptr) ::munmap(FRegion, FCapacity + 2 * PageSize());
}

bool TMappedWindow::Map(int fd, off_t offset, std::size_t length) {
  if (!Ok() || length > FCapacity) return false;
  gSlots[FSlot].Lost.store(false);
  constexpr int kProtection = PROT_READ | PROT_WRITE;
  if (::mmap(Data(), FCapacity + PageSize(), kProtection, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED)
    return false;
  // Read-only: populating writable private pages would copy each of them.
  return length == 0 || ::mmap(Data(), RoundUp(length, PageSize()), PROT_READ, MAP_PRIVATE | MAP_FIXED | MAP_POPULATE,
                               fd, offset) != MAP_FAILED;
}

bool TMappedWindow::MakeWritable(std::size_t from, std::size_t to) {
  const std::size_t page = PageSize();
  const std::size_t begin = from / page * page;
  return to <= begin || ::mprotect(Data() + begin, RoundUp(to, page) - begin, PROT_READ | PROT_WRITE) == 0;
}

bool TMappedWindow::Lost() const { return FSlot >= 0 && gSlots[FSlot].Lost.load(); }
