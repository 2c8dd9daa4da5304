#include "ui/colourmap.h"

#include <cstdlib>

#include "core/colours.h"

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

// A text colour must stay readable on its background: a system colour that
// names a background (the window, a button face, a 3-D light) and so comes
// out as the background itself, or nearly, is drawn in the palette's text
// colour instead.  An explicit colour is drawn as stored, whatever it is.
QColor ToTextColour(std::int32_t colour, const QPalette& palette, const QColor& background) {
  const QColor mapped = ToQColor(colour, palette);
  if (!colours::IsSystemColour(colour)) return mapped;
  // Too close to the background to be read: the text colour, or failing
  // that black or white, whichever stands out.
  auto distance = [](const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
  };
  constexpr int kReadable = 128;
  if (distance(mapped, background) >= kReadable) return mapped;
  const QColor text = palette.color(QPalette::Active, QPalette::Text);
  if (distance(text, background) >= kReadable) return text;
  return background.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black);
}
