#include "tools/standin-autocad/bmp_file.h"

#include <cstring>

namespace pellacore::standin {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

std::size_t BmpRowBytes(int width) { return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4; }

std::vector<std::uint8_t> EncodeBmp24(int width, int height, const std::uint8_t* bottomUpRows) {
  const std::size_t pixelBytes = BmpRowBytes(width) * static_cast<std::size_t>(height);
  const std::size_t offset = kFileHeaderBytes + kInfoHeaderBytes;
  std::vector<std::uint8_t> file;
  file.reserve(offset + pixelBytes);
  // BITMAPFILEHEADER
  file.push_back('B');
  file.push_back('M');
  Put32(file, static_cast<std::uint32_t>(offset + pixelBytes));
  Put32(file, 0);
  Put32(file, static_cast<std::uint32_t>(offset));
  // BITMAPINFOHEADER: positive height, so the rows are bottom-up.
  Put32(file, kInfoHeaderBytes);
  Put32(file, static_cast<std::uint32_t>(width));
  Put32(file, static_cast<std::uint32_t>(height));
  Put16(file, 1);   // planes
  Put16(file, 24);  // bits per pixel
  Put32(file, 0);   // BI_RGB
  Put32(file, static_cast<std::uint32_t>(pixelBytes));
  Put32(file, 3780);  // 96 dots per inch, in pixels per metre
  Put32(file, 3780);
  Put32(file, 0);
  Put32(file, 0);
  file.resize(offset + pixelBytes);
  if (pixelBytes != 0) std::memcpy(file.data() + offset, bottomUpRows, pixelBytes);
  return file;
}

}  // namespace pellacore::standin
