// TFindForm: the modeless, always-on-top dialog that finds text in the main
// window's result view and selects the next occurrence.  The find text is a
// regular expression matched with the main window's AWKStr1; the search
// itself is find::FindNext, this dialog only wires it to its controls.
#pragma once

#include <QDialog>
#include <memory>

#include "ui/findview.h"

class QShowEvent;
class THitView;
class TAWKStr;

namespace Ui {
class TFindForm;
}

class TFindForm : public QDialog {
  Q_OBJECT

 public:
  // Created once, hidden; mainForm owns the dialog and places it.
  TFindForm(QWidget* mainForm, THitView* richEdit1, TAWKStr& awkStr1);
  ~TFindForm() override;

  // Beside the main window as it stands now, inside the screen's available
  // area; the main window calls it before it shows the dialog.
  void PlaceBesideMainForm();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  void FindNextButtonClick();
  void CloseButtonClick();
  void FindTopRadioButtonClick();

  std::unique_ptr<Ui::TFindForm> ui;
  QWidget* FMainForm;
  TAWKStr& FAWKStr1;
  THitFindView FView;
  // True once a find of this showing has selected a match: the next find then
  // goes on after that match instead of at the caret.
  bool FContinue = false;
};
