#pragma once
// Netpbm images as pdfimages writes them (P4 bitmap, P5 grey, P6 colour),
// read as luminance for the identity mark.

#include <optional>
#include <string_view>

#include "tools/standin-autocad/identity_mark.h"

namespace pellacore::soak {

std::optional<standin::GreyImage> ReadNetpbm(std::string_view bytes);

}  // namespace pellacore::soak
