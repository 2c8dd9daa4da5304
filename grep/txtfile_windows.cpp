// The reader's line windows, for the whole-line scan (TFastScanView): a
// line's bytes handed out contiguous from the main cursor, the bytes
// buffered after it, and the moves over them.
#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "grep/txtfile.h"

// Finds the line feed that ends the line window, reading blocks as needed:
// Again when the bytes that went on to Carry had to be cleaned first (no
// block was read then; look again), End when the leading character holds
// the file's last byte.
inline TTxtFile::TWindowEnd TTxtFile::FindWindowEnd(std::ptrdiff_t& end) {
  // The leading character: a line feed, or a lead byte with it (and with a
  // kept CR between them).
  const auto leadingLength = [this]() -> std::ptrdiff_t {
    if (!IsDBCSLeadByte(ByteAt(Cursor))) return 1;
    return ByteAt(Cursor + 1) == '\r' ? 3 : 2;
  };
  std::ptrdiff_t leading = leadingLength();
  while (Cursor + leading >= DataLen) {
    if (const TWindowEnd block = NextBlockForLine(); block != TWindowEnd::Found) return block;
    leading = leadingLength();
  }
  std::ptrdiff_t searched = leading;  // bytes from the cursor known to hold no line end
  for (;;) {
    const std::ptrdiff_t from = Cursor + searched;
    if (from < 0) {
      const std::size_t at = Carry.size() - static_cast<std::size_t>(-from);
      const std::size_t found = Carry.find('\n', at);
      if (found != std::string::npos) {
        end = from + static_cast<std::ptrdiff_t>(found - at);
        return TWindowEnd::Found;
      }
      searched += static_cast<std::ptrdiff_t>(Carry.size() - at);
      continue;
    }
    const void* found =
        std::memchr(&Buffer[static_cast<std::size_t>(from)], '\n', static_cast<std::size_t>(DataLen - from));
    if (found != nullptr) {
      end = static_cast<const unsigned char*>(found) - Buffer;
      return TWindowEnd::Found;
    }
    searched = DataLen - Cursor;
    if (const TWindowEnd block = NextBlockForLine(); block != TWindowEnd::Found) return block;
  }
}

std::string_view TTxtFile::LineWindow() {
  std::string_view window;
  if (!NextLineWindow(window)) EndOfFile();
  return window;
}

bool TTxtFile::NextLineWindow(std::string_view& window) {
  // Bytes that need cleaning may hide line ends: the window is found again
  // once they are clean.  A window is checked on its own while few lines of
  // the block have been read; then the rest of the block is checked at once,
  // which costs less than many windows one by one.
  std::ptrdiff_t end = 0;
  for (;;) {
    const TWindowEnd found = FindWindowEnd(end);
    if (found == TWindowEnd::End) return false;
    if (found == TWindowEnd::Found &&
        !(RawFrom <= end &&
          CleanedUpTo(++WindowsInBlock < std::max(kWindowsChecked, DataLen / kBytesPerWindowChecked) ? end + 1
                                                                                                     : DataLen)))
      break;
  }
  if (Cursor >= 0) {
    window = {reinterpret_cast<const char*>(&Buffer[static_cast<std::size_t>(Cursor)]),
              static_cast<std::size_t>(end - Cursor + 1)};
    return true;
  }
  try {
    FWindow.assign(Carry, Carry.size() - static_cast<std::size_t>(-Cursor), std::string::npos);
    if (end >= 0)
      FWindow.append(reinterpret_cast<const char*>(Buffer), static_cast<std::size_t>(end + 1));
    else
      FWindow.resize(FWindow.size() - static_cast<std::size_t>(-end - 1));
  } catch (const std::bad_alloc&) {
    LineTooLong(true);
  } catch (const std::length_error&) {
    LineTooLong(true);
  }
  window = FWindow;
  return true;
}

// The line runs on into the next block, and its bytes in this one go to
// Carry: as read, they are checked first, and when they needed cleaning no
// block is read (Again).  End at the end of the file.
TTxtFile::TWindowEnd TTxtFile::NextBlockForLine() {
  if (CleanedUpTo(DataLen)) return TWindowEnd::Again;
  if (Block.AtEnd()) return TWindowEnd::End;
  NextBlock();
  return TWindowEnd::Found;
}

std::string_view TTxtFile::Buffered() const {
  if (Cursor < 0 || Cursor >= DataLen) return {};
  return {reinterpret_cast<const char*>(&Buffer[static_cast<std::size_t>(Cursor)]),
          static_cast<std::size_t>(DataLen - Cursor)};
}

void TTxtFile::AheadFrom(std::size_t n) {
  Ahead = Cursor + static_cast<std::ptrdiff_t>(n);
  // Blocks are read as soon as a cursor reaches the end of the buffered data.
  while (Ahead >= DataLen && !Block.AtEnd()) NextBlock();
}

void TTxtFile::Skip(std::string_view from, std::size_t n) {
  // The line the cursor lands in starts after the last line feed passed;
  // searched from the end, that is usually a short way back.
  if (const void* last = n > 0 ? memrchr(from.data(), '\n', n) : nullptr)
    LineStart = Cursor + (static_cast<const char*>(last) - from.data()) + 1;
  Cursor += static_cast<std::ptrdiff_t>(n);
  Ahead = Cursor;
}
