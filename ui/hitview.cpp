#include "ui/hitview.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLine>
#include <algorithm>

#include "sjis/sjis.h"
#include "text/encoding.h"
#include "ui/colourmap.h"
#include "ui/hitview_accessible.h"

namespace {

// Space left of the text, in pixels.
constexpr int kMargin = 2;
// Columns converted beyond each side of the window for a cut line.
constexpr std::int64_t kSliceMargin = 16;

}  // namespace

THitView::THitView(QWidget* parent) : QAbstractScrollArea(parent), FNormalFont(font()) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setAutoFillBackground(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  UpdateScrollBars();
  InstallHitViewAccessibility();
}

// ---------------------------------------------------------------------------
// Filling

void THitView::Clear() {
  AnnounceCleared();
  FStore.Clear();
  FOffsets.Clear();
  FTextColours.erase(FTextColours.begin(), FTextColours.end() - 1);
  FTextColours.front().first = 0;
  FSelection.Collapse(0);
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  UpdateScrollBars();
  SelectionChanged();
}

void THitView::AppendLine(const std::string& line) {
  FStore.AppendLine(line);
  if (!FFilling) {
    UpdateScrollBars();
    viewport()->update();
    AnnounceAppended();
  }
}

void THitView::AppendHitLine(const std::string& line, std::size_t runStart, std::size_t runLength,
                             const hits::TKeywordStyle& style) {
  FStore.AppendHitLine(line, runStart, runLength, style);
  if (!FFilling) {
    UpdateScrollBars();
    viewport()->update();
    AnnounceAppended();
  }
}

void THitView::AppendText(const QString& line) { AppendLine(encoding::EncodeSjisLossy(line.toStdU16String()).Bytes); }

void THitView::BeginFill() {
  FFilling = true;
  FLastRefresh.start();
}

void THitView::EndFill() {
  FFilling = false;
  FStore.Compact();
  UpdateScrollBars();
  viewport()->update();
  AnnounceAppended();
}

bool THitView::Refresh() {
  if (!FFilling || FLastRefresh.elapsed() < kRefreshInterval) return false;
  // While a screen reader listens, the UTF-16 offsets are counted as the
  // lines come, so that its first question after a search of millions of
  // lines finds them counted.
  if (QAccessible::isActive()) FOffsets.Extend();
  UpdateScrollBars();
  viewport()->repaint();
  FLastRefresh.restart();
  return true;
}

// ---------------------------------------------------------------------------
// Look

void THitView::SetNormalFont(const QFont& font) {
  FNormalFont = font;
  // Text outside keyword runs is always upright and of normal weight.
  FNormalFont.setBold(false);
  FNormalFont.setItalic(false);
  FNormalFont.setUnderline(false);
  FNormalFont.setStrikeOut(false);
  UpdateScrollBars();
  viewport()->update();
}

void THitView::SetTextColour(const QColor& colour) {
  const std::int64_t from = FStore.LineCount();
  while (FTextColours.size() > 1 && FTextColours.back().first >= from) FTextColours.pop_back();
  if (FTextColours.back().first >= from) {
    FTextColours.back().second = colour;
  } else {
    FTextColours.emplace_back(from, colour);
  }
  viewport()->update();
}

QColor THitView::TextColourOf(std::int64_t line) const {
  const auto after = std::upper_bound(FTextColours.begin(), FTextColours.end(), line,
                                      [](std::int64_t l, const auto& entry) { return l < entry.first; });
  return std::prev(after)->second;
}

void THitView::SetSelectionHidden(bool hidden) {
  FSelectionHidden = hidden;
  viewport()->update();
}

int THitView::LineHeight() const { return std::max(1, QFontMetrics(FNormalFont).lineSpacing()); }

qreal THitView::ColumnWidth() const {
  const QFontMetricsF metrics(FNormalFont);
  // A double-byte character takes two columns, in a fixed-pitch Japanese
  // font exactly, in others about.
  return std::max({metrics.horizontalAdvance(QLatin1Char('0')), metrics.horizontalAdvance(QChar(0x3042)) / 2, 1.0});
}

QTextCharFormat THitView::KeywordFormat(const hits::TKeywordStyle& style) const {
  QTextCharFormat format;
  format.setFontFamilies(FNormalFont.families());
  if (FNormalFont.pointSizeF() > 0) format.setFontPointSize(FNormalFont.pointSizeF());
  // The toolkit draws a bold or slanted face of its own where the family
  // has none.
  format.setFontWeight(style.Bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(style.Italic);
  format.setFontUnderline(style.Underline);
  format.setForeground(ToTextColour(style.Colour, QGuiApplication::palette(), palette().color(QPalette::Base)));
  return format;
}

QList<QTextLayout::FormatRange> THitView::Formats(std::int64_t line, const TSlice& slice) const {
  QTextCharFormat normal;
  normal.setFontFamilies(FNormalFont.families());
  if (FNormalFont.pointSizeF() > 0) normal.setFontPointSize(FNormalFont.pointSizeF());
  normal.setFontWeight(QFont::Normal);
  normal.setFontItalic(false);
  normal.setFontUnderline(false);
  normal.setForeground(TextColourOf(line));
  const int length = static_cast<int>(slice.Text.size());
  QList<QTextLayout::FormatRange> formats;
  auto add = [&formats](int start, int end, const QTextCharFormat& format) {
    if (end > start) formats.append({start, end - start, format});
  };
  const hits::TLineRun run = FStore.Run(line);
  if (run.Style == hits::kNoRun) {
    add(0, length, normal);
    return formats;
  }
  const std::size_t runBegin = std::clamp<std::size_t>(run.Start, slice.Begin, slice.End);
  const std::size_t runEnd = std::clamp<std::size_t>(std::size_t{run.Start} + run.Length, slice.Begin, slice.End);
  const int begin = IndexOfByte(slice, runBegin);
  const int end = IndexOfByte(slice, runEnd);
  add(0, begin, normal);
  add(begin, end, KeywordFormat(FStore.Style(run.Style)));
  add(end, length, normal);
  return formats;
}

QList<QTextLayout::FormatRange> THitView::LineFormats(std::int64_t line) const {
  TSlice whole;
  const std::string_view bytes = FStore.Line(line);
  encoding::TDecoded decoded = encoding::DecodeSjis(bytes);
  whole.End = bytes.size();
  whole.Text = QString::fromStdU16String(decoded.Text);
  whole.Offsets = std::move(decoded.Offsets);
  return Formats(line, whole);
}

// ---------------------------------------------------------------------------
// Lines and slices

QString THitView::LineText(std::int64_t line) const {
  return QString::fromStdU16String(encoding::SjisToUtf16(FStore.Line(line)));
}

// Lines are not wrapped: each line is one row of equal height, and the rows
// are as wide as the longest line (counted in columns of a half-width
// character; a double-byte character takes two).  Only the lines in view are
// converted and laid out, and a line longer than kWholeLine bytes only as
// the columns in view, cut at character boundaries: so a view of millions of
// hits costs about the size of their text, and a line of many megabytes is
// drawn as the part of it that fits the window.
THitView::TSlice THitView::SliceOf(std::int64_t line) const {
  TSlice slice;
  const std::string_view bytes = FStore.Line(line);
  const int scroll = horizontalScrollBar()->value();
  if (bytes.size() <= kWholeLine) {
    slice.End = bytes.size();
  } else {
    const qreal column = ColumnWidth();
    const auto first = static_cast<std::int64_t>(scroll / column) - kSliceMargin;
    const auto last = static_cast<std::int64_t>((scroll + viewport()->width()) / column) + kSliceMargin;
    const auto size = static_cast<std::int64_t>(bytes.size());
    slice.Begin = hits::CharStart(bytes, static_cast<std::size_t>(std::clamp<std::int64_t>(first, 0, size)));
    slice.End = hits::NextCharStart(bytes, static_cast<std::size_t>(std::clamp<std::int64_t>(last, 0, size)));
  }
  encoding::TDecoded decoded = encoding::DecodeSjis(bytes.substr(slice.Begin, slice.End - slice.Begin));
  slice.Text = QString::fromStdU16String(decoded.Text);
  slice.Offsets = std::move(decoded.Offsets);
  slice.X = kMargin + static_cast<qreal>(slice.Begin) * ColumnWidth() - scroll;
  return slice;
}

int THitView::IndexOfByte(const TSlice& slice, std::size_t byte) {
  const std::size_t i = std::clamp(byte, slice.Begin, slice.End) - slice.Begin;
  return slice.Offsets[i];
}

std::size_t THitView::ByteOfIndex(const TSlice& slice, int index) {
  // Offsets rise by one per character; the first byte with that index is the
  // character's start.
  const auto it = std::lower_bound(slice.Offsets.begin(), slice.Offsets.end(), index);
  return slice.Begin + static_cast<std::size_t>(it - slice.Offsets.begin());
}

void THitView::LayOut(QTextLayout& layout) const {
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.setCacheEnabled(true);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (line.isValid()) line.setPosition(QPointF(0, 0));
  layout.endLayout();
}

// ---------------------------------------------------------------------------
// Painting and scrolling

std::int64_t THitView::FirstVisibleLine() const { return verticalScrollBar()->value(); }

int THitView::VisibleLines() const { return std::max(1, viewport()->height() / LineHeight()); }

void THitView::UpdateScrollBars() {
  const std::int64_t lines = FStore.LineCount();
  const int visible = VisibleLines();
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, static_cast<int>(std::max<std::int64_t>(0, lines - visible + 1)));
  vertical->setPageStep(visible);
  vertical->setSingleStep(1);
  const qreal width = static_cast<qreal>(FStore.LongestLine() + 2) * ColumnWidth() + 2 * kMargin;
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, static_cast<int>(std::clamp<qreal>(width - viewport()->width(), 0, INT32_MAX / 2)));
  horizontal->setPageStep(viewport()->width());
  horizontal->setSingleStep(static_cast<int>(ColumnWidth()) * 4);
}

void THitView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QPalette& colours = palette();
  painter.fillRect(event->rect(), colours.color(QPalette::Base));
  const int height = LineHeight();
  const std::int64_t first = FirstVisibleLine();
  const std::int64_t last = std::min(FStore.LineCount(), first + VisibleLines() + 1);
  const std::int64_t selStart = SelStart();
  const std::int64_t selEnd = selStart + SelLength();
  const bool showSelection = !FSelectionHidden && selEnd > selStart;
  const bool showCaret = !FSelectionHidden && hasFocus();
  const std::int64_t caret = FSelection.Caret();
  QTextCharFormat selected;
  selected.setBackground(colours.brush(QPalette::Highlight));
  selected.setForeground(colours.brush(QPalette::HighlightedText));
  painter.setPen(TextColour());
  for (std::int64_t line = first; line < last; ++line) {
    const TSlice slice = SliceOf(line);
    QTextLayout layout(slice.Text, FNormalFont);
    layout.setFormats(Formats(line, slice));
    LayOut(layout);
    const QPointF at(slice.X, static_cast<qreal>((line - first) * height));
    const std::int64_t lineStart = FStore.LineStart(line);
    const std::int64_t lineEnd = lineStart + static_cast<std::int64_t>(FStore.Line(line).size());
    QList<QTextLayout::FormatRange> selections;
    if (showSelection && selStart <= lineEnd && selEnd > lineStart) {
      const int begin = IndexOfByte(slice, static_cast<std::size_t>(std::max(selStart, lineStart) - lineStart));
      const int end = IndexOfByte(slice, static_cast<std::size_t>(std::min(selEnd, lineEnd) - lineStart));
      if (end > begin) selections.append({begin, end - begin, selected});
      // A selected line end shows as a small highlighted cell after the text.
      if (selEnd > lineEnd && layout.lineCount() > 0) {
        const qreal x = at.x() + layout.lineAt(0).cursorToX(IndexOfByte(slice, slice.End));
        painter.fillRect(QRectF(x, at.y(), ColumnWidth(), height), colours.brush(QPalette::Highlight));
      }
    }
    layout.draw(&painter, at, selections);
    if (showCaret && caret >= lineStart && caret <= lineEnd) {
      const auto byte = static_cast<std::size_t>(caret - lineStart);
      if (byte >= slice.Begin && byte <= slice.End) layout.drawCursor(&painter, at, IndexOfByte(slice, byte));
    }
  }
  // The end of the text starts the row below the last line.
  const std::int64_t endRow = RowOf(FStore.Size());
  if (showCaret && caret == FStore.Size() && endRow >= first && endRow <= first + VisibleLines()) {
    QTextLayout empty(QString(), FNormalFont);
    LayOut(empty);
    empty.drawCursor(&painter, QPointF(kMargin - horizontalScrollBar()->value(), (endRow - first) * height), 0);
  }
}

void THitView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void THitView::scrollContentsBy(int /*dx*/, int /*dy*/) { viewport()->update(); }

void THitView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::EnabledChange) viewport()->update();
}

QRectF THitView::Cell(std::int64_t position) const {
  const std::int64_t row = RowOf(position);
  const qreal top = static_cast<qreal>(row) * LineHeight();
  const qreal column = ColumnWidth();
  if (row >= FStore.LineCount()) return {kMargin, top, column, static_cast<qreal>(LineHeight())};
  const std::string_view bytes = FStore.Line(row);
  const auto byte = static_cast<std::size_t>(position - FStore.LineStart(row));
  const std::size_t next = byte < bytes.size() ? byte + CharLength(bytes, byte) : byte + 1;  // a line end: a column
  QRectF cell(kMargin + static_cast<qreal>(byte) * column, top, static_cast<qreal>(next - byte) * column, LineHeight());
  if (bytes.size() > kWholeLine) return cell;  // estimated from the columns
  const TSlice slice = SliceOf(row);
  QTextLayout layout(slice.Text, FNormalFont);
  layout.setFormats(Formats(row, slice));
  LayOut(layout);
  if (layout.lineCount() == 0) return cell;
  const qreal x = layout.lineAt(0).cursorToX(IndexOfByte(slice, byte));
  const qreal end = next <= bytes.size() ? layout.lineAt(0).cursorToX(IndexOfByte(slice, next)) : x + column;
  return {kMargin + x, top, end - x, static_cast<qreal>(LineHeight())};
}

QRect THitView::CharacterRect(std::int64_t position) const {
  const QPointF scroll(horizontalScrollBar()->value(), static_cast<qreal>(FirstVisibleLine()) * LineHeight());
  return Cell(position).translated(-scroll).toAlignedRect();
}

void THitView::EnsureVisible(std::int64_t position) {
  const std::int64_t row = RowOf(position);
  QScrollBar* vertical = verticalScrollBar();
  const int visible = VisibleLines();
  if (row < vertical->value()) {
    vertical->setValue(static_cast<int>(row));
  } else if (row >= vertical->value() + visible) {
    vertical->setValue(static_cast<int>(row - visible + 1));
  }
  // Horizontally: the caret's column, measured for lines of up to
  // kWholeLine bytes and estimated for longer ones.  The end of the text
  // stands at the start of its row.
  const qreal x = Cell(position).x();
  QScrollBar* horizontal = horizontalScrollBar();
  const int width = viewport()->width();
  if (x < horizontal->value()) {
    horizontal->setValue(static_cast<int>(std::max<qreal>(0, x - width / 4)));
  } else if (x > horizontal->value() + width - 2 * ColumnWidth()) {
    horizontal->setValue(static_cast<int>(x - width * 3 / 4));
  }
}
