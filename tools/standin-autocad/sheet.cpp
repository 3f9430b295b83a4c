#include "tools/standin-autocad/sheet.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pellacore::standin {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

// Counter-clockwise sweep from start to end, in (0, 360]: equal angles are a
// full turn, as AutoCAD draws them.
double SweepDegrees(const Arc& arc) {
  double sweep = std::fmod(arc.endDegrees - arc.startDegrees, 360.0);
  if (sweep <= 0) sweep += 360;
  return sweep;
}

Point OnCircle(const Point& center, double radius, double degrees) {
  return {center.x + radius * std::cos(degrees * kDegree), center.y + radius * std::sin(degrees * kDegree)};
}

std::size_t CodePoints(const std::string& line) {
  return static_cast<std::size_t>(
      std::count_if(line.begin(), line.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The corners of the text's estimated box: 0.6 of the height per character.
std::vector<Point> TextCorners(const Text& text) {
  std::size_t lines = 1;
  std::size_t longest = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.text.find('\n', start);
    longest = std::max(longest, CodePoints(text.text.substr(start, end - start)));
    if (end == std::string::npos) break;
    ++lines;
    start = end + 1;
  }
  const double width = 0.6 * text.height * static_cast<double>(longest);
  const double low = text.topAligned ? -1.5 * text.height * static_cast<double>(lines) : 0;
  const double high = text.topAligned ? 0 : text.height;
  const double c = std::cos(text.rotationDegrees * kDegree);
  const double s = std::sin(text.rotationDegrees * kDegree);
  std::vector<Point> corners;
  for (const Point& local : {Point{0, low}, Point{width, low}, Point{width, high}, Point{0, high}}) {
    corners.push_back({text.at.x + local.x * c - local.y * s, text.at.y + local.x * s + local.y * c});
  }
  return corners;
}

struct Growing {
  std::optional<Box> box;
  void Add(const Point& point) {
    if (!std::isfinite(point.x) || !std::isfinite(point.y)) return;
    if (!box) {
      box = Box{point.x, point.y, point.x, point.y};
      return;
    }
    box->left = std::min(box->left, point.x);
    box->right = std::max(box->right, point.x);
    box->bottom = std::min(box->bottom, point.y);
    box->top = std::max(box->top, point.y);
  }
};

struct ExtentsOf {
  Growing& grow;
  void operator()(const Line& line) const {
    grow.Add(line.from);
    grow.Add(line.to);
  }
  void operator()(const Circle& circle) const {
    grow.Add({circle.center.x - circle.radius, circle.center.y - circle.radius});
    grow.Add({circle.center.x + circle.radius, circle.center.y + circle.radius});
  }
  void operator()(const Arc& arc) const {
    const double sweep = SweepDegrees(arc);
    grow.Add(OnCircle(arc.center, arc.radius, arc.startDegrees));
    grow.Add(OnCircle(arc.center, arc.radius, arc.startDegrees + sweep));
    // The quadrant points the arc passes through.
    double start = std::fmod(arc.startDegrees, 360.0);
    if (start < 0) start += 360;
    for (double axis = 0; axis < 720; axis += 90) {
      const double offset = axis - start;
      if (offset >= 0 && offset <= sweep) grow.Add(OnCircle(arc.center, arc.radius, axis));
    }
  }
  void operator()(const Polyline& polyline) const {
    for (const Point& point : polyline.points) grow.Add(point);
  }
  void operator()(const Text& text) const {
    for (const Point& corner : TextCorners(text)) grow.Add(corner);
  }
};

Stroke CurveStroke(const PageFit& fit, const Point& center, double radius, double startDegrees, double sweep) {
  // Chords of about 3 pixels, so a curve looks round at any size.
  const double pixels = radius * fit.scale() * sweep * kDegree;
  const int segments = std::clamp(static_cast<int>(std::ceil(pixels / 3)), 8, 1440);
  Stroke stroke;
  for (int i = 0; i <= segments; ++i) {
    stroke.points.push_back(fit(OnCircle(center, radius, startDegrees + sweep * i / segments)));
  }
  return stroke;
}

struct Drawer {
  const PageFit& fit;
  Sheet& sheet;
  void operator()(const Line& line) const { sheet.strokes.push_back({{fit(line.from), fit(line.to)}}); }
  void operator()(const Circle& circle) const {
    sheet.strokes.push_back(CurveStroke(fit, circle.center, circle.radius, 0, 360));
  }
  void operator()(const Arc& arc) const {
    sheet.strokes.push_back(CurveStroke(fit, arc.center, arc.radius, arc.startDegrees, SweepDegrees(arc)));
  }
  void operator()(const Polyline& polyline) const {
    if (polyline.points.empty()) return;
    Stroke stroke;
    for (const Point& point : polyline.points) stroke.points.push_back(fit(point));
    if (polyline.closed && polyline.points.size() > 2) stroke.points.push_back(stroke.points.front());
    sheet.strokes.push_back(std::move(stroke));
  }
  void operator()(const Text& text) const {
    if (text.text.empty()) return;
    sheet.texts.push_back({fit(text.at), text.height * fit.scale(), text.rotationDegrees, text.text, text.topAligned});
  }
};

}  // namespace

std::optional<Box> Extents(const Drawing& drawing) {
  Growing grow;
  for (const Entity& entity : drawing.entities) std::visit(ExtentsOf{grow}, entity);
  return grow.box;
}

PageFit::PageFit(const Box& extents, int width, int height, int margin) {
  const double boxWidth = extents.right - extents.left;
  const double boxHeight = extents.top - extents.bottom;
  const double roomX = std::max(1, width - 2 * margin);
  const double roomY = std::max(1, height - 2 * margin);
  // A box that is flat in one direction is fitted by the other alone.
  if (boxWidth > 0 && boxHeight > 0) scale_ = std::min(roomX / boxWidth, roomY / boxHeight);
  else if (boxWidth > 0) scale_ = roomX / boxWidth;
  else if (boxHeight > 0) scale_ = roomY / boxHeight;
  worldCenterX_ = (extents.left + extents.right) / 2;
  worldCenterY_ = (extents.bottom + extents.top) / 2;
  pageCenterX_ = width / 2.0;
  pageCenterY_ = height / 2.0;
}

PixelPoint PageFit::operator()(const Point& point) const {
  return {pageCenterX_ + (point.x - worldCenterX_) * scale_, pageCenterY_ - (point.y - worldCenterY_) * scale_};
}

Sheet LayOut(const Drawing& drawing, int width, int height, int margin) {
  Sheet sheet;
  sheet.width = width;
  sheet.height = height;
  const std::optional<Box> extents = Extents(drawing);
  if (!extents) return sheet;
  const PageFit fit(*extents, width, height, margin);
  for (const Entity& entity : drawing.entities) std::visit(Drawer{fit, sheet}, entity);
  return sheet;
}

}  // namespace pellacore::standin
