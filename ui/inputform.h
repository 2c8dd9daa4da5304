// TInputForm: the modal dialog in which the user types the hit limit.  The
// caller fills MaskEdit1, runs exec() and, unless Cancelled is set, reads
// MaskEdit1's text.  The field takes at most four decimal digits.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <memory>

namespace Ui {
class TInputForm;
}

class TInputForm : public QDialog {
  Q_OBJECT

 public:
  explicit TInputForm(QWidget* parent);
  ~TInputForm() override;

  QLineEdit* MaskEdit1() const;

  // Set by the button that ended the last showing: true for "ｷｬﾝｾﾙ(&C)"
  // (and Escape), false for "設定(&S)".
  bool Cancelled = false;

  // Escape (and any other way of closing the window) cancels.
  void reject() override;

  // The key filter of MaskEdit1: whether a character may enter the field.
  // Only the digits 0-9 pass; the field applies it to every character that
  // would enter it, typed, pasted, dropped or composed, so its text stays a
  // decimal number or empty.  Backspace and the editing keys only remove or
  // move and always work.
  static bool MaskEdit1KeyPress(QChar key);

 protected:
  // The field opens with its text selected, so a new limit can be typed
  // over the old one at once.
  void showEvent(QShowEvent* event) override;

 private:
  void CancelBtnClick();
  void Button1Click();

  std::unique_ptr<Ui::TInputForm> ui;
};
