#include "tools/icons/ico_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/tools/ico_reader.h"

namespace pellacore::icons {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr Rgba kRed{0xFF, 0x00, 0x00, 0xFF};
constexpr Rgba kClear{};

Picture Solid(int width, int height, Rgba colour) {
  return {width, height, std::vector<Rgba>(static_cast<std::size_t>(width * height), colour)};
}

TEST(IconFile, LaysOutAOnePixelIconByteForByte) {
  const Bytes expected = {
      0, 0, 1, 0, 1, 0,                                   // reserved, icon, one image
      1, 1, 0, 0, 1, 0, 32, 0,                            // 1x1, no palette, 1 plane, 32 bits
      48, 0, 0, 0, 22, 0, 0, 0,                           // 48 bytes at offset 22
      40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 32, 0,   // header: 1 wide, 2 high with mask
      0, 0, 0, 0, 8, 0, 0, 0,                             // BI_RGB, 8 bytes of bits
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,     // resolution, colours: none
      0, 0, 0xFF, 0xFF,                                   // blue, green, red, alpha
      0, 0, 0, 0,                                         // mask row, padded to 32 bits
  };
  EXPECT_EQ(IconFile({Solid(1, 1, kRed)}), expected);
}

TEST(IconFile, StoresRowsBottomFirstAndMasksClearPixels) {
  // Top row: red, clear. Bottom row: clear (its colour dropped), half-transparent blue.
  const Picture picture{2, 2, {kRed, kClear, {9, 9, 9, 0}, {0x00, 0x00, 0xFF, 0x80}}};
  const Bytes file = IconFile({picture});
  const std::size_t bits = 22 + 40;
  const Bytes colour(file.begin() + bits, file.begin() + bits + 16);
  EXPECT_EQ(colour, (Bytes{0, 0, 0, 0, 0xFF, 0, 0, 0x80, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0}));
  const Bytes mask(file.begin() + bits + 16, file.end());
  EXPECT_EQ(mask, (Bytes{0x80, 0, 0, 0, 0x40, 0, 0, 0}));
}

TEST(IconFile, PadsMaskRowsToWholeDoubleWordsAndListsImagesInOrder) {
  const Bytes bytes = IconFile({Solid(16, 16, kRed), Solid(33, 2, kClear)});
  // 33 pixels of mask take 8 bytes a row.
  EXPECT_EQ(bytes.size(), 6u + 2 * 16 + (40 + 16 * 16 * 4 + 16 * 4) + (40 + 33 * 2 * 4 + 2 * 8));
  const auto file = testing::ReadIco(bytes);
  ASSERT_EQ(file.images.size(), 2u);
  EXPECT_EQ(file.images[0].width, 16);
  EXPECT_FALSE(file.images[0].MaskClear(15, 15));
  EXPECT_EQ(file.images[1].width, 33);
  EXPECT_TRUE(file.images[1].MaskClear(32, 1));
}

TEST(IconFile, RejectsNoImageAndImagesOutOf1To256) {
  EXPECT_THROW(IconFile({}), std::invalid_argument);
  EXPECT_THROW(IconFile({Solid(257, 1, kRed)}), std::invalid_argument);
  EXPECT_THROW(IconFile({Solid(1, 257, kRed)}), std::invalid_argument);
  EXPECT_THROW(IconFile({Solid(16, 16, kRed), Picture{}}), std::invalid_argument);
}

TEST(CursorFile, IsTypeTwoWithTheHotspotInTheEntry) {
  const Bytes file = CursorFile(Solid(32, 32, kRed), {7, 12});
  EXPECT_EQ(file[2], 2);
  EXPECT_EQ(file[3], 0);
  const auto read = testing::ReadIco(file);
  EXPECT_EQ(read.type, 2);
  ASSERT_EQ(read.images.size(), 1u);
  EXPECT_EQ(read.images[0].planesOrHotspotX, 7);
  EXPECT_EQ(read.images[0].bitsOrHotspotY, 12);
}

TEST(CursorFile, RejectsAHotspotOutsideThePicture) {
  const Picture picture = Solid(32, 16, kRed);
  EXPECT_NO_THROW(CursorFile(picture, {31, 15}));
  EXPECT_THROW(CursorFile(picture, {32, 0}), std::invalid_argument);
  EXPECT_THROW(CursorFile(picture, {0, 16}), std::invalid_argument);
  EXPECT_THROW(CursorFile(picture, {-1, 0}), std::invalid_argument);
  EXPECT_THROW(CursorFile(picture, {0, -1}), std::invalid_argument);
}

}  // namespace
}  // namespace pellacore::icons
