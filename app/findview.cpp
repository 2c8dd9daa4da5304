#include "findview.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

int TTextEditFindView::LineCount() const { return FEdit->document()->blockCount(); }

std::u16string TTextEditFindView::LineText(int line) const {
  return FEdit->document()->findBlockByNumber(line).text().toStdU16String();
}

int TTextEditFindView::SelStartLine() const {
  return FEdit->document()->findBlock(FEdit->textCursor().selectionStart()).blockNumber();
}

int TTextEditFindView::LineStart(int line) const { return FEdit->document()->findBlockByNumber(line).position(); }

int TTextEditFindView::SelStart() const { return FEdit->textCursor().selectionStart(); }

void TTextEditFindView::SetSelection(int start, int length) {
  QTextCursor cursor(FEdit->document());
  cursor.setPosition(start);
  cursor.setPosition(start + length, QTextCursor::KeepAnchor);
  FEdit->setTextCursor(cursor);
}
