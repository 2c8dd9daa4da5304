#include "ui/fontdialog.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The grid column of the chooser's layout that holds widget alone, or -1.
int GridColumn(QGridLayout* grid, QWidget* widget) {
  const int index = grid->indexOf(widget);
  if (index < 0) return -1;
  int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
  grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
  // Only widgets of that one column; the sample spans several.
  return columnSpan == 1 ? column : -1;
}

constexpr int kSampleHeight = 72;
// The point size at which a family's faces are looked at.
constexpr int kProbeSize = 10;

}  // namespace

// The style flags are check boxes of their own rather than the family's
// list of styles: a Japanese family often has only a regular face, and the
// toolkit draws bold and slanted text for it all the same.  The family's
// style list is kept out of sight and only follows the flags, so that the
// sample shows a real face where the family has one; changing the family
// keeps the flags, which is "the current style where the family has it,
// else regular".  Strikeout, which no setting stores, is not offered.
TFontColourDialog::TFontColourDialog(const QFont& font, const QColor& colour, TFontChoice choice, QWidget* parent)
    : QDialog(parent),
      FFontDialog(new QFontDialog(font, this)),
      FColourButton(new QPushButton(this)),
      FColour(colour),
      FChoice(choice) {
  setWindowTitle(QStringLiteral("フォント"));
  // The font chooser is embedded as a plain widget without its own buttons.
  FFontDialog->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
  FFontDialog->setWindowFlags(Qt::Widget);
  FFontDialog->setSizeGripEnabled(false);
  // Enter and Escape inside the chooser end the chooser as a dialog of its
  // own, which would hide it and leave this dialog without its body: they
  // end this dialog instead.
  connect(FFontDialog, &QDialog::finished, this, [this](int result) {
    FFontDialog->setVisible(FChoice == TFontChoice::Normal);
    done(result == QDialog::Accepted ? QDialog::Accepted : QDialog::Rejected);
  });
  // Enter in a control of the chooser that does not take it (the size box)
  // reaches the chooser, which has no visible button to give it to.
  FFontDialog->installEventFilter(this);

  auto* optionsRow = new QHBoxLayout;
  if (choice == TFontChoice::Keyword) {
    FBold = new QCheckBox(QStringLiteral("太字(&B)"), this);
    FItalic = new QCheckBox(QStringLiteral("斜体(&I)"), this);
    FUnderline = new QCheckBox(QStringLiteral("下線(&U)"), this);
    FBold->setChecked(font.bold());
    FItalic->setChecked(font.italic());
    FUnderline->setChecked(font.underline());
    for (QCheckBox* box : {FBold, FItalic, FUnderline}) {
      optionsRow->addWidget(box);
      connect(box, &QCheckBox::toggled, this, &TFontColourDialog::FollowStyle);
    }
  }
  auto* colourLabel = new QLabel(QStringLiteral("色(&C):"), this);
  colourLabel->setBuddy(FColourButton);
  optionsRow->addWidget(colourLabel);
  optionsRow->addWidget(FColourButton);
  optionsRow->addStretch();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  // Enter means OK wherever the focus is: the dialog would otherwise make
  // the first button after the focus its default, the colour button.
  FColourButton->setAutoDefault(false);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FFontDialog);
  layout->addLayout(optionsRow);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(FColourButton, &QPushButton::clicked, this, &TFontColourDialog::ColourButtonClick);
  HideStylesAndEffects();
  // The chooser picks a style of its own after a change of family, after
  // telling of the change: follow at once and once more when it is done.
  connect(FFontDialog, &QFontDialog::currentFontChanged, this, [this] {
    FollowStyle();
    QTimer::singleShot(0, this, &TFontColourDialog::FollowStyle);
  });
  FollowStyle();
  ShowColour();
  // The keyword keeps the normal font's face and size: its chooser offers
  // only what the keyword uses, the style flags and the colour.
  if (choice == TFontChoice::Keyword) {
    FFontDialog->hide();
    setWindowTitle(QStringLiteral("キーワードのスタイル"));
  }
}

void TFontColourDialog::HideStylesAndEffects() {
  // The chooser lays out family, style and size in three columns of one
  // grid; the style column is the one whose list holds the family's styles.
  auto* grid = qobject_cast<QGridLayout*>(FFontDialog->layout());
  const QString family = FFontDialog->currentFont().family();
  const QStringList styles = QFontDatabase::styles(family);
  int styleColumn = -1;
  for (QListView* list : FFontDialog->findChildren<QListView*>()) {
    QAbstractItemModel* model = list->model();
    if (model == nullptr || model->rowCount() == 0) continue;
    if (styles.contains(model->index(0, 0).data().toString()) && grid != nullptr) {
      FStyleList = list;
      styleColumn = GridColumn(grid, list);
    }
  }
  for (QWidget* child : FFontDialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    // The effects (strikeout, underline): nothing stores strikeout, and the
    // keyword's underline is a check box of this dialog.
    if (auto* group = qobject_cast<QGroupBox*>(child); group != nullptr && !group->findChildren<QCheckBox*>().empty()) {
      group->hide();
      continue;
    }
    // The sample keeps room for a line of text at large sizes.
    if (auto* group = qobject_cast<QGroupBox*>(child); group != nullptr) group->setMinimumHeight(kSampleHeight);
    if (styleColumn >= 0 && GridColumn(grid, child) == styleColumn) child->hide();
  }
}

void TFontColourDialog::FollowStyle() {
  if (FFollowing || FStyleList == nullptr) return;
  FFollowing = true;
  const bool bold = FBold != nullptr && FBold->isChecked();
  const bool italic = FItalic != nullptr && FItalic->isChecked();
  const QString family = FFontDialog->currentFont().family();
  QAbstractItemModel* model = FStyleList->model();
  int wanted = -1;
  int regular = -1;
  for (int row = 0; row < model->rowCount(); ++row) {
    const QString style = model->index(row, 0).data().toString();
    const QFont face = QFontDatabase::font(family, style, kProbeSize);
    const bool styleBold = face.weight() >= QFont::DemiBold;
    const bool styleItalic = face.style() != QFont::StyleNormal;  // italic or oblique
    // Of several such faces the plainest, the one with the shortest name
    // ("Bold" rather than "Condensed Bold").
    auto plainer = [&](int other) {
      return other < 0 || style.size() < model->index(other, 0).data().toString().size();
    };
    if (styleBold == bold && styleItalic == italic && plainer(wanted)) wanted = row;
    if (!styleBold && !styleItalic && plainer(regular)) regular = row;
  }
  const int row = wanted >= 0 ? wanted : regular;
  if (row >= 0 && FStyleList->currentIndex().row() != row) FStyleList->setCurrentIndex(model->index(row, 0));
  FFollowing = false;
}

QFont TFontColourDialog::SelectedFont() const {
  const QFont current = FFontDialog->currentFont();
  QFont font(current.family());
  if (current.pointSizeF() > 0) font.setPointSizeF(current.pointSizeF());
  font.setBold(FBold != nullptr && FBold->isChecked());
  font.setItalic(FItalic != nullptr && FItalic->isChecked());
  font.setUnderline(FUnderline != nullptr && FUnderline->isChecked());
  return font;
}

bool TFontColourDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FFontDialog && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      accept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

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

bool TFontColourDialog::Choose(QWidget* parent, QFont& font, QColor& colour, TFontChoice choice) {
  TFontColourDialog dialog(font, colour, choice, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  font = dialog.SelectedFont();
  colour = dialog.SelectedColour();
  return true;
}

QFont TFontColourDialog::ShownFont(const QFont& font) {
  QFont shown(QFontInfo(font).family());
  if (font.pointSizeF() > 0) {
    shown.setPointSizeF(font.pointSizeF());
  } else if (font.pixelSize() > 0) {
    shown.setPixelSize(font.pixelSize());
  }
  shown.setBold(font.bold());
  shown.setItalic(font.italic());
  shown.setUnderline(font.underline());
  return shown;
}
