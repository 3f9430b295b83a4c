#include "util/guarded.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "tests/doubles/recording_message_boxes.h"
#include "util/error_report.h"

namespace pellacore {
namespace {

using testing::RecordingMessageBoxes;

const std::wstring kIdentifier = L"in Corvanta2021/08/31.Form1.Form_Load ";

void Fail(const wchar_t* description) { throw Failure(76, description); }

class GuardedProcedureTest : public ::testing::Test {
 protected:
  RecordingMessageBoxes boxes;
  GuardedProcedure guard{boxes, kIdentifier};
  std::vector<int> ran;
};

TEST_F(GuardedProcedureTest, StepsThatSucceedShowNothing) {
  guard.Run(100, [&] { ran.push_back(100); });
  guard.Run(102, [&] { ran.push_back(102); });
  EXPECT_EQ(ran, (std::vector<int>{100, 102}));
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(guard.step(), 102);
}

TEST_F(GuardedProcedureTest, TwoFailuresGiveTwoReportsInOrderAndTheProcedureGoesOn) {
  guard.Run(100, [&] { Fail(L"first"); });
  guard.Run(102, [&] { ran.push_back(102); });
  guard.Run(104, [&] { Fail(L"second"); });
  guard.Run(106, [&] { ran.push_back(106); });
  EXPECT_EQ(ran, (std::vector<int>{102, 106}));
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, ErrorReportText(L"first", kIdentifier, 100));
  EXPECT_EQ(boxes.shown[1].text, ErrorReportText(L"second", kIdentifier, 104));
  EXPECT_EQ(boxes.shown[1].title, L"Application Error");
}

TEST_F(GuardedProcedureTest, AStatementAfterAFailureInASharedStepStillRuns) {
  guard.Run(102, [&] { ran.push_back(1); });
  guard.Run(102, [&] { Fail(L"icon"); });
  guard.Run(102, [&] { ran.push_back(3); });
  EXPECT_EQ(ran, (std::vector<int>{1, 3}));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, ErrorReportText(L"icon", kIdentifier, 102));
}

TEST_F(GuardedProcedureTest, AFailureWithAnEmptyDescriptionIsStillReported) {
  guard.Run(110, [&] { Fail(L""); });
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text.substr(0, 2), L"\r\n");
}

TEST_F(GuardedProcedureTest, AFailingTestRunsTheBranchItGuards) {
  EXPECT_TRUE(guard.Test(104, [&]() -> bool { Fail(L"no such file"); return false; }));
  EXPECT_FALSE(guard.Test(106, [] { return false; }));
  EXPECT_TRUE(guard.Test(108, [] { return true; }));
  EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(GuardedProcedureTest, AFailingValueProducesNothing) {
  EXPECT_EQ(guard.Value(136, []() -> std::wstring { throw Failure(5, L"x"); }), std::nullopt);
  EXPECT_EQ(guard.Value(138, [] { return std::wstring(L"C:\\"); }), std::wstring(L"C:\\"));
  EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(GuardedProcedureTest, AFailureInsideACalledProcedureQuotesTheCallersStep) {
  auto helper = [&](int steps) {
    for (int i = 0; i < steps; ++i) ran.push_back(i);
    Fail(L"deep");
  };
  guard.Run(130, [&] { helper(3); });
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, ErrorReportText(L"deep", kIdentifier, 130));
}

TEST_F(GuardedProcedureTest, AFailureInsideALoopGoesOnWithTheNextPass) {
  for (int i = 0; i < 4; ++i) {
    guard.Run(120, [&] {
      if (i % 2 == 0) Fail(L"even");
      ran.push_back(i);
    });
  }
  EXPECT_EQ(ran, (std::vector<int>{1, 3}));
  EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST_F(GuardedProcedureTest, StandardLibraryFailuresAreReportedToo) {
  guard.Run(100, [] { throw std::out_of_range("position out of range"); });
  guard.Run(102, [] { throw std::bad_alloc(); });
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, ErrorReportText(L"position out of range", kIdentifier, 100));
  EXPECT_EQ(boxes.shown[1].text, ErrorReportText(L"Out of memory", kIdentifier, 102));
}

TEST_F(GuardedProcedureTest, AnInnerGuardedProcedureReportsUnderItsOwnName) {
  const std::wstring inner = L"in Ondrelith2021/08/31.AddFolder.GetSubDirectories2016 ";
  guard.Run(104, [&] {
    GuardedProcedure traversal(boxes, inner);
    traversal.Run(118, [] { Fail(L"Permission denied"); });
  });
  guard.Run(106, [] { Fail(L"outer"); });
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, ErrorReportText(L"Permission denied", inner, 118));
  EXPECT_EQ(boxes.shown[1].text, ErrorReportText(L"outer", kIdentifier, 106));
}

}  // namespace
}  // namespace pellacore
