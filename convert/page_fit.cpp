#include "convert/page_fit.h"

#include <cstdint>

namespace pellacore {

PageOrientation OrientationFor(PixelSize picture) {
  return picture.width > picture.height ? PageOrientation::kLandscape : PageOrientation::kPortrait;
}

PageRect FitInArea(PixelSize picture, PixelSize area) {
  if (picture.width <= 0 || picture.height <= 0) return {0, 0, area.width, area.height};
  const std::int64_t pictureWidth = picture.width;
  const std::int64_t pictureHeight = picture.height;
  const std::int64_t areaWidth = area.width;
  const std::int64_t areaHeight = area.height;
  // Rounded to the nearest unit; products in 64 bits so large pages cannot
  // overflow.
  PageRect place;
  if (pictureWidth * areaHeight >= pictureHeight * areaWidth) {
    place.width = area.width;
    place.height = static_cast<int>((2 * areaWidth * pictureHeight + pictureWidth) / (2 * pictureWidth));
  } else {
    place.height = area.height;
    place.width = static_cast<int>((2 * areaHeight * pictureWidth + pictureHeight) / (2 * pictureHeight));
  }
  place.left = (area.width - place.width) / 2;
  place.top = (area.height - place.height) / 2;
  return place;
}

void PaintInProportion(Printing& printing, const Picture& picture) {
  const PixelSize size = picture.Size();
  const PixelSize area = printing.OpenPage(OrientationFor(size));
  printing.PaintPicture(picture, FitInArea(size, area));
}

}  // namespace pellacore
