// THitView's caret and selection as the keys and the mouse move them, and
// the selected text, decoded for the clipboard.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextLine>

#include "text/encoding.h"
#include "ui/hitview.h"

namespace {

// Text converted at a time when copying, in bytes.
constexpr std::int64_t kCopyChunk = 1 << 20;

// Appends the Unicode form of Shift-JIS text that holds whole lines (or the
// first or last part of one) to out, line by line: a lead byte before a line
// end (or the end of the text) stands alone, as the line was cut.
void AppendDecoded(QString& out, std::string_view sjis) {
  const qsizetype old = out.size();
  out.resize(old + static_cast<qsizetype>(sjis.size()));
  char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
  char16_t* to = begin + old;
  for (;;) {
    const std::size_t end = sjis.find('\n');
    to += encoding::SjisToUtf16(sjis.substr(0, end), to);
    if (end == std::string_view::npos) break;
    *to++ = u'\n';
    sjis.remove_prefix(end + 1);
  }
  out.resize(to - begin);
}

// Hands the clipboard UTF-8 bytes: as the text in UTF-8 and as plain text,
// the same bytes shared.  Another program gets them as they are; the
// toolkit decodes them only for a paste within this one.
void SetClipboard(const QByteArray& utf8) {
  auto* data = new QMimeData;
  data->setData(QStringLiteral("text/plain;charset=utf-8"), utf8);
  data->setData(QStringLiteral("text/plain"), utf8);
  QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace

// ---------------------------------------------------------------------------
// Caret and selection

void THitView::MoveCaret(std::int64_t position, bool keepAnchor) {
  FSelection.MoveCaret(position, keepAnchor);
  EnsureVisible(FSelection.Caret());
  SelectionChanged();
}

void THitView::SetSelection(std::int64_t start, std::int64_t length) {
  FSelection.Select(start, length);
  EnsureVisible(FSelection.Caret());
  SelectionChanged();
}

void THitView::SelectAll() {
  FSelection.SelectAll();
  SelectionChanged();
}

QString THitView::TextBetween(std::int64_t from, std::int64_t to) const {
  from = std::clamp<std::int64_t>(from, 0, FStore.Size());
  to = std::clamp<std::int64_t>(to, from, FStore.Size());
  QString out;
  out.reserve(static_cast<qsizetype>(to - from));
  const std::string_view text = FStore.Text();
  while (from < to) {
    // Whole lines up to about kCopyChunk bytes at a time (at least one).
    std::int64_t end = std::min(to, FStore.LineStart(FStore.LineOf(std::min(from + kCopyChunk, to - 1)) + 1));
    if (end <= from) end = to;
    AppendDecoded(out, text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(end - from)));
    from = end;
  }
  return out;
}

QByteArray THitView::Utf8Between(std::int64_t from, std::int64_t to) const {
  from = std::clamp<std::int64_t>(from, 0, FStore.Size());
  to = std::clamp<std::int64_t>(to, from, FStore.Size());
  std::string_view text = FStore.Text().substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
  // Line by line, so that a lead byte before a line end stands alone.  The
  // array grows in place: its large blocks are remapped, not copied, and
  // the room reserved ahead costs no memory until it is written.
  QByteArray out;
  qsizetype used = 0;
  for (;;) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    out.resize(used + static_cast<qsizetype>(line.size() * encoding::kMaxUtf8PerSjisByte) + 1);
    used += static_cast<qsizetype>(encoding::SjisToUtf8(line, out.data() + used));
    if (end == std::string_view::npos) break;
    out[used++] = '\n';
    text.remove_prefix(end + 1);
  }
  out.resize(used);
  out.squeeze();
  return out;
}

QString THitView::SelectedText() const { return TextBetween(SelStart(), SelStart() + SelLength()); }

QString THitView::toPlainText() const { return TextBetween(0, FStore.Size()); }

void THitView::Copy() const {
  if (HasSelection()) SetClipboard(Utf8Between(SelStart(), SelStart() + SelLength()));
}

void THitView::CopyAll() {
  const std::int64_t caret = SelStart();
  SetClipboard(Utf8Between(0, FStore.Size()));
  FSelection.Collapse(caret);
  SelectionChanged();
}

std::int64_t THitView::PositionAt(const QPoint& point) const {
  if (FStore.LineCount() == 0) return 0;
  const int row = point.y() >= 0 ? point.y() / LineHeight() : -1;  // above the view: the row before
  const std::int64_t line = std::max<std::int64_t>(0, FirstVisibleLine() + row);
  if (line >= FStore.LineCount()) return FStore.Size();
  const TSlice slice = SliceOf(line);
  QTextLayout layout(slice.Text, FNormalFont);
  layout.setFormats(Formats(line, slice));
  LayOut(layout);
  int index = 0;
  if (layout.lineCount() > 0) index = layout.lineAt(0).xToCursor(point.x() - slice.X);
  return FStore.LineStart(line) + static_cast<std::int64_t>(ByteOfIndex(slice, index));
}

// ---------------------------------------------------------------------------
// Input

void THitView::keyPressEvent(QKeyEvent* event) {
  if (event == QKeySequence::Copy) {
    Copy();
    return;
  }
  if (event == QKeySequence::SelectAll) {
    SelectAll();
    return;
  }
  const bool control = event->modifiers().testFlag(Qt::ControlModifier);
  hits::TCaretMove move;
  switch (event->key()) {
    case Qt::Key_Left:
      move = hits::TCaretMove::Left;
      break;
    case Qt::Key_Right:
      move = hits::TCaretMove::Right;
      break;
    case Qt::Key_Up:
      move = hits::TCaretMove::Up;
      break;
    case Qt::Key_Down:
      move = hits::TCaretMove::Down;
      break;
    case Qt::Key_PageUp:
      verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
      move = hits::TCaretMove::PageUp;
      break;
    case Qt::Key_PageDown:
      verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
      move = hits::TCaretMove::PageDown;
      break;
    case Qt::Key_Home:
      move = control ? hits::TCaretMove::TextStart : hits::TCaretMove::LineStart;
      break;
    case Qt::Key_End:
      move = control ? hits::TCaretMove::TextEnd : hits::TCaretMove::LineEnd;
      break;
    default:
      // A printable key starts a new query: the typing target takes the
      // focus as a shortcut gives it (a line edit without a selection then
      // selects its text, which the key types over) and gets the key.
      if (FTypingTarget != nullptr && !event->text().isEmpty() && event->text().front().isPrint() &&
          (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0) {
        FTypingTarget->setFocus(Qt::ShortcutFocusReason);
        QApplication::sendEvent(FTypingTarget, event);
        return;
      }
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  MoveCaret(FSelection.Target(move, VisibleLines()), event->modifiers().testFlag(Qt::ShiftModifier));
  event->accept();
}

void THitView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  setFocus(Qt::MouseFocusReason);
  MoveCaret(PositionAt(event->position().toPoint()), event->modifiers().testFlag(Qt::ShiftModifier));
}

void THitView::mouseMoveEvent(QMouseEvent* event) {
  if (!event->buttons().testFlag(Qt::LeftButton)) return;
  MoveCaret(PositionAt(event->position().toPoint()), true);
}

void THitView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || FStore.LineCount() == 0) return;
  const auto [start, length] = FSelection.WordAt(PositionAt(event->position().toPoint()));
  SetSelection(start, length);
}

void THitView::contextMenuEvent(QContextMenuEvent* event) {
  // The toolkit's own texts, so that they follow its translation.
  QMenu menu(this);
  QAction* copy = menu.addAction(QCoreApplication::translate("QWidgetTextControl", "&Copy"), this, &THitView::Copy);
  copy->setEnabled(HasSelection());
  menu.addSeparator();
  menu.addAction(QCoreApplication::translate("QWidgetTextControl", "Select All"), this, &THitView::SelectAll);
  menu.exec(event->globalPos());
}

void THitView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void THitView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}
