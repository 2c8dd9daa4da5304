#include "ui/hitview_accessible.h"

#include <QAccessible>
#include <algorithm>
#include <climits>
#include <utility>

#include "core/words.h"
#include "ui/hitview.h"

namespace {

constexpr int kEnd = -1;    // an offset that means the end of the text
constexpr int kCaret = -2;  // one that means the caret
// The most text given at once: a screen reader that asks for all of
// millions of lines gets their first four million characters, not a string
// and a message of hundreds of megabytes.
constexpr int kLongestText = 1 << 22;

int ClampOffset(std::int64_t offset) { return static_cast<int>(std::clamp<std::int64_t>(offset, 0, INT_MAX)); }

QAccessibleInterface* Create(const QString& key, QObject* object) {
  auto* view = qobject_cast<THitView*>(object);
  if (key != QLatin1String("THitView") || view == nullptr) return nullptr;
  return new THitViewAccessible(view);
}

QString None(int* startOffset, int* endOffset) {
  *startOffset = *endOffset = -1;
  return {};
}

}  // namespace

void InstallHitViewAccessibility() {
  static const bool installed = (QAccessible::installFactory(&Create), true);
  Q_UNUSED(installed);
}

THitViewAccessible::THitViewAccessible(THitView* view) : QAccessibleWidget(view, QAccessible::EditableText) {}

THitView* THitViewAccessible::View() const { return static_cast<THitView*>(widget()); }

QAccessible::State THitViewAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.readOnly = true;
  state.multiLine = true;
  state.selectableText = true;
  state.busy = View()->Filling();
  return state;
}

void* THitViewAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

// ---------------------------------------------------------------------------
// Offsets and positions

int THitViewAccessible::Resolve(int offset) const {
  if (offset == kEnd) return characterCount();
  if (offset == kCaret) return cursorPosition();
  return offset;
}

std::int64_t THitViewAccessible::Position(int offset) const { return View()->PositionOf(offset); }

int THitViewAccessible::Offset(std::int64_t position) const { return ClampOffset(View()->OffsetOf(position)); }

int THitViewAccessible::characterCount() const { return ClampOffset(View()->TextLength()); }

QString THitViewAccessible::text(int startOffset, int endOffset) const {
  startOffset = Resolve(startOffset);
  if (startOffset < 0) return {};
  endOffset = std::min(Resolve(endOffset), startOffset + std::min(kLongestText, INT_MAX - startOffset));
  if (endOffset <= startOffset) return {};
  return View()->TextBetween(Position(startOffset), Position(endOffset));
}

QString THitViewAccessible::Piece(int start, int end, int* startOffset, int* endOffset) const {
  const QString piece = text(start, end);
  *startOffset = start;
  *endOffset = start + static_cast<int>(piece.size());
  return piece;
}

std::pair<int, int> THitViewAccessible::LineOf(int offset) const {
  const std::int64_t row = View()->RowOf(Position(offset));
  return {Offset(View()->LineStart(row)), Offset(View()->LineStart(row + 1))};
}

std::pair<int, int> THitViewAccessible::WordOf(int offset) const {
  const std::int64_t position = Position(offset);
  const std::int64_t start = View()->LineStart(View()->RowOf(position));
  const std::string_view line = View()->Store().Line(View()->RowOf(position));
  const auto byte = static_cast<std::size_t>(position - start);
  if (byte >= line.size()) return {offset, offset + 1};  // the line end
  const auto [begin, end] = hits::WordAt(line, byte);
  return {Offset(start + static_cast<std::int64_t>(begin)), Offset(start + static_cast<std::int64_t>(end))};
}

// ---------------------------------------------------------------------------
// Text by characters, words and lines

QString THitViewAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                         int* endOffset) const {
  offset = Resolve(offset);
  const int length = characterCount();
  if (length == 0 || offset < 0 || offset > length) return None(startOffset, endOffset);
  switch (boundaryType) {
    case QAccessible::CharBoundary:
      return offset < length ? Piece(offset, offset + 1, startOffset, endOffset) : None(startOffset, endOffset);
    case QAccessible::WordBoundary: {
      if (offset == length) return None(startOffset, endOffset);
      const auto [begin, end] = WordOf(offset);
      return Piece(begin, end, startOffset, endOffset);
    }
    case QAccessible::SentenceBoundary:
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary: {
      if (offset == length) return Piece(length, length, startOffset, endOffset);
      const auto [begin, end] = LineOf(offset);
      return Piece(begin, end, startOffset, endOffset);
    }
    case QAccessible::NoBoundary:
      return Piece(0, length, startOffset, endOffset);
  }
  return None(startOffset, endOffset);
}

QString THitViewAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                             int* endOffset) const {
  offset = Resolve(offset);
  const int length = characterCount();
  if (length == 0 || offset <= 0 || offset > length) return None(startOffset, endOffset);
  switch (boundaryType) {
    case QAccessible::CharBoundary:
      return Piece(offset - 1, offset, startOffset, endOffset);
    case QAccessible::WordBoundary: {
      const int start = offset < length ? WordOf(offset).first : length;
      if (start == 0) return None(startOffset, endOffset);
      return Piece(WordOf(start - 1).first, start, startOffset, endOffset);
    }
    case QAccessible::SentenceBoundary:
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary: {
      // The line whose end is the last line end before offset.
      const auto [begin, end] = LineOf(offset - 1);
      const int lineEnd = end - 1 == offset - 1 ? offset - 1 : begin - 1;
      if (lineEnd < 0) return None(startOffset, endOffset);
      return Piece(LineOf(lineEnd).first, lineEnd + 1, startOffset, endOffset);
    }
    case QAccessible::NoBoundary:
      break;
  }
  return None(startOffset, endOffset);
}

QString THitViewAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                            int* endOffset) const {
  offset = Resolve(offset);
  const int length = characterCount();
  if (length == 0 || offset < 0 || offset >= length) return None(startOffset, endOffset);
  switch (boundaryType) {
    case QAccessible::CharBoundary:
      if (offset + 2 > length) return None(startOffset, endOffset);
      return Piece(offset + 1, offset + 2, startOffset, endOffset);
    case QAccessible::WordBoundary: {
      const int end = WordOf(offset).second;
      if (end >= length) return None(startOffset, endOffset);
      return Piece(end, WordOf(end).second, startOffset, endOffset);
    }
    case QAccessible::SentenceBoundary:
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary: {
      const int next = LineOf(offset).second;
      if (next >= length) return Piece(length, length, startOffset, endOffset);
      const auto [begin, end] = LineOf(next);
      return Piece(begin, end, startOffset, endOffset);
    }
    case QAccessible::NoBoundary:
      break;
  }
  return None(startOffset, endOffset);
}

QString THitViewAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
  // No attributes, as the toolkit's line edit reports.
  *startOffset = *endOffset = Resolve(offset);
  return {};
}

// ---------------------------------------------------------------------------
// Caret, selection and geometry

int THitViewAccessible::cursorPosition() const { return Offset(View()->CaretPosition()); }

void THitViewAccessible::setCursorPosition(int position) { View()->MoveCaret(Position(Resolve(position)), false); }

int THitViewAccessible::selectionCount() const { return View()->HasSelection() ? 1 : 0; }

void THitViewAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
  if (selectionIndex != 0 || !View()->HasSelection()) return;
  *startOffset = Offset(View()->SelStart());
  *endOffset = Offset(View()->SelStart() + View()->SelLength());
}

void THitViewAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex != 0) return;
  const std::int64_t start = Position(Resolve(startOffset));
  View()->SetSelection(start, Position(Resolve(endOffset)) - start);
}

void THitViewAccessible::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void THitViewAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex == 0) View()->MoveCaret(View()->CaretPosition(), false);
}

QRect THitViewAccessible::characterRect(int offset) const {
  const QRect cell = View()->CharacterRect(Position(Resolve(offset)));
  return {View()->viewport()->mapToGlobal(cell.topLeft()), cell.size()};
}

int THitViewAccessible::offsetAtPoint(const QPoint& point) const {
  const QPoint local = View()->viewport()->mapFromGlobal(point);
  if (!View()->viewport()->rect().contains(local)) return -1;
  return Offset(View()->PositionAt(local));
}

void THitViewAccessible::scrollToSubstring(int startIndex, int /*endIndex*/) {
  View()->EnsureVisible(Position(Resolve(startIndex)));
}

// ---------------------------------------------------------------------------
// What the view tells screen readers

void THitView::SelectionChanged() {
  viewport()->update();
  const TAnnounced now{FSelection.Caret(), FSelection.Start(), FSelection.Length()};
  const TAnnounced before = std::exchange(FAnnounced, now);
  if (!QAccessible::isActive()) return;
  if ((now.Length != 0 || before.Length != 0) && (now.Start != before.Start || now.Length != before.Length)) {
    QAccessibleTextSelectionEvent event(this, ClampOffset(OffsetOf(now.Start)),
                                        ClampOffset(OffsetOf(now.Start + now.Length)));
    event.setCursorPosition(ClampOffset(OffsetOf(now.Caret)));
    QAccessible::updateAccessibility(&event);
  }
  if (now.Caret != before.Caret) {
    QAccessibleTextCursorEvent event(this, ClampOffset(OffsetOf(now.Caret)));
    QAccessible::updateAccessibility(&event);
  }
}

void THitView::AnnounceAppended() {
  const std::int64_t from = std::exchange(FAnnouncedSize, FStore.Size());
  if (!QAccessible::isActive() || from == FStore.Size() || FStore.Size() - from > kAnnouncedText) return;
  QAccessibleTextInsertEvent event(this, ClampOffset(OffsetOf(from)), TextBetween(from, FStore.Size()));
  QAccessible::updateAccessibility(&event);
}

void THitView::AnnounceCleared() {
  FAnnouncedSize = 0;
  if (!QAccessible::isActive() || FStore.Size() == 0 || FStore.Size() > kAnnouncedText) return;
  QAccessibleTextRemoveEvent event(this, 0, TextBetween(0, FStore.Size()));
  QAccessible::updateAccessibility(&event);
}
