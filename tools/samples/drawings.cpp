#include "tools/samples/drawings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace pellacore::samples {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Degrees(double radians) { return radians * 180 / kPi; }

void Add(Drawing& d, Entity e) { d.entities.push_back(std::move(e)); }

void AddLine(Drawing& d, Point a, Point b, const std::string& layer) { Add(d, Line{a, b, layer}); }

// A room's inside, for its label and area.
struct Room {
  const char* name;
  double left, bottom, right, top;
};

// A door: the leaf drawn open at right angles to the wall, and its swing.
void AddDoor(Drawing& d, Point hinge, double width, double closed_degrees, double open_degrees) {
  Add(d, Line{hinge, OnCircle(hinge, width, open_degrees), "DOORS"});
  double start = std::min(closed_degrees, open_degrees), end = std::max(closed_degrees, open_degrees);
  Add(d, Arc{hinge, width, start, end, "DOORS"});
}

}  // namespace

namespace {

struct TitleFields {
  const char* title;
  const char* number;
  const char* sheet;
  const char* scale;
};

// An A3 landscape frame with its title block, in sheet millimetres.
std::vector<Entity> A3Sheet(const TitleFields& fields) {
  std::vector<Entity> e;
  const double width = 420, height = 297, margin = 10;  // A3 landscape
  const double right = width - margin, bottom = margin;
  const double left = right - 180, top = bottom + 56;
  const double row[] = {bottom + 14, bottom + 28, bottom + 42};  // lines between the rows
  const double column1 = left + 60, column2 = left + 120;

  auto line = [&e](Point a, Point b, const char* layer) { e.push_back(Line{a, b, layer}); };
  auto box = [&line](Point a, Point b, const char* layer) {
    line({a.x, a.y}, {b.x, a.y}, layer);
    line({b.x, a.y}, {b.x, b.y}, layer);
    line({b.x, b.y}, {a.x, b.y}, layer);
    line({a.x, b.y}, {a.x, a.y}, layer);
  };
  box({0, 0}, {width, height}, "FRAME");
  box({margin, margin}, {right, height - margin}, "FRAME");

  line({left, bottom}, {left, top}, "TABLE");
  line({left, top}, {right, top}, "TABLE");
  for (double y : row) line({left, y}, {right, y}, "TABLE");
  line({column1, row[0]}, {column1, row[1]}, "TABLE");
  line({column2, row[0]}, {column2, row[2]}, "TABLE");

  // A cell: its label small at the top, its value below.
  auto cell = [&e](double x, double cell_top, const char* label, const char* value) {
    e.push_back(Text{{x + 2, cell_top - 2}, 2.5, label, "TEXT", Align::kLeft, Baseline::kTop});
    e.push_back(Text{{x + 2, cell_top - 11}, 5, value, "TEXT"});
  };
  cell(left, top, "TITLE", fields.title);
  cell(left, row[2], "DRAWING NO.", fields.number);
  cell(column2, row[2], "SHEET", fields.sheet);
  cell(left, row[1], "DATE", "2025-03-14");
  cell(column1, row[1], "SCALE", fields.scale);
  cell(column2, row[1], "DRAWN", "PELLACORE");
  e.push_back(Text{{(left + right) / 2, (bottom + row[0]) / 2}, 7, "PELLACORE", "TEXT", Align::kCentre,
                   Baseline::kMiddle});
  return e;
}

// An A4 upright frame with a small title: the sheet of a detail.
std::vector<Entity> A4Detail(const char* title, const char* sheet) {
  std::vector<Entity> e;
  const double width = 210, height = 297, margin = 10;
  auto box = [&e](Point a, Point b, const char* layer) {
    e.push_back(Line{{a.x, a.y}, {b.x, a.y}, layer});
    e.push_back(Line{{b.x, a.y}, {b.x, b.y}, layer});
    e.push_back(Line{{b.x, b.y}, {a.x, b.y}, layer});
    e.push_back(Line{{a.x, b.y}, {a.x, a.y}, layer});
  };
  box({0, 0}, {width, height}, "FRAME");
  box({margin, margin}, {width - margin, height - margin}, "FRAME");
  box({110, margin}, {width - margin, 40}, "TABLE");
  e.push_back(Text{{115, 27}, 5, title, "TEXT"});
  e.push_back(Text{{115, 16}, 3.5, sheet, "TEXT"});
  return e;
}

}  // namespace

Drawing FloorPlan() {
  Drawing d{"floor-plan",
            {{"WALLS", 7}, {"DOORS", 3}, {"TEXT", 2}, {"FRAME", 7}, {"TABLE", 7}, {"VIEWPORTS", 8}},
            {},
            {}};
  const double w = 10000, h = 7000, outer = 250, inner = 100;
  const double split_x = 6000, split_y = 4000;  // middles of the inner walls
  const double vx0 = split_x - inner / 2, vx1 = split_x + inner / 2;
  const double hy0 = split_y - inner / 2, hy1 = split_y + inner / 2;
  const double entrance0 = 2000, entrance1 = 2900;  // in the bottom wall
  const double kitchen0 = 1000, kitchen1 = 1900;    // in the upright wall
  const double bedroom0 = 7000, bedroom1 = 7800;    // in the cross wall

  // Outer faces, the entrance left open.
  AddLine(d, {0, 0}, {entrance0, 0}, "WALLS");
  AddLine(d, {entrance1, 0}, {w, 0}, "WALLS");
  AddLine(d, {w, 0}, {w, h}, "WALLS");
  AddLine(d, {w, h}, {0, h}, "WALLS");
  AddLine(d, {0, h}, {0, 0}, "WALLS");
  // Inner faces of the outer walls, broken where the inner walls meet them.
  AddLine(d, {outer, outer}, {entrance0, outer}, "WALLS");
  AddLine(d, {entrance1, outer}, {vx0, outer}, "WALLS");
  AddLine(d, {vx1, outer}, {w - outer, outer}, "WALLS");
  AddLine(d, {w - outer, outer}, {w - outer, hy0}, "WALLS");
  AddLine(d, {w - outer, hy1}, {w - outer, h - outer}, "WALLS");
  AddLine(d, {w - outer, h - outer}, {vx1, h - outer}, "WALLS");
  AddLine(d, {vx0, h - outer}, {outer, h - outer}, "WALLS");
  AddLine(d, {outer, h - outer}, {outer, outer}, "WALLS");
  // The upright inner wall, with the kitchen door.
  AddLine(d, {vx0, outer}, {vx0, kitchen0}, "WALLS");
  AddLine(d, {vx0, kitchen1}, {vx0, h - outer}, "WALLS");
  AddLine(d, {vx1, outer}, {vx1, kitchen0}, "WALLS");
  AddLine(d, {vx1, kitchen1}, {vx1, hy0}, "WALLS");
  AddLine(d, {vx1, hy1}, {vx1, h - outer}, "WALLS");
  // The cross wall between kitchen and bedroom, with the bedroom door.
  AddLine(d, {vx1, hy0}, {bedroom0, hy0}, "WALLS");
  AddLine(d, {bedroom1, hy0}, {w - outer, hy0}, "WALLS");
  AddLine(d, {vx1, hy1}, {bedroom0, hy1}, "WALLS");
  AddLine(d, {bedroom1, hy1}, {w - outer, hy1}, "WALLS");
  // Jambs: the wall ends at each opening.
  AddLine(d, {entrance0, 0}, {entrance0, outer}, "WALLS");
  AddLine(d, {entrance1, 0}, {entrance1, outer}, "WALLS");
  AddLine(d, {vx0, kitchen0}, {vx1, kitchen0}, "WALLS");
  AddLine(d, {vx0, kitchen1}, {vx1, kitchen1}, "WALLS");
  AddLine(d, {bedroom0, hy0}, {bedroom0, hy1}, "WALLS");
  AddLine(d, {bedroom1, hy0}, {bedroom1, hy1}, "WALLS");

  // Each door opens into the room it serves.
  AddDoor(d, {entrance0, outer}, entrance1 - entrance0, 0, 90);
  AddDoor(d, {vx1, kitchen0}, kitchen1 - kitchen0, 90, 0);
  AddDoor(d, {bedroom0, hy1}, bedroom1 - bedroom0, 0, 90);

  const Room rooms[] = {
      {"LIVING ROOM", outer, outer, vx0, h - outer},
      {"KITCHEN", vx1, outer, w - outer, hy0},
      {"BEDROOM", vx1, hy1, w - outer, h - outer},
  };
  for (const Room& room : rooms) {
    Point middle{(room.left + room.right) / 2, (room.bottom + room.top) / 2};
    Add(d, Text{{middle.x, middle.y + 200}, 250, room.name, "TEXT", Align::kCentre, Baseline::kMiddle});
    char area[32];
    std::snprintf(area, sizeof area, "%.1f m2", (room.right - room.left) * (room.top - room.bottom) / 1e6);
    Add(d, Text{{middle.x, middle.y - 200}, 180, area, "TEXT", Align::kCentre, Baseline::kMiddle});
  }
  Add(d, Text{{0, -700}, 300, "FLOOR PLAN  SCALE 1:100", "TEXT"});
  // The plan's sheet: its frame and title block in paper space.
  // The plan's sheet: its frame and title block in paper space, and the
  // plan at 1:100 in a viewport above the title block.
  const double window_height = 201;
  d.layouts.push_back({"A3 Sheet",
                       A3Sheet({"FLOOR PLAN", "PC-SMP-0001", "1 OF 1", "1:100"}),
                       {{{210, 176.5}, 380, window_height, {w / 2, (h - 700) / 2}, window_height * 100, "VIEWPORTS"}}});
  return d;
}

Drawing Flange() {
  Drawing d{"flange",
            {{"OUTLINE", 7}, {"HOLES", 4}, {"CENTRE", 1, "CENTER"}, {"TEXT", 2}, {"FRAME", 7}, {"TABLE", 7},
             {"VIEWPORTS", 8}},
            {},
            {}};
  const Point centre{0, 0};
  const int bolts = 6;
  const double pitch_radius = 80, hole_radius = 7;
  const double lobe_radius = 20, body_radius = 75;
  const double hub_radius = 45, bore_radius = 25, key_half_width = 6, key_top = 28.3;

  // Where a lobe's circle crosses the body's, by the law of cosines: the
  // angle at the flange's centre, and the angle at the lobe's centre from
  // the line pointing outwards.
  const double at_centre = Degrees(std::acos(
      (body_radius * body_radius + pitch_radius * pitch_radius - lobe_radius * lobe_radius) /
      (2 * body_radius * pitch_radius)));
  const double at_lobe = 180 - Degrees(std::acos(
      (lobe_radius * lobe_radius + pitch_radius * pitch_radius - body_radius * body_radius) /
      (2 * lobe_radius * pitch_radius)));
  for (int i = 0; i < bolts; ++i) {
    double angle = 90 + 360.0 * i / bolts;
    Point bolt = OnCircle(centre, pitch_radius, angle);
    Add(d, Arc{bolt, lobe_radius, angle - at_lobe, angle + at_lobe, "OUTLINE"});
    Add(d, Arc{centre, body_radius, angle + at_centre, angle + 360.0 / bolts - at_centre, "OUTLINE"});
    Add(d, Circle{bolt, hole_radius, "HOLES"});
    // A short centre line across each hole, along the pitch circle's radius.
    AddLine(d, OnCircle(centre, pitch_radius - 12, angle), OnCircle(centre, pitch_radius + 12, angle), "CENTRE");
  }
  Add(d, Circle{centre, pitch_radius, "CENTRE"});
  Add(d, Circle{centre, hub_radius, "OUTLINE"});

  // The bore, open at the top for the keyway.
  const double key_corner_y = std::sqrt(bore_radius * bore_radius - key_half_width * key_half_width);
  const double key_angle = Degrees(std::asin(key_half_width / bore_radius));
  Add(d, Arc{centre, bore_radius, 90 + key_angle, 90 - key_angle, "OUTLINE"});
  AddLine(d, {-key_half_width, key_corner_y}, {-key_half_width, key_top}, "OUTLINE");
  AddLine(d, {-key_half_width, key_top}, {key_half_width, key_top}, "OUTLINE");
  AddLine(d, {key_half_width, key_top}, {key_half_width, key_corner_y}, "OUTLINE");

  AddLine(d, {-115, 0}, {115, 0}, "CENTRE");
  AddLine(d, {0, -115}, {0, 115}, "CENTRE");
  Add(d, Text{{0, -125}, 5, "FLANGE  6 HOLES D14 ON PCD 160  BORE D50", "TEXT", Align::kCentre, Baseline::kTop});
  // Two sheets: the flange itself on an upright A4, and its parts on an A3.
  d.layouts.push_back({"Detail", A4Detail("FLANGE DN100 DETAIL", "SHEET 1 OF 2"),
                       {{{105, 163.5}, 180, 237, {0, -5}, 316, "VIEWPORTS"}}});
  std::vector<Entity> parts = A3Sheet({"FLANGE DN100 PARTS LIST", "PC-SMP-0002", "2 OF 2", "-"});
  const char* const rows[] = {"1  FLANGE DN100 PN16  1 OFF", "2  BOLT M12 x 60  6 OFF", "3  GASKET DN100  1 OFF"};
  double y = 250;
  for (const char* row : rows) {
    parts.push_back(Text{{30, y}, 6, row, "TEXT"});
    parts.push_back(Line{{20, y - 6}, {400, y - 6}, "TABLE"});
    y -= 20;
  }
  d.layouts.push_back({"Parts List", std::move(parts), {}});
  return d;
}

Drawing TitleBlock() {
  return {"title-block",
          {{"FRAME", 7}, {"TABLE", 7}, {"TEXT", 2}},
          A3Sheet({"SAMPLE TITLE BLOCK", "PC-SMP-0003", "1 OF 1", "1:1"}),
          {}};
}

std::vector<Drawing> AllSamples() { return {FloorPlan(), Flange(), TitleBlock()}; }

}  // namespace pellacore::samples
