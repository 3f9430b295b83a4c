// A run that keeps one AutoCAD of its own open from drawing to drawing:
// when the kept one is replaced, and that it is quit at the run's end.

#include <gtest/gtest.h>

#include "convert/drawing_export.h"
#include "convert/drawing_plot.h"
#include "tests/doubles/autocad_doubles.h"
#include "tests/doubles/memory_file_system.h"
#include "tests/doubles/recording_message_boxes.h"
#include "tests/export_call_table.h"
#include "util/error_report.h"

namespace pellacore {
namespace {

using Lines = std::vector<std::wstring>;

const std::wstring kKeptDrawing = LR"(D:\Dwg\Plan.DWG)";
const std::wstring kKeptStem = LR"(D:\Dwg\Plan)";

class KeptAutoCadTest : public ::testing::Test {
 protected:
  KeptAutoCadTest() {
    fs.AddFolder(LR"(D:\Dwg)");
    fs.AddFile(kKeptDrawing);
  }
  // One drawing exported; its calls from the first of them on.
  Lines ExportOne(int seconds = 300) {
    if (fs.Has(kKeptStem + L".bmp")) fs.RemoveFile(kKeptStem + L".bmp");
    const std::size_t from = autocad.log.size();
    lastEnd = convertDWGtoBMP({doubles.instances, boxes}, true, seconds, L"Pellacore", kKeptDrawing, kKeptStem);
    return Lines(autocad.log.begin() + static_cast<std::ptrdiff_t>(from), autocad.log.end());
  }
  void KeepFor(int drawings) { instances.BeginRun({true, drawings}); }
  // The instances the program ended, by their number.
  std::vector<std::int64_t> Ended() const { return doubles.processes.endedTrees; }

  testing::MemoryFileSystem fs;
  testing::FakeClock clock;
  testing::ScriptedEventPump pump;
  testing::AutoCadDoubles doubles{&fs, clock, pump};
  testing::FakeAutoCad& autocad = doubles.autocad;
  AutoCadInstances& instances = doubles.instances;
  testing::RecordingMessageBoxes boxes;
  ExportEnd lastEnd = ExportEnd::kNotTried;
};

TEST_F(KeptAutoCadTest, OneInstanceServesDrawingsUntilItsCountAndTheLastIsQuitAtTheRunsEnd) {
  autocad.lingerMs = 1500;
  KeepFor(2);
  // The first drawing starts it and leaves it running, unquit.
  Lines first{L"GetActiveObject AutoCAD.Application", L"CreateObject AutoCAD.Application"};
  for (const std::wstring& line : testing::ExportCallTable(kKeptDrawing, kKeptStem, false)) first.push_back(line);
  EXPECT_EQ(ExportOne(), first);
  EXPECT_TRUE(fs.Has(kKeptStem + L".bmp"));
  EXPECT_EQ(autocad.LiveProcesses(), 1);
  // The second goes straight to it, asks nothing of the server beyond the
  // drawing's own calls, and is its last: quit and waited out.
  Lines second = testing::ExportCallTable(kKeptDrawing, kKeptStem, true);
  second.erase(second.begin());  // its window was told at the start
  EXPECT_EQ(ExportOne(), second);
  EXPECT_EQ(lastEnd, ExportEnd::kFinished);
  EXPECT_EQ(autocad.quits, 1);
  EXPECT_EQ(autocad.LiveProcesses(), 0);
  // Five drawings in all: three instances, the last serving one drawing
  // until the run's end quits it.
  for (int i = 0; i < 3; ++i) ExportOne();
  EXPECT_EQ(autocad.created, 3);
  EXPECT_EQ(autocad.quits, 2);
  EXPECT_EQ(autocad.LiveProcesses(), 1);
  instances.EndRun(300);
  EXPECT_EQ(autocad.quits, 3);
  EXPECT_EQ(autocad.LiveProcesses(), 0);
  EXPECT_FALSE(instances.HasInstance());
  // Quit, not ended; and every proxy went while its server still ran.
  EXPECT_TRUE(Ended().empty());
  EXPECT_EQ(autocad.releasedAfterEnd, 0);
  EXPECT_TRUE(boxes.shown.empty());
  // A run after it keeps nothing unless it says so.
  instances.BeginRun();
  ExportOne();
  EXPECT_EQ(autocad.quits, 4);
}

TEST_F(KeptAutoCadTest, ATimeOutADeadServerAFailedCloseOrAClosedAutoCadGiveTheNextDrawingANewOne) {
  KeepFor(50);
  ExportOne();
  // Hangs: ended at the limit, and the next drawing starts a new one.
  autocad.hangIn.insert(L"Export");
  ExportOne(5);
  EXPECT_EQ(lastEnd, ExportEnd::kTimedOut);
  EXPECT_EQ(Ended(), std::vector<std::int64_t>{1001});
  autocad.hangIn.clear();
  ExportOne();
  EXPECT_EQ(lastEnd, ExportEnd::kFinished);
  EXPECT_EQ(autocad.created, 2);
  // Dies: the same.
  autocad.crashIn.insert(L"Select");
  ExportOne();
  EXPECT_EQ(lastEnd, ExportEnd::kAutoCadEnded);
  autocad.crashIn.clear();
  ExportOne();
  EXPECT_EQ(autocad.created, 3);
  EXPECT_EQ(autocad.quits, 0);
  // A drawing that does not close is reported, and its AutoCAD quit
  // rather than kept.
  autocad.memberFailures.emplace(L"Close", Failure(static_cast<std::int32_t>(0x80020009u), L"Drawing busy"));
  ExportOne();
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_NE(boxes.shown.back().text.find(L"at line 126"), std::wstring::npos);
  EXPECT_EQ(autocad.quits, 1);
  EXPECT_EQ(autocad.LiveProcesses(), 0);
  autocad.memberFailures.clear();
  ExportOne();
  EXPECT_EQ(autocad.created, 4);
  EXPECT_EQ(autocad.quits, 1);
  // Closed by someone between two drawings: a new one, nothing reported.
  autocad.Created(4)->ended = true;
  ExportOne();
  EXPECT_EQ(lastEnd, ExportEnd::kFinished);
  EXPECT_EQ(autocad.created, 5);
  EXPECT_EQ(boxes.shown.size(), 3u);
  // One that does not answer its Quit at the run's end is ended.
  autocad.hangIn.insert(L"Quit");
  instances.EndRun(5);
  EXPECT_EQ(Ended(), (std::vector<std::int64_t>{1001, 1002, 1005}));
  EXPECT_EQ(autocad.LiveProcesses(), 0);
}

TEST_F(KeptAutoCadTest, AUsersAutoCadIsNeverKeptRecycledNorQuit) {
  autocad.running = true;
  KeepFor(1);
  for (int i = 0; i < 3; ++i) {
    ExportOne();
    EXPECT_EQ(lastEnd, ExportEnd::kFinished);
  }
  instances.EndRun(300);
  EXPECT_EQ(autocad.attached, 3);
  EXPECT_EQ(autocad.created, 0);
  EXPECT_EQ(autocad.quits, 0);
  EXPECT_FALSE(autocad.HasEnded(*autocad.user()));
  EXPECT_TRUE(Ended().empty());
}

TEST_F(KeptAutoCadTest, ThePlotKeepsItsAutoCadAndQuitsOneWhoseDrawingDidNotClose) {
  fs.AddFolder(LR"(D:\Out)");
  const auto plot = [&] {
    const std::wstring pdf = LR"(D:\Out\Plan.pdf)";
    if (fs.Has(pdf)) fs.RemoveFile(pdf);
    return plotDWGtoPDF({instances, boxes, fs, pump}, true, 300, L"Pellacore", kKeptDrawing, pdf, {},
                        [](const std::wstring& path) { return path; });
  };
  KeepFor(50);
  EXPECT_EQ(plot().files.size(), 1u);
  EXPECT_EQ(plot().files.size(), 1u);
  EXPECT_EQ(autocad.created, 1);
  EXPECT_EQ(autocad.quits, 0);
  autocad.memberFailures.emplace(L"Close", Failure(static_cast<std::int32_t>(0x80020009u), L"Drawing busy"));
  plot();
  EXPECT_EQ(autocad.quits, 1);
  autocad.memberFailures.clear();
  EXPECT_EQ(plot().files.size(), 1u);
  EXPECT_EQ(autocad.created, 2);
  instances.EndRun(300);
  EXPECT_EQ(autocad.quits, 2);
  EXPECT_EQ(autocad.LiveProcesses(), 0);
}

}  // namespace
}  // namespace pellacore
