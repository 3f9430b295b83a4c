#include "tools/icons/picture.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace pellacore::icons {
namespace {

constexpr PaletteColour kTestPalette[] = {
    {'.', {0, 0, 0, 0}},
    {'R', {200, 10, 20, 255}},
    {'s', {0, 0, 0, 48}},
};

std::string MessageOf(std::string_view grid) {
  try {
    PictureFromGrid(grid, kTestPalette);
  } catch (const std::invalid_argument& e) {
    return e.what();
  }
  return "(no failure)";
}

TEST(PictureFromGrid, ReadsRowsTopFirstAndLooksUpEachCharacter) {
  // A raw string's newlines at the very start and end are not rows.
  const Picture picture = PictureFromGrid("\nR..\n.sR\n", kTestPalette);
  ASSERT_EQ(picture.width, 3);
  ASSERT_EQ(picture.height, 2);
  EXPECT_EQ(picture.At(0, 0), (Rgba{200, 10, 20, 255}));
  EXPECT_EQ(picture.At(1, 0), (Rgba{0, 0, 0, 0}));
  EXPECT_EQ(picture.At(1, 1), (Rgba{0, 0, 0, 48}));
  EXPECT_EQ(picture.At(2, 1), (Rgba{200, 10, 20, 255}));
}

TEST(PictureFromGrid, RejectsRowsOfDifferentWidths) {
  EXPECT_EQ(MessageOf("RR\nR\nRR"), "grid row 2 is 1 wide, not 2");
  EXPECT_EQ(MessageOf("RR\nRRR"), "grid row 2 is 3 wide, not 2");
  // A blank line inside or a second newline at the end is a row of width 0.
  EXPECT_EQ(MessageOf("\nRR\n\n"), "grid row 2 is 0 wide, not 2");
  EXPECT_EQ(MessageOf("\n"), "empty grid");
}

TEST(PictureFromGrid, RejectsACharacterMissingFromThePalette) {
  EXPECT_EQ(MessageOf("R.\n.X"), "grid row 2: no colour for 'X'");
  EXPECT_EQ(MessageOf("R \n.."), "grid row 1: no colour for ' '");
}

}  // namespace
}  // namespace pellacore::icons
