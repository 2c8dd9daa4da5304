// The reader presents the file as a stream of lines: a line feed stands
// before the first line, CR LF and a lone CR read as one line feed, a zero
// byte reads as a space, and a line feed is appended when the file does not
// end with one.  Two cursors walk the stream: the main cursor, which defines
// the current line and counts lines, and the look-ahead cursor, with which a
// match attempt runs ahead and which every GetChar resets to the main cursor.
// The bytes of the current line stay available however many blocks it spans
// (Carry holds the part that lay in earlier blocks).
//
// After every block read and before every returned line the reader calls the
// caller's message pump (so a window can repaint and its Cancel button can
// run) and then tests the caller's cancel flag.
//
// Blocks are read and cleaned by TBlockBuffer (see blockbuffer.h): the end of
// the file is where a read returns nothing, and only the bytes after the
// last line feed at that end make a line that the reader closes itself.  Both
// cursors walk the same clean bytes, and the main cursor's counting of line
// feeds sees every line end.  Reading the bytes once, eagerly, settles two
// cases in which a reader that cleaned per cursor would let the cursors
// disagree:
// - a lone CR met first by the look-ahead cursor reads as one line feed,
//   not as a line feed returned twice;
// - a CR that follows a lead byte is the trail byte 10 (or, as CR LF, the
//   pair lead, 10) for the look-ahead cursor too, as for the main cursor.
// The one exception, TReadOptions::LazyCheck, has no line counting: only the
// bytes handed out as line windows are checked (see LineWindow), and the
// lines that the look-ahead cursor enters, before it reads them (see
// AheadByteSlow).
//
// Block changes: when a cursor consumes the last byte of the block and the
// file has more, the next block is read.  The current line from LineStart to
// the end of the old data moves to Carry first (bytes before LineStart are
// dropped), so Carry is at most the current line plus any blocks the
// look-ahead ran through, never the whole file.
#include "grep/txtfile.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "grep/filesearch.h"
#include "sjis/bytescan.h"
#include "sjis/exceptions.h"

TTxtFile::TTxtFile(const std::string& fileName, const bool* cancelFlag, TProcessMessages processMessages, bool keepCrLf)
    : TTxtFile(fileName, cancelFlag, std::move(processMessages), TReadOptions{.KeepCrLf = keepCrLf}) {}

TTxtFile::TTxtFile(const std::string& fileName, const bool* cancelFlag, TProcessMessages processMessages,
                   const TReadOptions& options)
    : CancelFlag(cancelFlag), ProcessMessages(std::move(processMessages)), Options(options), Block(fileName, options) {
  Start();
}

TTxtFile::TTxtFile(int fd, const std::string& displayName, const bool* cancelFlag, TProcessMessages processMessages,
                   const TReadOptions& options)
    : CancelFlag(cancelFlag),
      ProcessMessages(std::move(processMessages)),
      Options(options),
      Block(fd, displayName, options) {
  Start();
}

TTxtFile::~TTxtFile() = default;

// Reads the first block.
void TTxtFile::Start() {
  FLineCount = Options.LinesBefore;
  HandedLineNo = Options.LinesBefore + 1;
  if (!Block.ReadFirst()) throw EEndOfFile();
  TakeBlock();
  TakeEdits();
  ProcessMessagesAndTestCancel();
}

[[noreturn]] void TTxtFile::LineTooLong(bool outOfMemory) const { throw ELineTooLong(Block.Name(), outOfMemory); }

// The end of the file, unless a mapped window lost bytes on the way.
[[noreturn]] void TTxtFile::EndOfFile() const {
  Block.CheckLost();
  throw EEndOfFile();
}

// A line of more than the bound raises ELineTooLong.
void TTxtFile::CheckLineLength(std::size_t bytes) const {
  if (Options.MaxLineBytes != 0 && bytes > Options.MaxLineBytes) LineTooLong(false);
}

// Starts on the block just read: its bytes, its line feeds, and none of
// its windows checked yet.
void TTxtFile::TakeBlock() {
  Buffer = Block.Data();
  SetBounds(Block.Length(), Block.Raw() ? 0 : kNothingRaw);
  WindowsInBlock = 0;
  FeedsLeft = Block.Feeds();
}

void TTxtFile::SetBounds(std::ptrdiff_t len, std::ptrdiff_t rawFrom) {
  DataLen = len;
  RawFrom = rawFrom;
  FastEnd = len > 0 ? static_cast<std::size_t>(std::min(len - 1, rawFrom)) : 0;
}

// Reads the next block into Buffer, keeping the current line from LineStart
// on in Carry, and moves the three positions so that they name the same
// bytes as before.
void TTxtFile::NextBlock() {
  Settle();
  if (OnPassed) HandPassed(LineStart);
  const unsigned char* const data = Buffer;
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
  bool loneCR = false;
  Block.ReadNext(loneCR);
  TakeBlock();
  // The old block's last byte, a lead byte, has a line end after it.
  if (Block.LoneLeadBefore()) {
    if (Options.KeepInputBytes) Edits.Rewritten(StreamBase + oldLen - 1, static_cast<unsigned char>(Carry.back()));
    Carry.back() = static_cast<char>(kLoneLeadByte);
  }
  // A lone CR held back from the old block is a line end of its own, the
  // last byte of Carry.
  if (loneCR) {
    if (Options.KeepInputBytes) Edits.Rewritten(StreamBase + oldLen, '\r');
    Carry.push_back('\n');
  }

  const std::ptrdiff_t shift = oldLen + (loneCR ? 1 : 0);
  Cursor -= shift;
  CountedTo = Cursor;
  Ahead -= shift;
  LineStart = -static_cast<std::ptrdiff_t>(Carry.size());
  StreamBase += shift;
  TakeEdits();
  // A read that found the end brought nothing new to show.
  if (Block.GotBytes()) ProcessMessagesAndTestCancel();
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
    const char* const data = reinterpret_cast<const char*>(Buffer);
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
  if (Cursor >= DataLen) EndOfFile();  // only at the end: blocks are read eagerly
  unsigned char b = ByteAt(Cursor);
  ++Cursor;
  while (Cursor >= DataLen) {
    if (Block.AtEnd()) {
      // The file's last byte, always a line feed, ends the stream rather
      // than a line: it is not counted.
      --Cursor;
      Settle();
      CountedTo = ++Cursor;
      EndOfFile();
    }
    // A line feed consumed here starts the next line; the old line need not
    // be kept.
    if (b == '\n') LineStart = Cursor;
    NextBlock();
    // A lead byte that the new block's line end follows was rewritten.
    if (IsDBCSLeadByte(b)) b = ByteAt(Cursor - 1);
  }
  return b;
}

unsigned char TTxtFile::AheadByteSlow() {
  if (Ahead >= RawFrom && Ahead < DataLen) {
    // Bytes as read: the line the look-ahead enters is checked first (and
    // the rest of the block cleaned when it needs it, which moves no byte
    // before the look-ahead cursor).
    const void* feed =
        std::memchr(&Buffer[static_cast<std::size_t>(Ahead)], '\n', static_cast<std::size_t>(DataLen - Ahead));
    CleanedUpTo(feed != nullptr ? static_cast<const unsigned char*>(feed) - Buffer + 1 : DataLen);
  }
  if (Ahead >= DataLen) return 0;  // past the end of the file
  unsigned char b = ByteAt(Ahead);
  ++Ahead;
  while (Ahead >= DataLen && !Block.AtEnd()) {
    NextBlock();
    if (IsDBCSLeadByte(b)) b = ByteAt(Ahead - 1);  // see MainByteSlow
  }
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
    Cursor = static_cast<const unsigned char*>(feed) - Buffer;
  } else {
    do {
      MainByte();
    } while (ByteAt(Cursor) != '\n');
  }
  return true;
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
  Block.CheckLost();  // never a line of bytes lost under a mapped window
  if (LineStart < 0) {
    const std::size_t from = Carry.size() - static_cast<std::size_t>(-LineStart);
    if (Cursor <= 0) {
      line.assign(Carry, from, static_cast<std::size_t>(Cursor - LineStart));
    } else {
      line.assign(Carry, from, std::string::npos);
      line.append(reinterpret_cast<const char*>(Buffer), static_cast<std::size_t>(Cursor));
    }
  } else {
    line.assign(reinterpret_cast<const char*>(Buffer + LineStart), static_cast<std::size_t>(Cursor - LineStart));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();  // a kept CR of a CR LF
}

// Makes sure that Buffer[Cursor, end) was checked: false when its bytes are
// clean text as they stand (bytes as read, without a zero byte or a lone CR,
// are the cleaned text with CR LF kept), true when the rest of the block from
// the cursor had to be cleaned, which moved bytes after the cursor.
bool TTxtFile::CleanedUpTo(std::ptrdiff_t end) {
  const std::ptrdiff_t from = std::max(Cursor, RawFrom);
  if (from >= end) return false;
  if (!Block.NeedsCleaning(static_cast<std::size_t>(from), static_cast<std::size_t>(end))) {
    SetBounds(DataLen, end);
    return false;
  }
  Block.CleanRest(static_cast<std::size_t>(from));
  SetBounds(Block.Length(), kNothingRaw);
  return true;
}

// The whole-file searches of filesearch.h, for bytes that the reader does not
// rewrite, where the file allows them (LastLineHolding: txtfile_behind.cpp).

bool TTxtFile::MayHold(std::string_view bytes, bool foldCase) {
  if (!Block.Regular() || !Searchable(bytes)) return true;
  return FileMayHold(Block.Fd(), bytes, foldCase, [this] { ProcessMessagesAndTestCancel(); });
}

bool TTxtFile::Searchable(std::string_view bytes) {
  return !bytes.empty() && bytes.find_first_of(std::string_view("\n\r \0", 4)) == std::string_view::npos;
}
