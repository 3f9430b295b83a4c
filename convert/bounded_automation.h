#pragma once
// Automation whose every call runs on a thread of its own and is waited for
// only until a deadline. AutoCAD may show a dialog, hang or die inside any
// call; the window must stay alive meanwhile and the run must be able to give
// up. A call that has not returned by the deadline raises the time-out
// failure; the thread it is stuck on is left to it, the objects made there
// answer the time-out at once from then on, and the next instance is reached
// through a new thread.

#include <cstdint>
#include <memory>

#include "platform/automation.h"
#include "util/failure.h"

namespace pellacore {

class CallThreads;
class Clock;

class BoundedAutomation : public Automation {
 public:
  // `inner` is called on the call threads only.
  BoundedAutomation(Automation& inner, CallThreads& threads, Clock& clock);
  ~BoundedAutomation() override;
  BoundedAutomation(const BoundedAutomation&) = delete;
  BoundedAutomation& operator=(const BoundedAutomation&) = delete;

  // Every call from now on must return by `deadline` (Clock milliseconds).
  void SetDeadline(std::int64_t deadline);

  // Automation over the same server and threads with a deadline and call
  // threads of its own: for work that goes on beside this one's.
  std::unique_ptr<BoundedAutomation> Sibling() const;

  std::unique_ptr<AutomationObject> GetActiveObject(std::wstring_view progId) override;
  std::unique_ptr<AutomationObject> CreateObject(std::wstring_view progId) override;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

// The failure a call raises when it did not return in time.
Failure TimedOutFailure();

}  // namespace pellacore
