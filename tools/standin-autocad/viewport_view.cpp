#include "tools/standin-autocad/viewport_view.h"

#include <algorithm>
#include <variant>

#include "tools/standin-autocad/sheet.h"

namespace pellacore::standin {
namespace {

// Model to sheet: the view centre goes to the viewport's centre.
struct ToSheet {
  double scale;
  Point from;
  Point to;
  Point operator()(const Point& p) const { return {to.x + (p.x - from.x) * scale, to.y + (p.y - from.y) * scale}; }

  Entity operator()(const Line& line) const { return Line{(*this)(line.from), (*this)(line.to)}; }
  Entity operator()(const Circle& circle) const { return Circle{(*this)(circle.center), circle.radius * scale}; }
  Entity operator()(const Arc& arc) const {
    return Arc{(*this)(arc.center), arc.radius * scale, arc.startDegrees, arc.endDegrees};
  }
  Entity operator()(const Polyline& polyline) const {
    Polyline moved{{}, polyline.closed};
    for (const Point& point : polyline.points) moved.points.push_back((*this)(point));
    return moved;
  }
  Entity operator()(const Text& text) const {
    Text moved = text;
    moved.at = (*this)(text.at);
    moved.height = text.height * scale;
    return moved;
  }
};

bool Overlaps(const Box& a, const Box& b) {
  return a.left <= b.right && b.left <= a.right && a.bottom <= b.top && b.bottom <= a.top;
}

}  // namespace

SeenEntities SeenThrough(const Viewport& viewport, const std::vector<Entity>& model,
                         const std::vector<int>& colours) {
  SeenEntities seen;
  if (viewport.viewHeight <= 0 || viewport.height <= 0 || viewport.width <= 0) return seen;
  const ToSheet toSheet{viewport.height / viewport.viewHeight, viewport.viewCenter, viewport.center};
  const Box window{viewport.center.x - viewport.width / 2, viewport.center.y - viewport.height / 2,
                   viewport.center.x + viewport.width / 2, viewport.center.y + viewport.height / 2};
  for (std::size_t i = 0; i < model.size(); ++i) {
    Entity moved = std::visit(toSheet, model[i]);
    const std::optional<Box> extents = Extents(Drawing(std::vector<Entity>{moved}));
    if (!extents || !Overlaps(*extents, window)) continue;
    seen.entities.push_back(std::move(moved));
    seen.colours.push_back(i < colours.size() ? colours[i] : kBlackColour);
  }
  return seen;
}

}  // namespace pellacore::standin
