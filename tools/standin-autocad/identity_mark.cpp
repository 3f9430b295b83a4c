#include "tools/standin-autocad/identity_mark.h"

namespace pellacore::standin {

namespace {

std::uint8_t CheckByte(std::uint32_t hash) {
  // Not a plain XOR of the bytes: a strip read one cell shifted must fail.
  std::uint8_t check = 0x5A;
  for (int shift = 24; shift >= 0; shift -= 8) {
    check = static_cast<std::uint8_t>((check << 1 | check >> 7) ^ ((hash >> shift) & 0xFF));
  }
  return check;
}

// Whether the cell is black, judged at three heights across its middle
// third: all must agree, or the cell is unreadable.
std::optional<bool> CellIsBlack(const GreyImage& image, int cell, double scaleX, double scaleY, bool upsideDown) {
  const double centreX = (kMarkLeft + kMarkCellWidth * cell + kMarkCellWidth / 2.0) * scaleX;
  int dark = 0;
  int light = 0;
  for (double dy : {-kMarkHeight / 4.0, 0.0, kMarkHeight / 4.0}) {
    for (double dx : {-kMarkCellWidth / 5.0, 0.0, kMarkCellWidth / 5.0}) {
      const int x = static_cast<int>(centreX + dx * scaleX);
      int y = static_cast<int>((kMarkTop + kMarkHeight / 2.0 + dy) * scaleY);
      if (upsideDown) y = image.height - 1 - y;
      if (x < 0 || y < 0 || x >= image.width || y >= image.height) return std::nullopt;
      (image.At(x, y) < 128 ? dark : light) += 1;
    }
  }
  if (dark == 9) return true;
  if (light == 9) return false;
  return std::nullopt;
}

std::optional<std::uint32_t> ReadCells(const GreyImage& image, double scaleX, double scaleY, bool upsideDown) {
  std::vector<bool> cells;
  for (int cell = 0; cell < kMarkCells; ++cell) {
    const std::optional<bool> black = CellIsBlack(image, cell, scaleX, scaleY, upsideDown);
    if (!black) return std::nullopt;
    cells.push_back(*black);
  }
  if (!cells.front() || !cells.back()) return std::nullopt;
  std::uint32_t hash = 0;
  for (int bit = 0; bit < 32; ++bit) hash = hash << 1 | (cells[1 + bit] ? 1u : 0u);
  std::uint8_t check = 0;
  for (int bit = 0; bit < 8; ++bit) check = static_cast<std::uint8_t>(check << 1 | (cells[33 + bit] ? 1 : 0));
  if (check != CheckByte(hash)) return std::nullopt;
  return hash;
}

}  // namespace

std::uint32_t IdentityHash(std::wstring_view path) {
  std::uint32_t hash = 2166136261u;
  const auto add = [&](std::uint8_t byte) {
    hash ^= byte;
    hash *= 16777619u;
  };
  const auto addUnit = [&](std::uint32_t unit) {
    if (unit >= 'A' && unit <= 'Z') unit += 'a' - 'A';
    add(static_cast<std::uint8_t>(unit & 0xFF));
    add(static_cast<std::uint8_t>(unit >> 8));
  };
  for (wchar_t c : path) {
    const auto code = static_cast<std::uint32_t>(c);
    // A 32-bit wchar_t holds whole code points: hash them as Windows' UTF-16 would.
    if (code > 0xFFFF) {
      addUnit(0xD800 + ((code - 0x10000) >> 10));
      addUnit(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      addUnit(code);
    }
  }
  return hash;
}

std::vector<bool> MarkCells(std::uint32_t hash) {
  std::vector<bool> cells{true};
  for (int bit = 31; bit >= 0; --bit) cells.push_back((hash >> bit) & 1);
  const std::uint8_t check = CheckByte(hash);
  for (int bit = 7; bit >= 0; --bit) cells.push_back((check >> bit) & 1);
  cells.push_back(true);
  return cells;
}

std::optional<std::uint32_t> ReadMark(const GreyImage& page, int pageWidth, int pageHeight) {
  if (page.width <= 0 || page.height <= 0 || page.pixels.size() != static_cast<std::size_t>(page.width) * page.height) {
    return std::nullopt;
  }
  const double scaleX = static_cast<double>(page.width) / pageWidth;
  const double scaleY = static_cast<double>(page.height) / pageHeight;
  if (auto hash = ReadCells(page, scaleX, scaleY, false)) return hash;
  return ReadCells(page, scaleX, scaleY, true);
}

}  // namespace pellacore::standin
