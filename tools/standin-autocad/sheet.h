#pragma once
// Lays a drawing out on the exported page: its entities fitted to the page
// with a margin, y pointing down, curves as point lists. Portable: the GDI
// side only strokes the lines and writes the texts.

#include <optional>
#include <string>
#include <vector>

#include "tools/standin-autocad/dxf.h"

namespace pellacore::standin {

inline constexpr int kSheetWidth = 1100;
inline constexpr int kSheetHeight = 850;
inline constexpr int kSheetMargin = 40;

// Pixel coordinates: origin at the top left, y down.
struct PixelPoint {
  double x = 0;
  double y = 0;
};

// An open path; a closed shape repeats its first point at the end.
struct Stroke {
  std::vector<PixelPoint> points;
};

struct SheetText {
  PixelPoint at;
  double height = 0;  // pixels
  double rotationDegrees = 0;
  std::string text;
  bool topAligned = false;
};

struct Sheet {
  int width = kSheetWidth;
  int height = kSheetHeight;
  std::vector<Stroke> strokes;
  std::vector<SheetText> texts;
};

struct Box {
  double left = 0;
  double bottom = 0;
  double right = 0;
  double top = 0;
};

// The drawing's extents in its own units; none for a drawing with nothing
// to draw. Text counts with an estimated width.
std::optional<Box> Extents(const Drawing& drawing);

// Maps drawing units to pixels, keeping the aspect ratio.
class PageFit {
 public:
  PageFit(const Box& extents, int width, int height, int margin);
  PixelPoint operator()(const Point& point) const;
  double scale() const { return scale_; }

 private:
  double scale_ = 1;
  double worldCenterX_ = 0;
  double worldCenterY_ = 0;
  double pageCenterX_ = 0;
  double pageCenterY_ = 0;
};

// The drawing laid out on a page; an empty sheet when it has nothing to draw.
Sheet LayOut(const Drawing& drawing, int width = kSheetWidth, int height = kSheetHeight,
             int margin = kSheetMargin);

}  // namespace pellacore::standin
