#pragma once
// Port: time, for waits that have a bound, and the wall-clock time that
// names what a run leaves.

#include <cstdint>

namespace pellacore {

// A moment of the computer's local time, to the second: month 1 to 12,
// day 1 to 31, hour 0 to 23.
struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since some fixed moment; never goes back.
  virtual std::int64_t NowMilliseconds() = 0;
  // Returns when an event arrives for the program or `milliseconds` have
  // passed, whichever is first; handles no event itself.
  virtual void WaitForEvents(int milliseconds) = 0;
  // Returns after `milliseconds`, events or not.
  virtual void Sleep(int milliseconds) = 0;
  // The local time now, as the user's clock shows it; unlike
  // NowMilliseconds it may go back (clock set, summer time ended).
  virtual LocalTime LocalNow() = 0;
};

}  // namespace pellacore
