#include "core/selection.h"

#include "core/words.h"
#include "sjis/sjis.h"

namespace hits {

void TSelection::MoveCaret(std::int64_t position, bool keepAnchor) {
  FCaret = Snap(position);
  if (!keepAnchor) FAnchor = FCaret;
}

void TSelection::Select(std::int64_t start, std::int64_t length) {
  FAnchor = Snap(start);
  FCaret = Snap(start + length);
}

void TSelection::SelectAll() {
  FAnchor = 0;
  FCaret = FStore.Size();
}

std::int64_t TSelection::Snap(std::int64_t position) const {
  position = std::clamp<std::int64_t>(position, 0, FStore.Size());
  if (FStore.LineCount() == 0) return 0;
  const std::int64_t line = FStore.LineOf(position);
  const std::int64_t start = FStore.LineStart(line);
  const std::string_view bytes = FStore.Line(line);
  const auto byte = static_cast<std::size_t>(std::min<std::int64_t>(position - start, bytes.size() + 1));
  if (byte > bytes.size()) return start + static_cast<std::int64_t>(bytes.size()) + 1;
  return start + static_cast<std::int64_t>(CharStart(bytes, byte));
}

std::int64_t TSelection::Previous(std::int64_t position) const {
  if (position <= 0) return 0;
  const std::int64_t line = FStore.LineOf(position);
  const std::int64_t start = FStore.LineStart(line);
  if (position == start) return position - 1;  // to the end of the line before
  return start +
         static_cast<std::int64_t>(CharStart(FStore.Line(line), static_cast<std::size_t>(position - start - 1)));
}

std::int64_t TSelection::Next(std::int64_t position) const {
  if (position >= FStore.Size()) return FStore.Size();
  const std::int64_t line = FStore.LineOf(position);
  const std::int64_t start = FStore.LineStart(line);
  const std::string_view bytes = FStore.Line(line);
  const auto byte = static_cast<std::size_t>(position - start);
  if (byte >= bytes.size()) return position + 1;  // over the line end
  return position + static_cast<std::int64_t>(CharLength(bytes, byte));
}

std::int64_t TSelection::RowOf(std::int64_t position) const {
  if (FStore.LineCount() > 0 && position >= FStore.Size()) return FStore.LineCount();
  return FStore.LineOf(position);
}

std::int64_t TSelection::SameColumn(std::int64_t position, std::int64_t row) const {
  if (row >= FStore.LineCount()) return FStore.Size();
  row = std::max<std::int64_t>(row, 0);
  const std::int64_t column = position - FStore.LineStart(RowOf(position));
  const std::string_view bytes = FStore.Line(row);
  const auto byte = static_cast<std::size_t>(std::min<std::int64_t>(column, static_cast<std::int64_t>(bytes.size())));
  return FStore.LineStart(row) + static_cast<std::int64_t>(CharStart(bytes, byte));
}

std::int64_t TSelection::Target(TCaretMove move, std::int64_t page) const {
  const std::int64_t line = RowOf(FCaret);
  switch (move) {
    case TCaretMove::Left:
      return Previous(FCaret);
    case TCaretMove::Right:
      return Next(FCaret);
    case TCaretMove::Up:
      return line > 0 ? SameColumn(FCaret, line - 1) : 0;
    case TCaretMove::Down:
      return SameColumn(FCaret, line + 1);
    case TCaretMove::PageUp:
      return line - page > 0 ? SameColumn(FCaret, line - page) : 0;
    case TCaretMove::PageDown:
      return SameColumn(FCaret, line + page);
    case TCaretMove::LineStart:
      return FStore.LineStart(line);
    case TCaretMove::LineEnd:
      return line < FStore.LineCount() ? FStore.LineStart(line) + static_cast<std::int64_t>(FStore.Line(line).size())
                                       : FStore.Size();
    case TCaretMove::TextStart:
      return 0;
    case TCaretMove::TextEnd:
      return FStore.Size();
  }
  return FCaret;
}

std::pair<std::int64_t, std::int64_t> TSelection::WordAt(std::int64_t position) const {
  if (FStore.LineCount() == 0) return {0, 0};
  const std::int64_t line = FStore.LineOf(position);
  const std::int64_t start = FStore.LineStart(line);
  const std::string_view bytes = FStore.Line(line);
  const auto [begin, end] = hits::WordAt(bytes, static_cast<std::size_t>(std::clamp<std::int64_t>(
                                                    position - start, 0, static_cast<std::int64_t>(bytes.size()))));
  return {start + static_cast<std::int64_t>(begin), static_cast<std::int64_t>(end - begin)};
}

}  // namespace hits
