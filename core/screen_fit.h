// Fitting a stored window geometry into the screen.
//
// The settings file may hold any position and size (a screen since removed,
// a hand-edited 100000 x 100000); the window must open within the area of
// the screen that windows may use, no larger than it, so that it neither
// hides off screen nor asks the toolkit for a gigantic surface.
#pragma once

namespace screen_fit {

struct TRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const TRect&) const = default;
};

// The client rectangle client (position of the window, size of its client
// area) fitted into area: the client no larger than area less the window's
// own parts around the client (frameWidth, frameHeight: menu bar, borders),
// then the whole window moved into area.  A client size below 1 is left for
// the window's minimum size to raise.
TRect FitToArea(const TRect& client, const TRect& area, int frameWidth, int frameHeight);

}  // namespace screen_fit
