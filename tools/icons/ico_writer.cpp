#include "tools/icons/ico_writer.h"

#include <stdexcept>

namespace pellacore::icons {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kIconType = 1;
constexpr std::uint16_t kCursorType = 2;
constexpr std::uint32_t kDirectorySize = 6;
constexpr std::uint32_t kEntrySize = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;

// The file is little-endian; writing byte by byte keeps it so on any host.
void Put16(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

std::uint32_t MaskRowBytes(int width) { return static_cast<std::uint32_t>((width + 31) / 32 * 4); }

// One image of the file: the info header, the colour bitmap and the mask,
// both stored bottom row first.
Bytes ImageData(const Picture& picture) {
  const auto width = static_cast<std::uint32_t>(picture.width);
  const auto height = static_cast<std::uint32_t>(picture.height);
  const std::uint32_t colourBytes = width * height * 4;
  const std::uint32_t maskBytes = MaskRowBytes(picture.width) * height;
  Bytes out;
  Put32(out, kInfoHeaderSize);
  Put32(out, width);
  Put32(out, height * 2);  // colour bitmap and mask stacked
  Put16(out, 1);           // planes
  Put16(out, 32);          // bits per pixel
  Put32(out, 0);           // BI_RGB
  Put32(out, colourBytes + maskBytes);
  Put32(out, 0);  // pixels per metre, x and y
  Put32(out, 0);
  Put32(out, 0);  // colours used, colours important
  Put32(out, 0);
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const Rgba& p = picture.At(x, y);
      // A fully transparent pixel is black, so the mask alone draws it right.
      const bool clear = p.a == 0;
      out.push_back(clear ? 0 : p.b);
      out.push_back(clear ? 0 : p.g);
      out.push_back(clear ? 0 : p.r);
      out.push_back(p.a);
    }
  }
  for (int y = picture.height - 1; y >= 0; --y) {
    Bytes row(MaskRowBytes(picture.width), 0);
    for (int x = 0; x < picture.width; ++x) {
      if (picture.At(x, y).a == 0) row[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

void CheckSize(const Picture& picture) {
  if (picture.width < 1 || picture.width > 256 || picture.height < 1 || picture.height > 256) {
    throw std::invalid_argument("an icon or cursor image must be 1 to 256 pixels wide and high");
  }
}

// The directory entry's two 16-bit fields hold planes and bit count in an
// icon, the hotspot in a cursor.
struct Entry {
  const Picture* picture;
  std::uint16_t field1;
  std::uint16_t field2;
};

Bytes File(std::uint16_t type, const std::vector<Entry>& entries) {
  std::vector<Bytes> images;
  for (const Entry& entry : entries) images.push_back(ImageData(*entry.picture));
  Bytes out;
  Put16(out, 0);  // reserved
  Put16(out, type);
  Put16(out, static_cast<std::uint32_t>(entries.size()));
  auto offset = static_cast<std::uint32_t>(kDirectorySize + kEntrySize * entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Picture& picture = *entries[i].picture;
    out.push_back(static_cast<std::uint8_t>(picture.width));  // 256 is written as 0
    out.push_back(static_cast<std::uint8_t>(picture.height));
    out.push_back(0);  // no palette
    out.push_back(0);  // reserved
    Put16(out, entries[i].field1);
    Put16(out, entries[i].field2);
    Put32(out, static_cast<std::uint32_t>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const Bytes& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace

std::vector<std::uint8_t> IconFile(const std::vector<Picture>& pictures) {
  if (pictures.empty()) throw std::invalid_argument("an icon file needs at least one image");
  std::vector<Entry> entries;
  for (const Picture& picture : pictures) {
    CheckSize(picture);
    entries.push_back({&picture, 1, 32});
  }
  return File(kIconType, entries);
}

std::vector<std::uint8_t> CursorFile(const Picture& picture, Point hotspot) {
  CheckSize(picture);
  if (hotspot.x < 0 || hotspot.x >= picture.width || hotspot.y < 0 || hotspot.y >= picture.height) {
    throw std::invalid_argument("the hotspot lies outside the cursor");
  }
  return File(kCursorType, {{&picture, static_cast<std::uint16_t>(hotspot.x),
                             static_cast<std::uint16_t>(hotspot.y)}});
}

}  // namespace pellacore::icons
