#pragma once
// Encodes pictures as Windows icon (.ico) and cursor (.cur) files. Each
// picture is stored as a 32-bit BGRA bitmap with alpha plus the 1-bit AND
// mask that older drawing code uses; a pixel is transparent in the mask
// exactly when its alpha is 0.

#include <cstdint>
#include <vector>

#include "tools/icons/picture.h"

namespace pellacore::icons {

// An icon file holding the pictures in the given order. Throws
// std::invalid_argument when there is none or one is not 1 to 256 pixels wide
// and high.
std::vector<std::uint8_t> IconFile(const std::vector<Picture>& pictures);

// A cursor file holding one picture and its hotspot. Throws
// std::invalid_argument when the picture is not 1 to 256 pixels wide and high
// or the hotspot lies outside it.
std::vector<std::uint8_t> CursorFile(const Picture& picture, Point hotspot);

}  // namespace pellacore::icons
