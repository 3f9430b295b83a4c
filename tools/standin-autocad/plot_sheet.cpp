#include "tools/standin-autocad/plot_sheet.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <variant>

#include "tools/standin-autocad/sheet.h"

namespace pellacore::standin {

namespace {

constexpr double kPlotDegree = std::numbers::pi / 180;

// Drawing units to page points: a uniform scale about the extents' centre,
// turned half round for rotations 2 and 3.
class PlotTransform {
 public:
  PlotTransform(const Box& extents, const PlotRequest& request) : turned_(request.rotation >= 2) {
    const double roomX = std::max(1.0, request.page.width - 2 * kPlotMargin);
    const double roomY = std::max(1.0, request.page.height - 2 * kPlotMargin);
    const double boxWidth = extents.right - extents.left;
    const double boxHeight = extents.top - extents.bottom;
    if (request.pointsPerUnit > 0) scale_ = request.pointsPerUnit;
    else if (boxWidth > 0 && boxHeight > 0) scale_ = std::min(roomX / boxWidth, roomY / boxHeight);
    else if (boxWidth > 0) scale_ = roomX / boxWidth;
    else if (boxHeight > 0) scale_ = roomY / boxHeight;
    worldX_ = (extents.left + extents.right) / 2;
    worldY_ = (extents.bottom + extents.top) / 2;
    pageX_ = request.page.width / 2;
    pageY_ = request.page.height / 2;
    if (!request.centred) {
      // The extents' lower left corner at the margins (upper right, turned).
      pageX_ = kPlotMargin + boxWidth * scale_ / 2;
      pageY_ = kPlotMargin + boxHeight * scale_ / 2;
      if (turned_) {
        pageX_ = request.page.width - pageX_;
        pageY_ = request.page.height - pageY_;
      }
    }
  }
  Point operator()(const Point& point) const {
    const double sign = turned_ ? -1 : 1;
    return {pageX_ + sign * (point.x - worldX_) * scale_, pageY_ + sign * (point.y - worldY_) * scale_};
  }
  double scale() const { return scale_; }
  double extraDegrees() const { return turned_ ? 180 : 0; }

 private:
  bool turned_;
  double scale_ = 1;
  double worldX_ = 0;
  double worldY_ = 0;
  double pageX_ = 0;
  double pageY_ = 0;
};

Point PlotOnCircle(const Point& center, double radius, double degrees) {
  return {center.x + radius * std::cos(degrees * kPlotDegree), center.y + radius * std::sin(degrees * kPlotDegree)};
}

double PlotSweep(double startDegrees, double endDegrees) {
  double sweep = std::fmod(endDegrees - startDegrees, 360.0);
  if (sweep <= 0) sweep += 360;
  return sweep;
}

struct PathPainter {
  const PlotTransform& transform;
  PdfPage& page;

  void MoveTo(const Point& point) const {
    const Point at = transform(point);
    page.MoveTo(at.x, at.y);
  }
  void LineTo(const Point& point) const {
    const Point at = transform(point);
    page.LineTo(at.x, at.y);
  }
  // Counter-clockwise, in Bezier pieces of at most 90 degrees.
  void ArcPath(const Point& center, double radius, double startDegrees, double sweep) const {
    const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / 90 - 1e-9)));
    const double step = sweep / pieces;
    const double k = 4.0 / 3.0 * std::tan(step * kPlotDegree / 4) * radius;
    MoveTo(PlotOnCircle(center, radius, startDegrees));
    for (int i = 0; i < pieces; ++i) {
      const double a0 = (startDegrees + step * i) * kPlotDegree;
      const double a1 = (startDegrees + step * (i + 1)) * kPlotDegree;
      const Point p0 = PlotOnCircle(center, radius, a0 / kPlotDegree);
      const Point p3 = PlotOnCircle(center, radius, a1 / kPlotDegree);
      const Point p1 = transform({p0.x - k * std::sin(a0), p0.y + k * std::cos(a0)});
      const Point p2 = transform({p3.x + k * std::sin(a1), p3.y - k * std::cos(a1)});
      const Point end = transform(p3);
      page.CurveTo(p1.x, p1.y, p2.x, p2.y, end.x, end.y);
    }
  }

  void operator()(const Line& line) const {
    MoveTo(line.from);
    LineTo(line.to);
    page.Stroke();
  }
  void operator()(const Circle& circle) const {
    ArcPath(circle.center, circle.radius, 0, 360);
    page.ClosePath();
    page.Stroke();
  }
  void operator()(const Arc& arc) const {
    ArcPath(arc.center, arc.radius, arc.startDegrees, PlotSweep(arc.startDegrees, arc.endDegrees));
    page.Stroke();
  }
  void operator()(const Polyline& polyline) const {
    if (polyline.points.empty()) return;
    MoveTo(polyline.points.front());
    for (std::size_t i = 1; i < polyline.points.size(); ++i) LineTo(polyline.points[i]);
    if (polyline.closed) page.ClosePath();
    page.Stroke();
  }
  void operator()(const Text& text) const {
    const double size = text.height * transform.scale();
    if (text.text.empty() || size <= 0) return;
    const double degrees = text.rotationDegrees;
    // Each line's baseline: TEXT starts at its first, MTEXT hangs from the top.
    const double firstDrop = text.topAligned ? text.height : 0;
    std::size_t start = 0;
    for (int line = 0;; ++line) {
      const std::size_t end = text.text.find('\n', start);
      const double drop = firstDrop + 1.5 * text.height * line;
      const Point baseline = {text.at.x + drop * std::sin(degrees * kPlotDegree),
                              text.at.y - drop * std::cos(degrees * kPlotDegree)};
      const Point at = transform(baseline);
      page.Text(at.x, at.y, size, degrees + transform.extraDegrees(), text.text.substr(start, end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
};

bool SameColour(const PdfColour& a, const PdfColour& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

}  // namespace

PdfColour PlotColour(int colourIndex) {
  switch (colourIndex) {
    case 1: return {1, 0, 0};
    case 2: return {1, 1, 0};
    case 3: return {0, 1, 0};
    case 4: return {0, 1, 1};
    case 5: return {0, 0, 1};
    case 6: return {1, 0, 1};
    case 7: return {0, 0, 0};  // white on screen, black on paper
    case 8: return {0.5, 0.5, 0.5};
    case 9: return {0.75, 0.75, 0.75};
    default: return {0.25, 0.25, 0.25};
  }
}

PdfPage PlotPage(const std::vector<Entity>& entities, const std::vector<int>& colours, const PlotRequest& request) {
  PdfPage page(request.page.width, request.page.height);
  Drawing space;
  space.entities = entities;
  const std::optional<Box> extents = Extents(space);
  if (!extents) return page;
  const PlotTransform transform(*extents, request);
  page.SetLineWidth(0.5);
  PdfColour current{0, 0, 0};
  page.SetStrokeColour(current);
  page.SetFillColour(current);
  for (std::size_t i = 0; i < entities.size(); ++i) {
    const PdfColour colour =
        request.monochrome ? PdfColour{0, 0, 0} : PlotColour(i < colours.size() ? colours[i] : kBlackColour);
    if (!SameColour(colour, current)) {
      page.SetStrokeColour(colour);
      page.SetFillColour(colour);
      current = colour;
    }
    std::visit(PathPainter{transform, page}, entities[i]);
  }
  return page;
}

}  // namespace pellacore::standin
