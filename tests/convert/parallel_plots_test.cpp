// Drawings plotted by several AutoCADs at once: each drawing in one lane,
// no two lanes on one PDF path, what became of each told by its slot
// whatever order the lanes end in, and a lane's failure its own.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "convert/parallel_plots.h"
#include "tests/doubles/autocad_doubles.h"
#include "tests/doubles/recording_message_boxes.h"
#include "tests/doubles/stepped_call_threads.h"

namespace pellacore {
namespace {

using Lines = std::vector<std::wstring>;

class ParallelPlotsTest : public ::testing::Test {
 protected:
  ParallelPlotsTest() {
    fs.AddFolder(LR"(C:\Out)");
    fs.AddFolder(LR"(D:\Dwg)");
    fs.AddFolder(LR"(D:\Other)");
  }
  std::unique_ptr<ParallelPlots> Plots(int count, bool keep) {
    ParallelPlotSetup setup{true, L"Pellacore", {}, {keep, 50}, L"in Form1.PushButton2_Click "};
    return std::make_unique<ParallelPlots>(
        ParallelPlotPorts{doubles.instances, lanes, fs, pump, clock, boxes}, count, setup, outputs);
  }
  // Hands out every drawing as lanes come free, as the run does; answers
  // what became of them in the order the lanes ended.
  std::vector<LaneDone> PlotAll(ParallelPlots& plots, const Lines& drawings) {
    for (const std::wstring& drawing : drawings) fs.AddFile(drawing);
    std::vector<LaneDone> ended;
    std::size_t next = 0;
    for (;;) {
      while (plots.HasFreeLane() && next < drawings.size()) {
        const std::wstring name = drawings[next].substr(drawings[next].rfind(L'\\') + 1);
        plots.Hand({next, drawings[next], LR"(C:\Out\)" + name.substr(0, name.size() - 4) + L".pdf", 60});
        ++next;
      }
      if (plots.InHand() == 0) return ended;
      for (LaneDone& done : plots.WaitForEnded()) ended.push_back(std::move(done));
    }
  }
  // Which drawings each AutoCAD opened, by its number.
  std::vector<Lines> OpenedBy() const {
    std::vector<Lines> opened;
    for (int number = 1; number <= autocad.created; ++number) opened.push_back(autocad.Created(number)->opened);
    return opened;
  }

  testing::MemoryFileSystem fs;
  testing::FakeClock clock;
  testing::ScriptedEventPump pump;
  testing::AutoCadDoubles doubles{&fs, clock, pump};
  testing::FakeAutoCad& autocad = doubles.autocad;
  testing::SteppedCallThreads lanes{clock};
  testing::RecordingMessageBoxes boxes;
  RunOutputPaths outputs;
};

TEST_F(ParallelPlotsTest, EachDrawingGoesToOneLaneOnceEachPdfPathToOneDrawingAndUsersAutoCadIsLeftAlone) {
  autocad.running = true;  // a user's AutoCAD: never one of the lanes'
  lanes.newestFirst = true;  // the lane handed a drawing last ends first
  const Lines drawings{LR"(D:\Dwg\a.dwg)", LR"(D:\Other\A.dwg)", LR"(D:\Dwg\b.dwg)", LR"(D:\Dwg\c.dwg)",
                       LR"(D:\Dwg\d.dwg)"};
  auto plots = Plots(2, true);
  const std::vector<LaneDone> ended = PlotAll(*plots, drawings);

  ASSERT_EQ(ended.size(), drawings.size());
  std::vector<std::size_t> order;
  std::set<std::wstring> files;
  for (const LaneDone& done : ended) {
    SCOPED_TRACE(done.slot);
    order.push_back(done.slot);
    EXPECT_EQ(done.outcome.drawing, drawings[done.slot]);
    EXPECT_EQ(done.outcome.result, DrawingResult::kConverted) << done.outcome.message;
    ASSERT_EQ(done.outcome.files.size(), 1u);
    EXPECT_TRUE(fs.Has(done.outcome.files[0]));
    files.insert(done.outcome.files[0]);
  }
  // Out of list order, each told by its own slot; every PDF its own path:
  // of the two of one name, the one plotted first has the plain name.
  EXPECT_EQ(order, (std::vector<std::size_t>{1, 2, 3, 4, 0}));
  EXPECT_EQ(files.size(), drawings.size());
  EXPECT_TRUE(files.count(LR"(C:\Out\A.pdf)") && files.count(LR"(C:\Out\a (2).pdf)"));

  // Two lanes had work at once, each with one AutoCAD of its own for all
  // its drawings; together they opened each drawing once.
  EXPECT_EQ(lanes.mostWaiting, 2u);
  EXPECT_EQ(lanes.started, 2);
  ASSERT_EQ(autocad.created, 2);
  Lines opened;
  for (const Lines& by : OpenedBy()) {
    EXPECT_FALSE(by.empty());
    opened.insert(opened.end(), by.begin(), by.end());
  }
  std::sort(opened.begin(), opened.end());
  Lines sorted = drawings;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(opened, sorted);
  EXPECT_TRUE(autocad.user()->opened.empty());
  EXPECT_EQ(std::count(autocad.log.begin(), autocad.log.end(), L"GetActiveObject AutoCAD.Application"), 0);

  // The end quits both kept AutoCADs; the user's runs on.
  plots->End(60);
  EXPECT_EQ(autocad.quits, 2);
  EXPECT_EQ(autocad.LiveProcesses(), 1);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ParallelPlotsTest, ATimeOutInOneLaneEndsOnlyItsAutoCadAndTheOtherDrawingsAreConverted) {
  autocad.hangOpening = {LR"(D:\Dwg\b.dwg)"};
  auto plots = Plots(2, true);
  std::vector<LaneDone> ended = PlotAll(*plots, {LR"(D:\Dwg\a.dwg)", LR"(D:\Dwg\b.dwg)", LR"(D:\Dwg\c.dwg)",
                                                 LR"(D:\Dwg\d.dwg)"});
  std::sort(ended.begin(), ended.end(), [](const LaneDone& x, const LaneDone& y) { return x.slot < y.slot; });
  ASSERT_EQ(ended.size(), 4u);
  for (std::size_t slot : {0u, 2u, 3u}) EXPECT_EQ(ended[slot].outcome.result, DrawingResult::kConverted);
  const DrawingOutcome& hung = ended[1].outcome;
  EXPECT_EQ(hung.result, DrawingResult::kTimedOut);
  EXPECT_EQ(hung.step, 116);
  EXPECT_NE(hung.message.find(L"within 60 seconds. That AutoCAD was ended"), std::wstring::npos) << hung.message;
  EXPECT_TRUE(hung.files.empty());
  // The hung lane's AutoCAD was ended and a fresh one took its next drawing.
  EXPECT_EQ(doubles.processes.endedTrees.size(), 1u);
  EXPECT_EQ(autocad.created, 3);
  plots->End(60);
  EXPECT_EQ(autocad.LiveProcesses(), 0);
  EXPECT_TRUE(boxes.shown.empty());  // a lane keeps its reports
}

// A server that hands every client its one running AutoCAD: a lane given
// another lane's AutoCAD works with none, takes no drawing any more, and
// its drawing is plotted by the lane that has one.
TEST_F(ParallelPlotsTest, ALaneGivenAnotherLanesAutoCadRetiresAndItsDrawingIsDoneByTheOther) {
  autocad.createGivesRunning = true;
  auto plots = Plots(3, true);
  std::vector<LaneDone> ended = PlotAll(*plots, {LR"(D:\Dwg\a.dwg)", LR"(D:\Dwg\b.dwg)", LR"(D:\Dwg\c.dwg)",
                                                 LR"(D:\Dwg\d.dwg)"});
  ASSERT_EQ(ended.size(), 4u);
  for (const LaneDone& done : ended) {
    EXPECT_EQ(done.outcome.result, DrawingResult::kConverted) << done.outcome.drawing << ": " << done.outcome.message;
  }
  // One AutoCAD did every drawing, each once, and only its own lane quits
  // it: no other lane takes it for its own, to quit or end it again.
  ASSERT_EQ(autocad.created, 1);
  EXPECT_EQ(autocad.Created(1)->opened.size(), 4u);
  EXPECT_EQ(autocad.quits, 0);
  plots->End(60);
  EXPECT_EQ(autocad.quits, 1);
  EXPECT_EQ(std::count(autocad.log.begin(), autocad.log.end(), L"Application.Quit disconnected"), 0);
  EXPECT_TRUE(doubles.processes.endedTrees.empty());
  EXPECT_EQ(autocad.LiveProcesses(), 0);
}

TEST_F(ParallelPlotsTest, TheWindowsClosingEndsTheAutoCadsTheLanesKeep) {
  auto plots = Plots(3, true);
  PlotAll(*plots, {LR"(D:\Dwg\a.dwg)", LR"(D:\Dwg\b.dwg)", LR"(D:\Dwg\c.dwg)"});
  ASSERT_EQ(autocad.LiveProcesses(), 3);
  doubles.instances.EndOwn();
  EXPECT_EQ(autocad.LiveProcesses(), 0);
  EXPECT_EQ(doubles.processes.endedTrees.size(), 3u);
}

}  // namespace
}  // namespace pellacore
