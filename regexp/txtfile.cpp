#include "txtfile.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

#include "bytescan.h"
#include "engine_messages.h"
#include "exceptions.h"

// Normalisation happens once per block, when the block is read: zero bytes
// become spaces, CR LF becomes LF and a lone CR becomes LF.  Both cursors
// then walk the same clean bytes, and the main cursor's counting of line
// feeds sees every line end.  A CR that is the last byte of a block is held
// back (PendingCR) until the next block shows whether a line feed follows;
// at the end of the file it is a line end of its own.
//
// Reading the bytes once, eagerly, also settles two cases in which a reader
// that normalised per cursor would let the cursors disagree:
// - a lone CR met first by the look-ahead cursor reads as one line feed,
//   not as a line feed returned twice;
// - a CR that follows a lead byte is the trail byte 10 (or, as CR LF, the
//   pair lead, 10) for the look-ahead cursor too, as for the main cursor.
//
// Block changes: when a cursor consumes the last byte of Buffer and the file
// has more, the next block is read into Buffer.  The current line from
// LineStart to the end of the old data moves to Carry first (bytes before
// LineStart are dropped), so Carry is at most the current line plus any
// blocks the look-ahead ran through, never the whole file.

namespace {

// The text of an errno value, as the engine's Shift-JIS messages need it: the
// common cases in Japanese, the others as the C locale's (ASCII) text, never
// the text of whatever locale the front end has set.
std::string ErrorMessage(int error) {
  switch (error) {
    case ENOENT:
      return std::string(sjis_text::kMsgFileNotFound);
    case EACCES:
    case EPERM:
      return std::string(sjis_text::kMsgAccessDenied);
    case EISDIR:
      return std::string(sjis_text::kMsgIsDirectory);
    default:
      break;
  }
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  if (cLocale != static_cast<locale_t>(0)) return strerror_l(error, cLocale);
  return "I/O error " + std::to_string(error);
}

}  // namespace

TTxtFile::TFileHandle::~TFileHandle() {
  // A failing close of a file opened read-only loses nothing; a destructor
  // cannot report it anyway.
  if (Fd >= 0 && Owned) ::close(Fd);
}

TTxtFile::TTxtFile(const std::string& fileName, const bool* cancelFlag, TProcessMessages processMessages, bool keepCrLf)
    : TTxtFile(fileName, cancelFlag, std::move(processMessages), TReadOptions{.KeepCrLf = keepCrLf}) {}

TTxtFile::TTxtFile(const std::string& fileName, const bool* cancelFlag, TProcessMessages processMessages,
                   const TReadOptions& options)
    : FileName(fileName), CancelFlag(cancelFlag), ProcessMessages(std::move(processMessages)), Options(options) {
  Open();
  Start();
}

TTxtFile::TTxtFile(int fd, const std::string& displayName, const bool* cancelFlag, TProcessMessages processMessages,
                   const TReadOptions& options)
    : FileName(displayName), CancelFlag(cancelFlag), ProcessMessages(std::move(processMessages)), Options(options) {
  File.Fd = fd;
  File.Owned = false;
  Start();
}

TTxtFile::~TTxtFile() = default;

// Opens the file.  When only regular files are wanted, the open must not
// wait for the writer of a FIFO (or for a device), so it does not block;
// the flag is cleared again once the file has been found regular.
void TTxtFile::Open() {
  const int flags = O_RDONLY | O_CLOEXEC | (Options.RegularFilesOnly ? O_NONBLOCK : 0);
  do {
    File.Fd = ::open(FileName.c_str(), flags);
  } while (File.Fd < 0 && errno == EINTR);
  if (File.Fd < 0) throw EFileNotFound(ErrorMessage(errno));
}

// Checks what the descriptor is and reads the first block.
void TTxtFile::Start() {
  FLineCount = Options.LinesBefore;
  struct stat st;
  if (::fstat(File.Fd, &st) != 0) throw EFileNotFound(ErrorMessage(errno));
  if (S_ISDIR(st.st_mode)) throw EFileNotFound(std::string(sjis_text::kMsgIsDirectory));
  FillBlocks = S_ISREG(st.st_mode);
  if (Options.RegularFilesOnly) {
    if (!FillBlocks) throw EFileNotFound(std::string(sjis_text::kMsgNotRegularFile));
    const int flags = ::fcntl(File.Fd, F_GETFL);
    if (flags < 0 || ((flags & O_NONBLOCK) != 0 && ::fcntl(File.Fd, F_SETFL, flags & ~O_NONBLOCK) != 0))
      throw EFileNotFound(ErrorMessage(errno));
  }

  if (FillBlocks) StartOffset = ::lseek(File.Fd, 0, SEEK_CUR);
  Buffer = std::make_unique<unsigned char[]>(BufSize + Margin);
  Buffer[0] = '\n';  // the line feed before the first line
  const std::size_t got = ReadRaw(1);
  if (got == 0) throw EEndOfFile();
  Normalise(1, got);
  ++FeedsLeft;  // the line feed before the first line
  ProcessMessagesAndTestCancel();
}

// Reads to Buffer[offset]: from a regular file up to BufSize bytes, as many
// as the file gives, so that fewer than BufSize means a read returned
// nothing; from anything else what one read gives.  The end is reached only
// when a read returns nothing, however large the file said it was at open.
std::size_t TTxtFile::ReadRaw(std::size_t offset) {
  std::size_t got = 0;
  for (;;) {
    const ssize_t n = ::read(File.Fd, &Buffer[offset + got], BufSize - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EInOutError(ErrorMessage(errno));
    }
    if (n == 0) {
      AtEnd = true;
      break;
    }
    got += static_cast<std::size_t>(n);
    if (got == static_cast<std::size_t>(BufSize) || !FillBlocks) break;
  }
  return got;
}

[[noreturn]] void TTxtFile::LineTooLong(bool outOfMemory) const { throw ELineTooLong(FileName, outOfMemory); }

// A line of more than the bound raises ELineTooLong.
void TTxtFile::CheckLineLength(std::size_t bytes) const {
  if (Options.MaxLineBytes != 0 && bytes > Options.MaxLineBytes) LineTooLong(false);
}

// Normalises the count raw bytes at Buffer[offset] in place (they can only
// shrink), appends the final line feed when this is the last block and sets
// DataLen.  A CR held back from the previous block has been dealt with by
// the caller.
void TTxtFile::Normalise(std::size_t offset, std::size_t count) {
  char* const data = reinterpret_cast<char*>(&Buffer[offset]);
  bool endsInCR = false;
  std::size_t len;
  std::size_t feeds;
  if (Options.KeepCrLf && !HasZeroOrLoneCR(data, count, feeds)) {
    endsInCR = count > 0 && data[count - 1] == '\r';
    len = count - (endsInCR ? 1 : 0);
  } else {
    len = CleanLineEnds(data, count, endsInCR);
    feeds = Options.CountLines ? CountByte(data, len, '\n') : 0;
  }
  // A CR that ends the block: at the end of the file it is a line end of its
  // own, otherwise the next block decides.
  PendingCR = endsInCR && !AtEnd;
  if (endsInCR && AtEnd) {
    data[len++] = '\n';
    ++feeds;
  }

  if (len > 0) LastByte = static_cast<unsigned char>(data[len - 1]);
  if (AtEnd && LastByte != '\n') {
    data[len++] = '\n';
    ++feeds;
    LastByte = '\n';
  }
  data[len] = 0;
  data[len + 1] = 0;
  FeedsLeft = feeds;
  SetDataLen(static_cast<std::ptrdiff_t>(offset + len));
}

void TTxtFile::SetDataLen(std::ptrdiff_t len) {
  DataLen = len;
  FastEnd = len > 0 ? static_cast<std::size_t>(len - 1) : 0;
}

// Reads the next block into Buffer, keeping the current line from LineStart
// on in Carry, and moves the three positions so that they name the same
// bytes as before.
void TTxtFile::NextBlock() {
  Settle();
  const unsigned char* const data = Buffer.get();
  // Carry grows with the line; a line without end (a device of zero bytes, a
  // huge binary file) ends here, as the reader's own error, not as a crash.
  try {
    if (LineStart >= 0) {
      Carry.assign(reinterpret_cast<const char*>(data + LineStart), static_cast<std::size_t>(DataLen - LineStart));
    } else {
      Carry.erase(0, Carry.size() - static_cast<std::size_t>(-LineStart));
      CheckLineLength(Carry.size() + static_cast<std::size_t>(DataLen));
      Carry.append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(DataLen));
    }
  } catch (const std::bad_alloc&) {
    LineTooLong(true);
  } catch (const std::length_error&) {
    LineTooLong(true);
  }
  const std::ptrdiff_t oldLen = DataLen;
  const bool heldCR = PendingCR;

  const std::size_t got = ReadRaw(0);
  // A held-back CR followed by a line feed disappears (the line feed is
  // Buffer[0]); otherwise it is a line end of its own, the last byte of Carry.
  const bool loneCR = heldCR && (got == 0 || Buffer[0] != '\n');
  if (loneCR) Carry.push_back('\n');
  if (heldCR) LastByte = '\n';
  Normalise(0, got);

  const std::ptrdiff_t shift = oldLen + (loneCR ? 1 : 0);
  Cursor -= shift;
  CountedTo = Cursor;
  Ahead -= shift;
  LineStart = -static_cast<std::ptrdiff_t>(Carry.size());
  // A read that found the end brought nothing new to show.
  if (got > 0) ProcessMessagesAndTestCancel();
}

// Counts the line feeds between CountedTo and the main cursor: those in Carry
// directly, those in Buffer from whichever side is shorter, the bytes passed
// or the rest of the block (subtracted from the block's count).
void TTxtFile::Settle() {
  if (!Options.CountLines) {
    CountedTo = Cursor;
    return;
  }
  std::size_t feeds = 0;
  if (CountedTo < 0 && CountedTo < Cursor) {
    const std::ptrdiff_t carryEnd = std::min<std::ptrdiff_t>(Cursor, 0);
    feeds += CountByte(Carry.data() + (Carry.size() - static_cast<std::size_t>(-CountedTo)),
                       static_cast<std::size_t>(carryEnd - CountedTo), '\n');
    CountedTo = carryEnd;
  }
  if (CountedTo < Cursor) {
    const auto passed = static_cast<std::size_t>(Cursor - CountedTo);
    const auto rest = static_cast<std::size_t>(DataLen - Cursor);
    const char* const data = reinterpret_cast<const char*>(Buffer.get());
    const std::size_t inBuffer =
        passed <= rest ? CountByte(data + CountedTo, passed, '\n') : FeedsLeft - CountByte(data + Cursor, rest, '\n');
    FeedsLeft -= inBuffer;
    feeds += inBuffer;
    CountedTo = Cursor;
  }
  FLineCount += static_cast<std::int64_t>(feeds);
}

void TTxtFile::ProcessMessagesAndTestCancel() {
  if (ProcessMessages) ProcessMessages();
  if (CancelFlag != nullptr && *CancelFlag) throw ECancelRequest();
}

unsigned char TTxtFile::ByteAt(std::ptrdiff_t pos) const {
  if (pos < 0) return static_cast<unsigned char>(Carry[Carry.size() - static_cast<std::size_t>(-pos)]);
  if (pos < DataLen) return Buffer[static_cast<std::size_t>(pos)];
  return 0;
}

// The main cursor in Carry, on the last byte of Buffer, or at the end.  A
// block change happens as soon as the last buffered byte is consumed, so the
// main cursor raises EEndOfFile the moment it takes the file's last byte.
unsigned char TTxtFile::MainByteSlow() {
  if (Cursor >= DataLen) throw EEndOfFile();  // only at the end: blocks are read eagerly
  const unsigned char b = ByteAt(Cursor);
  ++Cursor;
  while (Cursor >= DataLen) {
    if (AtEnd) {
      // The file's last byte, always a line feed, ends the stream rather
      // than a line: it is not counted.
      --Cursor;
      Settle();
      CountedTo = ++Cursor;
      throw EEndOfFile();
    }
    // A line feed consumed here starts the next line; the old line need not
    // be kept.
    if (b == '\n') LineStart = Cursor;
    NextBlock();
  }
  return b;
}

unsigned char TTxtFile::AheadByteSlow() {
  if (Ahead >= DataLen) return 0;  // past the end of the file
  const unsigned char b = ByteAt(Ahead);
  ++Ahead;
  while (Ahead >= DataLen && !AtEnd) NextBlock();
  return b;
}

void TTxtFile::GetLine(LineInfo_t& lineInfo) {
  PassLine();
  FillLine(lineInfo);
}

void TTxtFile::PassLine() {
  ProcessMessagesAndTestCancel();
  if (MoveToLineEnd()) Ahead = Cursor;
}

// Moves the main cursor onto the line feed that ends the current line;
// false when it stands there already.
bool TTxtFile::MoveToLineEnd() {
  if (ByteAt(Cursor) == '\n') return false;
  // No line feed is passed on the way, so the cursor can jump: through the
  // rest of Carry and on into the block.
  if (Cursor < 0) {
    const std::size_t at = Carry.size() - static_cast<std::size_t>(-Cursor);
    const std::size_t found = Carry.find('\n', at);
    if (found != std::string::npos) {
      Cursor = -static_cast<std::ptrdiff_t>(Carry.size() - found);
      return true;
    }
    Cursor = 0;
    if (ByteAt(Cursor) == '\n') return true;
  }
  const void* feed = Cursor >= 0 ? std::memchr(&Buffer[static_cast<std::size_t>(Cursor)], '\n',
                                               static_cast<std::size_t>(DataLen - Cursor))
                                 : nullptr;
  if (feed != nullptr) {
    Cursor = static_cast<const unsigned char*>(feed) - Buffer.get();
  } else {
    do {
      MainByte();
    } while (ByteAt(Cursor) != '\n');
  }
  return true;
}

void TTxtFile::ConsumeLeading() {
  if (IsDBCSLeadByte(MainByte())) MainByte();
}

void TTxtFile::ReportBehind(LineInfo_t& lineInfo) {
  ConsumeLeading();
  ProcessMessagesAndTestCancel();
  MoveToLineEnd();
  FillLine(lineInfo);
}

// The line is cut into characters from its first byte (every line feed ends
// a character): an odd run of bytes that can be lead bytes just before its
// line feed leaves the last one paired with that line feed.
void TTxtFile::PassBehind(std::int64_t lines) {
  ConsumeLeading();
  MoveToLineEnd();
  // Lines in between: over each line end (a lead byte before it is
  // passed with the line, whatever it pairs with).
  for (std::int64_t k = 1; k < lines; ++k) {
    MainByte();
    MoveToLineEnd();
  }
  std::ptrdiff_t run = 0;
  while (Cursor - run > LineStart && IsDBCSLeadByte(ByteAt(Cursor - run - 1))) ++run;
  if (run % 2 == 1) --Cursor;
}

void TTxtFile::FillLine(LineInfo_t& lineInfo) {
  try {
    CopyLine(lineInfo.Line);
  } catch (const std::bad_alloc&) {
    LineTooLong(true);
  } catch (const std::length_error&) {
    LineTooLong(true);
  }
  Settle();
  lineInfo.LineNo = FLineCount;
}

// The current line's bytes, from LineStart up to the main cursor, without a
// kept CR at its end.
void TTxtFile::CopyLine(std::string& line) const {
  if (LineStart < 0) {
    const std::size_t from = Carry.size() - static_cast<std::size_t>(-LineStart);
    if (Cursor <= 0) {
      line.assign(Carry, from, static_cast<std::size_t>(Cursor - LineStart));
    } else {
      line.assign(Carry, from, std::string::npos);
      line.append(reinterpret_cast<const char*>(Buffer.get()), static_cast<std::size_t>(Cursor));
    }
  } else {
    line.assign(reinterpret_cast<const char*>(Buffer.get() + LineStart), static_cast<std::size_t>(Cursor - LineStart));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();  // a kept CR of a CR LF
}

// ---------------------------------------------------------------------------
// Line windows for the fast scan

std::string_view TTxtFile::LineWindow() {
  // The leading character: a line feed, or a lead byte with it (and with a
  // kept CR between them).
  const auto leadingLength = [this]() -> std::ptrdiff_t {
    if (!IsDBCSLeadByte(ByteAt(Cursor))) return 1;
    return ByteAt(Cursor + 1) == '\r' ? 3 : 2;
  };
  std::ptrdiff_t leading = leadingLength();
  while (Cursor + leading >= DataLen) {
    if (AtEnd) throw EEndOfFile();
    NextBlock();
    leading = leadingLength();
  }
  // Find the line feed that ends the line, reading blocks as needed.
  std::ptrdiff_t searched = leading;  // bytes from the cursor known to hold no line end
  std::ptrdiff_t end = -1;
  for (;;) {
    const std::ptrdiff_t from = Cursor + searched;
    if (from < 0) {
      const std::size_t at = Carry.size() - static_cast<std::size_t>(-from);
      const std::size_t found = Carry.find('\n', at);
      if (found != std::string::npos) {
        end = from + static_cast<std::ptrdiff_t>(found - at);
        break;
      }
      searched += static_cast<std::ptrdiff_t>(Carry.size() - at);
      continue;
    }
    const void* found =
        std::memchr(&Buffer[static_cast<std::size_t>(from)], '\n', static_cast<std::size_t>(DataLen - from));
    if (found != nullptr) {
      end = static_cast<const unsigned char*>(found) - Buffer.get();
      break;
    }
    searched = DataLen - Cursor;
    if (AtEnd) throw EEndOfFile();  // cannot happen: the stream ends with a line feed
    NextBlock();
  }
  if (Cursor >= 0)
    return {reinterpret_cast<const char*>(&Buffer[static_cast<std::size_t>(Cursor)]),
            static_cast<std::size_t>(end - Cursor + 1)};
  try {
    FWindow.assign(Carry, Carry.size() - static_cast<std::size_t>(-Cursor), std::string::npos);
    if (end >= 0)
      FWindow.append(reinterpret_cast<const char*>(Buffer.get()), static_cast<std::size_t>(end + 1));
    else
      FWindow.resize(FWindow.size() - static_cast<std::size_t>(-end - 1));
  } catch (const std::bad_alloc&) {
    LineTooLong(true);
  } catch (const std::length_error&) {
    LineTooLong(true);
  }
  return FWindow;
}

std::string_view TTxtFile::Buffered() const {
  if (Cursor < 0 || Cursor >= DataLen) return {};
  return {reinterpret_cast<const char*>(&Buffer[static_cast<std::size_t>(Cursor)]),
          static_cast<std::size_t>(DataLen - Cursor)};
}

void TTxtFile::AheadFrom(std::size_t n) {
  Ahead = Cursor + static_cast<std::ptrdiff_t>(n);
  // Blocks are read as soon as a cursor reaches the end of the buffered data.
  while (Ahead >= DataLen && !AtEnd) NextBlock();
}

void TTxtFile::Skip(std::string_view from, std::size_t n) {
  // The line the cursor lands in starts after the last line feed passed;
  // searched from the end, that is usually a short way back.
  if (const void* last = n > 0 ? memrchr(from.data(), '\n', n) : nullptr)
    LineStart = Cursor + (static_cast<const char*>(last) - from.data()) + 1;
  Cursor += static_cast<std::ptrdiff_t>(n);
  Ahead = Cursor;
}

std::string_view TTxtFile::AheadView() const {
  if (Ahead < 0 || Ahead >= DataLen) return {};
  return {reinterpret_cast<const char*>(&Buffer[static_cast<std::size_t>(Ahead)]),
          static_cast<std::size_t>(DataLen - Ahead)};
}

void TTxtFile::AheadSkip(std::size_t n) {
  Ahead += static_cast<std::ptrdiff_t>(n);
  while (Ahead >= DataLen && !AtEnd) NextBlock();
}

bool TTxtFile::MayHold(std::string_view bytes, bool foldCase) {
  if (!FillBlocks || bytes.empty() || bytes.find_first_of(std::string_view("\n\r \0", 4)) != std::string_view::npos)
    return true;
  // Chunks overlap by the length of the bytes less one, so that no
  // occurrence is cut.
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  const std::size_t overlap = bytes.size() - 1;
  std::string chunk(kChunk + overlap, '\0');
  std::size_t kept = 0;
  for (off_t offset = 0;;) {
    const ssize_t n = ::pread(File.Fd, chunk.data() + kept, kChunk, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return true;  // the reader's own reads report the error
    }
    if (n == 0) return false;
    offset += n;
    const std::string_view data(chunk.data(), kept + static_cast<std::size_t>(n));
    if (FindBytes(data, bytes, foldCase) < data.size()) return true;
    kept = std::min(overlap, data.size());
    std::memmove(chunk.data(), data.data() + data.size() - kept, kept);
    ProcessMessagesAndTestCancel();
  }
}

namespace {

// Where the last occurrence of bytes in data begins (data.size() when there
// is none), found from the end: the candidates are the places of the first
// byte (in either case with foldCase).
std::size_t FindLastBytes(std::string_view data, std::string_view bytes, bool foldCase) {
  const auto first = static_cast<unsigned char>(bytes.front());
  int other = first;
  if (foldCase && first >= 'a' && first <= 'z') other = first - 'a' + 'A';
  if (foldCase && first >= 'A' && first <= 'Z') other = first - 'A' + 'a';
  std::size_t end = data.size() >= bytes.size() ? data.size() - bytes.size() + 1 : 0;
  while (end > 0) {
    const void* a = memrchr(data.data(), first, end);
    const void* b = other != first ? memrchr(data.data(), other, end) : nullptr;
    const void* at = a == nullptr ? b : (b == nullptr ? a : std::max(a, b));
    if (at == nullptr) break;
    const auto pos = static_cast<std::size_t>(static_cast<const char*>(at) - data.data());
    if (FindBytes(data.substr(pos, bytes.size()), bytes, foldCase) == 0) return pos;
    end = pos;
  }
  return data.size();
}

// CR LF pairs that begin in data[0, n) (a CR at n - 1 pairs with data[n]).
std::size_t CountCrLf(const char* data, std::size_t n) {
  std::size_t pairs = 0;
  for (const char* p = data;
       (p = static_cast<const char*>(std::memchr(p, '\r', n - static_cast<std::size_t>(p - data)))) != nullptr; ++p)
    if (p[1] == '\n') ++pairs;
  return pairs;
}

// Line ends in data[0, n) as the reader counts them: line feeds, and CRs
// that data[n] or a later byte does not follow with a line feed (so a CR at
// n - 1 counts unless data[n] is a line feed, which the caller may not know
// yet).  Text without a lone CR (the common case, CR LF files included) is
// counted in one pass.
std::int64_t LineEnds(const char* data, std::size_t n) {
  if (n == 0) return 0;
  std::size_t feeds = 0;
  if (!HasZeroOrLoneCR(data, n, feeds)) return static_cast<std::int64_t>(feeds + (data[n - 1] == '\r' ? 1 : 0));
  const std::size_t crs = CountByte(data, n, '\r');
  return static_cast<std::int64_t>(CountByte(data, n, '\n') + crs - (crs > 0 ? CountCrLf(data, n) : 0));
}

}  // namespace

std::int64_t TTxtFile::LastLineHolding(std::string_view bytes, bool foldCase) {
  if (!FillBlocks || StartOffset < 0 || bytes.empty() ||
      bytes.find_first_of(std::string_view("\n\r \0", 4)) != std::string_view::npos)
    return -1;
  // Chunks overlap by the length of the bytes less one, so that no
  // occurrence is cut; line ends are counted in the bytes each chunk adds.
  // Line ends are line feeds and CRs, less the CRs that a line feed follows;
  // a CR that ends a chunk is paired with the byte read after it.
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  const std::size_t overlap = bytes.size() - 1;
  std::string chunk(kChunk + overlap + 1, '\0');
  std::size_t kept = 0;
  std::int64_t ends = 0;  // line ends before chunk[kept]
  std::int64_t last = 0;
  bool pendingCR = false;
  for (off_t offset = StartOffset;;) {
    const ssize_t n = ::pread(File.Fd, chunk.data() + kept, kChunk, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;  // the reader's own reads report the error
    }
    if (n == 0) return last;
    offset += n;
    const char* const fresh = chunk.data() + kept;
    const auto count = static_cast<std::size_t>(n);
    chunk[kept + count] = '\0';  // a CR at the end pairs with nothing yet
    if (pendingCR && fresh[0] == '\n') --ends;
    const std::string_view data(chunk.data(), kept + count);
    const std::size_t at = FindLastBytes(data, bytes, foldCase);
    if (at < data.size()) {
      // One that begins in the overlap runs on into the new bytes, with no
      // line end in between (it holds none).
      last = 1 + ends + LineEnds(fresh, at - std::min(at, kept));
    }
    ends += LineEnds(fresh, count);
    pendingCR = fresh[count - 1] == '\r';
    kept = std::min(overlap, data.size());
    std::memmove(chunk.data(), data.data() + data.size() - kept, kept);
    // A chunk that fills up usually has more behind it: a poll between
    // chunks, as between blocks.
    if (count == kChunk) ProcessMessagesAndTestCancel();
  }
}
