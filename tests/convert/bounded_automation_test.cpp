#include "convert/bounded_automation.h"

#include <gtest/gtest.h>

#include "tests/doubles/fake_autocad.h"
#include "tests/doubles/fake_call_threads.h"
#include "tests/failure_number.h"

namespace pellacore {
namespace {

using Lines = std::vector<std::wstring>;

class BoundedAutomationTest : public ::testing::Test {
 protected:
  BoundedAutomationTest() {
    autocad.hangSignal = &threads.hangSignal;
    bounded.SetDeadline(clock.now + 5000);
  }

  testing::FakeClock clock;
  testing::FakeAutoCad autocad{nullptr, &clock};
  testing::FakeCallThreads threads{clock};
  BoundedAutomation bounded{autocad, threads, clock};
};

TEST_F(BoundedAutomationTest, CallsInTimeGiveTheServersAnswersAndFailures) {
  auto application = bounded.CreateObject(L"AutoCAD.Application");
  EXPECT_EQ(application->GetInteger(L"HWND"), 1001);
  auto document = application->GetProperty(L"Documents")->CallForObject(
      L"Open", {AutomationArgument::StringByRef(L"C:\\d\\a.dwg")});
  auto selection = document->GetProperty(L"SelectionSets")->CallForObject(L"add", {AutomationArgument::String(L"S")});
  // An object argument reaches the server as the server's own object.
  document->Call(L"Export", {AutomationArgument::StringByRef(L"C:\\d\\a"), AutomationArgument::String(L"BMP"),
                             AutomationArgument::ObjectByRef(*selection)});
  EXPECT_EQ(autocad.log.back(), L"Document.Export call (VT_BSTR|VT_BYREF C:\\d\\a, VT_BSTR BMP, "
                                L"VT_DISPATCH|VT_BYREF SelectionSet)");
  autocad.memberFailures.emplace(L"Close", Failure(-2147467259, L"Unspecified error"));
  EXPECT_EQ(testing::FailureNumberOf([&] { document->Call(L"Close", {}); }), -2147467259);
  EXPECT_EQ(threads.started, 1);
  EXPECT_EQ(threads.givenUp, 0);
  // Every object goes, on its own thread.
  selection.reset();
  document.reset();
  application.reset();
  EXPECT_EQ(autocad.released.size(), 5u);
}

TEST_F(BoundedAutomationTest, ACallThatHangsTimesOutAtTheDeadlineAndItsThreadIsLeftToIt) {
  auto application = bounded.CreateObject(L"AutoCAD.Application");
  auto documents = application->GetProperty(L"Documents");
  autocad.hangIn.insert(L"Open");
  EXPECT_EQ(testing::FailureNumberOf([&] { documents->CallForObject(L"Open", {AutomationArgument::StringByRef(L"a.dwg")}); }),
            automation_code::kTimedOut);
  EXPECT_EQ(clock.now, 1'005'000);

  // The objects of that thread answer the time-out at once, without a call
  // queued behind the one that hangs.
  const std::size_t calls = autocad.log.size();
  EXPECT_EQ(testing::FailureNumberOf([&] { application->Put(L"Visible", AutomationArgument::Boolean(true)); }),
            automation_code::kTimedOut);
  EXPECT_EQ(testing::FailureNumberOf([&] { application->GetInteger(L"HWND"); }), automation_code::kTimedOut);
  EXPECT_EQ(autocad.log.size(), calls);
  EXPECT_EQ(threads.callsWhenStuck, 0);

  // The next instance is reached through a new thread, with a new deadline.
  bounded.SetDeadline(clock.now + 5000);
  auto next = bounded.CreateObject(L"AutoCAD.Application");
  EXPECT_EQ(threads.started, 2);
  EXPECT_EQ(next->GetInteger(L"HWND"), 1002);
  // An object of the stuck thread cannot be handed to the new one.
  EXPECT_EQ(testing::FailureNumberOf([&] { next->Call(L"Quit", {AutomationArgument::ObjectByRef(*documents)}); }),
            automation_code::kTimedOut);
}

TEST_F(BoundedAutomationTest, SlowCallsShareOneDeadline) {
  auto application = bounded.CreateObject(L"AutoCAD.Application");
  autocad.delayMs[L"WindowState"] = 3000;
  application->Put(L"WindowState", AutomationArgument::Short(3));
  // The second slow call ends past the deadline: in time alone, late together.
  EXPECT_EQ(testing::FailureNumberOf([&] { application->Put(L"WindowState", AutomationArgument::Short(3)); }),
            automation_code::kTimedOut);
  EXPECT_EQ(threads.givenUp, 1);
}

}  // namespace
}  // namespace pellacore
