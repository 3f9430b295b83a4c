#include "tools/icons/picture.h"

#include <stdexcept>
#include <string>

namespace pellacore::icons {
namespace {

std::vector<std::string_view> SplitRows(std::string_view grid) {
  if (grid.starts_with('\n')) grid.remove_prefix(1);
  if (grid.ends_with('\n')) grid.remove_suffix(1);
  std::vector<std::string_view> rows;
  if (grid.empty()) return rows;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = grid.find('\n', start);
    rows.push_back(grid.substr(start, end - start));
    if (end == std::string_view::npos) return rows;
    start = end + 1;
  }
}

const Rgba& Lookup(char key, std::span<const PaletteColour> palette, std::size_t row) {
  for (const PaletteColour& entry : palette) {
    if (entry.key == key) return entry.colour;
  }
  throw std::invalid_argument("grid row " + std::to_string(row + 1) + ": no colour for '" +
                              std::string(1, key) + "'");
}

}  // namespace

Picture PictureFromGrid(std::string_view grid, std::span<const PaletteColour> palette) {
  const std::vector<std::string_view> rows = SplitRows(grid);
  if (rows.empty() || rows.front().empty()) throw std::invalid_argument("empty grid");
  Picture picture;
  picture.width = static_cast<int>(rows.front().size());
  picture.height = static_cast<int>(rows.size());
  picture.pixels.reserve(rows.size() * rows.front().size());
  for (std::size_t y = 0; y < rows.size(); ++y) {
    if (rows[y].size() != rows.front().size()) {
      throw std::invalid_argument("grid row " + std::to_string(y + 1) + " is " +
                                  std::to_string(rows[y].size()) + " wide, not " +
                                  std::to_string(picture.width));
    }
    for (char key : rows[y]) picture.pixels.push_back(Lookup(key, palette, y));
  }
  return picture;
}

}  // namespace pellacore::icons
