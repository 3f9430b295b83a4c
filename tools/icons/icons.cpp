#include "tools/icons/icons.h"

#include <fstream>
#include <stdexcept>

#include "tools/icons/art.h"
#include "tools/icons/ico_writer.h"

namespace pellacore::icons {
namespace {

Picture FromArt(std::string_view grid) { return PictureFromGrid(grid, kPalette); }

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

std::vector<std::uint8_t> AppIcon() {
  return IconFile({FromArt(kAppIcon16), FromArt(kAppIcon32), FromArt(kAppIcon48)});
}

std::vector<std::uint8_t> HandCursor() { return CursorFile(FromArt(kHandCursor), kHandHotspot); }

std::vector<std::uint8_t> DragIcon() { return IconFile({FromArt(kDragIcon)}); }

void WriteAllIcons(const std::filesystem::path& dir) {
  WriteFile(dir / kAppIconFile, AppIcon());
  WriteFile(dir / kHandCursorFile, HandCursor());
  WriteFile(dir / kDragIconFile, DragIcon());
}

}  // namespace pellacore::icons
