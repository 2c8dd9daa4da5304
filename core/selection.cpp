#include "core/selection.h"

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

std::int64_t TSelection::SameColumn(std::int64_t position, std::int64_t line) const {
  if (FStore.LineCount() == 0) return 0;
  if (line >= FStore.LineCount()) return FStore.Size();
  line = std::max<std::int64_t>(line, 0);
  const std::int64_t column = position - FStore.LineStart(FStore.LineOf(position));
  const std::string_view bytes = FStore.Line(line);
  const auto byte = static_cast<std::size_t>(std::min<std::int64_t>(column, static_cast<std::int64_t>(bytes.size())));
  return FStore.LineStart(line) + static_cast<std::int64_t>(CharStart(bytes, byte));
}

std::int64_t TSelection::Target(TCaretMove move, std::int64_t page) const {
  const std::int64_t line = FStore.LineOf(FCaret);
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
      return FStore.LineStart(line) + static_cast<std::int64_t>(FStore.LineCount() ? FStore.Line(line).size() : 0);
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
  auto isBlank = [&bytes](std::size_t i) { return bytes[i] == ' ' || bytes[i] == '\t'; };
  std::size_t begin = static_cast<std::size_t>(std::clamp<std::int64_t>(position - start, 0, bytes.size()));
  std::size_t end = begin;
  while (begin > 0 && !isBlank(begin - 1)) --begin;
  while (end < bytes.size() && !isBlank(end)) ++end;
  begin = CharStart(bytes, begin);
  end = NextCharStart(bytes, end);
  return {start + static_cast<std::int64_t>(begin), static_cast<std::int64_t>(end - begin)};
}

}  // namespace hits
