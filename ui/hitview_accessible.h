// The result view as screen readers see it: a read-only, multi-line text
// whose characters, words and lines are read on request from the hit store,
// with its caret and selection, and told of text added, removed and moved
// over.
#pragma once

#include <QAccessibleWidget>

class THitView;

// Installs the factory that gives every THitView the interface below; once.
void InstallHitViewAccessibility();

// The role is that of the toolkit's own read-only text views (an editable
// text, read only, multi-line), which screen readers read as a document
// with caret navigation, line and word reading and "say all".  Offsets are
// UTF-16 units, as the interfaces count them; every character is one unit,
// a line end too (the text is the store's lines, each followed by "\n").
class THitViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit THitViewAccessible(THitView* view);

  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  // QAccessibleTextInterface.  An offset of -1 means the end of the text,
  // -2 the caret.
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int startOffset, int endOffset) const override;
  // Characters as the engine cuts them; words as a double click selects
  // them (core/words.h), a line end a word of its own; lines, paragraphs
  // and sentences are the lines, each with its line end.  Before, at and
  // after an offset as the toolkit's own text views answer.
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                           int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                          int* endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                       int* endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int startIndex, int endIndex) override;
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

 private:
  THitView* View() const;
  // Offsets resolved (-1, -2) and the positions of the view they stand for.
  int Resolve(int offset) const;
  std::int64_t Position(int offset) const;
  int Offset(std::int64_t position) const;
  // The text [start, end), with its ends given back.
  QString Piece(int start, int end, int* startOffset, int* endOffset) const;
  // The word and the line that hold the character at offset, as offsets.
  std::pair<int, int> WordOf(int offset) const;
  std::pair<int, int> LineOf(int offset) const;
};
