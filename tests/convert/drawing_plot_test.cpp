#include "convert/drawing_plot.h"

#include <gtest/gtest.h>

#include "tests/doubles/autocad_doubles.h"
#include "tests/doubles/memory_file_system.h"
#include "tests/doubles/recording_message_boxes.h"
#include "tests/plot_call_table.h"
#include "util/error_report.h"

namespace pellacore {
namespace {

using Lines = std::vector<std::wstring>;
using testing::PlotCallTable;
using testing::PlotTable;
using testing::PlotTablePage;

constexpr wchar_t kPlotProcedure[] = L"in Corvanta2021/08/31.Form1.plotDWGtoPDF ";
const std::wstring kPlotDrawing = LR"(D:\Dwg\Plan.DWG)";
const std::wstring kPlotPdf = LR"(D:\Out\Plan.pdf)";

class DrawingPlotTest : public ::testing::Test {
 protected:
  DrawingPlotTest() {
    fs.AddFolder(LR"(D:\Dwg)");
    fs.AddFolder(LR"(D:\Out)");
    fs.AddFile(kPlotDrawing);
  }
  PlotResult Plot(PlotChoices choices = {}) {
    return plotDWGtoPDF({doubles.instances, boxes, fs, pump}, true, 300, L"Pellacore", kPlotDrawing, kPlotPdf,
                        choices, [this](const std::wstring& path) {
                          claimed.push_back(path);
                          return path;
                        });
  }
  Lines Reports() const {
    Lines texts;
    for (const auto& box : boxes.shown) {
      if (box.title == kErrorReportTitle) texts.push_back(box.text);
    }
    return texts;
  }
  // Model space with something in it, and paper-space layouts as given.
  void Layouts(std::vector<testing::FakeAutoCad::FakeLayout> paper) {
    autocad.layouts = {{L"Model", 0, 3, L"None"}};
    for (auto& layout : paper) autocad.layouts.push_back(layout);
  }

  testing::MemoryFileSystem fs;
  testing::FakeClock clock;
  testing::ScriptedEventPump pump;
  testing::AutoCadDoubles doubles{&fs, clock, pump};
  testing::FakeAutoCad& autocad = doubles.autocad;
  testing::RecordingMessageBoxes boxes;
  Lines claimed;
};

TEST_F(DrawingPlotTest, ModelSpaceOnlyIsOnePageFittedToA3AndTheInstanceIsQuit) {
  // The default layouts: Model holds something, Layout1 is empty.
  const PlotResult result = Plot();
  EXPECT_EQ(autocad.MemberCalls(), PlotCallTable({kPlotDrawing, 2, {{kPlotPdf}}}));
  EXPECT_EQ(result.end, PlotEnd::kFinished);
  EXPECT_EQ(result.pages, 1);
  EXPECT_EQ(result.files, Lines{kPlotPdf});
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(autocad.quits, 1);
}

TEST_F(DrawingPlotTest, LayoutsThatHoldSomethingArePlottedInTabOrderEachToItsOwnFile) {
  // Listed out of tab order; an empty layout and model space are left out;
  // one layout set up for PDF keeps its setup, the other is fitted, upright
  // for a tall drawing.
  Layouts({{L"Second", 2, 4, L"None"}, {L"Empty", 3, 0, L"None"}, {L"First", 1, 1, L"DWG To PDF.pc3"}});
  autocad.extMax = {200, 300, 0};
  const std::wstring first = LR"(D:\Out\Plan - First.pdf)";
  const std::wstring second = LR"(D:\Out\Plan - Second.pdf)";
  const PlotResult result = Plot();
  PlotTable table{kPlotDrawing, 4, {{first, true}, {second, false, L"ISO_full_bleed_A3_(420.00_x_297.00_MM)", false}}};
  EXPECT_EQ(autocad.MemberCalls(), PlotCallTable(table));
  EXPECT_EQ(result.pages, 2);
  EXPECT_EQ(result.files, (Lines{first, second}));
  EXPECT_EQ(claimed, (Lines{first, second}));
  EXPECT_TRUE(fs.Has(first) && fs.Has(second));
}

TEST_F(DrawingPlotTest, AChosenMediaAndBlackAndWhiteApplyToEveryLayout) {
  Layouts({{L"Sheet", 1, 2, L"DWG To PDF.pc3"}});
  const std::wstring media = L"ISO_full_bleed_A1_(841.00_x_594.00_MM)";
  Plot({media, true});
  PlotTable table{kPlotDrawing, 2, {{kPlotPdf, false, media}}};
  table.mediaChosen = true;
  table.monochrome = true;
  EXPECT_EQ(autocad.MemberCalls(), PlotCallTable(table));
}

TEST_F(DrawingPlotTest, AUsersAutoCadGetsItsVariablesBackAndKeepsRunning) {
  autocad.running = true;
  autocad.variables = {{L"BACKGROUNDPLOT", 3}, {L"FILEDIA", 1}, {L"PLQUIET", 0}, {L"PROXYNOTICE", 1},
                       {L"RECOVERAUTO", 2}};
  Plot();
  PlotTable table{kPlotDrawing, 2, {{kPlotPdf}}};
  table.own = false;
  table.before = {3, 1, 0, 1, 2};
  EXPECT_EQ(autocad.MemberCalls(), PlotCallTable(table));
  EXPECT_EQ(autocad.variables.at(L"BACKGROUNDPLOT"), 3);
  EXPECT_EQ(autocad.variables.at(L"RECOVERAUTO"), 2);
  EXPECT_EQ(autocad.quits, 0);
  EXPECT_FALSE(autocad.HasEnded(*autocad.user()));
}

TEST_F(DrawingPlotTest, APlotAnsweredFalseOrWithoutAFileIsOneReportAndTheOtherPagesStillPlot) {
  Layouts({{L"A", 1, 1}, {L"B", 2, 1}});
  autocad.plotAnswers = false;
  PlotResult result = Plot();
  EXPECT_EQ(result.files, Lines{});
  ASSERT_EQ(Reports().size(), 2u);  // one for each page
  EXPECT_EQ(Reports()[0], ErrorReportText(LR"(AutoCAD did not plot layout "A" to "D:\Out\Plan - A.pdf".)",
                                          kPlotProcedure, 132));
  EXPECT_EQ(autocad.quits, 1);

  boxes.shown.clear();
  autocad.plotAnswers = true;
  autocad.plotWritesFile = false;
  result = Plot();
  EXPECT_EQ(result.files, Lines{});
  ASSERT_EQ(Reports().size(), 2u);
  EXPECT_NE(Reports()[1].find(L"wrote no file"), std::wstring::npos);
  EXPECT_NE(Reports()[1].find(L"134"), std::wstring::npos);
}

TEST_F(DrawingPlotTest, APdfThereFromBeforeIsDeletedFirstAndReplaced) {
  fs.AddFile(kPlotPdf);
  const PlotResult result = Plot();
  EXPECT_TRUE(Reports().empty());  // the fake raises on a file that is there
  EXPECT_EQ(result.files, Lines{kPlotPdf});
}

TEST_F(DrawingPlotTest, PagePathsAndAnAutoCadThatHangsInThePlot) {
  EXPECT_EQ(PagePath(LR"(C:\a\b.pdf)", L"Layout1", 1), LR"(C:\a\b.pdf)");
  EXPECT_EQ(PagePath(LR"(C:\a\b (2).pdf)", L"Layout1", 2), LR"(C:\a\b (2) - Layout1.pdf)");

  autocad.hangIn.insert(L"PlotToFile");
  const PlotResult result = Plot();
  EXPECT_EQ(result.end, PlotEnd::kTimedOut);
  EXPECT_TRUE(result.files.empty());
  ASSERT_EQ(Reports().size(), 1u);
  EXPECT_NE(Reports()[0].find(L"did not finish"), std::wstring::npos);
  EXPECT_EQ(doubles.processes.endedTrees.size(), 1u);
}

}  // namespace
}  // namespace pellacore
