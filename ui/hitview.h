// THitView: the window's read-only result view (RichEdit1).  It shows the
// Shift-JIS lines of a hits::THitStore with their keyword runs, converting
// and drawing only the lines in view, keeps a hits::TSelection that the
// mouse and the keys move, and is read by screen readers as a text
// (ui/hitview_accessible.h).
#pragma once

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QElapsedTimer>
#include <QFont>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTextLayout>
#include <cstdint>
#include <string>
#include <vector>

#include "core/hitstore.h"
#include "core/selection.h"
#include "core/text_offsets.h"

class THitView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit THitView(QWidget* parent = nullptr);

  // Lines longer than this many bytes are cut to the columns in view.
  static constexpr std::size_t kWholeLine = 4096;
  // Painting interval while filling, in milliseconds.
  static constexpr int kRefreshInterval = 100;
  // Screen readers are told the text that a fill or a clear adds or removes
  // up to this many bytes; they read a longer one when they come to it.
  static constexpr std::int64_t kAnnouncedText = 1 << 16;

  const hits::THitStore& Store() const { return FStore; }

  // --- Filling -----------------------------------------------------------
  // Between BeginFill and EndFill lines are only added to the store; Refresh,
  // called from the search's message pump, shows what has been added.
  void Clear();
  void AppendLine(const std::string& line);
  void AppendHitLine(const std::string& line, std::size_t runStart, std::size_t runLength,
                     const hits::TKeywordStyle& style);
  // The same for text given as Unicode (characters without a Shift-JIS
  // form become "?"), and the usual names of an edit for both.
  void AppendText(const QString& line);
  void clear() { Clear(); }
  void appendPlainText(const QString& line) { AppendText(line); }
  void BeginFill();
  void EndFill();
  bool Filling() const { return FFilling; }
  // While filling: shows the lines added so far, at most every
  // kRefreshInterval milliseconds.  True when it painted.
  bool Refresh();

  // --- Look --------------------------------------------------------------
  QFont NormalFont() const { return FNormalFont; }
  void SetNormalFont(const QFont& font);
  // The colour of text outside keyword runs, for the lines added from now
  // on: the lines already there keep theirs.
  void SetTextColour(const QColor& colour);
  QColor TextColour() const { return FTextColours.back().second; }
  // While hidden, the selection and the caret are not drawn.
  void SetSelectionHidden(bool hidden);
  // The formats of a line's text as drawn (normal text, its keyword run),
  // in UTF-16 units of LineText(line).
  QList<QTextLayout::FormatRange> LineFormats(std::int64_t line) const;

  // --- Text, caret and selection ------------------------------------------
  // Positions are byte positions in the store's text, in which every line
  // ends with one line feed: the unit the search driver and the find dialog
  // count in.  A position always lies on a character boundary.
  std::int64_t LineCount() const { return FStore.LineCount(); }
  std::int64_t LineStart(std::int64_t line) const { return FStore.LineStart(line); }
  QString LineText(std::int64_t line) const;
  QString toPlainText() const;
  bool isReadOnly() const { return true; }

  std::int64_t CaretPosition() const { return FSelection.Caret(); }
  std::int64_t SelStart() const { return FSelection.Start(); }
  std::int64_t SelLength() const { return FSelection.Length(); }
  bool HasSelection() const { return !FSelection.Empty(); }
  // Selects [start, start + length), the caret at its end, and scrolls it
  // into view.  Positions are put on character boundaries.
  void SetSelection(std::int64_t start, std::int64_t length);
  // Moves the caret; keepAnchor extends the selection instead of emptying it.
  void MoveCaret(std::int64_t position, bool keepAnchor);
  void SelectAll();
  QString SelectedText() const;
  // The text between two positions, lines separated by "\n".
  QString TextBetween(std::int64_t from, std::int64_t to) const;
  // The same as UTF-8, the form the clipboard gets: a copy of millions of
  // lines costs the copied text once more, not its UTF-16 form and copies.
  QByteArray Utf8Between(std::int64_t from, std::int64_t to) const;
  void Copy() const;
  // Copies the whole text; the caret stays where it was, the selection empty.
  void CopyAll();

  // Printable keys typed in the view go to target, which takes the focus:
  // typing starts a new query.
  void SetTypingTarget(QWidget* target) { FTypingTarget = target; }

  // --- Geometry and UTF-16 offsets, for the accessibility interface --------
  // The position under a point of the viewport.
  std::int64_t PositionAt(const QPoint& point) const;
  // The cell of the character at position, in viewport coordinates.
  QRect CharacterRect(std::int64_t position) const;
  // Scrolls position into view.
  void EnsureVisible(std::int64_t position);
  // The text as the accessibility interfaces count it, in UTF-16 units
  // (every character one, each line end one).
  std::int64_t TextLength() const { return FOffsets.Length(); }
  std::int64_t OffsetOf(std::int64_t position) const { return FOffsets.OffsetOf(position); }
  std::int64_t PositionOf(std::int64_t offset) const { return FOffsets.PositionOf(offset); }
  // The row that shows position (LineCount() for the end of the text).
  std::int64_t RowOf(std::int64_t position) const { return FSelection.RowOf(position); }

  // The row height and the width of a column, in pixels.
  int LineHeight() const;
  qreal ColumnWidth() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // The part of a line that is converted and laid out.
  struct TSlice {
    std::size_t Begin = 0;  // line bytes [Begin, End)
    std::size_t End = 0;
    QString Text;
    std::vector<int> Offsets;  // slice byte -> UTF-16 index, one per byte plus one
    qreal X = 0;               // where the slice is drawn, in viewport pixels
  };
  TSlice SliceOf(std::int64_t line) const;
  QList<QTextLayout::FormatRange> Formats(std::int64_t line, const TSlice& slice) const;
  void LayOut(QTextLayout& layout) const;
  // The UTF-16 index in a slice of a line byte, and back.
  static int IndexOfByte(const TSlice& slice, std::size_t byte);
  static std::size_t ByteOfIndex(const TSlice& slice, int index);

  std::int64_t FirstVisibleLine() const;
  int VisibleLines() const;
  void UpdateScrollBars();
  // The cell of the character at position (a line end: one column) in the
  // whole text's coordinates: measured for a line of up to kWholeLine bytes,
  // estimated from the columns for a longer one.
  QRectF Cell(std::int64_t position) const;
  QTextCharFormat KeywordFormat(const hits::TKeywordStyle& style) const;

  hits::THitStore FStore;
  QFont FNormalFont;
  // The normal text colour from a line on: (first line, colour), rising.
  std::vector<std::pair<std::int64_t, QColor>> FTextColours{{0, QColor(Qt::black)}};
  QColor TextColourOf(std::int64_t line) const;
  hits::TSelection FSelection{FStore};
  bool FSelectionHidden = false;
  bool FFilling = false;
  QElapsedTimer FLastRefresh;
  QPointer<QWidget> FTypingTarget;

  // Accessibility (ui/hitview_accessible.cpp).  After every change of the
  // caret or the selection: repaints and tells screen readers what moved.
  void SelectionChanged();
  // Tells screen readers of the text added since the last time, or that
  // all of it went (Clear, before clearing the store).
  void AnnounceAppended();
  void AnnounceCleared();
  mutable hits::TTextOffsets FOffsets{FStore};
  struct TAnnounced {
    std::int64_t Caret = 0, Start = 0, Length = 0;
  } FAnnounced;
  std::int64_t FAnnouncedSize = 0;  // bytes of the store's text told of
};
