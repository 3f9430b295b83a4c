#include "convert/page_fit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/doubles/fake_printing.h"

namespace pellacore {
namespace {

TEST(PageFitTest, APictureWiderThanTallTurnsThePage) {
  EXPECT_EQ(OrientationFor({1100, 850}), PageOrientation::kLandscape);
  EXPECT_EQ(OrientationFor({1101, 1100}), PageOrientation::kLandscape);
  EXPECT_EQ(OrientationFor({850, 1100}), PageOrientation::kPortrait);
  EXPECT_EQ(OrientationFor({500, 500}), PageOrientation::kPortrait);
}

TEST(PageFitTest, ThePictureFillsOneSideOfTheAreaAndIsCentredOnTheOther) {
  struct Case {
    PixelSize picture;
    PixelSize area;
    PageRect place;
  };
  const Case cases[] = {
      // The stand-in's bitmap on Letter turned, and its tall twin upright.
      {{1100, 850}, {3150, 2400}, {22, 0, 3106, 2400}},
      {{850, 1100}, {2400, 3150}, {0, 22, 2400, 3106}},
      // A wide picture on an upright page: a band across the middle.
      {{1100, 850}, {2400, 3150}, {0, 647, 2400, 1855}},
      {{500, 500}, {2400, 3000}, {0, 300, 2400, 2400}},
      // Odd leftovers put the extra unit after the picture.
      {{500, 500}, {2400, 3001}, {0, 300, 2400, 2400}},
      {{500, 500}, {2401, 2400}, {0, 0, 2400, 2400}},
      // Heights rounded to the nearest unit, up and down.
      {{3, 1}, {1000, 1000}, {0, 333, 1000, 333}},
      {{3, 2}, {1000, 1000}, {0, 166, 1000, 667}},
      // The area's own proportions: all of it.
      {{1100, 850}, {2200, 1700}, {0, 0, 2200, 1700}},
      // Nothing to keep in proportion.
      {{0, 0}, {2400, 3150}, {0, 0, 2400, 3150}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.picture.width) + "x" + std::to_string(c.picture.height) + " in " +
                 std::to_string(c.area.width) + "x" + std::to_string(c.area.height));
    const PageRect place = FitInArea(c.picture, c.area);
    EXPECT_EQ(place.left, c.place.left);
    EXPECT_EQ(place.top, c.place.top);
    EXPECT_EQ(place.width, c.place.width);
    EXPECT_EQ(place.height, c.place.height);
  }
}

TEST(PageFitTest, OverManySizesThePlaceStaysInsideAndKeepsTheProportionsToHalfAUnit) {
  for (int pictureWidth : {1, 7, 640, 1100, 4961}) {
    for (int pictureHeight : {1, 3, 480, 850, 7016}) {
      for (const PixelSize area : {PixelSize{2400, 3150}, PixelSize{3150, 2400}, PixelSize{4961, 7015}}) {
        const PageRect place = FitInArea({pictureWidth, pictureHeight}, area);
        SCOPED_TRACE(std::to_string(pictureWidth) + "x" + std::to_string(pictureHeight));
        EXPECT_TRUE(place.width == area.width || place.height == area.height);
        EXPECT_LE(place.left + place.width, area.width);
        EXPECT_LE(place.top + place.height, area.height);
        EXPECT_LE(std::abs(2 * place.left - (area.width - place.width)), 1);
        EXPECT_LE(std::abs(2 * place.top - (area.height - place.height)), 1);
        // The rounded side is within half a unit of the exact one.
        const double exactHeight = static_cast<double>(place.width) * pictureHeight / pictureWidth;
        const double exactWidth = static_cast<double>(place.height) * pictureWidth / pictureHeight;
        EXPECT_TRUE(std::abs(place.height - exactHeight) <= 0.5 || std::abs(place.width - exactWidth) <= 0.5);
      }
    }
  }
}

TEST(PageFitTest, PaintingOpensThePageThePicturesWayAndPaintsIntoItsPrintableArea) {
  testing::FakePrinting printing;
  printing.portraitArea = {2400, 3150};
  printing.pictureSizes[L"tall.bmp"] = {850, 1100};
  const auto wide = printing.LoadPicture(L"wide.bmp");
  const auto tall = printing.LoadPicture(L"tall.bmp");

  PaintInProportion(printing, *wide);
  printing.EndDoc();
  PaintInProportion(printing, *tall);
  printing.EndDoc();

  EXPECT_EQ(printing.calls, (std::vector<std::wstring>{L"load wide.bmp", L"load tall.bmp", L"open landscape",
                                                       L"paint wide.bmp", L"enddoc", L"open portrait",
                                                       L"paint tall.bmp", L"enddoc"}));
  EXPECT_EQ(printing.places, (std::vector<PageRect>{{22, 0, 3106, 2400}, {0, 22, 2400, 3106}}));
}

}  // namespace
}  // namespace pellacore
