// Cleaning happens once per block: zero bytes become spaces, CR LF becomes LF
// and a lone CR becomes LF (with KeepCrLf, text without a zero byte or a lone
// CR keeps its CR LF).  With LazyCheck a block is left as it was read, and
// its reader checks only the bytes it hands out (NeedsCleaning), cleaning
// the rest of the block from there when they need it (CleanRest).  A CR that
// is the last byte of a block is held back until the next block shows
// whether a line feed follows; at the end of the file it is a line end of
// its own (with LazyCheck too).  The last block ends with a line feed,
// appended when the file does not end with one, and every block is followed
// by two zero bytes, for scans that want a terminator.
//
// The end of the file is where a read returns nothing, not the size the file
// had at open: pipes, FIFOs, files whose size reads 0 and files that grow
// while they are read are read to their end.  A regular file is read until a
// block is full; anything else (a pipe, a terminal) hands on what one read
// gave, so that its lines are reported as they come.
//
// A large regular file may instead be mapped a window at a time
// (TReadOptions::MapBytes, mappedwindow.h): a window is a block, and its end
// is where the file's size, asked before each window, says the file ends.
// Scanning the file's pages in place spares the copy of every byte that a
// read makes.  A window is cleaned in place like a block read (it is the
// process's own copy of the pages it writes).  When the file shrinks under a
// window, the reader raises EInOutError rather than hand out a line of the
// lost bytes (Lost, CheckLost).
#include "grep/blockbuffer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "sjis/bytescan.h"
#include "sjis/exceptions.h"
#include "sjis/io_error.h"
#include "sjis/messages.h"
#include "sjis/posix_io.h"

TBlockBuffer::TFileHandle::~TFileHandle() {
  // A failing close of a file opened read-only loses nothing; a destructor
  // cannot report it anyway.
  if (Fd >= 0 && Owned) ::close(Fd);
}

TBlockBuffer::TBlockBuffer(const std::string& fileName, const TReadOptions& options)
    : FName(fileName), FOptions(options) {
  Open();
  Check();
}

TBlockBuffer::TBlockBuffer(int fd, const std::string& displayName, const TReadOptions& options)
    : FName(displayName), FOptions(options) {
  FFile.Fd = fd;
  FFile.Owned = false;
  Check();
}

// Opens the file.  When only regular files are wanted, the open must not
// wait for the writer of a FIFO (or for a device), so it does not block;
// the flag is cleared again once the file has been found regular.
void TBlockBuffer::Open() {
  FFile.Fd = posix_io::Open(FName, O_RDONLY | (FOptions.RegularFilesOnly ? O_NONBLOCK : 0));
  if (FFile.Fd < 0) throw EFileNotFound(errno);
}

// Checks what the descriptor is.
void TBlockBuffer::Check() {
  struct stat st;
  if (::fstat(FFile.Fd, &st) != 0) throw EFileNotFound(errno);
  if (S_ISDIR(st.st_mode)) throw EFileNotFound(EISDIR);
  FRegular = S_ISREG(st.st_mode);
  if (FOptions.RegularFilesOnly) {
    if (!FRegular) throw EFileNotFound(io_error::kNotRegularFile);
    if (!posix_io::MakeBlocking(FFile.Fd)) throw EFileNotFound(errno);
  }
  if (FRegular) FStartOffset = FOptions.AtStart ? 0 : ::lseek(FFile.Fd, 0, SEEK_CUR);
  FReadTo = FStartOffset;
  FSizeAtOpen = st.st_size;
}

// Maps a regular file that the reader opened itself (so that no one else
// expects its read position to move) and that is large enough for mapping to
// pay, when its lines are read with their CR LF kept (so that the usual
// window is used as it lies).  Without a window the file is read.
void TBlockBuffer::StartMapping() {
  if (FOptions.MapBytes == 0 || !FOptions.KeepCrLf || !FRegular || !FFile.Owned || FStartOffset != 0 ||
      FSizeAtOpen < static_cast<off_t>(FOptions.MapBytes))
    return;
  FWindow = std::make_unique<TMappedWindow>(FFile.Fd, static_cast<std::size_t>(FSizeAtOpen), FOptions.MapBytes);
  if (!FWindow->Ok()) FWindow.reset();
}

void TBlockBuffer::CheckLost() const {
  if (Lost()) throw EInOutError(std::string(sjis_text::kMsgFileShrank));
}

bool TBlockBuffer::ReadFirst() {
  StartMapping();
  FGot = Fetch(1);
  if (FGot == 0) return false;
  if (FOptions.ZeroProbeBytes > 0)
    FZeroInProbe = std::memchr(FData + 1, 0, std::min(FGot, FOptions.ZeroProbeBytes)) != nullptr;
  FData[0] = '\n';  // the line feed before the first line
  Clean(1, FGot);
  ++FFeeds;  // the line feed before the first line
  return true;
}

void TBlockBuffer::ReadNext(bool& loneCR) {
  CheckLost();
  const bool heldCR = FPendingCR;
  FGot = Fetch(0);
  // A held-back CR followed by a line feed disappears (the line feed is
  // Data()[0]); otherwise it is a line end of its own.
  loneCR = heldCR && (FGot == 0 || FData[0] != '\n');
  if (heldCR) FLastByte = '\n';
  Clean(0, FGot);
  if (heldCR && !loneCR && FOptions.KeepInputBytes) FEdits.insert(FEdits.begin(), TEdit{0, '\r', true});
}

// The next block's raw bytes at Data()[offset]: the next window, or a read.
std::size_t TBlockBuffer::Fetch(std::size_t offset) {
  if (FWindow) return MapRaw(offset);
  return ReadRaw(offset);
}

// Maps the next window so that it starts at Data()[offset] (the page before
// the window takes the first block's line feed).  The file ends where its
// size says: a window short of full is the last, and so is an empty one
// (kept in the buffer, where the final line feed can go).  When a window
// cannot be mapped, the file is read from there on.
std::size_t TBlockBuffer::MapRaw(std::size_t offset) {
  struct stat st;
  if (::fstat(FFile.Fd, &st) != 0) throw EInOutError(errno);
  const std::size_t got =
      st.st_size > FMapOffset ? std::min(FWindow->Capacity(), static_cast<std::size_t>(st.st_size - FMapOffset)) : 0;
  if (got == 0 || !FWindow->Map(FMapOffset, got)) {
    const off_t at = FMapOffset;
    FWindow.reset();
    if (::lseek(FFile.Fd, at, SEEK_SET) != at) throw EInOutError(errno);
    FReadTo = at;
    return ReadRaw(offset);
  }
  FMapOffset += static_cast<off_t>(got);
  FAtEnd = got < FWindow->Capacity();
  FData = FWindow->Data() - offset;
  return got;
}

// Reads to FBuffer[offset]: from a regular file up to BufSize bytes, as many
// as the file gives, so that fewer than BufSize means the end; from anything
// else what one read gives.  The end is where a read returns nothing,
// however large the file said it was at open, or where a read of a regular
// file comes back short at or past that size (a read at the end would only
// return nothing, a cost that many small files notice).  A file system that
// returns short reads inside a file is read on, and so is a file that says
// it is empty (the kernel's tables in /proc come a page a read).
std::size_t TBlockBuffer::ReadRaw(std::size_t offset) {
  if (!FBuffer) FBuffer = std::make_unique_for_overwrite<unsigned char[]>(BufSize + Margin);
  FData = FBuffer.get();
  std::size_t got = 0;
  for (;;) {
    const ssize_t n = posix_io::Read(FFile.Fd, &FBuffer[offset + got], BufSize - got);
    if (n < 0) throw EInOutError(errno);
    if (n == 0) {
      FAtEnd = true;
      break;
    }
    got += static_cast<std::size_t>(n);
    FReadTo += n;
    if (got == static_cast<std::size_t>(BufSize) || !FRegular) break;
    if (FStartOffset >= 0 && FSizeAtOpen > 0 && FReadTo >= FSizeAtOpen) {
      FAtEnd = true;
      break;
    }
  }
  return got;
}

// Cleans the count raw bytes at Data()[offset] in place (they can only
// shrink), appends the final line feed when this is the last block and sets
// the block's length.  A CR held back from the previous block has been dealt
// with by the caller.
void TBlockBuffer::Clean(std::size_t offset, std::size_t count) {
  char* const data = reinterpret_cast<char*>(FData + offset);
  bool endsInCR = false;
  std::size_t len;
  std::size_t feeds = 0;
  FEdits.clear();
  FAppendedAt = -1;
  // A file that ends in two CRs is cleaned at once: its last CR becomes the
  // final line feed, which would make the lone CR before it look like CR LF.
  FRaw = FOptions.KeepCrLf && FOptions.LazyCheck && !FOptions.CountLines && FOptions.MaxLineBytes == 0 &&
         !FOptions.KeepInputBytes && !(FAtEnd && count >= 2 && data[count - 1] == '\r' && data[count - 2] == '\r');
  if (FRaw || (FOptions.KeepCrLf && !HasZeroOrLoneCR(data, count, feeds))) {
    endsInCR = count > 0 && data[count - 1] == '\r';
    len = count - (endsInCR ? 1 : 0);
  } else {
    if (FOptions.KeepInputBytes) NoteEdits(offset, data, count);
    len = CleanLineEnds(data, count, endsInCR);
    feeds = FOptions.CountLines ? CountByte(data, len, '\n') : 0;
  }
  // A CR that ends the block: at the end of the file it is a line end of its
  // own, otherwise the next block decides.
  FPendingCR = endsInCR && !FAtEnd;
  if (endsInCR && FAtEnd) {
    if (FOptions.KeepInputBytes) FEdits.push_back({offset + len, '\r', false});
    data[len++] = '\n';
    ++feeds;
  }

  if (len > 0) FLastByte = static_cast<unsigned char>(data[len - 1]);
  if (FAtEnd && FLastByte != '\n') {
    FAppendedAt = static_cast<std::ptrdiff_t>(offset + len);
    data[len++] = '\n';
    ++feeds;
    FLastByte = '\n';
  }
  if (FOptions.LoneLeadBytes) RewriteLoneLeads(offset, offset + len, FPendingCR);
  data[len] = 0;
  data[len + 1] = 0;
  FFeeds = feeds;
  FLength = static_cast<std::ptrdiff_t>(offset + len);
  // Unless the block was left as read, the check above touched every byte
  // of a mapped window: a page lost to the file shrinking before then shows
  // now.
  CheckLost();
}

bool TBlockBuffer::NeedsCleaning(std::size_t from, std::size_t to) const {
  if (from >= to) return false;
  const char* const data = reinterpret_cast<const char*>(FData);
  std::size_t feeds;
  // Data()[to] is a byte of the block or the zero behind it.
  return HasZeroOrLoneCR(data + from, to - from, feeds) || (data[to - 1] == '\r' && data[to] != '\n');
}

void TBlockBuffer::CleanRest(std::size_t from) {
  char* const data = reinterpret_cast<char*>(FData);
  bool endsInCR = false;
  std::size_t len = from + CleanLineEnds(data + from, static_cast<std::size_t>(FLength) - from, endsInCR);
  // A CR can end the block only when the CR after it was held back: it is a
  // lone CR (the last block ends with a line feed).
  if (endsInCR) data[len++] = '\n';
  if (len > 0) FLastByte = static_cast<unsigned char>(data[len - 1]);
  data[len] = 0;
  data[len + 1] = 0;
  FLength = static_cast<std::ptrdiff_t>(len);
}
