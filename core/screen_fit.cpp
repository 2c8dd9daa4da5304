#include "core/screen_fit.h"

#include <algorithm>

namespace screen_fit {
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

TRect FitToArea(const TRect& client, const TRect& area, int frameWidth, int frameHeight) {
  TRect fitted = client;
  FitAxis(fitted.Left, fitted.Width, area.Left, area.Width, frameWidth);
  FitAxis(fitted.Top, fitted.Height, area.Top, area.Height, frameHeight);
  return fitted;
}

}  // namespace screen_fit
