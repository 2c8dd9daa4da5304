// The main window's geometry, toolkit-free: a stored place and size fitted
// into the screen, the smallest client area, and where the window's parts go
// in a client area of a given size.
#pragma once

namespace form_geometry {

struct TRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const TRect&) const = default;
};

struct TSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const TSize&) const = default;
};

// The client rectangle client (position of the window, size of its client
// area) fitted into area: the client no larger than area less the window's
// own parts around the client (frameWidth, frameHeight: menu bar, borders),
// then the whole window moved into area.  A client size below 1 is left for
// the window's minimum size to raise.
TRect FitToArea(const TRect& client, const TRect& area, int frameWidth, int frameHeight);

// The smallest client area: as wide as the dictionary bar reaches (barRight,
// the right edge of its last panel) and a margin, kMinimumHeight high.
inline constexpr int kBarMargin = 5;
inline constexpr int kMinimumHeight = 180;
TSize MinimumClient(int barRight);

// A wanted client size, each side raised to the minimum's.
TSize AtLeast(TSize wanted, TSize minimum);

// The parts of the client area from the top: a bevel, the query area, the
// result view in all the height the others leave, the dictionary bar at the
// bottom; each as wide as the client area.
struct TParts {
  TRect Bevel, Query, View, Bar;
  bool operator==(const TParts&) const = default;
};
TParts LayOut(TSize client, int bevelHeight, int queryHeight, int barHeight);

}  // namespace form_geometry
