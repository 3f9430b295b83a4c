// A drawing plotted onto a PDF page: the media's sheet turned by the
// rotation, the drawing fitted and centred, curves as Bezier paths, text as
// text, colours or black; and the paper-space layouts a DXF carries.

#include "tools/standin-autocad/plot_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tools/standin-autocad/sheet.h"
#include "tools/standin-autocad/tests/pdf_inspection.h"
#include "tools/standin-autocad/viewport_view.h"

namespace pellacore::standin {
namespace {

using testing::InspectPdf;
using testing::RunPdfTool;

constexpr double kA3Long = 420 * 72 / 25.4;
constexpr double kA3Short = 297 * 72 / 25.4;

TEST(PlotMedia, EverySheetIsPortraitUntilTurned) {
  const auto landscapeName = FindMedia("DWG To PDF.pc3", "ISO_full_bleed_A3_(420.00_x_297.00_MM)");
  const auto portraitName = FindMedia("dwg to pdf.PC3", "ISO_full_bleed_A3_(297.00_x_420.00_MM)");
  ASSERT_TRUE(landscapeName && portraitName);
  for (const Media& media : {*landscapeName, *portraitName}) {
    for (int rotation : {0, 2}) {
      EXPECT_NEAR(PageOf(media, rotation).width, kA3Short, 1e-6) << media.name << rotation;
      EXPECT_NEAR(PageOf(media, rotation).height, kA3Long, 1e-6);
    }
    for (int rotation : {1, 3}) {
      EXPECT_NEAR(PageOf(media, rotation).width, kA3Long, 1e-6) << media.name << rotation;
      EXPECT_NEAR(PageOf(media, rotation).height, kA3Short, 1e-6);
    }
  }
  const auto letter = FindMedia(kPdfPlotterConfig, "ANSI_A_(8.50_x_11.00_Inches)");
  ASSERT_TRUE(letter);
  EXPECT_NEAR(PageOf(*letter, 1).width, 792, 1e-6);
  // Names are exact; other devices have no media here.
  EXPECT_FALSE(FindMedia(kPdfPlotterConfig, "iso_full_bleed_a3_(420.00_x_297.00_mm)"));
  EXPECT_FALSE(FindMedia("None", "ISO_full_bleed_A3_(420.00_x_297.00_MM)"));
  EXPECT_TRUE(MediaOf("Other.pc3").empty());
  EXPECT_TRUE(IsKnownPlotterConfig("none"));
  EXPECT_FALSE(IsKnownPlotterConfig("DWG To PDF"));
}

// The numbers before each path operator of the content stream.
std::vector<std::vector<double>> Operands(const std::string& content, const std::string& op) {
  std::vector<std::vector<double>> found;
  std::istringstream lines(content);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.size() < op.size() + 1 || line.compare(line.size() - op.size() - 1, std::string::npos, " " + op) != 0) {
      continue;
    }
    std::istringstream numbers(line);
    std::vector<double> values;
    double value = 0;
    while (numbers >> value) values.push_back(value);
    found.push_back(values);
  }
  return found;
}

TEST(PlotPage, TheDrawingIsFittedAndCentredOnTheTurnedSheet) {
  // A 200 x 100 frame with a circle and a line of text inside.
  const std::vector<Entity> entities = {
      Polyline{{{0, 0}, {200, 0}, {200, 100}, {0, 100}}, true},
      Circle{{100, 50}, 30},
      Text{{10, 10}, 5, 0, "GROUND FLOOR", false},
  };
  const auto media = FindMedia(kPdfPlotterConfig, "ISO_full_bleed_A3_(420.00_x_297.00_MM)");
  ASSERT_TRUE(media);
  const PdfPage page = PlotPage(entities, {7, 1, 3}, {PageOf(*media, 1), 1, false});
  EXPECT_NEAR(page.width(), kA3Long, 1e-6);
  // The frame fills the width between the margins, centred upright.
  const auto moves = Operands(page.content(), "m");
  ASSERT_FALSE(moves.empty());
  const double scale = (kA3Long - 2 * kPlotMargin) / 200;
  EXPECT_NEAR(moves[0][0], kPlotMargin, 1e-2);
  EXPECT_NEAR(moves[0][1], kA3Short / 2 - 50 * scale, 1e-2);
  // The circle: four quarter Beziers ending on the circle, in red.
  const auto curves = Operands(page.content(), "c");
  ASSERT_EQ(curves.size(), 4u);
  for (const auto& curve : curves) {
    const double dx = curve[4] - kA3Long / 2;
    const double dy = curve[5] - kA3Short / 2;
    EXPECT_NEAR(std::hypot(dx, dy), 30 * scale, 1e-2);
  }
  EXPECT_NE(page.content().find("1 0 0 RG"), std::string::npos);
  EXPECT_NE(page.content().find("0 1 0 rg"), std::string::npos);  // the green text

  // Turned half round: the frame's first corner goes to the opposite side.
  const PdfPage turned = PlotPage(entities, {7, 1, 3}, {PageOf(*media, 3), 3, true});
  const auto turnedMoves = Operands(turned.content(), "m");
  EXPECT_NEAR(turnedMoves[0][0], kA3Long - kPlotMargin, 1e-2);
  // Monochrome: black only.
  EXPECT_EQ(turned.content().find("1 0 0 RG"), std::string::npos);
  EXPECT_EQ(turned.content().find("0 1 0 rg"), std::string::npos);

  const std::string pdf = WritePdf({page, turned});
  EXPECT_EQ(InspectPdf(pdf).problem, "");
  const auto text = RunPdfTool("pdftotext -raw", pdf);
  if (!text) GTEST_SKIP() << "poppler-utils are not here";
  EXPECT_EQ(text->errors, "");
  EXPECT_NE(text->output.find("GROUND FLOOR"), std::string::npos) << text->output;
}

TEST(PlotPage, AStandardScaleKeepsDrawingMillimetresAndWithoutCentringSitsAtTheMargins) {
  const std::vector<Entity> entities = {Line{{50, 60}, {250, 60}}, Line{{50, 60}, {50, 160}}};
  PlotRequest request{{841.89, 1190.55}, 0, false};
  request.pointsPerUnit = 72 / 25.4 / 2;  // 1:2
  request.centred = false;
  const auto moves = Operands(PlotPage(entities, {7, 7}, request).content(), "m");
  const auto lines = Operands(PlotPage(entities, {7, 7}, request).content(), "l");
  ASSERT_EQ(moves.size(), 2u);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NEAR(moves[0][0], kPlotMargin, 1e-2);
  EXPECT_NEAR(moves[0][1], kPlotMargin, 1e-2);
  // 200 mm of drawing at 1:2 is 100 mm of sheet.
  EXPECT_NEAR(lines[0][0] - moves[0][0], 100 * 72 / 25.4, 1e-2);
  EXPECT_NEAR(lines[1][1] - moves[1][1], 50 * 72 / 25.4, 1e-2);
}

TEST(PlotPage, NothingToDrawIsABlankSheet) {
  const PdfPage page = PlotPage({}, {}, {{100, 200}, 0, false});
  EXPECT_EQ(page.content(), "");
  EXPECT_EQ(page.height(), 200);
}

std::string DxfOf(std::initializer_list<std::pair<int, std::string>> groups) {
  std::string text;
  for (const auto& [code, value] : groups) text += std::to_string(code) + "\n" + value + "\n";
  return text;
}

TEST(DxfLayouts, PaperSpaceEntitiesGoToTheirLayoutsWithTheirColours) {
  const std::string dxf =
      DxfOf({{0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "LAYER"}, {70, "2"},
             {0, "LAYER"}, {2, "DOORS"}, {70, "0"}, {62, "3"}, {6, "CONTINUOUS"},
             {0, "LAYER"}, {2, "FRAME"}, {70, "0"}, {62, "-5"}, {6, "CONTINUOUS"},
             {0, "ENDTAB"}, {0, "ENDSEC"},
             {0, "SECTION"}, {2, "ENTITIES"},
             {0, "LINE"}, {8, "DOORS"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"},
             {0, "LINE"}, {8, "FRAME"}, {67, "1"}, {410, "Title sheet"}, {10, "0"}, {20, "0"}, {11, "5"}, {21, "0"},
             {0, "CIRCLE"}, {8, "DOORS"}, {62, "1"}, {10, "0"}, {20, "0"}, {40, "2"},
             {0, "TEXT"}, {8, "0"}, {67, "1"}, {10, "0"}, {20, "0"}, {40, "2"}, {1, "NOTE"},
             {0, "POLYLINE"}, {8, "FRAME"}, {67, "1"}, {410, "Title sheet"}, {66, "1"}, {70, "1"},
             {0, "VERTEX"}, {8, "FRAME"}, {67, "1"}, {410, "Title sheet"}, {10, "0"}, {20, "0"},
             {0, "VERTEX"}, {8, "FRAME"}, {67, "1"}, {410, "Title sheet"}, {10, "3"}, {20, "0"},
             {0, "SEQEND"}, {8, "FRAME"}, {67, "1"}, {410, "Title sheet"},
             {0, "ENDSEC"}, {0, "EOF"}});
  const DxfResult read = ReadDxf(dxf);
  ASSERT_TRUE(read.drawing) << read.error.message;
  const Drawing& drawing = *read.drawing;
  // Model space keeps what it had: the line and the circle, nothing more.
  ASSERT_EQ(drawing.entities.size(), 2u);
  EXPECT_EQ(drawing.colours, (std::vector<int>{3, 1}));
  ASSERT_EQ(drawing.layouts.size(), 2u);
  EXPECT_EQ(drawing.layouts[0].name, "Title sheet");
  ASSERT_EQ(drawing.layouts[0].entities.size(), 2u);
  ASSERT_TRUE(std::holds_alternative<Polyline>(drawing.layouts[0].entities[1]));
  EXPECT_EQ(std::get<Polyline>(drawing.layouts[0].entities[1]).points.size(), 2u);
  // A layer switched off still plots in its colour.
  EXPECT_EQ(drawing.layouts[0].colours, (std::vector<int>{5, 5}));
  EXPECT_EQ(drawing.layouts[1].name, "Layout1");
  EXPECT_EQ(drawing.layouts[1].colours, (std::vector<int>{7}));
}

// A viewport shows model space scaled into its window: the view centre at
// the window's centre, the view height filling its height. Only what
// reaches into the window is seen; the sheet's own viewport (69 = 1) is the
// sheet, not a view.
TEST(DxfLayouts, AViewportShowsTheModelScaledIntoItsWindow) {
  const std::string dxf =
      DxfOf({{0, "SECTION"}, {2, "ENTITIES"},
             {0, "CIRCLE"}, {8, "0"}, {62, "1"}, {10, "100"}, {20, "50"}, {40, "10"},
             {0, "LINE"}, {8, "0"}, {10, "1000"}, {20, "1000"}, {11, "1010"}, {21, "1000"},
             {0, "VIEWPORT"}, {8, "0"}, {67, "1"}, {410, "Sheet"}, {10, "148"}, {20, "105"}, {40, "297"},
             {41, "210"}, {69, "1"}, {12, "0"}, {22, "0"}, {45, "1"},
             {0, "VIEWPORT"}, {8, "0"}, {67, "1"}, {410, "Sheet"}, {10, "50"}, {20, "60"}, {40, "80"},
             {41, "40"}, {69, "2"}, {12, "100"}, {22, "50"}, {45, "200"},
             {0, "ENDSEC"}, {0, "EOF"}});
  const DxfResult read = ReadDxf(dxf);
  ASSERT_TRUE(read.drawing) << read.error.message;
  ASSERT_EQ(read.drawing->layouts.size(), 1u);
  const PaperLayout& sheet = read.drawing->layouts[0];
  EXPECT_EQ(sheet.name, "Sheet");
  EXPECT_TRUE(sheet.entities.empty());
  ASSERT_EQ(sheet.viewports.size(), 1u);
  const SeenEntities seen = SeenThrough(sheet.viewports[0], read.drawing->entities, read.drawing->colours);
  ASSERT_EQ(seen.entities.size(), 1u);  // the line lies far outside the view
  ASSERT_TRUE(std::holds_alternative<Circle>(seen.entities[0]));
  const Circle& circle = std::get<Circle>(seen.entities[0]);
  EXPECT_DOUBLE_EQ(circle.center.x, 50);
  EXPECT_DOUBLE_EQ(circle.center.y, 60);
  EXPECT_DOUBLE_EQ(circle.radius, 2);  // 40 high for 200: a fifth
  EXPECT_EQ(seen.colours, std::vector<int>{1});
}

#ifdef PELLACORE_SAMPLES_DIR
TEST(DxfLayouts, TheFloorPlanSampleKeepsItsModelAndGainsItsSheet) {
  std::ifstream file(std::string(PELLACORE_SAMPLES_DIR) + "/floor-plan.dxf", std::ios::binary);
  const std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const DxfResult read = ReadDxf(content);
  ASSERT_TRUE(read.drawing);
  // Model space as the bitmap has always drawn it: 28 walls, 3 doors of a
  // leaf and a swing each, 7 texts; the title block on its own sheet.
  EXPECT_EQ(read.drawing->entities.size(), 28u + 6u + 7u);
  ASSERT_EQ(read.drawing->layouts.size(), 1u);
  EXPECT_EQ(read.drawing->layouts[0].name, "A3 Sheet");
  // The plan is seen through one viewport, whole and inside the sheet.
  ASSERT_EQ(read.drawing->layouts[0].viewports.size(), 1u);
  const SeenEntities seen =
      SeenThrough(read.drawing->layouts[0].viewports[0], read.drawing->entities, read.drawing->colours);
  EXPECT_EQ(seen.entities.size(), read.drawing->entities.size());
  const auto plan = Extents(Drawing(seen.entities));
  ASSERT_TRUE(plan);
  EXPECT_GT(plan->left, 10);
  EXPECT_LT(plan->right, 410);
  EXPECT_GT(plan->bottom, 66);
  EXPECT_LT(plan->top, 287);
  const auto extents = Extents(Drawing(read.drawing->layouts[0].entities));
  ASSERT_TRUE(extents);
  EXPECT_NEAR(extents->right - extents->left, 420, 1e-6);
  EXPECT_NEAR(extents->top - extents->bottom, 297, 1e-6);
  // The doors plot green, as their layer is.
  EXPECT_EQ(std::count(read.drawing->colours.begin(), read.drawing->colours.end(), 3), 6);
}
#endif

}  // namespace
}  // namespace pellacore::standin
