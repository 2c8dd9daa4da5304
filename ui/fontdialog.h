// The font chooser of the font commands: face and size from the toolkit's
// font chooser, plus what the toolkit's chooser does not offer the way the
// commands need it: the colour of the text, and for the keyword font the
// three style flags that the settings store (bold, italic, underline).
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QCheckBox;
class QFontDialog;
class QListView;
class QPushButton;

// What a font command chooses: the normal font (face, size, colour) or the
// keyword's look (style flags and colour).
enum class TFontChoice { Normal, Keyword };

class TFontColourDialog : public QDialog {
  Q_OBJECT

 public:
  TFontColourDialog(const QFont& font, const QColor& colour, TFontChoice choice, QWidget* parent = nullptr);

  // The chosen family and size, with the style flags of the check boxes
  // (keyword) or none (normal).
  QFont SelectedFont() const;
  QColor SelectedColour() const { return FColour; }
  // The toolkit's chooser inside, for tests.
  QFontDialog* FontDialog() const { return FFontDialog; }

  // Shows the dialog modally with font and colour preset; on OK stores the
  // choice in them and returns true.
  static bool Choose(QWidget* parent, QFont& font, QColor& colour, TFontChoice choice);

  // The font as the window shows it: the family the toolkit really draws a
  // face name with (a substitute for a name that is not installed), with the
  // size and the style flags of font.
  static QFont ShownFont(const QFont& font);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ColourButtonClick();
  void ShowColour();
  void HideStylesAndEffects();
  // Selects, in the hidden style list, the family's face for the wanted
  // flags, or its regular face.
  void FollowStyle();

  QFontDialog* FFontDialog;
  QListView* FStyleList = nullptr;
  QCheckBox* FBold = nullptr;
  QCheckBox* FItalic = nullptr;
  QCheckBox* FUnderline = nullptr;
  QPushButton* FColourButton;
  QColor FColour;
  TFontChoice FChoice;
  bool FFollowing = false;
};
