#include "tools/samples/dxf.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace pellacore::samples {

Point OnCircle(Point centre, double radius, double degrees) {
  constexpr double kPi = 3.14159265358979323846;
  const double radians = degrees * kPi / 180;
  return {centre.x + radius * std::cos(radians), centre.y + radius * std::sin(radians)};
}

namespace {

class Writer {
 public:
  void Pair(int code, const std::string& value) {
    char code_text[8];
    std::snprintf(code_text, sizeof code_text, "%3d", code);
    out_ += code_text;
    out_ += "\r\n";
    out_ += value;
    out_ += "\r\n";
  }
  void Pair(int code, double value) { Pair(code, FormatNumber(value)); }
  void Pair(int code, int value) { Pair(code, std::to_string(value)); }
  void Point(int code, pellacore::samples::Point p) {
    Pair(code, p.x);
    Pair(code + 10, p.y);
    Pair(code + 20, 0.0);
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

void Grow(Extents& e, Point p) {
  e.min.x = std::min(e.min.x, p.x);
  e.min.y = std::min(e.min.y, p.y);
  e.max.x = std::max(e.max.x, p.x);
  e.max.y = std::max(e.max.y, p.y);
}

// Where a text's box starts and how big it is, by its alignment.
void GrowByText(Extents& e, const Text& text) {
  double width = 0.7 * text.height * double(text.value.size());
  double left = text.position.x - width * double(static_cast<int>(text.align)) / 2;
  double bottom = text.position.y;
  if (text.baseline == Baseline::kMiddle) bottom -= text.height / 2;
  if (text.baseline == Baseline::kTop) bottom -= text.height;
  Grow(e, {left, bottom});
  Grow(e, {left + width, bottom + text.height});
}

void CheckText(const std::string& text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c > 0x7E) throw std::invalid_argument("text that DXF R12 cannot hold: " + text);
  }
}

void CheckLayer(const Drawing& drawing, const std::string& layer) {
  for (const Layer& declared : drawing.layers) {
    if (declared.name == layer) return;
  }
  throw std::invalid_argument("layer not declared: " + layer);
}

void CheckPositive(double value, const char* what) {
  if (!(value > 0)) throw std::invalid_argument(std::string(what) + " must be above zero");
}

void Header(Writer& w, const Drawing& drawing) {
  Extents extents = ExtentsOf(drawing);
  w.Pair(0, "SECTION");
  w.Pair(2, "HEADER");
  w.Pair(9, "$ACADVER");
  w.Pair(1, "AC1009");
  w.Pair(9, "$INSBASE");
  w.Point(10, {});
  w.Pair(9, "$EXTMIN");
  w.Point(10, extents.min);
  w.Pair(9, "$EXTMAX");
  w.Point(10, extents.max);
  w.Pair(9, "$LIMMIN");
  w.Pair(10, extents.min.x);
  w.Pair(20, extents.min.y);
  w.Pair(9, "$LIMMAX");
  w.Pair(10, extents.max.x);
  w.Pair(20, extents.max.y);
  w.Pair(0, "ENDSEC");
}

// Dash lengths of the centre line: long, gap, short, gap (negative: a gap).
constexpr double kCentreDashes[] = {20, -5, 5, -5};

void LineTypes(Writer& w) {
  w.Pair(0, "TABLE");
  w.Pair(2, "LTYPE");
  w.Pair(70, 2);
  w.Pair(0, "LTYPE");
  w.Pair(2, "CONTINUOUS");
  w.Pair(70, 0);
  w.Pair(3, "Solid line");
  w.Pair(72, 65);
  w.Pair(73, 0);
  w.Pair(40, 0.0);
  w.Pair(0, "LTYPE");
  w.Pair(2, "CENTER");
  w.Pair(70, 0);
  w.Pair(3, "Centre line ____ _ ____ _");
  w.Pair(72, 65);
  w.Pair(73, int(std::size(kCentreDashes)));
  double total = 0;
  for (double dash : kCentreDashes) total += std::fabs(dash);
  w.Pair(40, total);
  for (double dash : kCentreDashes) w.Pair(49, dash);
  w.Pair(0, "ENDTAB");
}

void Layers(Writer& w, const Drawing& drawing) {
  w.Pair(0, "TABLE");
  w.Pair(2, "LAYER");
  w.Pair(70, int(drawing.layers.size()) + 1);
  // Layer 0 is in every drawing.
  std::vector<Layer> layers{{"0", 7, "CONTINUOUS"}};
  layers.insert(layers.end(), drawing.layers.begin(), drawing.layers.end());
  for (const Layer& layer : layers) {
    CheckText(layer.name);
    if (layer.linetype != "CONTINUOUS" && layer.linetype != "CENTER")
      throw std::invalid_argument("line type not in the file: " + layer.linetype);
    w.Pair(0, "LAYER");
    w.Pair(2, layer.name);
    w.Pair(70, 0);
    w.Pair(62, layer.colour);
    w.Pair(6, layer.linetype);
  }
  w.Pair(0, "ENDTAB");
}

void Styles(Writer& w) {
  w.Pair(0, "TABLE");
  w.Pair(2, "STYLE");
  w.Pair(70, 1);
  w.Pair(0, "STYLE");
  w.Pair(2, "STANDARD");
  w.Pair(70, 0);
  w.Pair(40, 0.0);
  w.Pair(41, 1.0);
  w.Pair(50, 0.0);
  w.Pair(71, 0);
  w.Pair(42, 2.5);
  w.Pair(3, "txt");
  w.Pair(4, "");
  w.Pair(0, "ENDTAB");
}

struct EntityWriter {
  Writer& w;
  const Drawing& drawing;
  const SheetLayout* layout = nullptr;  // none: model space

  void Start(const char* type, const std::string& layer) {
    CheckLayer(drawing, layer);
    w.Pair(0, type);
    w.Pair(8, layer);
    if (!layout) return;
    w.Pair(67, 1);
    w.Pair(410, layout->name);
  }
  void operator()(const Line& line) {
    Start("LINE", line.layer);
    w.Point(10, line.from);
    w.Point(11, line.to);
  }
  void operator()(const Circle& circle) {
    CheckPositive(circle.radius, "a circle's radius");
    Start("CIRCLE", circle.layer);
    w.Point(10, circle.centre);
    w.Pair(40, circle.radius);
  }
  void operator()(const Arc& arc) {
    CheckPositive(arc.radius, "an arc's radius");
    Start("ARC", arc.layer);
    w.Point(10, arc.centre);
    w.Pair(40, arc.radius);
    w.Pair(50, arc.start_degrees);
    w.Pair(51, arc.end_degrees);
  }
  // Numbered from 2: 1 is the sheet's own viewport.
  void Write(const Viewport& viewport, int id) {
    CheckPositive(viewport.width, "a viewport's width");
    CheckPositive(viewport.height, "a viewport's height");
    CheckPositive(viewport.view_height, "a viewport's view height");
    Start("VIEWPORT", viewport.layer);
    w.Point(10, viewport.centre);
    w.Pair(40, viewport.width);
    w.Pair(41, viewport.height);
    w.Pair(68, 1);
    w.Pair(69, id);
    w.Pair(12, viewport.view_centre.x);
    w.Pair(22, viewport.view_centre.y);
    w.Pair(45, viewport.view_height);
  }
  void operator()(const Text& text) {
    CheckPositive(text.height, "a text's height");
    CheckText(text.value);
    Start("TEXT", text.layer);
    w.Point(10, text.position);
    w.Pair(40, text.height);
    w.Pair(1, text.value);
    bool aligned = text.align != Align::kLeft || text.baseline != Baseline::kBaseline;
    if (!aligned) return;
    // An aligned text is placed by its second point; the first is kept equal
    // for readers that look at 10/20 only.
    if (text.align != Align::kLeft) w.Pair(72, static_cast<int>(text.align));
    w.Point(11, text.position);
    if (text.baseline != Baseline::kBaseline) w.Pair(73, static_cast<int>(text.baseline));
  }
};

}  // namespace

std::string FormatNumber(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", value);
  std::string out = text;
  out.erase(out.find_last_not_of('0') + 1);
  if (out.back() == '.') out.pop_back();
  if (out == "-0") out = "0";
  return out;
}

Extents ExtentsOf(const Drawing& drawing) {
  Extents e{{1e300, 1e300}, {-1e300, -1e300}};
  for (const Entity& entity : drawing.entities) {
    if (const auto* line = std::get_if<Line>(&entity)) {
      Grow(e, line->from);
      Grow(e, line->to);
    } else if (const auto* circle = std::get_if<Circle>(&entity)) {
      Grow(e, {circle->centre.x - circle->radius, circle->centre.y - circle->radius});
      Grow(e, {circle->centre.x + circle->radius, circle->centre.y + circle->radius});
    } else if (const auto* arc = std::get_if<Arc>(&entity)) {
      double start = std::fmod(std::fmod(arc->start_degrees, 360) + 360, 360);
      double sweep = std::fmod(std::fmod(arc->end_degrees - arc->start_degrees, 360) + 360, 360);
      Grow(e, OnCircle(arc->centre, arc->radius, start));
      Grow(e, OnCircle(arc->centre, arc->radius, start + sweep));
      for (double axis = 0; axis < 720; axis += 90) {
        if (axis > start && axis < start + sweep) Grow(e, OnCircle(arc->centre, arc->radius, axis));
      }
    } else if (const auto* text = std::get_if<Text>(&entity)) {
      GrowByText(e, *text);
    }
  }
  if (drawing.entities.empty()) e = {};
  return e;
}

std::string WriteDxf(const Drawing& drawing) {
  Writer w;
  Header(w, drawing);
  w.Pair(0, "SECTION");
  w.Pair(2, "TABLES");
  LineTypes(w);
  Layers(w, drawing);
  Styles(w);
  w.Pair(0, "ENDSEC");
  w.Pair(0, "SECTION");
  w.Pair(2, "ENTITIES");
  EntityWriter entities{w, drawing};
  for (const Entity& entity : drawing.entities) std::visit(entities, entity);
  for (const SheetLayout& layout : drawing.layouts) {
    CheckText(layout.name);
    EntityWriter paper{w, drawing, &layout};
    for (const Entity& entity : layout.entities) std::visit(paper, entity);
    int id = 2;
    for (const Viewport& viewport : layout.viewports) paper.Write(viewport, id++);
  }
  w.Pair(0, "ENDSEC");
  w.Pair(0, "EOF");
  return w.Take();
}

}  // namespace pellacore::samples
