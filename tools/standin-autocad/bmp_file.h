#pragma once
// The file form of a 24-bit bitmap: BITMAPFILEHEADER, BITMAPINFOHEADER, then
// the rows bottom-up, each padded to four bytes. Portable, so the layout is
// tested natively.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pellacore::standin {

// Bytes per row of a 24-bit bitmap `width` pixels wide.
std::size_t BmpRowBytes(int width);

// `bottomUpRows` holds height rows of BmpRowBytes(width) bytes, blue-green-
// red, the bottom row first: what a bottom-up 24-bit DIB section holds.
std::vector<std::uint8_t> EncodeBmp24(int width, int height, const std::uint8_t* bottomUpRows);

}  // namespace pellacore::standin
