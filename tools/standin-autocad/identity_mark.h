#pragma once
// The drawing's identity on the exported page, so that a PDF can be traced
// back to the drawing it was made from: a strip of black and white cells
// along the bottom margin that spells a 32-bit hash of the drawing's full
// path, with guard cells and a check byte. The cells are large (24 x 28
// pixels of an 1100 x 850 page) so that they survive printing at 300 dpi and
// a lossless PDF. Portable: the stand-in paints the cells, the soak reads
// them back from the PDF's image.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace pellacore::standin {

// FNV-1a over the path's UTF-16 code units (little-endian bytes), ASCII
// letters folded to lower case: Windows paths name one file in any case.
std::uint32_t IdentityHash(std::wstring_view path);

// Where the strip lies on a page of the stand-in's size (pixels, y down).
inline constexpr int kMarkCells = 42;
inline constexpr int kMarkCellWidth = 24;
inline constexpr int kMarkLeft = 46;
inline constexpr int kMarkTop = 816;
inline constexpr int kMarkHeight = 28;
// Everything below this line belongs to the mark: the page is white there.
inline constexpr int kMarkBandTop = 810;

// The cells left to right, true for black: a black guard, the hash from its
// highest bit, the check byte, a black guard.
std::vector<bool> MarkCells(std::uint32_t hash);

// An image as rows of luminance, top row first.
struct GreyImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height
  std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The hash a page image carries, when its guards and check byte read right.
// The image is the whole page at any uniform scale, upright or upside down.
std::optional<std::uint32_t> ReadMark(const GreyImage& page, int pageWidth = 1100, int pageHeight = 850);

}  // namespace pellacore::standin
