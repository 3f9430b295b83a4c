#pragma once
// Threads for AutoCAD's calls: each a single-threaded apartment of its own,
// with the program's COM message filter. The user-interface thread waits for
// a call while it handles the window's events.

#include "platform/call_thread.h"
#include "platform/clock.h"
#include "platform/event_pump.h"

namespace pellacore::win32 {

class Win32CallThreads : public CallThreads {
 public:
  // `clock` reads the deadlines; `pump` handles the events that arrive
  // while a call is waited for.
  Win32CallThreads(Clock& clock, EventPump& pump) : clock_(clock), pump_(pump) {}

  // Raises when the thread or its apartment cannot be made.
  std::unique_ptr<CallThread> Start() override;

 private:
  Clock& clock_;
  EventPump& pump_;
};

}  // namespace pellacore::win32
