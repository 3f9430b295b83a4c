#pragma once
// The system's tick count, a wait that any input for the thread ends, and
// the local time.

#include "platform/clock.h"

namespace pellacore::win32 {

class Win32Clock : public Clock {
 public:
  std::int64_t NowMilliseconds() override;
  void WaitForEvents(int milliseconds) override;
  void Sleep(int milliseconds) override;
  LocalTime LocalNow() override;
};

}  // namespace pellacore::win32
