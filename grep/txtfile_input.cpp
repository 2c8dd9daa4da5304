// The reader's lines as they stand in the input (TReadOptions::KeepInputBytes):
// a reported line, and the lines passed over before it, with their byte
// offsets.  The text and the input differ only where the block's edits say
// (inputedits.h), so a stretch of text without edits is handed out as it
// lies in the buffer; lines are handed out in order, each once, and the
// lines before the current one are handed out before a block change drops
// them.
#include <algorithm>
#include <cstring>

#include "grep/txtfile.h"
#include "sjis/bytescan.h"

// The edits of the block just read, at their positions in the text.
void TTxtFile::TakeEdits() {
  if (!Options.KeepInputBytes) return;
  Edits.Forget(StreamBase + LineStart);
  for (const TBlockBuffer::TEdit& e : Block.Edits()) {
    const std::int64_t at = StreamBase + static_cast<std::int64_t>(e.At);
    if (e.Dropped)
      Edits.DroppedCR(at);
    else
      Edits.Rewritten(at, e.Original);
  }
  if (Block.AppendedAt() >= 0) AppendedAt = StreamBase + Block.AppendedAt();
}

// The text of positions [from, to) relative to Buffer, contiguous: where it
// lies, or copied into scratch when it runs from Carry into Buffer.
std::string_view TTxtFile::Text(std::ptrdiff_t from, std::ptrdiff_t to, std::string& scratch) const {
  const char* const buffer = reinterpret_cast<const char*>(Buffer);
  if (from >= 0) return {buffer + from, static_cast<std::size_t>(to - from)};
  const std::size_t carryFrom = Carry.size() - static_cast<std::size_t>(-from);
  if (to <= 0) return std::string_view(Carry).substr(carryFrom, static_cast<std::size_t>(to - from));
  scratch.assign(Carry, carryFrom, std::string::npos);
  scratch.append(buffer, static_cast<std::size_t>(to));
  return scratch;
}

// The input's bytes of the whole lines at positions [from, to).
TInputLines TTxtFile::Input(std::ptrdiff_t from, std::ptrdiff_t to) {
  const std::string_view text = Text(from, to, FTextScratch);
  const std::int64_t at = StreamBase + from;
  TInputLines lines;
  lines.Bytes = Edits.Input(text, at, FInputScratch);
  // The line feed that the reader appended stands in no input.
  if (AppendedAt >= at && AppendedAt < at + static_cast<std::int64_t>(text.size())) lines.Bytes.remove_suffix(1);
  lines.Offset = Edits.Offset(at);
  return lines;
}

// Hands the lines from the last one handed out up to position to (a line
// start) to OnPassed.
void TTxtFile::HandPassed(std::ptrdiff_t to) {
  const std::ptrdiff_t from = static_cast<std::ptrdiff_t>(HandedTo - StreamBase);
  if (to <= from) return;
  TInputLines lines = Input(from, to);
  lines.LineNo = HandedLineNo;
  const std::string_view text = Text(from, to, FTextScratch);
  lines.Count = static_cast<std::int64_t>(CountByte(text.data(), text.size(), '\n'));
  HandedTo = StreamBase + to;
  HandedLineNo += lines.Count;
  OnPassed(lines);
}

void TTxtFile::GetInputLine(TInputLines& line) {
  PassLine();
  if (OnPassed) HandPassed(LineStart);
  Settle();
  line = Input(LineStart, Cursor + 1);
  line.LineNo = FLineCount;
  line.Count = 1;
  HandedTo = StreamBase + Cursor + 1;
  HandedLineNo = FLineCount + 1;
}

// Block after block, every line of the block up to its last line feed is
// passed over; the last block ends with a line feed.
void TTxtFile::HandRest() {
  if (!OnPassed) return;
  for (;;) {
    if (Block.AtEnd()) {
      HandPassed(DataLen);
      return;
    }
    const void* last = memrchr(Buffer, '\n', static_cast<std::size_t>(DataLen));
    if (last != nullptr)
      LineStart = std::max<std::ptrdiff_t>(LineStart, static_cast<const unsigned char*>(last) - Buffer + 1);
    Cursor = Ahead = DataLen;
    NextBlock();
  }
}
