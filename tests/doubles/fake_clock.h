#pragma once
// A clock that moves only when the program waits; `onWait` runs at every
// wait, so a test can let things happen "meanwhile". The local time is what
// the test sets.

#include <cstdint>
#include <functional>

#include "platform/clock.h"

namespace pellacore::testing {

class FakeClock : public Clock {
 public:
  std::int64_t now = 1'000'000;
  int waits = 0;
  int sleeps = 0;
  std::function<void()> onWait;
  LocalTime local{2026, 12, 8, 20, 15, 30};

  std::int64_t NowMilliseconds() override { return now; }
  void WaitForEvents(int milliseconds) override {
    ++waits;
    now += milliseconds;
    if (onWait) onWait();
  }
  void Sleep(int milliseconds) override {
    ++sleeps;
    now += milliseconds;
    if (onWait) onWait();
  }
  LocalTime LocalNow() override { return local; }
};

}  // namespace pellacore::testing
