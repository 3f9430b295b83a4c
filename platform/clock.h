#pragma once
// Port: time, for waits that have a bound.

#include <cstdint>

namespace pellacore {

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
};

}  // namespace pellacore
