#include "tools/soak/ppm_image.h"

#include <cctype>

namespace pellacore::soak {

namespace {

// The header's next whole number, skipping blanks and comments.
std::optional<int> Number(std::string_view bytes, std::size_t& at) {
  for (;;) {
    while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
    if (at < bytes.size() && bytes[at] == '#') {
      while (at < bytes.size() && bytes[at] != '\n') ++at;
      continue;
    }
    break;
  }
  if (at >= bytes.size() || !std::isdigit(static_cast<unsigned char>(bytes[at]))) return std::nullopt;
  long value = 0;
  while (at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at]))) {
    value = value * 10 + (bytes[at++] - '0');
    if (value > 1'000'000) return std::nullopt;
  }
  return static_cast<int>(value);
}

}  // namespace

std::optional<standin::GreyImage> ReadNetpbm(std::string_view bytes) {
  if (bytes.size() < 2 || bytes[0] != 'P' || (bytes[1] != '4' && bytes[1] != '5' && bytes[1] != '6')) {
    return std::nullopt;
  }
  const char kind = bytes[1];
  std::size_t at = 2;
  const std::optional<int> width = Number(bytes, at);
  const std::optional<int> height = Number(bytes, at);
  const std::optional<int> maxValue = kind == '4' ? std::optional<int>(1) : Number(bytes, at);
  if (!width || !height || !maxValue || *width == 0 || *height == 0 || *maxValue == 0 || *maxValue > 255) {
    return std::nullopt;
  }
  ++at;  // the one blank after the header
  const std::size_t w = static_cast<std::size_t>(*width);
  const std::size_t h = static_cast<std::size_t>(*height);
  const std::size_t rowBytes = kind == '4' ? (w + 7) / 8 : kind == '5' ? w : 3 * w;
  if (at > bytes.size() || bytes.size() - at < rowBytes * h) return std::nullopt;
  standin::GreyImage image{*width, *height, {}};
  image.pixels.reserve(w * h);
  for (std::size_t y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const unsigned char*>(bytes.data() + at + y * rowBytes);
    for (std::size_t x = 0; x < w; ++x) {
      int grey = 0;
      if (kind == '4') {
        grey = (row[x / 8] >> (7 - x % 8)) & 1 ? 0 : 255;  // 1 is black
      } else if (kind == '5') {
        grey = row[x] * 255 / *maxValue;
      } else {
        grey = (row[3 * x] * 299 + row[3 * x + 1] * 587 + row[3 * x + 2] * 114) / 1000 * 255 / *maxValue;
      }
      image.pixels.push_back(static_cast<std::uint8_t>(grey));
    }
  }
  return image;
}

}  // namespace pellacore::soak
