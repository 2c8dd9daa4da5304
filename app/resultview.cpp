#include "resultview.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "core/colours.h"
#include "core/encoding.h"

namespace {

QPalette::ColorRole SystemColourRole(int index) {
  switch (index) {
    case 1:  // desktop
    case 4:  // menu
      return QPalette::Window;
    case 5:  // window background
      return QPalette::Base;
    case 6:   // window frame
    case 21:  // dark 3-D shadow
      return QPalette::Shadow;
    case 7:  // menu text
      return QPalette::WindowText;
    case 2:   // active caption
    case 13:  // highlight
      return QPalette::Highlight;
    case 9:   // caption text
    case 14:  // highlighted text
      return QPalette::HighlightedText;
    case 0:   // scroll bar
    case 15:  // button face
      return QPalette::Button;
    case 12:  // application workspace
    case 16:  // button shadow
      return QPalette::Dark;
    case 18:  // button text
      return QPalette::ButtonText;
    case 20:  // button highlight
      return QPalette::Light;
    case 22:  // 3-D light
      return QPalette::Midlight;
    case 23:  // tooltip text
      return QPalette::ToolTipText;
    case 24:  // tooltip background
      return QPalette::ToolTipBase;
    case 26:  // hot-tracked item
      return QPalette::Link;
    default:  // window text (8) and anything unknown
      return QPalette::Text;
  }
}

}  // namespace

QColor ToQColor(std::int32_t colour, const QPalette& palette) {
  if (colours::IsSystemColour(colour)) {
    const int index = colours::SystemColourIndex(colour);
    if (index == 17) return palette.color(QPalette::Disabled, QPalette::Text);  // grey text
    return palette.color(QPalette::Active, SystemColourRole(index));
  }
  const colours::TRgb rgb = colours::RgbOf(colour);
  return QColor(rgb.Red, rgb.Green, rgb.Blue);
}

std::int32_t FromQColor(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return colours::FromRgb(rgb.red(), rgb.green(), rgb.blue());
}

TResultView::TResultView(QPlainTextEdit* richEdit1) : RichEdit1(richEdit1), FNormalFont(richEdit1->font()) {}

QTextCharFormat TResultView::NormalFormat() const {
  if (FNormalFormat) return *FNormalFormat;
  QTextCharFormat format;
  format.setFontFamilies(FNormalFont.families());
  if (FNormalFont.pointSizeF() > 0) {
    format.setFontPointSize(FNormalFont.pointSizeF());
  } else {
    format.setFont(FNormalFont, QTextCharFormat::FontPropertiesSpecifiedOnly);
  }
  format.setFontWeight(QFont::Normal);
  format.setFontItalic(false);
  format.setFontUnderline(false);
  format.setForeground(ToQColor(FNormalColour, RichEdit1->palette()));
  FNormalFormat = format;
  return format;
}

QTextCharFormat TResultView::KeywordFormat(const hits::TKeywordStyle& style) const {
  if (FKeywordFormat && FKeywordFormat->first == style) return FKeywordFormat->second;
  QTextCharFormat format = NormalFormat();
  format.setFontWeight(style.Bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(style.Italic);
  format.setFontUnderline(style.Underline);
  format.setForeground(ToQColor(style.Colour, RichEdit1->palette()));
  FKeywordFormat.emplace(style, format);
  return format;
}

void TResultView::ForgetFormats() {
  FNormalFormat.reset();
  FKeywordFormat.reset();
}

void TResultView::Clear() {
  RichEdit1->document()->clear();
  ForgetFormats();  // a new search takes the palette as it is now
}

QTextCursor TResultView::EndCursor() {
  QTextCursor cursor = FFilling ? FFillCursor : QTextCursor(RichEdit1->document());
  cursor.movePosition(QTextCursor::End);
  return cursor;
}

void TResultView::AppendLine(const std::string& line) {
  const QTextCharFormat normal = NormalFormat();
  QTextCursor cursor = EndCursor();
  if (!FFilling) cursor.beginEditBlock();
  cursor.insertText(QString::fromStdU16String(encoding::DecodeSjis(line).Text), normal);
  cursor.insertBlock(QTextBlockFormat(), normal);
  if (!FFilling) cursor.endEditBlock();
  ++FLinesSinceLayout;
}

void TResultView::AppendHitLine(const std::string& line, int runStart, int runLength,
                                const hits::TKeywordStyle& style) {
  const encoding::TDecoded decoded = encoding::DecodeSjis(line);
  const QString text = QString::fromStdU16String(decoded.Text);
  // Both ends of the run lie on character boundaries of the line, so the
  // offsets of those bytes are exactly the run's ends in the decoded text.
  const int begin = decoded.Offsets[static_cast<std::size_t>(runStart)];
  const int end = decoded.Offsets[static_cast<std::size_t>(runStart + runLength)];
  const QTextCharFormat normal = NormalFormat();

  QTextCursor cursor = EndCursor();
  if (!FFilling) cursor.beginEditBlock();
  cursor.insertText(text.left(begin), normal);
  cursor.insertText(text.mid(begin, end - begin), KeywordFormat(style));
  cursor.insertText(text.mid(end), normal);
  cursor.insertBlock(QTextBlockFormat(), normal);
  if (!FFilling) cursor.endEditBlock();
  ++FLinesSinceLayout;
}

void TResultView::SetEnabled(bool enabled) {
  RichEdit1->setEnabled(enabled);
  if (!enabled && !FFilling) {
    // The view is being filled: gather the lines in one edit of the
    // document and lay them out and paint them now and then (Refresh)
    // instead of after every line.
    FFilling = true;
    RichEdit1->setUpdatesEnabled(false);
    FFillCursor = QTextCursor(RichEdit1->document());
    FFillCursor.beginEditBlock();
    FLastRefresh.start();
  } else if (enabled && FFilling) {
    FFilling = false;
    FFillCursor.endEditBlock();
    FFillCursor = QTextCursor();
    RichEdit1->setUpdatesEnabled(true);
  }
}

bool TResultView::Refresh() {
  if (!FFilling) return false;
  const bool paint = FLastRefresh.elapsed() >= kRefreshInterval;
  if (!paint && FLinesSinceLayout < kLayoutLines) return false;
  // Closing the edit lays out the lines gathered since it was opened; doing
  // that every few hundred lines keeps each layout short, so the window
  // never stops reacting for long.
  FFillCursor.endEditBlock();
  FLinesSinceLayout = 0;
  if (paint) {
    RichEdit1->setUpdatesEnabled(true);
    RichEdit1->repaint();
    RichEdit1->setUpdatesEnabled(false);
    FLastRefresh.restart();
  }
  FFillCursor.beginEditBlock();
  return paint;
}

void TResultView::SetHideSelection(bool hide) {
  if (hide == FSelectionHidden) return;
  FSelectionHidden = hide;
  ForgetFormats();
  if (hide) {
    // A selection drawn in the text's own colours on the text's own
    // background cannot be told from the rest.
    FShownPalette = RichEdit1->palette();
    QPalette hidden = FShownPalette;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      hidden.setBrush(group, QPalette::Highlight, hidden.brush(group, QPalette::Base));
      hidden.setBrush(group, QPalette::HighlightedText, hidden.brush(group, QPalette::Text));
    }
    RichEdit1->setPalette(hidden);
  } else {
    RichEdit1->setPalette(FShownPalette);
  }
}

void TResultView::CaretToStart() {
  QTextCursor cursor = RichEdit1->textCursor();
  cursor.movePosition(QTextCursor::Start);
  RichEdit1->setTextCursor(cursor);
}

void TResultView::SetNormalFont(const QFont& font) {
  FNormalFont = font;
  ForgetFormats();
  RichEdit1->document()->setDefaultFont(font);
}

void TResultView::SetNormalColour(std::int32_t colour) {
  FNormalColour = colour;
  ForgetFormats();
  QPalette p = RichEdit1->palette();
  p.setColor(QPalette::Text, ToQColor(colour, p));
  RichEdit1->setPalette(p);
  if (FSelectionHidden) FShownPalette.setColor(QPalette::Text, p.color(QPalette::Text));
}

void TResultView::ApplyNormalFont(const QFont& font, std::int32_t colour) {
  SetNormalFont(font);
  SetNormalColour(colour);
  // Existing text takes the new face and size and keeps its colours, so
  // keyword runs stay in the keyword colour.
  QTextCharFormat faceAndSize;
  faceAndSize.setFontFamilies(font.families());
  if (font.pointSizeF() > 0) faceAndSize.setFontPointSize(font.pointSizeF());
  QTextCursor all(RichEdit1->document());
  all.select(QTextCursor::Document);
  all.mergeCharFormat(faceAndSize);
  QTextCursor caret = RichEdit1->textCursor();
  caret.setPosition(0);
  RichEdit1->setTextCursor(caret);
  RichEdit1->setFont(font);
}

void TResultView::SetBackgroundColour(std::int32_t colour) {
  FBackgroundColour = colour;
  ForgetFormats();
  QPalette p = RichEdit1->palette();
  p.setColor(QPalette::Base, ToQColor(colour, p));
  RichEdit1->setPalette(p);
  if (FSelectionHidden) FShownPalette.setColor(QPalette::Base, p.color(QPalette::Base));
}
