#include "core/form_geometry.h"

#include <algorithm>

namespace form_geometry {
namespace {

// One axis: the size no larger than room, the start moved so that start +
// size + frame lies within [areaStart, areaStart + areaSize).  Computed in
// 64 bits: stored values may be anywhere in the int range.
void FitAxis(int& start, int& size, int areaStart, int areaSize, int frame) {
  const long long room = std::max(0LL, static_cast<long long>(areaSize) - frame);
  const long long fitted = std::min(static_cast<long long>(size), room);
  const long long last = static_cast<long long>(areaStart) + areaSize - std::max(0LL, fitted) - frame;
  const long long moved = std::clamp(static_cast<long long>(start), static_cast<long long>(areaStart),
                                     std::max(static_cast<long long>(areaStart), last));
  size = static_cast<int>(fitted);
  start = static_cast<int>(moved);
}

}  // namespace

// The settings file may hold any position and size (a screen since removed,
// a hand-edited 100000 x 100000); the window must open within the area of
// the screen that windows may use, no larger than it, so that it neither
// hides off screen nor asks the toolkit for a gigantic surface.
TRect FitToArea(const TRect& client, const TRect& area, int frameWidth, int frameHeight) {
  TRect fitted = client;
  FitAxis(fitted.Left, fitted.Width, area.Left, area.Width, frameWidth);
  FitAxis(fitted.Top, fitted.Height, area.Top, area.Height, frameHeight);
  return fitted;
}

TSize MinimumClient(int barRight) { return {barRight + kBarMargin, kMinimumHeight}; }

TSize AtLeast(TSize wanted, TSize minimum) {
  return {std::max(wanted.Width, minimum.Width), std::max(wanted.Height, minimum.Height)};
}

TParts LayOut(TSize client, int bevelHeight, int queryHeight, int barHeight) {
  const int width = client.Width;
  const int viewTop = bevelHeight + queryHeight;
  const int barTop = client.Height - barHeight;
  return {{0, 0, width, bevelHeight},
          {0, bevelHeight, width, queryHeight},
          {0, viewTop, width, barTop - viewTop},
          {0, barTop, width, barHeight}};
}

}  // namespace form_geometry
