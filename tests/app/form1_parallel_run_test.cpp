// Runs whose plotter works with several AutoCADs at once: the stored count
// and where it applies, the list, the progress and the report while lanes
// end in any order, a stop, and the Options menu that sets the count.

#include <gtest/gtest.h>

#include "tests/app/form1_fixture.h"

namespace pellacore::testing {
namespace {

using Lines = std::vector<std::wstring>;

class ParallelRunTest : public Form1Test {
 protected:
  ParallelRunTest() {
    for (const std::wstring& folder : {kDesktop, std::wstring(LR"(C:\Out)"), std::wstring(LR"(D:\Dwg)"), kLocalAppData}) {
      fs.AddFolder(folder);
    }
    settings.Write(L"Location", LR"(C:\Out\)");
    settings.Write(L"PdfRoute", L"Plotter");
    // Through the printer, the PDF appears at the key's path at once.
    printing.onEndDoc = [this] {
      const std::string stored = registry.Stored(L"Software\\Kelvandor PDF Writer", L"OutputFile");
      fs.AddFile(std::wstring(stored.begin(), stored.end()));
    };
  }
  // Starts the program and runs the drawings D:\Dwg\<name>.dwg.
  void Run(const Lines& names) {
    form.Form_Load();
    boxes.shown.clear();
    for (const std::wstring& name : names) {
      fs.AddFile(LR"(D:\Dwg\)" + name + L".dwg");
      form.jobList().Add(LR"(D:\Dwg\)" + name + L".dwg");
    }
    form.PushButton2_Click();
  }
  static std::wstring Converted(const std::wstring& name) { return LR"(converted: C:\Out\)" + name + L".pdf"; }
};

// A program of its own for each case of a table.
struct FreshParallelRun : ParallelRunTest {
  void TestBody() override {}
  using Form1Test::autocad;
  using Form1Test::form;
  using Form1Test::laneThreads;
  using Form1Test::settings;
  using ParallelRunTest::Run;
  using Form1Test::Results;
};

TEST_F(ParallelRunTest, OnlyAStoredCountFromTwoToEightOnThePlotterPlotsSideBySide) {
  struct Case {
    const wchar_t* route;
    const wchar_t* stored;  // nullptr: absent
    std::size_t lanes;      // 0: one drawing after another, no lane
  };
  for (const Case& c : {Case{L"Plotter", nullptr, 0}, Case{L"Plotter", L"1", 0}, Case{L"Plotter", L"2", 2},
                        Case{L"Plotter", L" 3 ", 3}, Case{L"Plotter", L"9", 0}, Case{L"Plotter", L"two", 0},
                        Case{L"Printer", L"4", 0}}) {
    SCOPED_TRACE(std::wstring(c.route) + L" " + (c.stored ? c.stored : L"(absent)"));
    FreshParallelRun run;
    run.settings.Write(L"PdfRoute", c.route);
    if (c.stored) run.settings.Write(L"ParallelInstances", c.stored);
    run.Run({L"a", L"b", L"c", L"d"});
    EXPECT_EQ(run.laneThreads.mostWaiting, c.lanes);
    EXPECT_EQ(run.Results(), (Lines{Converted(L"a"), Converted(L"b"), Converted(L"c"), Converted(L"d")}));
    EXPECT_EQ(run.autocad.LiveProcesses(), 0);
  }
}

TEST_F(ParallelRunTest, ResultsProgressAndReportFollowEachDrawingWhicheverAutoCadEndsFirst) {
  settings.Write(L"ParallelInstances", L"2");
  laneThreads.newestFirst = true;
  autocad.unopenable.insert(LR"(D:\Dwg\c.dwg)");
  // While a and b plot, b is dragged to the top of the list.
  bool dragged = false;
  laneThreads.whileWaiting = [&] {
    if (dragged) return;
    dragged = true;
    Drag(2, 1);
  };
  Run({L"a", L"b", L"c", L"d", L"e"});

  ASSERT_TRUE(dragged);
  EXPECT_EQ(form.jobList().Text(1), LR"(D:\Dwg\b.dwg)");
  const std::wstring failed = LR"(failed at step 116: Cannot open D:\Dwg\c.dwg)";
  EXPECT_EQ(Results(), (Lines{Converted(L"b"), Converted(L"a"), failed, Converted(L"d"), Converted(L"e")}));
  // The progress named both drawings in hand.
  EXPECT_NE(std::find(window.progressTexts.begin(), window.progressTexts.end(), L"Processing: a.dwg, b.dwg"),
            window.progressTexts.end());
  // The run's outcomes, and so its report, stay in the order handed out.
  ASSERT_EQ(form.LastRun().size(), 5u);
  Lines drawings;
  for (const DrawingOutcome& outcome : form.LastRun()) drawings.push_back(outcome.drawing);
  EXPECT_EQ(drawings, (Lines{LR"(D:\Dwg\a.dwg)", LR"(D:\Dwg\b.dwg)", LR"(D:\Dwg\c.dwg)", LR"(D:\Dwg\d.dwg)",
                             LR"(D:\Dwg\e.dwg)"}));
  // No box during the run: the failure is in its drawing's result, and the
  // end box is the only one.
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].text.find(L"4 of 5 drawings were converted."), std::wstring::npos) << boxes.shown[0].text;
}

TEST_F(ParallelRunTest, AStopLetsTheDrawingsInHandEndSkipsTheRestAndQuitsEveryKeptAutoCad) {
  settings.Write(L"ParallelInstances", L"2");
  settings.Write(L"KeepAutoCadOpen", L"True");
  laneThreads.whileWaiting = [&] { form.Options_StopClick(); };
  Run({L"a", L"b", L"c", L"d"});
  const std::wstring skipped = L"skipped: The run was stopped first.";
  EXPECT_EQ(Results(), (Lines{Converted(L"a"), Converted(L"b"), skipped, skipped}));
  EXPECT_EQ(autocad.created, 2);
  EXPECT_EQ(autocad.quits, 2);
  EXPECT_EQ(autocad.LiveProcesses(), 0);
  EXPECT_FALSE(form.ConversionBusy());
}

TEST_F(ParallelRunTest, TheOptionsMenuAsksForACountUpToTheProcessorsAndSaysThePrinterTakesOneAtATime) {
  form.Form_Load();
  boxes.shown.clear();
  laneThreads.processors = 4;
  inputBox.answer = L"3";
  form.Options_ParallelClick();
  ASSERT_EQ(inputBox.shown.size(), 1u);
  EXPECT_EQ(inputBox.shown[0].defaultText, L"1");
  EXPECT_NE(inputBox.shown[0].prompt.find(L"one at a time"), std::wstring::npos);
  EXPECT_NE(inputBox.shown[0].prompt.find(L"from 1 to 4:"), std::wstring::npos);
  EXPECT_EQ(settings.Read(L"ParallelInstances"), L"3");

  // More than the processors is refused; Cancel leaves the count.
  inputBox.answer = L"5";
  form.Options_ParallelClick();
  EXPECT_EQ(inputBox.shown.back().defaultText, L"3");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, L"Please enter a whole number of AutoCADs from 1 to 4.");
  inputBox.answer = L"";
  form.Options_ParallelClick();
  EXPECT_EQ(settings.Read(L"ParallelInstances"), L"3");

  // However many processors, never more than eight.
  laneThreads.processors = 64;
  inputBox.answer = L"9";
  form.Options_ParallelClick();
  EXPECT_NE(inputBox.shown.back().prompt.find(L"from 1 to 8:"), std::wstring::npos);
  EXPECT_EQ(settings.Read(L"ParallelInstances"), L"3");
}

}  // namespace
}  // namespace pellacore::testing
