// The shipped icon and cursor files: they are what the generator writes from
// the grids, and Windows' layout holds in each of them.

#include "tools/icons/icons.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "tests/tools/ico_reader.h"
#include "tools/icons/art.h"

namespace pellacore {
namespace {

using testing::ReadIco;
using testing::ReadIcoFile;
using testing::ReadImage;

const std::filesystem::path kShipped = PELLACORE_RES_DIR;

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ReadIcoFile ReadShipped(std::string_view name) { return ReadIco(ReadBytes(kShipped / name)); }

// A fresh folder under the temporary folder, removed with its files.
class TempFolder {
 public:
  TempFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("pellacore-icons-" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(path_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

constexpr std::string_view kAllFiles[] = {icons::kAppIconFile, icons::kHandCursorFile,
                                          icons::kDragIconFile};

TEST(ShippedIcons, AreExactlyWhatTheGeneratorWrites) {
  TempFolder folder;
  icons::WriteAllIcons(folder.path());
  for (std::string_view name : kAllFiles) {
    const std::vector<std::uint8_t> written = ReadBytes(folder.path() / name);
    const std::vector<std::uint8_t> shipped = ReadBytes(kShipped / name);
    ASSERT_FALSE(written.empty()) << name;
    EXPECT_TRUE(written == shipped)
        << name << " differs from the grids in tools/icons/art.h; run make_icons win32/res";
  }
}

TEST(ShippedIcons, WriteAllIconsReplacesOlderFiles) {
  TempFolder folder;
  std::ofstream(folder.path() / icons::kDragIconFile) << std::string(5000, 'x');
  icons::WriteAllIcons(folder.path());
  EXPECT_TRUE(ReadBytes(folder.path() / icons::kDragIconFile) == icons::DragIcon());
}

TEST(ShippedIcons, EveryMaskIsClearExactlyWhereAlphaIsZero) {
  for (std::string_view name : kAllFiles) {
    for (const ReadImage& image : ReadShipped(name).images) {
      int clear = 0;
      for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
          const auto& p = image.Bgra(x, y);
          ASSERT_EQ(image.MaskClear(x, y), p[3] == 0)
              << name << " " << image.width << " at " << x << "," << y;
          if (p[3] == 0) {
            // Black behind a clear mask bit leaves the screen untouched.
            ASSERT_EQ(p[0] | p[1] | p[2], 0) << name << " at " << x << "," << y;
            ++clear;
          }
        }
      }
      // Neither empty nor a solid square.
      EXPECT_GT(clear, 0) << name;
      EXPECT_LT(clear, image.width * image.height) << name;
    }
  }
}

// Reading a file back gives the grid's colours in place: rows in order,
// channels in order.
void ExpectShows(const ReadImage& image, std::string_view grid) {
  const icons::Picture picture = icons::PictureFromGrid(grid, icons::kPalette);
  ASSERT_EQ(image.width, picture.width);
  ASSERT_EQ(image.height, picture.height);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const icons::Rgba& want = picture.At(x, y);
      const std::array<std::uint8_t, 4> bgra = {want.b, want.g, want.r, want.a};
      ASSERT_EQ(image.Bgra(x, y), bgra) << x << "," << y;
    }
  }
}

TEST(AppIcon, Holds16And32And48PixelImagesIn32BitColour) {
  const ReadIcoFile file = ReadShipped(icons::kAppIconFile);
  EXPECT_EQ(file.type, 1);
  ASSERT_EQ(file.images.size(), 3u);
  const int sizes[] = {16, 32, 48};
  const std::string_view grids[] = {icons::kAppIcon16, icons::kAppIcon32, icons::kAppIcon48};
  for (std::size_t i = 0; i < 3; ++i) {
    const ReadImage& image = file.images[i];
    EXPECT_EQ(image.width, sizes[i]);
    EXPECT_EQ(image.height, sizes[i]);
    EXPECT_EQ(image.planesOrHotspotX, 1);
    EXPECT_EQ(image.bitsOrHotspotY, 32);
    ExpectShows(image, grids[i]);
  }
}

TEST(DragIcon, HoldsOne32PixelImage) {
  const ReadIcoFile file = ReadShipped(icons::kDragIconFile);
  EXPECT_EQ(file.type, 1);
  ASSERT_EQ(file.images.size(), 1u);
  EXPECT_EQ(file.images[0].width, 32);
  EXPECT_EQ(file.images[0].height, 32);
  EXPECT_EQ(file.images[0].bitsOrHotspotY, 32);
  ExpectShows(file.images[0], icons::kDragIcon);
}

TEST(HandCursor, Is32PixelsWithTheHotspotOnTheFingertip) {
  const ReadIcoFile file = ReadShipped(icons::kHandCursorFile);
  EXPECT_EQ(file.type, 2);
  ASSERT_EQ(file.images.size(), 1u);
  const ReadImage& image = file.images[0];
  ASSERT_EQ(image.width, 32);
  ASSERT_EQ(image.height, 32);
  ExpectShows(image, icons::kHandCursor);
  const int x = image.planesOrHotspotX;
  const int y = image.bitsOrHotspotY;
  ASSERT_LT(x, 32);
  ASSERT_LT(y, 32);
  EXPECT_EQ(image.Bgra(x, y)[3], 255) << "the hotspot is on a clear pixel";
  // The fingertip is the top of the hand: nothing is drawn above it.
  for (int row = 0; row < y; ++row) {
    for (int column = 0; column < 32; ++column) EXPECT_EQ(image.Bgra(column, row)[3], 0);
  }
}

TEST(HandCursor, IsWhiteInsideABlackOutline) {
  const ReadImage image = ReadShipped(icons::kHandCursorFile).images.at(0);
  const std::array<std::uint8_t, 4> black = {0, 0, 0, 255};
  const std::array<std::uint8_t, 4> white = {255, 255, 255, 255};
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const auto& p = image.Bgra(x, y);
      EXPECT_TRUE(p[3] == 0 || p == black || p == white) << x << "," << y;
      if (p != white) continue;
      // No white pixel touches a clear one: the outline is closed.
      for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
        const int nx = x + dx;
        const int ny = y + dy;
        const bool clear = nx < 0 || ny < 0 || nx >= 32 || ny >= 32 || image.Bgra(nx, ny)[3] == 0;
        EXPECT_FALSE(clear) << "white at " << x << "," << y << " touches a clear pixel";
      }
    }
  }
}

}  // namespace
}  // namespace pellacore
