#include "tools/standin-autocad/sheet.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pellacore::standin {
namespace {

void ExpectBox(const std::optional<Box>& box, double left, double bottom, double right, double top) {
  ASSERT_TRUE(box.has_value());
  EXPECT_NEAR(box->left, left, 1e-9);
  EXPECT_NEAR(box->bottom, bottom, 1e-9);
  EXPECT_NEAR(box->right, right, 1e-9);
  EXPECT_NEAR(box->top, top, 1e-9);
}

TEST(Extents, CoverEveryEntityKind) {
  ExpectBox(Extents({{Line{{-1, 2}, {3, -4}}}}), -1, -4, 3, 2);
  ExpectBox(Extents({{Circle{{10, 10}, 2}}}), 8, 8, 12, 12);
  ExpectBox(Extents({{Polyline{{{0, 0}, {5, 1}, {2, 7}}, true}}}), 0, 0, 5, 7);
  ExpectBox(Extents({{Line{{0, 0}, {1, 1}}, Circle{{10, 0}, 1}}}), 0, -1, 11, 1);
}

TEST(Extents, OfAnArcAreItsEndsAndTheQuadrantsItPasses) {
  // A quarter from 0 to 90 degrees.
  ExpectBox(Extents({{Arc{{0, 0}, 10, 0, 90}}}), 0, 0, 10, 10);
  // From 350 through 0 to 10 degrees: passes the right-hand quadrant point.
  const std::optional<Box> across = Extents({{Arc{{0, 0}, 10, 350, 10}}});
  ExpectBox(across, 10 * std::cos(10 * 3.141592653589793 / 180), -10 * std::sin(10 * 3.141592653589793 / 180), 10,
            10 * std::sin(10 * 3.141592653589793 / 180));
  // Equal angles: a full circle. Negative start angles count the same.
  ExpectBox(Extents({{Arc{{0, 0}, 1, 45, 45}}}), -1, -1, 1, 1);
  ExpectBox(Extents({{Arc{{0, 0}, 1, -90, 0}}}), 0, -1, 1, 0);
}

TEST(Extents, OfTextAreAnEstimateFromItsHeight) {
  // Five characters, 0.6 of the height each, from the baseline up.
  ExpectBox(Extents({{Text{{0, 0}, 2, 0, "Plans", false}}}), 0, 0, 6, 2);
  // Turned by 90 degrees it grows upwards and to the left.
  const std::optional<Box> turned = Extents({{Text{{0, 0}, 2, 90, "Plans", false}}});
  ASSERT_TRUE(turned.has_value());
  EXPECT_NEAR(turned->top, 6, 1e-9);
  EXPECT_NEAR(turned->left, -2, 1e-9);
  // MTEXT hangs below its insertion point, 1.5 heights a line.
  ExpectBox(Extents({{Text{{0, 0}, 1, 0, "ab\ncdef", true}}}), 0, -3, 2.4, 0);
}

TEST(Extents, OfNothingToDrawIsNone) {
  EXPECT_FALSE(Extents({}).has_value());
  EXPECT_FALSE(Extents({{Polyline{}}}).has_value());
}

TEST(PageFit, KeepsTheAspectRatioAndFlipsY) {
  // A square 100 units wide: the page's height less the margins decides.
  const PageFit fit({0, 0, 100, 100}, 1100, 850, 40);
  EXPECT_DOUBLE_EQ(fit.scale(), 770.0 / 100);
  const PixelPoint center = fit({50, 50});
  EXPECT_DOUBLE_EQ(center.x, 550);
  EXPECT_DOUBLE_EQ(center.y, 425);
  const PixelPoint topLeft = fit({0, 100});
  EXPECT_DOUBLE_EQ(topLeft.x, 550 - 385);
  EXPECT_DOUBLE_EQ(topLeft.y, 40);
  const PixelPoint bottomRight = fit({100, 0});
  EXPECT_DOUBLE_EQ(bottomRight.y, 810);
}

TEST(PageFit, AWideBoxIsFittedByItsWidth) {
  const PageFit fit({-10, 0, 10, 1}, 1100, 850, 40);
  EXPECT_DOUBLE_EQ(fit.scale(), 1020.0 / 20);
  EXPECT_DOUBLE_EQ(fit({-10, 0}).x, 40);
  EXPECT_DOUBLE_EQ(fit({10, 0}).x, 1060);
}

TEST(PageFit, AFlatOrPointBoxStillMaps) {
  const PageFit horizontal({0, 5, 200, 5}, 1100, 850, 40);
  EXPECT_DOUBLE_EQ(horizontal.scale(), 1020.0 / 200);
  EXPECT_DOUBLE_EQ(horizontal({0, 5}).y, 425);
  const PageFit vertical({3, 0, 3, 10}, 1100, 850, 40);
  EXPECT_DOUBLE_EQ(vertical.scale(), 770.0 / 10);
  const PageFit point({7, 7, 7, 7}, 1100, 850, 40);
  EXPECT_DOUBLE_EQ(point.scale(), 1);
  EXPECT_DOUBLE_EQ(point({7, 7}).x, 550);
  EXPECT_DOUBLE_EQ(point({8, 7}).x, 551);
}

TEST(LayOut, ALineBecomesAStrokeBetweenItsFittedEnds) {
  const Sheet sheet = LayOut({{Line{{0, 0}, {100, 100}}}});
  ASSERT_EQ(sheet.strokes.size(), 1u);
  ASSERT_EQ(sheet.strokes[0].points.size(), 2u);
  EXPECT_DOUBLE_EQ(sheet.strokes[0].points[0].x, 165);
  EXPECT_DOUBLE_EQ(sheet.strokes[0].points[0].y, 810);
  EXPECT_DOUBLE_EQ(sheet.strokes[0].points[1].x, 935);
  EXPECT_DOUBLE_EQ(sheet.strokes[0].points[1].y, 40);
  EXPECT_TRUE(sheet.texts.empty());
}

TEST(LayOut, CurvesAreRoundPointListsGoingCounterClockwise) {
  const Sheet sheet = LayOut({{Circle{{0, 0}, 10}, Arc{{0, 0}, 10, 0, 90}}});
  ASSERT_EQ(sheet.strokes.size(), 2u);
  const Stroke& circle = sheet.strokes[0];
  ASSERT_GT(circle.points.size(), 100u);  // about 3 pixels a chord
  for (const PixelPoint& point : circle.points) {
    EXPECT_NEAR(std::hypot(point.x - 550, point.y - 425), 385, 1e-6);
  }
  EXPECT_NEAR(circle.points.front().x, circle.points.back().x, 1e-6);
  EXPECT_NEAR(circle.points.front().y, circle.points.back().y, 1e-6);

  // From the right-hand point up to the top one: y falls on the page.
  const Stroke& arc = sheet.strokes[1];
  EXPECT_NEAR(arc.points.front().x, 935, 1e-6);
  EXPECT_NEAR(arc.points.front().y, 425, 1e-6);
  EXPECT_NEAR(arc.points.back().x, 550, 1e-6);
  EXPECT_NEAR(arc.points.back().y, 40, 1e-6);
  EXPECT_LT(arc.points[1].y, arc.points[0].y);
}

TEST(LayOut, AClosedPolylineReturnsToItsStart) {
  const Sheet sheet = LayOut({{Polyline{{{0, 0}, {4, 0}, {4, 3}}, true}, Polyline{{{0, 0}, {4, 3}}, true}}});
  ASSERT_EQ(sheet.strokes.size(), 2u);
  ASSERT_EQ(sheet.strokes[0].points.size(), 4u);
  EXPECT_DOUBLE_EQ(sheet.strokes[0].points[3].x, sheet.strokes[0].points[0].x);
  EXPECT_DOUBLE_EQ(sheet.strokes[0].points[3].y, sheet.strokes[0].points[0].y);
  // Two points closed would draw the same segment back.
  EXPECT_EQ(sheet.strokes[1].points.size(), 2u);
}

TEST(LayOut, TextKeepsItsPlaceAndScalesItsHeight) {
  const Sheet sheet = LayOut({{Line{{0, 0}, {100, 100}}, Text{{50, 50}, 10, 30, "Hall", false},
                               Text{{0, 0}, 5, 0, "", false}}});
  ASSERT_EQ(sheet.texts.size(), 1u);  // empty text draws nothing
  EXPECT_DOUBLE_EQ(sheet.texts[0].at.x, 550);
  EXPECT_DOUBLE_EQ(sheet.texts[0].at.y, 425);
  EXPECT_DOUBLE_EQ(sheet.texts[0].height, 77);
  EXPECT_DOUBLE_EQ(sheet.texts[0].rotationDegrees, 30);
  EXPECT_EQ(sheet.texts[0].text, "Hall");
}

TEST(LayOut, NothingToDrawGivesAnEmptySheetOfThePageSize) {
  const Sheet sheet = LayOut({});
  EXPECT_TRUE(sheet.strokes.empty());
  EXPECT_TRUE(sheet.texts.empty());
  EXPECT_EQ(sheet.width, 1100);
  EXPECT_EQ(sheet.height, 850);
}

}  // namespace
}  // namespace pellacore::standin
