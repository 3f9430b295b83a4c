#pragma once
// The system's tick count, and a wait that any input for the thread ends.

#include "platform/clock.h"

namespace pellacore::win32 {

class Win32Clock : public Clock {
 public:
  std::int64_t NowMilliseconds() override;
  void WaitForEvents(int milliseconds) override;
  void Sleep(int milliseconds) override;
};

}  // namespace pellacore::win32
