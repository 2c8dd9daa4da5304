// Colour values as the settings store them (core/colours.h) and colours of
// the toolkit.  A stored system colour takes the colour of the matching role
// of the window's palette.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

// A stored colour value as a colour of the toolkit.
QColor ToQColor(std::int32_t colour, const QPalette& palette);
// The explicit stored colour value of a toolkit colour.
std::int32_t FromQColor(const QColor& colour);
// A stored text colour as drawn on background.
QColor ToTextColour(std::int32_t colour, const QPalette& palette, const QColor& background);
