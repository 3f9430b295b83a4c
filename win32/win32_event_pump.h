#pragma once
// Yields to the thread's message loop: every waiting message is dispatched.

#include "platform/event_pump.h"

namespace pellacore::win32 {

class Win32EventPump : public EventPump {
 public:
  void HandlePending() override;
};

}  // namespace pellacore::win32
