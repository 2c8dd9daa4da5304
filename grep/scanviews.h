// What each scan sees of the text file reader (txtfile.h): the one-character
// scans, the whole-line scan and the cross-line scan each get a view of the
// few operations they use.  A view is a handle on the reader, passed by
// value; its operations are the reader's own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "grep/txtfile.h"

// The one-character scans (grep.cpp), which try every character as the
// start of an attempt, and the reports of the whole-line scan.
class TCharScanView {
 public:
  explicit TCharScanView(TTxtFile& file) : F(&file) {}

  // The next character at the main cursor; afterwards the look-ahead cursor
  // stands at the main cursor.  Raises EEndOfFile as the main cursor consumes
  // the last byte of the file (always a line feed).
  TCharCode GetChar() { return F->GetChar(); }
  // The next character at the look-ahead cursor; 0 on every call once the
  // look-ahead has passed the end of the file.  Never raises EEndOfFile.
  TCharCode GetAheadChar() { return F->GetAheadChar(); }
  // The current line and its number; leaves the main cursor on the line feed
  // that ends the line.  Processes messages and tests the cancel flag first.
  void GetLine(LineInfo_t& lineInfo) { F->GetLine(lineInfo); }
  // The same as the line stands in the input (TReadOptions::KeepInputBytes),
  // after the lines passed over before it (TTxtFile::OnPassed).
  void GetInputLine(TInputLines& line) { F->GetInputLine(line); }
  // The same without the line: only the main cursor moves.
  void PassLine() { F->PassLine(); }
  // Counts a look-ahead step in steps, and every kPollSteps steps processes
  // messages and tests the cancel flag, as a block read does: for a scan
  // that can work long without reading a block or reporting a line.
  void CountAheadStep(std::uint32_t& steps) { F->CountAheadStep(steps); }

 private:
  TTxtFile* F;
};

// The whole-line scan (fastscan.h): line windows.  Between lines the main
// cursor stands on a line's leading character: the line feed that ends the
// previous line (the sentinel for the first line), or a lead byte paired
// with that line feed (with a kept CR between them).
class TFastScanView {
 public:
  explicit TFastScanView(TTxtFile& file) : F(&file) {}

  // The bytes from the main cursor through the next line feed after the
  // leading character, contiguous (copied when they span blocks); when the
  // leading character holds the file's last byte, raises EEndOfFile as
  // GetChar would on consuming it.  With TReadOptions::LazyCheck the window
  // is checked (after a few windows from one block, the rest of the block
  // at once): when it holds a zero byte or a lone CR, the rest of the block
  // from the main cursor is cleaned first (the bytes passed over stay as
  // they are).
  std::string_view LineWindow() { return F->LineWindow(); }
  // The same, false instead of raising at the file's end: a scan that ends
  // there need not unwind.
  bool NextLineWindow(std::string_view& window) { return F->NextLineWindow(window); }
  // The bytes from the main cursor to the end of the current block (empty
  // while the cursor is in bytes kept from earlier blocks); with LazyCheck,
  // as read.
  std::string_view Buffered() const { return F->Buffered(); }
  // Moves the main cursor over the first n bytes of a window or of the
  // buffered bytes; it must land on a byte of them.
  void Skip(std::string_view from, std::size_t n) { F->Skip(from, n); }
  // Sets the look-ahead cursor n bytes past the main cursor, for an attempt
  // that runs on past a line window (whose bytes it may then replace: get
  // the window again afterwards).  The look-ahead checks the lines it enters
  // itself.
  void AheadFrom(std::size_t n) { F->AheadFrom(n); }
  TCharCode GetAheadChar() { return F->GetAheadChar(); }
  void CountAheadStep(std::uint32_t& steps) { F->CountAheadStep(steps); }

 private:
  TTxtFile* F;
};

// The cross-line scan (crossscan.h), which runs the look-ahead through the
// file once and decides about the lines behind it.
class TCrossScanView {
 public:
  explicit TCrossScanView(TTxtFile& file) : F(&file) {}

  // The bytes from the look-ahead cursor to the end of the block (empty
  // while it is in bytes kept from earlier blocks, or at the end), moving it
  // over n of them, and whether it has passed the file's last byte.
  std::string_view AheadView() const { return F->AheadView(); }
  void AheadSkip(std::size_t n) { F->AheadSkip(n); }
  bool AheadAtEnd() const { return F->AheadAtEnd(); }
  TCharCode GetAheadChar() { return F->GetAheadChar(); }
  // Move the main cursor from a line's leading character over the line,
  // which the look-ahead has passed, and leave the look-ahead where it is:
  // ReportBehind onto the line feed that ends the line (where GetLine leaves
  // it, for the report that follows), PassBehind over the given number of
  // lines onto the next line's leading character (the line feed, or a lead
  // byte before it that pairs with it).
  void ReportBehind() { F->ReportBehind(); }
  void PassBehind(std::int64_t lines) { F->PassBehind(lines); }
  // The number of the last line that holds the bytes (as MayHold looks for
  // them, counted from the line the reader started on as 1), 0 when no line
  // holds them, -1 when that cannot be known before reading (not a regular
  // file, bytes that the reader rewrites, or a reader that hands out the
  // input's lines).  A regular file is read whole,
  // from where the reader started, with line ends counted as the reader
  // counts them (LF, CR LF, a lone CR).  The read position does not move.
  std::int64_t LastLineHolding(std::string_view bytes, bool foldCase) { return F->LastLineHolding(bytes, foldCase); }

 private:
  TTxtFile* F;
};
