// The reader's moves for the cross-line scan (TCrossScanView): the
// look-ahead runs through the file once, and the main cursor decides the
// lines behind it, reporting or passing over them.
#include "grep/filesearch.h"
#include "grep/txtfile.h"

std::string_view TTxtFile::AheadView() const {
  if (Ahead < 0 || Ahead >= DataLen) return {};
  return {reinterpret_cast<const char*>(&Buffer[static_cast<std::size_t>(Ahead)]),
          static_cast<std::size_t>(DataLen - Ahead)};
}

void TTxtFile::AheadSkip(std::size_t n) {
  Ahead += static_cast<std::ptrdiff_t>(n);
  while (Ahead >= DataLen && !Block.AtEnd()) NextBlock();
}

void TTxtFile::ConsumeLeading() {
  if (IsDBCSLeadByte(MainByte())) MainByte();
}

void TTxtFile::ReportBehind() {
  ConsumeLeading();
  MoveToLineEnd();
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

std::int64_t TTxtFile::LastLineHolding(std::string_view bytes, bool foldCase) {
  // A reader that hands out the input's lines reads it once, in order.
  if (Options.KeepInputBytes || !Block.Regular() || Block.StartOffset() < 0 || !Searchable(bytes)) return -1;
  return ::LastLineHolding(Block.Fd(), Block.StartOffset(), bytes, foldCase,
                           [this] { ProcessMessagesAndTestCancel(); });
}
