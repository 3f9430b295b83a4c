#pragma once
// Automation that waits out a busy server. AutoCAD refuses calls while it is
// busy (opening a drawing, say) with "call rejected" or "retry later"; such a
// call is made again, for up to a minute, instead of failing at once and
// failing every later step with it.

#include <memory>

#include "platform/automation.h"

namespace pellacore {

class Clock;

inline constexpr int kBusyServerRetryMilliseconds = 60'000;

class RetryingAutomation : public Automation {
 public:
  RetryingAutomation(Automation& inner, Clock& clock) : inner_(inner), clock_(clock) {}

  std::unique_ptr<AutomationObject> GetActiveObject(std::wstring_view progId) override;
  std::unique_ptr<AutomationObject> CreateObject(std::wstring_view progId) override;

 private:
  Automation& inner_;
  Clock& clock_;
};

// Whether a failure is a busy server's refusal that a later call may not meet.
bool IsBusyRefusal(long number);

}  // namespace pellacore
