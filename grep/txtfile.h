// The text file reader: one file, read from start to end in blocks, handed
// out as Shift-JIS characters (16-bit codes, a double-byte pair as one code)
// and as lines with their numbers.
//
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
// The blocks are read and cleaned by TBlockBuffer (blockbuffer.h): the end
// of the file is where a read returns nothing, and only the bytes after the
// last line feed at that end make a line that the reader closes itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "grep/blockbuffer.h"
#include "sjis/sjis.h"

// One reported line: its bytes without the line terminator, and its 1-based
// number in the file.
struct LineInfo_t {
  std::string Line;
  std::int64_t LineNo = 0;
};

// Lets pending window messages be processed; empty when there is no window.
using TProcessMessages = std::function<void()>;

class TTxtFile {
 public:
  // Opens the file and reads the first block.  Raises EFileNotFound when the
  // file cannot be opened, EEndOfFile when it is empty, ECancelRequest when
  // the cancel flag is set, EInOutError on a read error; nothing stays open.
  //
  // With keepCrLf the CR of a CR LF stays in the text (a block with a zero
  // byte or a lone CR is still cleaned whole): only for scans that read
  // lines through LineWindow and know that a CR before a line feed belongs
  // to the line end.  GetLine then leaves that CR out of the line.
  //
  // A line that outgrows memory (or options.MaxLineBytes) raises
  // ELineTooLong, naming the file.
  TTxtFile(const std::string& fileName, const bool* cancelFlag, TProcessMessages processMessages = {},
           bool keepCrLf = false);
  TTxtFile(const std::string& fileName, const bool* cancelFlag, TProcessMessages processMessages,
           const TReadOptions& options);
  // Reads a descriptor that is already open (standard input, a pipe) from
  // where it stands; the descriptor stays open.  displayName names it in
  // messages.
  TTxtFile(int fd, const std::string& displayName, const bool* cancelFlag, TProcessMessages processMessages,
           const TReadOptions& options);
  TTxtFile(const TTxtFile&) = delete;
  TTxtFile& operator=(const TTxtFile&) = delete;
  ~TTxtFile();

  // The next character at the main cursor; afterwards the look-ahead cursor
  // stands at the main cursor.  Raises EEndOfFile as the main cursor consumes
  // the last byte of the file (always a line feed).
  TCharCode GetChar();
  // The next character at the look-ahead cursor; 0 on every call once the
  // look-ahead has passed the end of the file.  Never raises EEndOfFile.
  TCharCode GetAheadChar();
  // The current line and its number; leaves the main cursor on the line feed
  // that ends the line.  Processes messages and tests the cancel flag first.
  void GetLine(LineInfo_t& lineInfo);
  // The same without the line: only the main cursor moves.
  void PassLine();
  // Processes messages and tests the cancel flag, as a block read does; for
  // a scan that can work long without reading a block or reporting a line.
  void Poll() { ProcessMessagesAndTestCancel(); }

  // Line-at-a-time access for the grep's fast scan.  Between lines the main
  // cursor stands on a line's leading character: the line feed that ends the
  // previous line (the sentinel for the first line), or a lead byte paired
  // with that line feed (with a kept CR between them).
  //
  // LineWindow returns the bytes from the main cursor through the next line
  // feed after the leading character, contiguous (copied when they span
  // blocks); when the leading character holds the file's last byte it raises
  // EEndOfFile, as GetChar would on consuming it.  Buffered returns the bytes
  // from the main cursor to the end of the current block (empty while the
  // cursor is in Carry).  Skip moves the main cursor over the first n bytes
  // of such a view; it must land on a byte of the view.
  //
  // With TReadOptions::LazyCheck, Buffered returns the bytes as read, and
  // LineWindow checks the ones it returns (after a few windows from one
  // block, the rest of the block at once): when they hold a zero byte or a
  // lone CR, the rest of the block from the main cursor is cleaned first
  // (the bytes passed over stay as they are); the look-ahead checks the
  // lines it enters itself.
  //
  // AheadFrom sets the look-ahead cursor n bytes past the main cursor, for
  // an attempt that runs on past a line window (whose bytes it may then
  // replace: get the window again afterwards).
  std::string_view LineWindow();
  // For a scan that runs the look-ahead through the file once and decides
  // about lines behind it: the bytes from the look-ahead cursor to the end of
  // the block (empty while it is in Carry or at the end), moving it over n of
  // them, and whether it has passed the file's last byte.  ReportBehind and
  // PassBehind move the main cursor from a line's leading character over the
  // line, which the look-ahead has passed, and leave the look-ahead where it
  // is: ReportBehind as GetLine does (messages, cancel flag, the line),
  // PassBehind over the given number of lines onto the next line's leading
  // character (the line feed, or a lead byte before it that pairs with it).
  std::string_view AheadView() const;
  void AheadSkip(std::size_t n);
  bool AheadAtEnd() const { return Ahead >= DataLen && Block.AtEnd(); }
  void ReportBehind(LineInfo_t& lineInfo);
  // Whether the file may hold the bytes anywhere (with foldCase, their ASCII
  // letters in either case): false only when a regular file was searched
  // whole, from its start, without finding them.  The bytes must hold no
  // byte that the reader rewrites (line ends, zero bytes, spaces), so that
  // their absence from the file means their absence from the text read.
  // Polls like a block read; the read position does not move.
  bool MayHold(std::string_view bytes, bool foldCase);
  // The number of the last line that holds the bytes (as MayHold looks for
  // them, counted from the line the reader started on as 1), 0 when no line
  // holds them, -1 when that cannot be known before reading (not a regular
  // file, or bytes that the reader rewrites).  A regular file is read whole,
  // from where the reader started, with line ends counted as the reader
  // counts them (LF, CR LF, a lone CR).  The read position does not move.
  std::int64_t LastLineHolding(std::string_view bytes, bool foldCase);
  void PassBehind(std::int64_t lines = 1);
  std::string_view Buffered() const;
  void Skip(std::string_view from, std::size_t n);
  void AheadFrom(std::size_t n);

  // The line feeds the main cursor has passed.
  std::int64_t LineCount() {
    Settle();
    return FLineCount;
  }
  // Bytes of earlier blocks kept for the current line (and for a look-ahead
  // that ran past the block the main cursor is in).
  std::size_t CarriedBytes() const { return Carry.size(); }

  static constexpr int BufSize = TBlockBuffer::BufSize;  // bytes requested per block read

 private:
  void Start();
  [[noreturn]] void LineTooLong(bool outOfMemory) const;
  [[noreturn]] void EndOfFile() const;
  void CheckLineLength(std::size_t bytes) const;
  void CopyLine(std::string& line) const;
  bool MoveToLineEnd();
  void ConsumeLeading();
  void FillLine(LineInfo_t& lineInfo);

  unsigned char MainByte();
  unsigned char MainByteSlow();
  unsigned char AheadByte();
  unsigned char AheadByteSlow();
  unsigned char ByteAt(std::ptrdiff_t pos) const;
  void NextBlock();
  void TakeBlock();
  bool NextBlockForLine();
  inline bool FindWindowEnd(std::ptrdiff_t& end);
  bool CleanedUpTo(std::ptrdiff_t end);
  void ProcessMessagesAndTestCancel();
  void Settle();
  void SetBounds(std::ptrdiff_t len, std::ptrdiff_t rawFrom);
  static bool Searchable(std::string_view bytes);

  const bool* CancelFlag;
  TProcessMessages ProcessMessages;
  TReadOptions Options;
  TBlockBuffer Block;

  // The stream is Carry followed by Buffer[0, DataLen).  A position is an
  // index relative to Buffer[0]: 0 .. DataLen - 1 name bytes of Buffer, and
  // -Carry.size() .. -1 name the bytes of Carry, so a cursor runs off the end
  // of Carry straight into Buffer.  Buffer[DataLen] and the byte after it are
  // 0, for scans that want a terminator; the cursors never rely on it.
  unsigned char* Buffer = nullptr;  // Block's bytes
  std::string Carry;
  std::ptrdiff_t DataLen = 0;
  // A position below FastEnd (compared unsigned, so Carry positions fail) is
  // a byte of Buffer that is not the last one and was checked: reading it
  // needs no block change and no check.
  std::size_t FastEnd = 0;

  // Buffer's bytes from RawFrom on are as read, not yet checked (see
  // TReadOptions::LazyCheck); those before it were checked or passed over.
  static constexpr std::ptrdiff_t kNothingRaw = PTRDIFF_MAX;
  std::ptrdiff_t RawFrom = kNothingRaw;
  // Line windows of the block checked one by one so far, and how many are:
  // sixteen per block read, as many per block mapped of the same bytes (the
  // rest of the block is then checked at once).
  std::ptrdiff_t WindowsInBlock = 0;
  static constexpr std::ptrdiff_t kWindowsChecked = 16;
  static constexpr std::ptrdiff_t kBytesPerWindowChecked = TBlockBuffer::BufSize / kWindowsChecked;

  std::ptrdiff_t Cursor = 0;     // main cursor
  std::ptrdiff_t LineStart = 0;  // first byte of the current line
  std::ptrdiff_t Ahead = 0;      // look-ahead cursor
  // Line feeds are counted lazily, in bulk: FLineCount holds those before
  // CountedTo, and Settle brings CountedTo up to the main cursor when a line
  // number is wanted or the block is about to be replaced.  FeedsLeft is the
  // number of line feeds in Buffer[max(CountedTo, 0), DataLen), taken when
  // the block was read, so that settling over most of a block counts only
  // the bytes behind the cursor.
  std::int64_t FLineCount = 0;
  std::ptrdiff_t CountedTo = 0;
  std::size_t FeedsLeft = 0;
  std::string FWindow;  // a line window that spans blocks
};

// The common case of both cursors is one compare and one byte fetch; block
// changes, Carry and the end of the file go through the slow paths.

inline unsigned char TTxtFile::MainByte() {
  const unsigned char b =
      static_cast<std::size_t>(Cursor) < FastEnd ? Buffer[static_cast<std::size_t>(Cursor++)] : MainByteSlow();
  if (b == '\n') LineStart = Cursor;
  return b;
}

inline unsigned char TTxtFile::AheadByte() {
  if (static_cast<std::size_t>(Ahead) < FastEnd) return Buffer[static_cast<std::size_t>(Ahead++)];
  return AheadByteSlow();
}

inline TCharCode TTxtFile::GetChar() {
  const unsigned char b = MainByte();
  TCharCode code = b;
  if (IsDBCSLeadByte(b)) code = static_cast<TCharCode>(b << 8 | MainByte());
  Ahead = Cursor;
  return code;
}

inline TCharCode TTxtFile::GetAheadChar() {
  const unsigned char b = AheadByte();
  if (!IsDBCSLeadByte(b)) return b;
  return static_cast<TCharCode>(b << 8 | AheadByte());
}
