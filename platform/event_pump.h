#pragma once
// Port: yielding to the event loop from inside a long operation, so that
// the window stays alive and the user's events run in the meantime.

namespace pellacore {

class EventPump {
 public:
  virtual ~EventPump() = default;

  // Handles every event that is waiting, then returns.
  virtual void HandlePending() = 0;
};

}  // namespace pellacore
