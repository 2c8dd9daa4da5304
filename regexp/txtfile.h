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
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sjis.h"

// One reported line: its bytes without the line terminator, and its 1-based
// number in the file.
struct LineInfo_t {
  std::string Line;
  std::int32_t LineNo = 0;
};

// Lets pending window messages be processed; empty when there is no window.
using TProcessMessages = std::function<void()>;

class TTxtFile {
 public:
  // Opens the file and reads the first block.  Raises EFileNotFound when the
  // file cannot be opened, EEndOfFile when it is empty, ECancelRequest when
  // the cancel flag is set, EInOutError on a read error; nothing stays open.
  TTxtFile(const std::string& fileName, const bool* cancelFlag, TProcessMessages processMessages = {});
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

  std::int32_t LineCount() const { return FLineCount; }

  static constexpr int BufSize = 102400;  // bytes requested per block read
  static constexpr int Margin = 100;      // spare bytes behind a block

 private:
  std::int32_t FLineCount = 0;
  // (further implementation fields)
};
