#include "convert/drawing_export.h"

#include <gtest/gtest.h>

#include "tests/doubles/autocad_doubles.h"
#include "tests/export_call_table.h"
#include "tests/doubles/memory_file_system.h"
#include "tests/doubles/recording_message_boxes.h"
#include "util/error_report.h"

namespace pellacore {
namespace {

using Lines = std::vector<std::wstring>;

constexpr wchar_t kConvert[] = L"in Corvanta2021/08/31.Form1.convertDWGtoBMP ";
const std::wstring kDrawing = LR"(D:\Dwg\Plan.DWG)";
const std::wstring kStem = LR"(D:\Dwg\Plan)";

using testing::ExportCallTable;

class DrawingExportTest : public ::testing::Test {
 protected:
  DrawingExportTest() {
    fs.AddFolder(LR"(D:\Dwg)");
    fs.AddFile(kDrawing);
  }
  ExportEnd Export(bool found = true, int seconds = 300) {
    return convertDWGtoBMP({doubles.instances, boxes}, found, seconds, L"Pellacore", kDrawing, kStem);
  }
  std::vector<std::wstring> Reports() const {
    std::vector<std::wstring> texts;
    for (const auto& box : boxes.shown) {
      if (box.title == kErrorReportTitle) texts.push_back(box.text);
    }
    return texts;
  }

  testing::MemoryFileSystem fs;
  testing::FakeClock clock;
  testing::ScriptedEventPump pump;
  testing::AutoCadDoubles doubles{&fs, clock, pump};
  testing::FakeAutoCad& autocad = doubles.autocad;
  testing::RecordingMessageBoxes boxes;
};

TEST_F(DrawingExportTest, StartsAnInstanceWhenNoneRunsAndMakesExactlyTheExportsCalls) {
  Export();
  Lines expected{L"GetActiveObject AutoCAD.Application", L"CreateObject AutoCAD.Application"};
  for (const auto& line : ExportCallTable(kDrawing, kStem)) expected.push_back(line);
  EXPECT_EQ(autocad.log, expected);
  EXPECT_TRUE(fs.Has(kStem + L".bmp"));
  EXPECT_TRUE(boxes.shown.empty());  // the failed attach is not reported
  // The document goes before the instance; the selection set last.
  ASSERT_GE(autocad.released.size(), 3u);
  EXPECT_EQ(Lines(autocad.released.end() - 3, autocad.released.end()),
            (Lines{L"Document", L"Application", L"SelectionSet"}));
}

TEST_F(DrawingExportTest, UsesAnInstanceTheUserHasOpenAndLeavesItRunning) {
  autocad.running = true;
  EXPECT_EQ(Export(), ExportEnd::kFinished);
  EXPECT_EQ(autocad.attached, 1);
  EXPECT_EQ(autocad.created, 0);
  EXPECT_EQ(autocad.quits, 0);
  EXPECT_EQ(autocad.MemberCalls(), ExportCallTable(kDrawing, kStem, false));
  EXPECT_TRUE(fs.Has(kStem + L".bmp"));
  EXPECT_FALSE(autocad.HasEnded(*autocad.user()));
  EXPECT_TRUE(doubles.processes.endedTrees.empty());
}

TEST_F(DrawingExportTest, WithoutAutoCadFoundNothingIsCalledOrShown) {
  Export(false);
  EXPECT_TRUE(autocad.log.empty());
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DrawingExportTest, NoInstanceToBeHadIsToldAndNothingElseHappens) {
  autocad.creatable = false;
  Export();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, L"Error opening AutoCAD. Do you have AutoCad installed?");
  EXPECT_EQ(boxes.shown[0].title, L"Pellacore");
  EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::kOk);
  EXPECT_EQ(autocad.MemberCalls(), Lines{});
}

TEST_F(DrawingExportTest, ADrawingThatDoesNotOpenReportsEachStepThatNeedsItAndStillQuits) {
  autocad.unopenable.insert(kDrawing);
  Export();
  const std::wstring notSet = L"Object variable or With block variable not set";
  EXPECT_EQ(Reports(), (Lines{ErrorReportText(L"Cannot open " + kDrawing, kConvert, 116),
                              ErrorReportText(notSet, kConvert, 120),
                              ErrorReportText(notSet, kConvert, 122),
                              ErrorReportText(notSet, kConvert, 124),
                              ErrorReportText(notSet, kConvert, 126)}));
  EXPECT_FALSE(fs.Has(kStem + L".bmp"));
  EXPECT_EQ(autocad.quits, 1);
  // Visible is still set: it needs only the instance.
  EXPECT_NE(std::find(autocad.log.begin(), autocad.log.end(), L"Application.Visible put (VT_BOOL true)"),
            autocad.log.end());
}

TEST_F(DrawingExportTest, AFailingMemberIsReportedUnderItsStepAndTheRestStillRuns) {
  const std::pair<const wchar_t*, int> steps[] = {
      {L"WindowState", 114}, {L"Documents", 116}, {L"Open", 116}, {L"Visible", 118},
      {L"SelectionSets", 120}, {L"add", 120}, {L"Select", 122}, {L"Export", 124},
      {L"Close", 126}, {L"Quit", 128}};
  for (const auto& [member, step] : steps) {
    SCOPED_TRACE(member);
    testing::MemoryFileSystem files;
    files.AddFile(kDrawing);
    testing::FakeClock time;
    testing::ScriptedEventPump events;
    testing::AutoCadDoubles world(&files, time, events);
    testing::FakeAutoCad& server = world.autocad;
    testing::RecordingMessageBoxes shown;
    const Failure failure(-2147352567, std::wstring(L"failed: ") + member);
    server.memberFailures.emplace(member, failure);
    convertDWGtoBMP({world.instances, shown}, true, 300, L"Pellacore", kDrawing, kStem);
    ASSERT_FALSE(shown.shown.empty());
    EXPECT_EQ(shown.shown[0].text, ErrorReportText(failure.description(), kConvert, step));
    // The instance is told to quit whatever failed before, and is gone
    // (ended when Quit itself failed).
    EXPECT_NE(std::find(server.log.begin(), server.log.end(), L"Application.Quit call ()"), server.log.end());
    EXPECT_EQ(server.LiveProcesses(), 0);
  }
}

}  // namespace
}  // namespace pellacore
