// The text file reader: one file, read from start to end in blocks, handed
// out as Shift-JIS characters (16-bit codes, a double-byte pair as one code)
// and as lines with their numbers, through two cursors.  Each scan sees the
// few operations it needs through its view (scanviews.h).  See txtfile.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "grep/blockbuffer.h"
#include "grep/inputedits.h"
#include "sjis/sjis.h"

// One reported line: its bytes without the line terminator, and its 1-based
// number in the file.
struct LineInfo_t {
  std::string Line;
  std::int64_t LineNo = 0;
};

// Whole lines as they stand in the input, with their line ends (the input's
// last line has none when the input ends without one), for a reader that
// keeps the input's bytes (TReadOptions::KeepInputBytes): the byte offset of
// the first in the input, its number, and how many lines there are.
struct TInputLines {
  std::string_view Bytes;
  std::int64_t Offset = 0;
  std::int64_t LineNo = 0;
  std::int64_t Count = 0;
};

// Lets pending window messages be processed; empty when there is no window.
using TProcessMessages = std::function<void()>;
// Takes the lines that a scan passed over (see TTxtFile::OnPassed).
using TOnPassedLines = std::function<void(const TInputLines&)>;

class TTxtFile {
 public:
  // Opens the file and reads the first block.  Raises EFileNotFound when the
  // file cannot be opened, EEndOfFile when it is empty, ECancelRequest when
  // the cancel flag is set, EInOutError on a read error; nothing stays open.
  //
  // With keepCrLf the CR of a CR LF stays in the text (a block with a zero
  // byte or a lone CR is still cleaned whole): only for scans that read
  // lines through line windows (TFastScanView) and know that a CR before a
  // line feed belongs to the line end.  GetLine then leaves that CR out of
  // the line.
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

  // Whether the file may hold the bytes anywhere (with foldCase, their ASCII
  // letters in either case): false only when a regular file was searched
  // whole, from its start, without finding them.  The bytes must hold no
  // byte that the reader rewrites (line ends, zero bytes, spaces), so that
  // their absence from the file means their absence from the text read.
  // Polls like a block read; the read position does not move.
  bool MayHold(std::string_view bytes, bool foldCase);
  // Bytes of earlier blocks kept for the current line (and for a look-ahead
  // that ran past the block the main cursor is in).
  std::size_t CarriedBytes() const { return Carry.size(); }

  static constexpr int BufSize = TBlockBuffer::BufSize;  // bytes requested per block read

  // With KeepInputBytes: the lines that no report hands out, as the scan
  // passes over them, in order, before the report that follows them (and
  // the rest of the file with HandRest).  Empty: they are not wanted.
  TOnPassedLines OnPassed;
  // With KeepInputBytes and OnPassed: hands out every line after the last
  // one handed out, reading the file to its end.
  void HandRest();
  // A zero byte stood in the first TReadOptions::ZeroProbeBytes of the input.
  bool ZeroInProbe() const { return Block.ZeroInProbe(); }

 private:
  // The scans reach the operations below through their views, each of which
  // tells what its operations do.
  friend class TCharScanView;
  friend class TFastScanView;
  friend class TCrossScanView;

  // Characters and lines at the cursors (txtfile.cpp).
  TCharCode GetChar();
  TCharCode GetAheadChar();
  void GetLine(LineInfo_t& lineInfo);
  // The same, as the line stands in the input (KeepInputBytes); the lines
  // passed over before it go to OnPassed first.
  void GetInputLine(TInputLines& line);
  void PassLine();
  void CountAheadStep(std::uint32_t& steps);
  // Line windows (txtfile_windows.cpp).
  std::string_view LineWindow();
  bool NextLineWindow(std::string_view& window);
  std::string_view Buffered() const;
  void Skip(std::string_view from, std::size_t n);
  void AheadFrom(std::size_t n);
  // Lines decided behind the look-ahead (txtfile_behind.cpp).
  std::string_view AheadView() const;
  void AheadSkip(std::size_t n);
  bool AheadAtEnd() const { return Ahead >= DataLen && Block.AtEnd(); }
  void ReportBehind();
  void PassBehind(std::int64_t lines);
  std::int64_t LastLineHolding(std::string_view bytes, bool foldCase);

  // Look-ahead steps between two polls of a scan that can work long without
  // reading a block or reporting a line.
  static constexpr std::uint32_t kPollSteps = 1u << 20;

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
  // Found: a window's end (or, from NextBlockForLine, a block read).
  enum class TWindowEnd { Found, Again, End };
  TWindowEnd NextBlockForLine();
  inline TWindowEnd FindWindowEnd(std::ptrdiff_t& end);
  bool CleanedUpTo(std::ptrdiff_t end);
  void ProcessMessagesAndTestCancel();
  void Settle();
  // The input's bytes (txtfile_input.cpp).
  void TakeEdits();
  void HandPassed(std::ptrdiff_t to);
  std::string_view Text(std::ptrdiff_t from, std::ptrdiff_t to, std::string& scratch) const;
  TInputLines Input(std::ptrdiff_t from, std::ptrdiff_t to);
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

  // With KeepInputBytes: positions of the text counted from the line feed
  // before the first line (see TInputEdits), the edits in Carry and Buffer,
  // and the lines handed out so far (reported or passed over): the position
  // and number of the first line after them.
  TInputEdits Edits;
  std::int64_t StreamBase = 0;   // Buffer[0]'s position
  std::int64_t AppendedAt = -1;  // the line feed that the reader appended
  std::int64_t HandedTo = 1;
  std::int64_t HandedLineNo = 1;
  std::string FTextScratch;
  std::string FInputScratch;
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

inline void TTxtFile::CountAheadStep(std::uint32_t& steps) {
  if (++steps != kPollSteps) return;
  steps = 0;
  ProcessMessagesAndTestCancel();
}
