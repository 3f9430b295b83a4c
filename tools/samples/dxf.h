// A drawing as the samples need it, and its writer: ASCII DXF of release 12
// (AC1009) with LINE, CIRCLE, ARC and TEXT, which every DXF reader takes,
// and in paper space VIEWPORT. Coordinates in millimetres, angles in degrees.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace pellacore::samples {

struct Point {
  double x = 0, y = 0;
};

// The point at that angle on the circle.
Point OnCircle(Point centre, double radius, double degrees);

struct Line {
  Point from, to;
  std::string layer;
};

struct Circle {
  Point centre;
  double radius = 0;
  std::string layer;
};

// Counter-clockwise from start to end, as DXF has it.
struct Arc {
  Point centre;
  double radius = 0;
  double start_degrees = 0, end_degrees = 0;
  std::string layer;
};

enum class Align { kLeft = 0, kCentre = 1, kRight = 2 };
enum class Baseline { kBaseline = 0, kBottom = 1, kMiddle = 2, kTop = 3 };

struct Text {
  Point position;
  double height = 0;
  std::string value;
  std::string layer;
  Align align = Align::kLeft;
  Baseline baseline = Baseline::kBaseline;
};

using Entity = std::variant<Line, Circle, Arc, Text>;

struct Layer {
  std::string name;
  int colour = 7;  // AutoCAD colour index: 7 is white on black, black on white
  std::string linetype = "CONTINUOUS";
};

// A paper-space layout. Release 12 has one paper space and no layouts, so
// the stand-in AutoCAD reads a simpler form: each of its entities carries
// group 67 = 1 (paper space, as release 12 has it) and group 410 naming the
// layout, as later releases write it.
// A window on the sheet through which model space is seen, as AutoCAD's
// layouts show the drawing: written as a VIEWPORT after the layout's
// entities, with the group codes later releases use for the view (12, 22
// its model centre, 45 the model height it shows). Readers that do not know
// VIEWPORT skip it.
struct Viewport {
  Point centre;  // on the sheet
  double width = 0, height = 0;
  Point view_centre;  // in the model
  double view_height = 0;
  std::string layer;
};

struct SheetLayout {
  std::string name;
  std::vector<Entity> entities;
  std::vector<Viewport> viewports;
};

struct Drawing {
  std::string name;  // the file's name without ".dxf"
  std::vector<Layer> layers;
  std::vector<Entity> entities;  // model space
  std::vector<SheetLayout> layouts;
};

struct Extents {
  Point min, max;
};

// What a reader zooming to "extents" shows of model space: every entity's ends, an arc's
// outermost points, a text's box at 0.7 of its height per character.
Extents ExtentsOf(const Drawing& drawing);

// Shortest decimal text for a DXF real, no exponent, at most 6 decimals.
std::string FormatNumber(double value);

// The whole file, CRLF line ends as AutoCAD writes them. Throws
// std::invalid_argument for what the file cannot hold: a layer not declared,
// a line type other than CONTINUOUS and CENTER, a text with a line break or
// a character outside ASCII, a radius or height not above zero.
std::string WriteDxf(const Drawing& drawing);

}  // namespace pellacore::samples
