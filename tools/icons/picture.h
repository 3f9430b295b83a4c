#pragma once
// A small picture in 32-bit colour with alpha, made from a text grid: one
// character per pixel, looked up in a palette.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace pellacore::icons {

struct Rgba {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 0;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct PaletteColour {
  char key;
  Rgba colour;
};

struct Point {
  int x = 0;
  int y = 0;
};

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;  // row by row, top row first

  const Rgba& At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Reads a grid: rows separated by '\n', all of one width; a newline at the
// very start and at the very end is ignored, so a raw string literal can hold
// the grid with its rows lined up. Throws std::invalid_argument on an empty
// grid, rows of different widths or a character missing from the palette.
Picture PictureFromGrid(std::string_view grid, std::span<const PaletteColour> palette);

}  // namespace pellacore::icons
