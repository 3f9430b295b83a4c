#include "convert/autocad_instances.h"

#include <gtest/gtest.h>

#include "tests/doubles/autocad_doubles.h"
#include "tests/failure_number.h"

namespace pellacore {
namespace {

using Windows = std::vector<std::int64_t>;

class AutoCadInstancesTest : public ::testing::Test {
 protected:
  AutoCadInstancesTest() { instances.BeginWork(300); }

  testing::FakeClock clock;
  testing::ScriptedEventPump pump;
  testing::AutoCadDoubles doubles{nullptr, clock, pump};
  testing::FakeAutoCad& autocad = doubles.autocad;
  AutoCadInstances& instances = doubles.instances;
};

TEST_F(AutoCadInstancesTest, OnlyAnInstanceTheProgramStartedIsQuit) {
  autocad.running = true;
  instances.Attach();
  EXPECT_FALSE(instances.IsOwn());
  instances.Finish();
  instances.Release();
  EXPECT_EQ(autocad.quits, 0);
  EXPECT_FALSE(autocad.HasEnded(*autocad.user()));

  instances.Start();
  EXPECT_TRUE(instances.IsOwn());
  instances.Finish();
  instances.Release();
  EXPECT_EQ(autocad.quits, 1);
  EXPECT_EQ(autocad.LiveProcesses(), 1);  // the user's alone
}

TEST_F(AutoCadInstancesTest, AnInstanceFoundRunningIsTheProgramsOwnWhenItStartedIt) {
  instances.Start();
  instances.Release();  // let go of, not quit: still running and listed
  instances.Attach();
  EXPECT_TRUE(instances.IsOwn());
  instances.Finish();
  EXPECT_EQ(autocad.quits, 1);

  // One whose window does not tell its process is taken for the user's.
  autocad.answersWindow = false;
  instances.Start();
  instances.Release();
  instances.Attach();
  EXPECT_FALSE(instances.IsOwn());
}

TEST_F(AutoCadInstancesTest, AQuitInstanceIsGoneBeforeTheNextAttach) {
  autocad.lingerMs = 4000;
  instances.Start();
  const std::int64_t before = clock.now;
  instances.Finish();
  instances.Release();
  EXPECT_EQ(clock.now, before);  // let go of before its process is waited for
  instances.WaitUntilQuitGone();
  // Waited out with events handled, not ended: it went by itself.
  EXPECT_GE(clock.now - before, 4000);
  EXPECT_GT(pump.yields, 0);
  EXPECT_TRUE(doubles.processes.endedTrees.empty());
  EXPECT_NE(testing::FailureNumberOf([&] { instances.Attach(); }), 0);
  EXPECT_EQ(autocad.attached, 0);
}

TEST_F(AutoCadInstancesTest, AnInstanceThatLingersPastItsGraceIsEnded) {
  autocad.lingerMs = kQuitGraceMilliseconds + 60'000;
  instances.Start();
  instances.Finish();
  instances.Release();
  instances.WaitUntilQuitGone();
  EXPECT_EQ(doubles.processes.endedTrees, Windows{1001});
  EXPECT_EQ(autocad.LiveProcesses(), 0);
}

TEST_F(AutoCadInstancesTest, AQuitInstanceNotWaitedForIsWaitedForBeforeTheNextStarts) {
  autocad.lingerMs = 4000;
  instances.Start();
  instances.Finish();
  instances.Release();
  instances.Start();
  EXPECT_FALSE(autocad.HasEnded(*autocad.Created(2)));
  EXPECT_TRUE(autocad.HasEnded(*autocad.Created(1)));
  EXPECT_TRUE(doubles.processes.endedTrees.empty());
}

TEST_F(AutoCadInstancesTest, GivingUpEndsTheProgramsOwnAndLeavesTheUsersAlone) {
  instances.Start();
  EXPECT_EQ(instances.GiveUp(), AutoCadInstances::GivenUp::kEnded);
  EXPECT_EQ(doubles.processes.endedTrees, Windows{1001});
  EXPECT_FALSE(instances.HasInstance());

  autocad.running = true;
  instances.Attach();
  EXPECT_EQ(instances.GiveUp(), AutoCadInstances::GivenUp::kLeftToUser);
  EXPECT_EQ(doubles.processes.endedTrees, Windows{1001});
  EXPECT_FALSE(autocad.HasEnded(*autocad.user()));
  // Not attached to again while it runs, even in a later run ...
  instances.BeginRun();
  EXPECT_NE(testing::FailureNumberOf([&] { instances.Attach(); }), 0);
  EXPECT_EQ(autocad.attached, 1);
  // ... and again once the user has closed it and opened another.
  autocad.user()->ended = true;
  autocad.running = false;
  EXPECT_NE(testing::FailureNumberOf([&] { instances.Attach(); }), 0);
  instances.Start();
  EXPECT_TRUE(instances.IsOwn());
}

TEST_F(AutoCadInstancesTest, ClosingTheWindowEndsEveryInstanceOfTheProgramsOwnAndNoOther) {
  autocad.running = true;
  instances.Start();
  instances.Release();
  instances.Start();  // the one in use
  instances.EndOwn();
  EXPECT_EQ(doubles.processes.endedTrees, (Windows{1001, 1002}));
  EXPECT_FALSE(autocad.HasEnded(*autocad.user()));
}

TEST_F(AutoCadInstancesTest, AnInstanceListedButGoneIsNoInstance) {
  autocad.running = true;
  autocad.memberFailures.emplace(L"HWND", Failure(automation_code::kServerUnavailable, L"gone"));
  EXPECT_EQ(testing::FailureNumberOf([&] { instances.Attach(); }), static_cast<std::int32_t>(0x800401E3u));
  EXPECT_FALSE(instances.HasInstance());
}

}  // namespace
}  // namespace pellacore
