// The main window's view menu: the choosers of the normal font, the keyword
// font, the background colour and the hit limit.
#include <QFontInfo>
#include <QLineEdit>

#include "core/colours.h"
#include "core/profile_integer.h"
#include "text/encoding.h"
#include "ui/colourmap.h"
#include "ui/hitview.h"
#include "ui/inputform.h"
#include "ui/mainform.h"
#include "ui_mainform.h"

void TMainForm::SubMenuView3Click() {
  Command([this] {
    // The chooser opens on the face the view really shows; that face, kept,
    // keeps the name it was stored under.
    const QFont stored = FResultView.NormalFont();
    QFont font = TFontColourDialog::ShownFont(stored);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    const QColor current = ToQColor(FResultView.NormalColour(), ui->RichEdit1->palette());
    QColor colour = current;
    FFontChoice = TFontChoice::Normal;
    if (!FontChooser(font, colour)) return;
    if (font.family() == QFontInfo(stored).family()) font.setFamilies(stored.families());
    // An unchanged colour keeps its stored value (a system colour stays one).
    const std::int32_t value = colour == current ? FResultView.NormalColour() : FromQColor(colour);
    FResultView.ApplyNormalFont(font, value);
  });
}

void TMainForm::SubMenuView4Click() {
  Command([this] {
    QFont font = TFontColourDialog::ShownFont(FResultView.NormalFont());
    font.setBold(FKeywordStyle.Bold);
    font.setItalic(FKeywordStyle.Italic);
    font.setUnderline(FKeywordStyle.Underline);
    const QColor current = ToQColor(FKeywordStyle.Colour, ui->RichEdit1->palette());
    QColor colour = current;
    FFontChoice = TFontChoice::Keyword;
    if (!FontChooser(font, colour)) return;
    FKeywordStyle.Bold = font.bold();
    FKeywordStyle.Italic = font.italic();
    FKeywordStyle.Underline = font.underline();
    if (colour != current) FKeywordStyle.Colour = FromQColor(colour);
  });
}

void TMainForm::SubMenuView5Click() {
  Command([this] {
    QColor colour = ToQColor(FResultView.BackgroundColour(), ui->RichEdit1->palette());
    if (!ColourChooser(colour)) return;
    FResultView.SetBackgroundColour(FromQColor(colour));
  });
}

void TMainForm::SubMenuView8Click() {
  Command([this] {
    if (FInputForm == nullptr) return;
    FInputForm->MaskEdit1()->setText(QString::number(FHitLimit));
    FInputForm->exec();
    if (FInputForm->Cancelled) return;
    const QString text = FInputForm->MaskEdit1()->text();
    bool ok = false;
    const int limit = text.toInt(&ok, 10);
    if (!ok) ThrowNotAnInteger(encoding::EncodeSjisLossy(text.toStdU16String()).Bytes);
    SetHitLimit(limit);
  });
}
