#pragma once
// Threads for AutoCAD's calls: each a single-threaded apartment of its own,
// with the program's COM message filter. The user-interface thread waits for
// a call while it handles the window's events.

#include <memory>

#include "platform/call_thread.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "win32/unique_resource.h"

namespace pellacore::win32 {

class Win32CallThreads : public CallThreads {
 public:
  // `clock` reads the deadlines; `pump` handles the events that arrive
  // while a call is waited for.
  // Raises when the system has no event for posted calls.
  Win32CallThreads(Clock& clock, EventPump& pump);

  // Raises when the thread or its apartment cannot be made.
  std::unique_ptr<CallThread> Start() override;
  bool WaitForPosted(std::int64_t deadline) override;
  int Processors() override;

 private:
  Clock& clock_;
  EventPump& pump_;
  // Set by every posted call as it returns; shared with the threads, which
  // may outlive this object.
  std::shared_ptr<UniqueHandle> posted_;
};

}  // namespace pellacore::win32
