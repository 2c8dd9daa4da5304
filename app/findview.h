// The result view as the find algorithm sees it: one line per paragraph
// (text block), positions in the document's UTF-16 units.
#pragma once

#include "core/find.h"

class QPlainTextEdit;

class TTextEditFindView : public find::TFindView {
 public:
  explicit TTextEditFindView(QPlainTextEdit* edit) : FEdit(edit) {}

  int LineCount() const override;
  std::u16string LineText(int line) const override;
  int SelStartLine() const override;
  int LineStart(int line) const override;
  int SelStart() const override;
  void SetSelection(int start, int length) override;

 private:
  QPlainTextEdit* FEdit;
};
