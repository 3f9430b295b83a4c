// The sample drawings: the shipped files are what the generator writes, they
// read back as release 12 DXF, and each drawing's geometry holds together.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "tools/samples/drawings.h"
#include "tools/samples/dxf_reader.h"

namespace pellacore::samples {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTolerance = 1e-3;

struct P {
  double x, y;
};

bool Same(P a, P b) { return std::hypot(a.x - b.x, a.y - b.y) < kTolerance; }

P OnCircle(P centre, double radius, double degrees) {
  return {centre.x + radius * std::cos(degrees * kPi / 180), centre.y + radius * std::sin(degrees * kPi / 180)};
}

P At(const ReadEntity& e, int code) { return {e.Number(code), e.Number(code + 10)}; }

std::string Shipped(const std::string& name) {
  std::ifstream file(std::string(PELLACORE_SAMPLES_DIR) + "/" + name + ".dxf", std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

ReadDxf Read(const Drawing& drawing) { return ReadDxfText(WriteDxf(drawing)); }

std::vector<const ReadEntity*> OfType(const ReadDxf& dxf, const std::string& type, const std::string& layer = "") {
  std::vector<const ReadEntity*> out;
  for (const ReadEntity& e : dxf.entities) {
    if (e.type == type && (layer.empty() || e.Text(8) == layer)) out.push_back(&e);
  }
  return out;
}

// The ends of the lines and arcs of a layer; on a closed outline each end
// meets exactly one other.
std::vector<P> Ends(const ReadDxf& dxf, const std::string& layer) {
  std::vector<P> ends;
  for (const ReadEntity* line : OfType(dxf, "LINE", layer)) {
    ends.push_back(At(*line, 10));
    ends.push_back(At(*line, 11));
  }
  for (const ReadEntity* arc : OfType(dxf, "ARC", layer)) {
    ends.push_back(OnCircle(At(*arc, 10), arc->Number(40), arc->Number(50)));
    ends.push_back(OnCircle(At(*arc, 10), arc->Number(40), arc->Number(51)));
  }
  return ends;
}

TEST(Samples, ShippedFilesAreWhatTheGeneratorWrites) {
  // Regenerate with: build/native/tools/samples/make_samples Samples
  for (const Drawing& drawing : AllSamples()) EXPECT_TRUE(Shipped(drawing.name) == WriteDxf(drawing)) << drawing.name;
}

TEST(Samples, ReadBackAsRelease12WithEverythingTheyName) {
  for (const Drawing& drawing : AllSamples()) {
    SCOPED_TRACE(drawing.name);
    ReadDxf dxf = ReadDxfText(Shipped(drawing.name));
    EXPECT_EQ(dxf.sections, (std::vector<std::string>{"HEADER", "TABLES", "ENTITIES"}));
    ASSERT_EQ(dxf.variables["$ACADVER"].size(), 1u);
    EXPECT_EQ(dxf.variables["$ACADVER"][0].value, "AC1009");

    std::set<std::string> line_types, layers;
    for (const ReadEntity& t : dxf.tables["LTYPE"]) line_types.insert(t.Text(2));
    for (const ReadEntity& l : dxf.tables["LAYER"]) {
      layers.insert(l.Text(2));
      EXPECT_TRUE(line_types.count(l.Text(6))) << l.Text(2) << " uses " << l.Text(6);
    }
    EXPECT_EQ(dxf.tables["STYLE"].size(), 1u);

    std::map<std::string, int> counted, drawn;
    for (const ReadEntity& e : dxf.entities) {
      ++counted[e.type];
      EXPECT_TRUE(layers.count(e.Text(8))) << e.type << " on " << e.Text(8);
      EXPECT_EQ(e.Number(30), 0) << e.type;
    }
    static const char* const kTypes[] = {"LINE", "CIRCLE", "ARC", "TEXT"};
    for (const Entity& e : drawing.entities) ++drawn[kTypes[e.index()]];
    // Paper space: each entity marked so and naming its layout, after the
    // model's.
    std::size_t at = drawing.entities.size();
    for (const SheetLayout& layout : drawing.layouts) {
      for (const Entity& e : layout.entities) {
        ++drawn[kTypes[e.index()]];
        ASSERT_LT(at, dxf.entities.size());
        EXPECT_EQ(dxf.entities[at].Number(67), 1);
        EXPECT_EQ(dxf.entities[at].Text(410), layout.name);
        ++at;
      }
      // Then its viewports, numbered from 2, each with its view.
      for (std::size_t v = 0; v < layout.viewports.size(); ++v) {
        ++drawn["VIEWPORT"];
        ASSERT_LT(at, dxf.entities.size());
        EXPECT_EQ(dxf.entities[at].type, "VIEWPORT");
        EXPECT_EQ(dxf.entities[at].Text(410), layout.name);
        EXPECT_EQ(dxf.entities[at].Number(69), static_cast<double>(v + 2));
        EXPECT_EQ(dxf.entities[at].Number(45), layout.viewports[v].view_height);
        ++at;
      }
    }
    for (std::size_t i = 0; i < drawing.entities.size(); ++i) EXPECT_FALSE(dxf.entities[i].Has(67));
    EXPECT_EQ(counted, drawn);
  }
}

TEST(Samples, ExtentsHoldEveryEntity) {
  for (const Drawing& drawing : AllSamples()) {
    SCOPED_TRACE(drawing.name);
    ReadDxf dxf = Read(drawing);
    const auto& min = dxf.variables["$EXTMIN"];
    const auto& max = dxf.variables["$EXTMAX"];
    ASSERT_EQ(min.size(), 3u);
    ASSERT_EQ(max.size(), 3u);
    P low{std::stod(min[0].value), std::stod(min[1].value)}, high{std::stod(max[0].value), std::stod(max[1].value)};
    auto inside = [&](P p) {
      return p.x >= low.x - kTolerance && p.x <= high.x + kTolerance && p.y >= low.y - kTolerance &&
             p.y <= high.y + kTolerance;
    };
    for (const ReadEntity& e : dxf.entities) {
      if (e.Has(67)) continue;  // paper space has extents of its own
      std::vector<P> points{At(e, 10)};
      if (e.type == "LINE") points.push_back(At(e, 11));
      if (e.type == "CIRCLE") {
        for (double a = 0; a < 360; a += 90) points.push_back(OnCircle(At(e, 10), e.Number(40), a));
      }
      if (e.type == "ARC") {
        points = {OnCircle(At(e, 10), e.Number(40), e.Number(50)), OnCircle(At(e, 10), e.Number(40), e.Number(51))};
      }
      for (P p : points) EXPECT_TRUE(inside(p)) << e.type << " at " << p.x << "," << p.y;
    }
  }
}

TEST(FloorPlan, EachDoorSwingsFromItsHingeBetweenItsJambAndItsLeaf) {
  ReadDxf dxf = Read(FloorPlan());
  auto arcs = OfType(dxf, "ARC", "DOORS");
  auto leaves = OfType(dxf, "LINE", "DOORS");
  auto walls = Ends(dxf, "WALLS");
  ASSERT_EQ(arcs.size(), 3u);
  ASSERT_EQ(leaves.size(), 3u);
  for (const ReadEntity* arc : arcs) {
    P hinge = At(*arc, 10);
    double r = arc->Number(40);
    P start = OnCircle(hinge, r, arc->Number(50)), end = OnCircle(hinge, r, arc->Number(51));
    const ReadEntity* leaf = nullptr;
    for (const ReadEntity* l : leaves) {
      if (Same(At(*l, 10), hinge)) leaf = l;
    }
    ASSERT_NE(leaf, nullptr) << "no leaf hinged at " << hinge.x << "," << hinge.y;
    P tip = At(*leaf, 11);
    EXPECT_TRUE(Same(tip, start) || Same(tip, end)) << "the leaf does not end on its arc";
    // The other end of the swing is where the door shuts: the far jamb.
    P shut = Same(tip, start) ? end : start;
    bool at_wall = false;
    for (P w : walls) at_wall = at_wall || Same(w, shut);
    EXPECT_TRUE(at_wall) << "the door shuts at " << shut.x << "," << shut.y << ", no wall there";
    EXPECT_NEAR(std::fmod(arc->Number(51) - arc->Number(50) + 360, 360), 90, kTolerance);
  }
}

TEST(FloorPlan, NamesEveryRoomInsideTheWallsWithItsArea) {
  ReadDxf dxf = Read(FloorPlan());
  std::vector<std::string> texts;
  for (const ReadEntity* t : OfType(dxf, "TEXT")) {
    if (t->Has(67)) continue;  // the sheet's title block, in paper space
    texts.push_back(t->Text(1));
    P p = At(*t, 10);
    if (t->Text(1).find("FLOOR PLAN") == 0) continue;
    EXPECT_GT(p.x, 250);
    EXPECT_LT(p.x, 9750);
    EXPECT_GT(p.y, 250);
    EXPECT_LT(p.y, 6750);
  }
  for (const char* name : {"LIVING ROOM", "KITCHEN", "BEDROOM"})
    EXPECT_NE(std::find(texts.begin(), texts.end(), name), texts.end()) << name;
  // Inner sizes: 5.7 m x 6.5 m, 3.7 m x 3.7 m, 3.7 m x 2.7 m.
  for (const char* area : {"37.0 m2", "13.7 m2", "10.0 m2"})
    EXPECT_NE(std::find(texts.begin(), texts.end(), area), texts.end()) << area;
}

TEST(Flange, OutlinesAreClosed) {
  ReadDxf dxf = Read(Flange());
  std::vector<P> ends = Ends(dxf, "OUTLINE");
  ASSERT_EQ(ends.size(), 2u * (6 + 6 + 1 + 3));  // lobes, body, bore, keyway
  for (size_t i = 0; i < ends.size(); ++i) {
    int meets = 0;
    for (size_t j = 0; j < ends.size(); ++j) meets += i != j && Same(ends[i], ends[j]);
    EXPECT_EQ(meets, 1) << "end at " << ends[i].x << "," << ends[i].y;
  }
}

TEST(Flange, BoltHolesAreEvenlySpacedOnThePitchCircle) {
  ReadDxf dxf = Read(Flange());
  auto holes = OfType(dxf, "CIRCLE", "HOLES");
  auto pitch = OfType(dxf, "CIRCLE", "CENTRE");
  ASSERT_EQ(pitch.size(), 1u);
  ASSERT_EQ(holes.size(), 6u);
  std::set<long> angles;
  for (const ReadEntity* hole : holes) {
    P c = At(*hole, 10);
    EXPECT_NEAR(std::hypot(c.x, c.y), pitch[0]->Number(40), kTolerance);
    EXPECT_NEAR(hole->Number(40), 7, kTolerance);
    double degrees = std::atan2(c.y, c.x) * 180 / kPi;
    angles.insert(std::lround(std::fmod(degrees + 360, 360)));
  }
  EXPECT_EQ(angles, (std::set<long>{30, 90, 150, 210, 270, 330}));
}

TEST(TitleBlock, HoldsTitleNumberDateAndScaleInsideTheFrame) {
  ReadDxf dxf = Read(TitleBlock());
  std::map<std::string, std::string> below;  // label -> the value under it
  auto texts = OfType(dxf, "TEXT");
  for (const ReadEntity* label : texts) {
    if (label->Number(40) >= 5) continue;
    P l = At(*label, 10);
    for (const ReadEntity* value : texts) {
      P v = At(*value, 10);
      if (value->Number(40) >= 5 && std::fabs(v.x - l.x) < kTolerance && l.y - v.y > 0 && l.y - v.y < 14)
        below[label->Text(1)] = value->Text(1);
    }
    // Inside the inner frame, in the title block's corner.
    EXPECT_GT(l.x, 230);
    EXPECT_LT(l.x, 410);
    EXPECT_GT(l.y, 10);
    EXPECT_LT(l.y, 66);
  }
  EXPECT_EQ(below["TITLE"], "SAMPLE TITLE BLOCK");
  EXPECT_TRUE(std::regex_match(below["DRAWING NO."], std::regex("[A-Z]+(-[A-Z0-9]+)+")));
  EXPECT_TRUE(std::regex_match(below["DATE"], std::regex("20[0-9]{2}-(0[1-9]|1[0-2])-(0[1-9]|[12][0-9]|3[01])")));
  EXPECT_TRUE(std::regex_match(below["SCALE"], std::regex("[1-9][0-9]*:[1-9][0-9]*")));
  EXPECT_FALSE(below["DRAWN"].empty());
  EXPECT_FALSE(below["SHEET"].empty());
}

}  // namespace
}  // namespace pellacore::samples
