// The clock's wait: bounded, and ended early by input for the thread.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>

#include "win32/win32_clock.h"

namespace pellacore {
namespace {

TEST(Win32ClockTest, AWaitWithNothingArrivingLastsItsBound) {
  win32::Win32Clock clock;
  const std::int64_t start = clock.NowMilliseconds();
  clock.WaitForEvents(100);
  const std::int64_t elapsed = clock.NowMilliseconds() - start;
  // The tick count moves in steps of up to 16 ms on Windows.
  EXPECT_GE(elapsed, 84);
  EXPECT_LT(elapsed, 5000);
}

TEST(Win32ClockTest, AMessageAlreadyWaitingEndsTheWaitAndStaysQueued) {
  win32::Win32Clock clock;
  MSG message;
  ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // makes the thread's queue
  ASSERT_TRUE(::PostThreadMessageW(::GetCurrentThreadId(), WM_APP + 7, 0, 0));
  // Seen but left in the queue, as a pump that handles nothing would.
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_APP + 7, WM_APP + 7, PM_NOREMOVE));

  const std::int64_t start = clock.NowMilliseconds();
  clock.WaitForEvents(10'000);
  EXPECT_LT(clock.NowMilliseconds() - start, 2000);
  EXPECT_TRUE(::PeekMessageW(&message, nullptr, WM_APP + 7, WM_APP + 7, PM_REMOVE));
}

TEST(Win32ClockTest, TheLocalTimeLiesBetweenTheSystemsLocalTimesBeforeAndAfter) {
  win32::Win32Clock clock;
  const auto fields = [](const SYSTEMTIME& t) {
    return std::array<int, 6>{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
  };
  SYSTEMTIME before;
  SYSTEMTIME after;
  ::GetLocalTime(&before);
  const LocalTime now = clock.LocalNow();
  ::GetLocalTime(&after);
  const std::array<int, 6> local{now.year, now.month, now.day, now.hour, now.minute, now.second};
  EXPECT_LE(fields(before), local);
  EXPECT_LE(local, fields(after));
}

}  // namespace
}  // namespace pellacore
