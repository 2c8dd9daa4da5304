#include "ui/findform.h"

#include <QScreen>
#include <QShowEvent>
#include <algorithm>
#include <exception>

#include "core/find.h"
#include "kovalex_version.h"
#include "regexp/regexp.h"
#include "ui/hitview.h"
#include "ui/messagebox.h"
#include "ui_findform.h"

TFindForm::TFindForm(QWidget* mainForm, THitView* richEdit1, TAWKStr& awkStr1)
    : QDialog(mainForm, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TFindForm>()),
      FMainForm(mainForm),
      FAWKStr1(awkStr1),
      FView(richEdit1) {
  ui->setupUi(this);
  setModal(false);
  connect(ui->FindNextButton, &QPushButton::clicked, this, &TFindForm::FindNextButtonClick);
  connect(ui->CloseButton, &QPushButton::clicked, this, &TFindForm::CloseButtonClick);
  connect(ui->FindTopRadioButton, &QRadioButton::clicked, this, &TFindForm::FindTopRadioButtonClick);
  FormCreate();
}

TFindForm::~TFindForm() = default;

void TFindForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Only a showing by the program, not a window system restore.
  if (!event->spontaneous()) FormShow();
}

void TFindForm::FormCreate() { PlaceBesideMainForm(); }

// 20 pixels below the main window's top edge, centred on it horizontally,
// and then moved as little as needed to lie inside the screen's available
// area.
void TFindForm::PlaceBesideMainForm() {
  if (FMainForm == nullptr) return;
  const QRect main = FMainForm->frameGeometry();
  const QSize frame = frameGeometry().size();
  QPoint place(main.left() + main.width() / 2 - frame.width() / 2, main.top() + 20);
  if (const QScreen* screen = FMainForm->screen()) {
    const QRect area = screen->availableGeometry();
    place.setX(std::max(area.left(), std::min(place.x(), area.right() + 1 - frame.width())));
    place.setY(std::max(area.top(), std::min(place.y(), area.bottom() + 1 - frame.height())));
  }
  move(place);
}

void TFindForm::FormShow() {
  FContinue = false;
  if (ui->FindTopRadioButton->isChecked()) FView.SetSelection(0, 0);
  ui->FindTextEdit->setFocus();
}

void TFindForm::FindNextButtonClick() {
  find::TFindOptions options;
  options.Text = ui->FindTextEdit->text().toStdU16String();
  options.WholeWord = ui->FindWordCheckBox->isChecked();
  options.IgnoreCase = ui->CaseInsensitiveCheckBox->isChecked();
  options.FromTop = ui->FindTopRadioButton->isChecked();
  bool found = false;
  try {
    found = find::FindNext(FView, FAWKStr1, options, FContinue);
  } catch (const std::exception& error) {
    // A malformed pattern or a find text without a Shift-JIS form.
    ShowError(this, error);
    return;
  }
  if (found) {
    FContinue = true;
  } else {
    ShowMessageBox(this, QStringLiteral("     見つかりません     "), QStringLiteral(KOVALEX_PRODUCT));
    find::CollapseSelection(FView);
  }
  activateWindow();
}

void TFindForm::CloseButtonClick() { close(); }

void TFindForm::FindTopRadioButtonClick() { FView.SetSelection(0, 0); }
