#include "app/main_window_layout.h"

#include <gtest/gtest.h>

namespace pellacore {
namespace {

TEST(MainWindowLayout, ControlsInsideFramesArePlacedFromTheirContainers) {
  const TwipsRect text1 = PlaceInWindow(ControlId::kText1);  // Frame1 > Frame3 > Text1
  EXPECT_EQ(text1.left, 120 + 480 + 240);
  EXPECT_EQ(text1.top, 3700 + 510 + 330);
  EXPECT_EQ(text1.width, 5670);
  const TwipsRect option2 = PlaceInWindow(ControlId::kOption2);
  EXPECT_EQ(option2.left, 360);
  EXPECT_EQ(option2.top, 5110);
  EXPECT_EQ(PlaceInWindow(ControlId::kListView1).top, 120);
}

TEST(MainWindowLayout, EveryControlLiesInsideItsContainer) {
  for (const ControlDesign& design : kMainWindowDesign) {
    const TwipsRect place = PlaceInWindow(design.id);
    TwipsRect outer{0, 0, kClientWidthTwips, kClientHeightTwips};
    if (design.container) outer = PlaceInWindow(*design.container);
    EXPECT_GE(place.left, outer.left) << design.name.data();
    EXPECT_GE(place.top, outer.top) << design.name.data();
    EXPECT_LE(place.left + place.width, outer.left + outer.width) << design.name.data();
    EXPECT_LE(place.top + place.height, outer.top + outer.height) << design.name.data();
  }
}

TEST(MainWindowLayout, TwipsBecomePixelsByTheDpi) {
  EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 96), 536);
  EXPECT_EQ(TwipsToPixels(kClientHeightTwips, 96), 446);
  EXPECT_EQ(TwipsToPixels(405, 96), 27);
  EXPECT_EQ(TwipsToPixels(405, 144), 41);  // 40.5 rounds up
  EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 192), 1072);
  EXPECT_EQ(TwipsToPixels(7000, 120), 583);
}

}  // namespace
}  // namespace pellacore
