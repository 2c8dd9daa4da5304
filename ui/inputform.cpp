#include "ui/inputform.h"

#include <QShowEvent>
#include <QValidator>

#include "ui_inputform.h"

namespace {

// Refuses any change of the field's text that would let in a character the
// key filter does not pass.
class TKeyFilterValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& /*position*/) const override {
    for (const QChar c : input) {
      if (!TInputForm::MaskEdit1KeyPress(c)) return Invalid;
    }
    return Acceptable;
  }
};

}  // namespace

TInputForm::TInputForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TInputForm>()) {
  ui->setupUi(this);
  setModal(true);
  move(262, 264);
  // The caller converts the text as a decimal number: nothing else gets in.
  ui->MaskEdit1->setValidator(new TKeyFilterValidator(ui->MaskEdit1));
  connect(ui->CancelBtn, &QPushButton::clicked, this, &TInputForm::CancelBtnClick);
  connect(ui->Button1, &QPushButton::clicked, this, &TInputForm::Button1Click);
}

TInputForm::~TInputForm() = default;

QLineEdit* TInputForm::MaskEdit1() const { return ui->MaskEdit1; }

void TInputForm::reject() { Button1Click(); }

void TInputForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ui->MaskEdit1->selectAll();
}

bool TInputForm::MaskEdit1KeyPress(QChar key) { return key >= u'0' && key <= u'9'; }

// Confirms, except for the limit "0", which leaves the dialog open.
void TInputForm::CancelBtnClick() {
  if (ui->MaskEdit1->text() == QStringLiteral("0")) return;
  Cancelled = false;
  accept();
}

void TInputForm::Button1Click() {
  Cancelled = true;
  QDialog::reject();
}
