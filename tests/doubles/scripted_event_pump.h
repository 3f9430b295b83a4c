#pragma once
// An event pump that counts its yields and can run the user's actions
// "during" a long operation, one per yield.

#include <deque>
#include <functional>

#include "platform/event_pump.h"

namespace pellacore::testing {

class ScriptedEventPump : public EventPump {
 public:
  int yields = 0;
  std::deque<std::function<void()>> duringYield;

  void HandlePending() override {
    ++yields;
    if (!duringYield.empty()) {
      auto action = std::move(duringYield.front());
      duringYield.pop_front();
      action();
    }
  }
};

}  // namespace pellacore::testing
