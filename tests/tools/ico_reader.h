#pragma once
// Reads .ico and .cur files back for the tests, written apart from the
// generator so that the two do not share a mistake. Throws std::runtime_error
// when the file's layout is broken: fields out of place, images overlapping
// or outside the file, bytes left over.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace pellacore::testing {

struct ReadImage {
  int width = 0;
  int height = 0;
  std::uint16_t planesOrHotspotX = 0;
  std::uint16_t bitsOrHotspotY = 0;
  std::vector<std::array<std::uint8_t, 4>> bgra;  // top row first
  std::vector<bool> maskClear;                    // top row first; true where the mask is 1

  std::size_t At(int x, int y) const { return static_cast<std::size_t>(y * width + x); }
  const std::array<std::uint8_t, 4>& Bgra(int x, int y) const { return bgra[At(x, y)]; }
  bool MaskClear(int x, int y) const { return maskClear[At(x, y)]; }
};

struct ReadIcoFile {
  std::uint16_t type = 0;
  std::vector<ReadImage> images;
};

inline ReadIcoFile ReadIco(const std::vector<std::uint8_t>& bytes) {
  auto fail = [](const std::string& what) { throw std::runtime_error(what); };
  auto u8 = [&](std::size_t at) -> std::uint32_t {
    if (at >= bytes.size()) fail("read past the end at " + std::to_string(at));
    return bytes[at];
  };
  auto u16 = [&](std::size_t at) { return u8(at) | u8(at + 1) << 8; };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };

  if (u16(0) != 0) fail("reserved word is not 0");
  ReadIcoFile file;
  file.type = static_cast<std::uint16_t>(u16(2));
  const std::uint32_t count = u16(4);
  if (count == 0) fail("no image");
  std::size_t expectedOffset = 6 + 16 * count;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16 * i;
    ReadImage image;
    image.width = u8(entry) == 0 ? 256 : static_cast<int>(u8(entry));
    image.height = u8(entry + 1) == 0 ? 256 : static_cast<int>(u8(entry + 1));
    if (u8(entry + 2) != 0 || u8(entry + 3) != 0) fail("palette count or reserved byte set");
    image.planesOrHotspotX = static_cast<std::uint16_t>(u16(entry + 4));
    image.bitsOrHotspotY = static_cast<std::uint16_t>(u16(entry + 6));
    const std::uint32_t size = u32(entry + 8);
    const std::uint32_t offset = u32(entry + 12);
    if (offset != expectedOffset) fail("image " + std::to_string(i) + " does not follow the last");
    expectedOffset += size;

    const auto w = static_cast<std::uint32_t>(image.width);
    const auto h = static_cast<std::uint32_t>(image.height);
    const std::uint32_t maskRow = (w + 31) / 32 * 4;
    if (u32(offset) != 40) fail("info header is not 40 bytes");
    if (u32(offset + 4) != w || u32(offset + 8) != 2 * h) fail("header and entry sizes differ");
    if (u16(offset + 12) != 1 || u16(offset + 14) != 32 || u32(offset + 16) != 0) {
      fail("image is not uncompressed 32-bit colour");
    }
    if (size != 40 + w * h * 4 + maskRow * h) fail("image size is not header + colour + mask");

    const std::size_t colour = offset + 40;
    const std::size_t mask = colour + w * h * 4;
    image.bgra.resize(w * h);
    image.maskClear.resize(w * h);
    for (std::uint32_t row = 0; row < h; ++row) {
      const std::uint32_t y = h - 1 - row;  // stored bottom row first
      for (std::uint32_t x = 0; x < w; ++x) {
        for (std::uint32_t c = 0; c < 4; ++c) {
          image.bgra[y * w + x][c] = static_cast<std::uint8_t>(u8(colour + (row * w + x) * 4 + c));
        }
        image.maskClear[y * w + x] = (u8(mask + row * maskRow + x / 8) >> (7 - x % 8) & 1) != 0;
      }
    }
    file.images.push_back(std::move(image));
  }
  if (expectedOffset != bytes.size()) fail("file size differs from the directory's total");
  return file;
}

}  // namespace pellacore::testing
