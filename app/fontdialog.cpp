#include "fontdialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFontColourDialog::TFontColourDialog(const QFont& font, const QColor& colour, QWidget* parent)
    : QDialog(parent), FFontDialog(new QFontDialog(font, this)), FColourButton(new QPushButton(this)), FColour(colour) {
  setWindowTitle(QStringLiteral("フォント"));
  // The font chooser is embedded as a plain widget without its own buttons.
  FFontDialog->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
  FFontDialog->setWindowFlags(Qt::Widget);
  FFontDialog->setSizeGripEnabled(false);

  auto* colourRow = new QHBoxLayout;
  auto* colourLabel = new QLabel(QStringLiteral("色(&C):"), this);
  colourLabel->setBuddy(FColourButton);
  colourRow->addWidget(colourLabel);
  colourRow->addWidget(FColourButton);
  colourRow->addStretch();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FFontDialog);
  layout->addLayout(colourRow);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(FColourButton, &QPushButton::clicked, this, &TFontColourDialog::ColourButtonClick);
  ShowColour();
}

QFont TFontColourDialog::SelectedFont() const { return FFontDialog->currentFont(); }

void TFontColourDialog::ColourButtonClick() {
  const QColor chosen = QColorDialog::getColor(FColour, this);
  if (!chosen.isValid()) return;
  FColour = chosen;
  ShowColour();
}

void TFontColourDialog::ShowColour() {
  FColourButton->setText(FColour.name());
  QPixmap swatch(24, 12);
  swatch.fill(FColour);
  FColourButton->setIcon(QIcon(swatch));
}

bool TFontColourDialog::Choose(QWidget* parent, QFont& font, QColor& colour) {
  TFontColourDialog dialog(font, colour, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  font = dialog.SelectedFont();
  colour = dialog.SelectedColour();
  return true;
}
