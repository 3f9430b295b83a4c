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

TEST_F(DrawingExportTest, EveryObjectIsLetGoOfBeforeTheQuitAutoCadIsWaitedOut) {
  autocad.lingerMs = 1500;
  EXPECT_EQ(Export(), ExportEnd::kFinished);
  // Released while the server still ran, and its process gone on return.
  EXPECT_GE(autocad.released.size(), 3u);
  EXPECT_EQ(autocad.releasedAfterEnd, 0);
  EXPECT_EQ(autocad.LiveProcesses(), 0);
  EXPECT_TRUE(doubles.processes.endedTrees.empty());
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

namespace pellacore {
namespace {

using testing::ExportCallTable;

// A drawing given up on: what the one report says, and that the next
// drawing is converted all the same.
class LostAutoCadTest : public DrawingExportTest {
 protected:
  std::wstring Lost(int step, const std::wstring& what) const {
    return ErrorReportText(what, kConvert, step);
  }
  // Only the member calls of one instance (their lines name no instance, so
  // they are cut at the instance's creation).
  void ExportNextDrawingNormally() {
    autocad.hangIn.clear();
    autocad.crashIn.clear();
    autocad.delayMs.clear();
    boxes.shown.clear();
    if (fs.Has(kStem + L".bmp")) fs.RemoveFile(kStem + L".bmp");
    const std::size_t from = autocad.log.size();
    EXPECT_EQ(Export(), ExportEnd::kFinished);
    EXPECT_TRUE(fs.Has(kStem + L".bmp"));
    EXPECT_TRUE(boxes.shown.empty());
    Lines calls(autocad.log.begin() + static_cast<std::ptrdiff_t>(from), autocad.log.end());
    Lines expected{L"GetActiveObject AutoCAD.Application", L"CreateObject AutoCAD.Application"};
    for (const auto& line : ExportCallTable(kDrawing, kStem)) expected.push_back(line);
    EXPECT_EQ(calls, expected);
  }
};

TEST_F(LostAutoCadTest, AHangEndsTheProgramsAutoCadAtTheTimeLimitWithOneReport) {
  autocad.hangIn.insert(L"Open");
  const std::int64_t start = clock.now;
  EXPECT_EQ(Export(true, 5), ExportEnd::kTimedOut);
  EXPECT_EQ(clock.now - start, 5000);
  EXPECT_EQ(Reports(), Lines{Lost(116, L"AutoCAD did not finish \"" + kDrawing +
                                           L"\" within 5 seconds. That AutoCAD was ended; the next "
                                           L"drawing gets a new one.")});
  EXPECT_EQ(doubles.processes.endedTrees, std::vector<std::int64_t>{1001});
  EXPECT_EQ(autocad.LiveProcesses(), 0);
  // Nothing more is asked of the hung AutoCAD.
  EXPECT_EQ(autocad.log.back(), L"Documents.Open call (VT_BSTR|VT_BYREF " + kDrawing + L")");
  ExportNextDrawingNormally();
  EXPECT_EQ(doubles.threads.started, 2);
}

TEST_F(LostAutoCadTest, TheTimeLimitCoversEverythingForOneDrawing) {
  // Each call is quick enough alone; together they take too long. A dialog
  // in Export is the same to the program: a call that does not return.
  autocad.delayMs = {{L"Open", 2000}, {L"Select", 2000}, {L"Export", 2000}};
  EXPECT_EQ(Export(true, 5), ExportEnd::kTimedOut);
  ASSERT_EQ(Reports().size(), 1u);
  EXPECT_NE(Reports()[0].find(L"at line 124"), std::wstring::npos);
  ExportNextDrawingNormally();
}

TEST_F(LostAutoCadTest, ADeadAutoCadIsOneReportAndTheNextDrawingGetsANewOne) {
  autocad.crashIn.insert(L"Select");
  EXPECT_EQ(Export(), ExportEnd::kAutoCadEnded);
  EXPECT_EQ(Reports(), Lines{Lost(122, L"AutoCAD ended while working on \"" + kDrawing +
                                           L"\" (The remote procedure call failed.). The next drawing "
                                           L"gets a new AutoCAD.")});
  EXPECT_EQ(autocad.LiveProcesses(), 0);
  ExportNextDrawingNormally();
}

TEST_F(LostAutoCadTest, AUsersAutoCadThatHangsIsLeftRunningAndNotUsedAgain) {
  autocad.running = true;
  autocad.hangIn.insert(L"Export");
  EXPECT_EQ(Export(true, 5), ExportEnd::kTimedOut);
  EXPECT_EQ(Reports(), Lines{Lost(124, L"AutoCAD did not finish \"" + kDrawing +
                                           L"\" within 5 seconds. It is an AutoCAD you started, so "
                                           L"Pellacore left it running; the other drawings go to an "
                                           L"AutoCAD of Pellacore's own.")});
  EXPECT_TRUE(doubles.processes.endedTrees.empty());
  EXPECT_FALSE(autocad.HasEnded(*autocad.user()));
  // The next drawing goes straight to an AutoCAD of the program's own,
  // which is quit; the user's is not asked anything again.
  autocad.hangIn.clear();
  boxes.shown.clear();
  if (fs.Has(kStem + L".bmp")) fs.RemoveFile(kStem + L".bmp");
  const int attachedBefore = autocad.attached;
  EXPECT_EQ(Export(), ExportEnd::kFinished);
  EXPECT_EQ(autocad.attached, attachedBefore);
  EXPECT_EQ(autocad.created, 1);
  EXPECT_EQ(autocad.quits, 1);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LostAutoCadTest, ASlowStartIsWaitedForWithinTheLimitAndTimesOutBeyondIt) {
  autocad.createDelayMs = 4000;
  EXPECT_EQ(Export(true, 5), ExportEnd::kFinished);
  EXPECT_TRUE(boxes.shown.empty());

  autocad.createDelayMs = 6000;
  if (fs.Has(kStem + L".bmp")) fs.RemoveFile(kStem + L".bmp");
  EXPECT_EQ(Export(true, 5), ExportEnd::kTimedOut);
  // A time-out, not "Error opening AutoCAD".
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].title, kErrorReportTitle);
  EXPECT_NE(boxes.shown[0].text.find(L"within 5 seconds"), std::wstring::npos);
  EXPECT_NE(boxes.shown[0].text.find(L"at line 108"), std::wstring::npos);
}

}  // namespace
}  // namespace pellacore
