#include "convert/retrying_automation.h"

#include <gtest/gtest.h>

#include "tests/doubles/fake_autocad.h"
#include "tests/doubles/fake_clock.h"

namespace pellacore {
namespace {

class RetryingAutomationTest : public ::testing::Test {
 protected:
  testing::MemoryFileSystem fs;
  testing::FakeAutoCad autocad{&fs};
  testing::FakeClock clock;
  RetryingAutomation automation{autocad, clock};
};

TEST_F(RetryingAutomationTest, ABusyServerIsAskedAgainUntilItAnswers) {
  auto instance = automation.CreateObject(L"AutoCAD.Application");
  autocad.refuseNextCalls = 3;
  instance->Put(L"WindowState", AutomationArgument::Short(3));
  EXPECT_EQ(clock.sleeps, 3);
  EXPECT_EQ(autocad.log.back(), L"Application.WindowState put (VT_I2 3)");
}

TEST_F(RetryingAutomationTest, ObjectsThatComeBackRetryTooAndReachTheServerUnwrapped) {
  fs.AddFile(LR"(D:\a.dwg)");
  auto instance = automation.CreateObject(L"AutoCAD.Application");
  auto document = instance->GetProperty(L"Documents")->CallForObject(
      L"Open", {AutomationArgument::StringByRef(LR"(D:\a.dwg)")});
  auto selection = document->GetProperty(L"SelectionSets")->CallForObject(
      L"add", {AutomationArgument::String(L"NEWSS")});
  autocad.refuseNextCalls = 1;
  document->Call(L"Export", {AutomationArgument::StringByRef(LR"(D:\a)"), AutomationArgument::String(L"BMP"),
                             AutomationArgument::ObjectByRef(*selection)});
  // The server sees its own selection set, not a stranger.
  EXPECT_EQ(autocad.log.back(),
            LR"(Document.Export call (VT_BSTR|VT_BYREF D:\a, VT_BSTR BMP, VT_DISPATCH|VT_BYREF SelectionSet))");
  EXPECT_EQ(clock.sleeps, 1);
}

TEST_F(RetryingAutomationTest, AfterAMinuteOfRefusalsTheRefusalIsRaised) {
  auto instance = automation.CreateObject(L"AutoCAD.Application");
  autocad.refuseNextCalls = 1'000'000;
  const std::int64_t start = clock.now;
  try {
    instance->Call(L"Quit", {});
    FAIL() << "no failure raised";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), automation_code::kCallRejected);
  }
  EXPECT_GE(clock.now - start, kBusyServerRetryMilliseconds);
  EXPECT_LT(clock.now - start, kBusyServerRetryMilliseconds + 1000);
}

TEST_F(RetryingAutomationTest, OtherFailuresPassAtOnce) {
  // Nothing running: the attach fails once, without waiting.
  EXPECT_THROW(automation.GetActiveObject(L"AutoCAD.Application"), Failure);
  EXPECT_EQ(clock.sleeps, 0);
  autocad.memberFailures.emplace(L"Quit", Failure(-2147352567, L"no"));
  auto instance = automation.CreateObject(L"AutoCAD.Application");
  EXPECT_THROW(instance->Call(L"Quit", {}), Failure);
  EXPECT_EQ(clock.sleeps, 0);
}

}  // namespace
}  // namespace pellacore
