#include "tools/standin-autocad/bmp_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace pellacore::standin {
namespace {

std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t Read16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

TEST(BmpRowBytes, PadsEachRowToFourBytes) {
  const struct {
    int width;
    std::size_t bytes;
  } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {1100, 3300}, {0, 0}};
  for (const auto& c : cases) EXPECT_EQ(BmpRowBytes(c.width), c.bytes) << c.width;
}

TEST(EncodeBmp24, WritesTheHeadersWindowsReads) {
  const int width = 3;
  const int height = 2;
  std::vector<std::uint8_t> rows(BmpRowBytes(width) * height);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i + 1);
  const std::vector<std::uint8_t> file = EncodeBmp24(width, height, rows.data());

  ASSERT_EQ(file.size(), 54u + 24u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(Read32(file, 2), 78u);   // file size
  EXPECT_EQ(Read32(file, 6), 0u);    // reserved
  EXPECT_EQ(Read32(file, 10), 54u);  // offset of the pixels
  EXPECT_EQ(Read32(file, 14), 40u);  // BITMAPINFOHEADER
  EXPECT_EQ(Read32(file, 18), 3u);
  EXPECT_EQ(Read32(file, 22), 2u);  // positive: bottom-up rows
  EXPECT_EQ(Read16(file, 26), 1u);
  EXPECT_EQ(Read16(file, 28), 24u);
  EXPECT_EQ(Read32(file, 30), 0u);  // BI_RGB
  EXPECT_EQ(Read32(file, 34), 24u);
  // The rows follow unchanged, padding included.
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 54, file.end()), rows);
}

TEST(EncodeBmp24, ThePageSizeGivesTheExpectedFileSize) {
  std::vector<std::uint8_t> rows(BmpRowBytes(1100) * 850, 0xFF);
  const std::vector<std::uint8_t> file = EncodeBmp24(1100, 850, rows.data());
  EXPECT_EQ(file.size(), 54u + 3300u * 850u);
  EXPECT_EQ(Read32(file, 2), file.size());
}

}  // namespace
}  // namespace pellacore::standin
