#pragma once
// A small reader of ASCII DXF: just the entities of the ENTITIES section that
// the stand-in draws. Portable (no Windows headers) so it is tested natively
// and under Wine alike.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pellacore::standin {

struct Point {
  double x = 0;
  double y = 0;
};

struct Line {
  Point from;
  Point to;
};

struct Circle {
  Point center;
  double radius = 0;
};

// Drawn counter-clockwise from the start angle to the end angle (degrees).
struct Arc {
  Point center;
  double radius = 0;
  double startDegrees = 0;
  double endDegrees = 0;
};

// LWPOLYLINE and POLYLINE/VERTEX. Bulges are drawn as straight segments.
struct Polyline {
  std::vector<Point> points;
  bool closed = false;
};

// TEXT and MTEXT. `text` is the plain text (MTEXT formatting removed, "\n"
// between paragraphs), in the file's own bytes (UTF-8 or the ANSI code page).
struct Text {
  Point at;
  double height = 0;
  double rotationDegrees = 0;
  std::string text;
  // MTEXT places its first line's top at `at`; TEXT its baseline.
  bool topAligned = false;
};

using Entity = std::variant<Line, Circle, Arc, Polyline, Text>;

// AutoCAD colour index: 1 red ... 7 black on a white page.
inline constexpr int kBlackColour = 7;

// A paper-space layout. In the stand-in's drawings an entity with group 67
// set to 1 is in paper space, and group 410 names its layout ("Layout1"
// when absent); layouts come in the order their first entity does.
// A window on a layout through which model space is seen: VIEWPORT,
// centre (10, 20), width 40, height 41 in sheet units; the model's point
// seen at its centre (12, 22) and the model height it shows (45).
struct Viewport {
  Point center;
  double width = 0;
  double height = 0;
  Point viewCenter;
  double viewHeight = 0;
};

struct PaperLayout {
  std::string name;
  std::vector<Entity> entities;
  std::vector<int> colours;  // one per entity, as Drawing::colours
  // The layout's own viewport (69 = 1, the sheet itself) is not one of them.
  std::vector<Viewport> viewports;
};

struct Drawing {
  Drawing() = default;
  // Model space only, every entity black.
  Drawing(std::vector<Entity> modelEntities) : entities(std::move(modelEntities)) {}  // NOLINT: implicit

  std::vector<Entity> entities;  // model space
  // The colour each model-space entity is drawn in: its own (group 62), or
  // its layer's for BYLAYER and BYBLOCK; black when neither says.
  std::vector<int> colours;
  std::vector<PaperLayout> layouts;
};

// Whether the content is ASCII DXF: its first group (after comments) opens a
// section. Decided by content, since drawings may be DXF files named .dwg.
bool LooksLikeDxf(std::string_view content);

struct DxfError {
  int line = 0;  // 1-based line of the file where reading stopped
  std::string message;
};

// Reads the drawable entities; unknown entities and sections are skipped.
// Fails on a file that is not a sequence of group-code/value pairs.
struct DxfResult {
  std::optional<Drawing> drawing;
  DxfError error;
};
DxfResult ReadDxf(std::string_view content);

// MTEXT's inline formatting removed: "\P" becomes a line break, font and
// size switches and braces go, "\U+XXXX" becomes UTF-8.
std::string PlainMtext(std::string_view formatted);

}  // namespace pellacore::standin
