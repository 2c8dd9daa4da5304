#include "core/text_offsets.h"

#include <algorithm>

#include "sjis/sjis.h"

namespace hits {

std::int64_t PairCount(std::string_view line) {
  std::int64_t pairs = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size()) {
      ++pairs;
      ++i;
    }
  }
  return pairs;
}

void TTextOffsets::Extend() {
  if (FMarks.empty()) FMarks.push_back(0);
  for (auto next = static_cast<std::int64_t>(FMarks.size()); next * kLinesPerMark <= FStore.LineCount(); ++next) {
    std::int64_t pairs = FMarks.back();
    for (std::int64_t line = (next - 1) * kLinesPerMark; line < next * kLinesPerMark; ++line) {
      pairs += PairCount(FStore.Line(line));
    }
    FMarks.push_back(pairs);
  }
}

std::int64_t TTextOffsets::PairsBefore(std::int64_t line) {
  Extend();
  const std::int64_t mark = line / kLinesPerMark;
  std::int64_t pairs = FMarks[static_cast<std::size_t>(mark)];
  for (std::int64_t l = mark * kLinesPerMark; l < line; ++l) pairs += PairCount(FStore.Line(l));
  return pairs;
}

std::int64_t TTextOffsets::Length() { return FStore.Size() - PairsBefore(FStore.LineCount()); }

std::int64_t TTextOffsets::OffsetOf(std::int64_t position) {
  if (position >= FStore.Size()) return Length();
  if (position <= 0) return 0;
  const std::int64_t line = FStore.LineOf(position);
  const std::int64_t start = FStore.LineStart(line);
  const std::string_view bytes = FStore.Line(line).substr(0, static_cast<std::size_t>(position - start));
  return position - PairsBefore(line) - PairCount(bytes);
}

std::int64_t TTextOffsets::PositionOf(std::int64_t offset) {
  if (offset <= 0) return 0;
  if (offset >= Length()) return FStore.Size();
  // The last mark at or before the offset, then line by line, then
  // character by character.
  auto markOffset = [this](std::int64_t mark) {
    return FStore.LineStart(mark * kLinesPerMark) - FMarks[static_cast<std::size_t>(mark)];
  };
  std::int64_t low = 0;
  auto high = static_cast<std::int64_t>(FMarks.size()) - 1;
  while (low < high) {
    const std::int64_t middle = low + (high - low + 1) / 2;
    if (markOffset(middle) <= offset) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  std::int64_t line = low * kLinesPerMark;
  std::int64_t at = markOffset(low);
  for (;; ++line) {
    const std::string_view bytes = FStore.Line(line);
    const std::int64_t units = static_cast<std::int64_t>(bytes.size()) - PairCount(bytes) + 1;  // with the line end
    if (offset < at + units) break;
    at += units;
  }
  const std::string_view bytes = FStore.Line(line);
  std::size_t byte = 0;
  for (; at < offset && byte < bytes.size(); ++at) byte += CharLength(bytes, byte);
  return FStore.LineStart(line) + static_cast<std::int64_t>(byte);
}

}  // namespace hits
