// The font chooser of the font commands: face, size, style and effects from
// the toolkit's font chooser, plus the colour of the text, which the
// toolkit's chooser does not offer.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QPushButton;

class TFontColourDialog : public QDialog {
  Q_OBJECT

 public:
  TFontColourDialog(const QFont& font, const QColor& colour, QWidget* parent = nullptr);

  QFont SelectedFont() const;
  QColor SelectedColour() const { return FColour; }

  // Shows the dialog modally with font and colour preset; on OK stores the
  // choice in them and returns true.
  static bool Choose(QWidget* parent, QFont& font, QColor& colour);

 private:
  void ColourButtonClick();
  void ShowColour();

  QFontDialog* FFontDialog;
  QPushButton* FColourButton;
  QColor FColour;
};
