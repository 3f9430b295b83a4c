#include "tools/standin-autocad/export_bitmap.h"

#include <gtest/gtest.h>

#include "tests/windows/scratch_folder.h"
#include "tools/standin-autocad/automation_error.h"
#include "tools/standin-autocad/identity_mark.h"
#include "tools/standin-autocad/tests/standin_test_support.h"

namespace pellacore::standin {
namespace {

using testing::LoadedBitmap;

class ExportBitmap : public ::testing::Test {
 protected:
  LoadedBitmap Written(const std::optional<Drawing>& drawing, const std::wstring& name = L"plan.dwg") {
    const std::wstring path = folder_.path() + L"out.bmp";
    WriteExportBitmap(drawing, name, path);
    std::optional<LoadedBitmap> bitmap = LoadedBitmap::Load(path);
    EXPECT_TRUE(bitmap.has_value());
    return bitmap.value_or(LoadedBitmap{});
  }
  pellacore::testing::ScratchFolder folder_;
};

TEST_F(ExportBitmap, IsALandscape24BitPage) {
  const LoadedBitmap bitmap = Written(std::nullopt);
  EXPECT_EQ(bitmap.width(), 1100);
  EXPECT_EQ(bitmap.height(), 850);
  EXPECT_EQ(bitmap.bitsPerPixel(), 24);
}

TEST_F(ExportBitmap, AnyOtherFileGetsAFramedPageWithItsName) {
  const LoadedBitmap bitmap = Written(std::nullopt, L"Ground floor.dwg");
  // The frame, 20 pixels in from each edge.
  EXPECT_TRUE(bitmap.DarkNear(20, 425, 2));
  EXPECT_TRUE(bitmap.DarkNear(1080, 425, 2));
  EXPECT_TRUE(bitmap.DarkNear(550, 20, 2));
  // The name in the middle; nothing between it and the frame.
  EXPECT_GT(bitmap.DarkPixelsIn(300, 395, 800, 455), 200);
  EXPECT_EQ(bitmap.DarkPixelsIn(100, 100, 1000, 300), 0);
}

TEST_F(ExportBitmap, ADxfLineIsDrawnAlongItsPath) {
  Drawing drawing;
  drawing.entities.push_back(Line{{0, 0}, {100, 100}});
  const LoadedBitmap bitmap = Written(drawing);
  // The line fitted to the page runs from (165, 810) to (935, 40).
  for (int step = 0; step <= 10; ++step) {
    const int x = 165 + 77 * step;
    const int y = 810 - 77 * step;
    EXPECT_TRUE(bitmap.DarkNear(x, y, 2)) << x << "," << y;
  }
  // Off the line the page stays white: the other diagonal, and the corners.
  EXPECT_FALSE(bitmap.DarkNear(300, 300, 3));
  EXPECT_FALSE(bitmap.DarkNear(800, 600, 3));
  EXPECT_EQ(bitmap.DarkPixelsIn(0, 0, 100, 100), 0);
}

TEST_F(ExportBitmap, ACircleIsRoundAndHollow) {
  Drawing drawing;
  drawing.entities.push_back(Circle{{0, 0}, 1});
  const LoadedBitmap bitmap = Written(drawing);
  EXPECT_TRUE(bitmap.DarkNear(550 + 385, 425, 2));
  EXPECT_TRUE(bitmap.DarkNear(550, 425 - 385, 2));
  EXPECT_TRUE(bitmap.DarkNear(550 + 272, 425 + 272, 2));  // at 45 degrees
  EXPECT_FALSE(bitmap.DarkNear(550, 425, 20));
}

TEST_F(ExportBitmap, TextIsWritten) {
  Drawing drawing;
  drawing.entities.push_back(Line{{0, 0}, {100, 0}});
  drawing.entities.push_back(Text{{10, 20}, 10, 0, "Room", false});
  const LoadedBitmap bitmap = Written(drawing);
  // Above the line, where the text stands, some pixels are dark.
  EXPECT_GT(bitmap.DarkPixelsIn(100, 100, 700, 430), 50);
}

// The page as the soak reads it: dark or light, pixel by pixel.
GreyImage GreyOf(const LoadedBitmap& bitmap) {
  GreyImage grey{bitmap.width(), bitmap.height(), {}};
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) grey.pixels.push_back(bitmap.DarkPixelsIn(x, y, x + 1, y + 1) ? 0 : 255);
  }
  return grey;
}

TEST_F(ExportBitmap, EveryPageCarriesTheIdentityOfItsDrawingsFullPath) {
  const std::wstring path = L"C:\\Jobs\\North\\Ground floor.dwg";
  EXPECT_EQ(ReadMark(GreyOf(Written(std::nullopt, path))), IdentityHash(path));
  // A drawing that reaches into the bottom margin does not spoil the strip.
  Drawing drawing;
  drawing.entities.push_back(Line{{0, 0}, {100, 0}});
  drawing.entities.push_back(Line{{0, 0}, {0, 100}});
  const LoadedBitmap page = Written(drawing, L"Z:\\soak\\f1\\plan.dwg");
  EXPECT_EQ(ReadMark(GreyOf(page)), IdentityHash(L"z:\\SOAK\\f1\\plan.dwg"));
  // The file name stands in the top margin, right of the middle.
  EXPECT_GT(page.DarkPixelsIn(550, 4, 1060, 38), 30);
}

TEST_F(ExportBitmap, AFileThatCannotBeWrittenFailsNamingIt) {
  const std::wstring path = folder_.path() + L"no folder\\out.bmp";
  try {
    WriteExportBitmap(std::nullopt, L"plan.dwg", path);
    ADD_FAILURE() << "no failure";
  } catch (const AutomationError& error) {
    EXPECT_NE(error.description.find(path), std::wstring::npos) << error.description;
    EXPECT_TRUE(FAILED(error.code));
  }
  EXPECT_FALSE(testing::FileExists(path));
}

}  // namespace
}  // namespace pellacore::standin
