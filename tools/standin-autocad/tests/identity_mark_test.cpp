#include "tools/standin-autocad/identity_mark.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pellacore::standin {
namespace {

// A white page with the mark's cells painted as the stand-in paints them,
// scaled by `scale`, with some grey noise and optionally upside down.
GreyImage PageWithMark(std::uint32_t hash, double scale = 1.0, bool upsideDown = false) {
  GreyImage page;
  page.width = static_cast<int>(std::lround(1100 * scale));
  page.height = static_cast<int>(std::lround(850 * scale));
  page.pixels.assign(static_cast<std::size_t>(page.width) * page.height, 255);
  const std::vector<bool> cells = MarkCells(hash);
  for (int y = 0; y < page.height; ++y) {
    for (int x = 0; x < page.width; ++x) {
      const double px = x / scale;
      const double py = y / scale;
      const int cell = static_cast<int>(std::floor((px - kMarkLeft) / kMarkCellWidth));
      const bool inStrip = py >= kMarkTop && py < kMarkTop + kMarkHeight && cell >= 0 && cell < kMarkCells;
      std::uint8_t& pixel = page.pixels[static_cast<std::size_t>(upsideDown ? page.height - 1 - y : y) * page.width + x];
      pixel = inStrip && cells[static_cast<std::size_t>(cell)] ? 20 : 235;
    }
  }
  return page;
}

TEST(IdentityMark, ReadsBackTheHashAtTheSizeScalesAndOrientationsAPageComesIn) {
  for (std::uint32_t hash : {0u, 0xFFFFFFFFu, 0x80000001u, IdentityHash(L"Z:\\soak\\f03\\plan-17.dwg")}) {
    EXPECT_EQ(ReadMark(PageWithMark(hash)), hash);
    // Printed at 300 dpi the page is about 2.18 times larger.
    EXPECT_EQ(ReadMark(PageWithMark(hash, 2.18)), hash);
    EXPECT_EQ(ReadMark(PageWithMark(hash, 0.5)), hash);
    EXPECT_EQ(ReadMark(PageWithMark(hash, 1.0, true)), hash);
  }
}

TEST(IdentityMark, APageWithoutAWholeMarkReadsAsNone) {
  GreyImage blank{1100, 850, std::vector<std::uint8_t>(1100 * 850, 255)};
  EXPECT_EQ(ReadMark(blank), std::nullopt);
  GreyImage black{1100, 850, std::vector<std::uint8_t>(1100 * 850, 0)};
  EXPECT_EQ(ReadMark(black), std::nullopt);
  // One hash bit flipped: the check byte no longer agrees.
  GreyImage page = PageWithMark(0x12345678u);
  const int bitCell = 1 + 31;  // the lowest bit
  for (int y = kMarkTop; y < kMarkTop + kMarkHeight; ++y) {
    for (int x = kMarkLeft + kMarkCellWidth * bitCell; x < kMarkLeft + kMarkCellWidth * (bitCell + 1); ++x) {
      page.pixels[static_cast<std::size_t>(y) * 1100 + x] = 255 - page.pixels[static_cast<std::size_t>(y) * 1100 + x];
    }
  }
  EXPECT_EQ(ReadMark(page), std::nullopt);
  // Read as a page of another width, the cells are sampled off their middles.
  EXPECT_EQ(ReadMark(PageWithMark(0x12345678u), 1100 - kMarkCellWidth, 850), std::nullopt);
  GreyImage wrongSize{10, 10, std::vector<std::uint8_t>(3, 0)};
  EXPECT_EQ(ReadMark(wrongSize), std::nullopt);
}

TEST(IdentityMark, TheHashTellsPathsApartButNotTheirCase) {
  EXPECT_EQ(IdentityHash(L"C:\\Plans\\A.DWG"), IdentityHash(L"c:\\plans\\a.dwg"));
  EXPECT_NE(IdentityHash(L"C:\\Plans\\a.dwg"), IdentityHash(L"C:\\Plans2\\a.dwg"));
  EXPECT_NE(IdentityHash(L"C:\\a\\plan.dwg"), IdentityHash(L"C:\\b\\plan.dwg"));
  // The FNV-1a value of "a" as UTF-16: 0x61, 0x00.
  EXPECT_EQ(IdentityHash(L"a"), ((2166136261u ^ 0x61u) * 16777619u ^ 0u) * 16777619u);
  // Non-ASCII letters are kept as they are, beyond the basic plane as two units.
  EXPECT_NE(IdentityHash(L"\u00C4"), IdentityHash(L"\u00E4"));
  EXPECT_NE(IdentityHash(L"\U0001F600"), IdentityHash(L"\uF600"));
}

}  // namespace
}  // namespace pellacore::standin
