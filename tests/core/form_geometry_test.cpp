// The main window's geometry without a display: a stored geometry fitted
// into the screen, the smallest client area, and the parts' layout.
#include "core/form_geometry.h"

#include <gtest/gtest.h>

#include <climits>

using namespace form_geometry;

// A screen of 1920 x 1080 whose top 30 pixels hold a panel; the window adds
// 20 pixels (a menu bar) above its client area.
TEST(FormGeometry, StoredGeometryIsFittedIntoTheAvailableArea) {
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

// A client area below the minimum in either direction is raised to it; the
// parts fill the width, and the result view the height between the query
// area and the dictionary bar.
TEST(FormGeometry, ClientAreaAndItsParts) {
  const TSize minimum = MinimumClient(408);
  EXPECT_EQ(minimum, (TSize{413, 180}));
  const std::pair<TSize, TSize> sizes[] = {
      {{100, 50}, {413, 180}}, {{500, 50}, {500, 180}}, {{100, 300}, {413, 300}}, {{413, 180}, {413, 180}}};
  for (const auto& [wanted, raised] : sizes) EXPECT_EQ(AtLeast(wanted, minimum), raised) << wanted.Width;
  const struct {
    TSize Client;
    TParts Parts;
  } layouts[] = {
      {{500, 300}, {{0, 0, 500, 3}, {0, 3, 500, 87}, {0, 90, 500, 186}, {0, 276, 500, 24}}},
      {{413, 180}, {{0, 0, 413, 3}, {0, 3, 413, 87}, {0, 90, 413, 66}, {0, 156, 413, 24}}},
  };
  for (const auto& row : layouts) EXPECT_EQ(LayOut(row.Client, 3, 87, 24), row.Parts) << row.Client.Width;
}
