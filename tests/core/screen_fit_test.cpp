#include "core/screen_fit.h"

#include <gtest/gtest.h>

#include <climits>

using screen_fit::FitToArea;
using screen_fit::TRect;

// A screen of 1920 x 1080 whose top 30 pixels hold a panel; the window adds
// 20 pixels (a menu bar) above its client area.
TEST(ScreenFit, StoredGeometryIsFittedIntoTheAvailableArea) {
  const TRect area{0, 30, 1920, 1050};
  struct TCase {
    TRect Stored, Fitted;
  };
  const TCase cases[] = {
      {{100, 100, 415, 180}, {100, 100, 415, 180}},                 // fits: unchanged
      {{0, 0, 100000, 100000}, {0, 30, 1920, 1030}},                // as large as the area
      {{5000, 5000, 800, 600}, {1120, 460, 800, 600}},              // off the screen: moved in
      {{-300, -300, 800, 600}, {0, 30, 800, 600}},                  // before its start
      {{INT_MIN, INT_MAX, INT_MAX, INT_MAX}, {0, 30, 1920, 1030}},  // extremes
      {{10, 40, -5, 0}, {10, 40, -5, 0}},                           // the window's minimum raises these
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(FitToArea(c.Stored, area, 0, 20), c.Fitted)
        << c.Stored.Left << "," << c.Stored.Top << " " << c.Stored.Width << "x" << c.Stored.Height;
  }
  // A second screen to the right of the first.
  EXPECT_EQ(FitToArea({2000, 100, 3000, 500}, {1920, 0, 1280, 1024}, 0, 20), (TRect{1920, 100, 1280, 500}));
}
