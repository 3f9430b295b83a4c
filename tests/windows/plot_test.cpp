// The plot route through the real automation layer against the stand-in
// AutoCAD, out of process as AutoCAD runs: what it is asked, which files
// it writes, and what a user's own AutoCAD keeps.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "convert/drawing_plot.h"
#include "tests/doubles/recording_message_boxes.h"
#include "tests/plot_call_table.h"
#include "tests/windows/program_automation.h"
#include "tests/windows/scratch_folder.h"
#include "tests/windows/standins.h"
#include "tools/harness/harness.h"
#include "util/error_report.h"
#include "util/paths.h"
#include "win32/ole_session.h"
#include "win32/win32_file_system.h"

namespace pellacore::testing {
namespace {

using Lines = std::vector<std::wstring>;
using harness::WaitUntil;

// The five variables the plot sets, in its order.
const wchar_t* const kVariables[] = {L"BACKGROUNDPLOT", L"FILEDIA", L"PLQUIET", L"PROXYNOTICE", L"RECOVERAUTO"};

// The first call that differs from the table's, told as such: the lists are
// too long for a message that shows them whole.
void ExpectCalls(const Lines& actual, const Lines& expected) {
  for (std::size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
    const std::wstring got = i < actual.size() ? actual[i] : L"(no call)";
    const std::wstring wanted = i < expected.size() ? expected[i] : L"(no call)";
    if (got != wanted) {
      ADD_FAILURE() << "call " << i << " is " << ::testing::PrintToString(got) << ", the table has "
                    << ::testing::PrintToString(wanted);
      return;
    }
  }
}

bool FileThere(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class PlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandInAutoCad::ClearSwitches();
    StandInAutoCad::Set(L"LogFile", log);
  }
  void TearDown() override { StandInAutoCad::ClearSwitches(); }

  // A sample drawing copied into the scratch folder as a .dwg.
  std::wstring Sample(const wchar_t* name) {
    const std::wstring drawing = folder.path() + name + L".dwg";
    ::CopyFileW((WindowsPathOf(PELLACORE_SAMPLES_DIR) + L"\\" + name + L".dxf").c_str(), drawing.c_str(), FALSE);
    return drawing;
  }
  static std::wstring PdfOf(const std::wstring& drawing) { return drawing.substr(0, drawing.size() - 4) + L".pdf"; }

  PlotResult Plot(const std::wstring& drawing, PlotChoices choices = {}) {
    return plotDWGtoPDF({instances, boxes, fs, program.pump}, true, 60, L"Pellacore", drawing, PdfOf(drawing), choices,
                        [](const std::wstring& path) { return path; });
  }
  Lines Reports() const {
    Lines texts;
    for (const auto& box : boxes.shown) {
      if (box.title == kErrorReportTitle) texts.push_back(box.text);
    }
    return texts;
  }
  // The member calls after the attach (or start), as the call table lists them.
  Lines Calls() const {
    Lines calls = StandInAutoCad::Log(log);
    const auto first = std::find(calls.begin(), calls.end(), L"Application.HWND get ()");
    return Lines(first, calls.end());
  }

  win32::OleSession ole;
  ScratchFolder folder;
  std::wstring log = folder.path() + L"calls.log";
  ProgramAutomation program;
  AutoCadInstances& instances = program.instances;
  win32::Win32FileSystem fs;
  RecordingMessageBoxes boxes;
};

// Model space alone gives one page; a paper layout that holds something is
// plotted instead of model space; several give a file each, named after
// their layouts, in tab order. A tall sheet is not turned.
TEST_F(PlotTest, EachSamplesPagesAreAskedForAsTheTableSaysAndWritten) {
  const std::wstring titleBlock = Sample(L"title-block");
  const std::wstring floorPlan = Sample(L"floor-plan");
  const std::wstring flange = Sample(L"flange");
  const std::wstring detail = folder.path() + L"flange - Detail.pdf";
  const std::wstring partsList = folder.path() + L"flange - Parts List.pdf";
  const struct {
    std::wstring drawing;
    PlotTable table;
    Lines files;
  } cases[] = {
      {titleBlock, {titleBlock, 1, {{PdfOf(titleBlock)}}}, {PdfOf(titleBlock)}},
      {floorPlan, {floorPlan, 2, {{PdfOf(floorPlan)}}}, {PdfOf(floorPlan)}},
      {flange,
       {flange, 3, {{detail, false, PlotTablePage{}.media, false}, {partsList}}},
       {detail, partsList}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.drawing));
    log = folder.path() + FileNameOfPath(c.drawing) + L".log";
    StandInAutoCad::Set(L"LogFile", log);
    const PlotResult result = Plot(c.drawing);
    EXPECT_EQ(result.end, PlotEnd::kFinished);
    EXPECT_EQ(result.files, c.files);
    for (const std::wstring& file : c.files) EXPECT_TRUE(FileThere(file)) << ::testing::PrintToString(file);
    ExpectCalls(Calls(), PlotCallTable(c.table));
  }
  EXPECT_FALSE(FileThere(PdfOf(flange))) << "a drawing of several pages has no file of its own name";
  EXPECT_TRUE(Reports().empty()) << ::testing::PrintToString(Reports());
}

// A media chosen for all, in black and white: the table's other branch.
TEST_F(PlotTest, AChosenMediaAndBlackAndWhiteAreAskedForOnEveryPage) {
  const std::wstring floorPlan = Sample(L"floor-plan");
  const std::wstring a1 = L"ISO_full_bleed_A1_(841.00_x_594.00_MM)";
  const PlotResult result = Plot(floorPlan, {a1, true});
  EXPECT_EQ(result.files, Lines{PdfOf(floorPlan)});
  PlotTable table{floorPlan, 2, {{PdfOf(floorPlan), false, a1}}};
  table.mediaChosen = true;
  table.monochrome = true;
  ExpectCalls(Calls(), PlotCallTable(table));
  EXPECT_TRUE(Reports().empty()) << ::testing::PrintToString(Reports());
}

// A user's AutoCAD is plotted in, keeps running with its own drawing, and
// has its own values back in every variable the plot set.
TEST_F(PlotTest, AUsersAutoCadGetsItsVariablesBackAndKeepsRunning) {
  const std::wstring own = Sample(L"title-block");
  harness::Program user =
      harness::Program::Start(StandInAutoCad::Exe(), folder.path(), L"/run \"" + own + L"\"");
  ASSERT_TRUE(WaitUntil([&] {
    const Lines lines = StandInAutoCad::Log(log, false);
    return std::find(lines.begin(), lines.end(), L"ready") != lines.end();
  }));
  const std::vector<int> usersOwn{1, 1, 0, 1, 2};
  const auto activeDocument = [&] { return program.com.GetActiveObject(L"AutoCAD.Application")->GetProperty(L"ActiveDocument"); };
  ASSERT_TRUE(WaitUntil([&] {
    try {
      activeDocument();
      return true;
    } catch (const Failure&) {
      return false;
    }
  }));
  {
    auto document = activeDocument();
    for (std::size_t i = 0; i < 5; ++i) {
      document->Call(L"SetVariable", {AutomationArgument::String(kVariables[i]),
                                      AutomationArgument::Short(static_cast<std::int16_t>(usersOwn[i]))});
    }
  }
  const std::wstring floorPlan = Sample(L"floor-plan");
  const PlotResult result = Plot(floorPlan);
  EXPECT_EQ(result.files, Lines{PdfOf(floorPlan)});
  PlotTable table{floorPlan, 2, {{PdfOf(floorPlan)}}};
  table.own = false;
  table.before = usersOwn;
  ExpectCalls(Calls(), PlotCallTable(table));
  EXPECT_TRUE(Reports().empty()) << ::testing::PrintToString(Reports());

  EXPECT_FALSE(user.WaitForExit(std::chrono::milliseconds(0))) << "the user's AutoCAD was ended";
  {
    auto application = program.com.GetActiveObject(L"AutoCAD.Application");
    EXPECT_EQ(application->GetProperty(L"Documents")->GetInteger(L"Count"), 1);
    auto document = application->GetProperty(L"ActiveDocument");
    for (std::size_t i = 0; i < 5; ++i) {
      EXPECT_EQ(document->CallForInteger(L"GetVariable", {AutomationArgument::String(kVariables[i])}), usersOwn[i])
          << ::testing::PrintToString(std::wstring(kVariables[i]));
    }
    application->Call(L"Quit", {});
  }
  EXPECT_TRUE(user.WaitForExit());
}

// A plot AutoCAD refuses, by answering false or by raising, is the page's
// one report; no file is claimed and the instance is still quit.
TEST_F(PlotTest, APlotThatFailsIsOneReportAndNoFile) {
  for (const wchar_t* how : {L"false", L"error"}) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(how)));
    boxes.shown.clear();
    log = folder.path() + L"calls-" + how + L".log";
    StandInAutoCad::Set(L"LogFile", log);
    StandInAutoCad::Set(L"FailPlot", how);
    const std::wstring floorPlan = Sample(L"floor-plan");
    const PlotResult result = Plot(floorPlan);
    EXPECT_EQ(result.end, PlotEnd::kFinished);
    EXPECT_EQ(result.pages, 1);
    EXPECT_TRUE(result.files.empty());
    EXPECT_FALSE(FileThere(PdfOf(floorPlan)));
    const Lines reports = Reports();
    ASSERT_EQ(reports.size(), 1u) << ::testing::PrintToString(reports);
    EXPECT_NE(reports[0].find(L"in Corvanta2021/08/31.Form1.plotDWGtoPDF at line 132"), std::wstring::npos)
        << reports[0];
    const Lines calls = Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), L"Application.Quit call ()");
  }
}

}  // namespace
}  // namespace pellacore::testing
