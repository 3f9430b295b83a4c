#pragma once
// Port: threads for calls into another program that may take long or never
// return (AutoCAD showing a dialog, hung, or dead). The user-interface thread
// hands such a call to a thread of its own and keeps handling the window's
// events while it waits; at a deadline it stops waiting. A call given up on
// still runs to its end on its thread, whenever that comes.

#include <cstdint>
#include <functional>
#include <memory>

namespace pellacore {

class CallThread {
 public:
  // The thread ends once the calls queued on it have run; it is not waited
  // for, so a thread stuck in a call that never returns is simply left.
  virtual ~CallThread() = default;

  // Runs `call` on this thread, after the calls queued before it, and waits
  // until it has returned or the Clock port reads `deadline` (milliseconds)
  // or later, handling the program's events meanwhile. Answers whether it
  // returned. `call` must not throw.
  virtual bool RunUntil(std::function<void()> call, std::int64_t deadline) = 0;

  // Queues `call` and returns at once (releasing objects that belong to the
  // thread, or work the caller does not wait for step by step). `call` must
  // not throw.
  virtual void Post(std::function<void()> call) = 0;
};

class CallThreads {
 public:
  virtual ~CallThreads() = default;
  // A new thread, ready for automation calls (an apartment of its own).
  virtual std::unique_ptr<CallThread> Start() = 0;

  // Waits, handling the program's events, until a call posted to one of
  // the threads started here has returned since the last wait, or the Clock
  // reads `deadline`. Answers whether one had; the caller looks for itself
  // which (releases count too).
  virtual bool WaitForPosted(std::int64_t deadline) = 0;

  // How many threads run side by side at full speed: the computer's
  // processors.
  virtual int Processors() = 0;
};

}  // namespace pellacore
