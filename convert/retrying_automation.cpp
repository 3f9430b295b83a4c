#include "convert/retrying_automation.h"

#include <utility>

#include "platform/clock.h"
#include "util/failure.h"

namespace pellacore {
namespace {

constexpr int kRetryPauseMilliseconds = 100;

// Makes the call; while the server refuses it as busy and the minute has not
// passed, pauses and makes it again. Any other failure passes at once.
template <class Call>
auto Retrying(Clock& clock, Call&& call) -> decltype(call()) {
  const std::int64_t start = clock.NowMilliseconds();
  for (;;) {
    try {
      return call();
    } catch (const Failure& failure) {
      if (!IsBusyRefusal(failure.number()) ||
          clock.NowMilliseconds() - start >= kBusyServerRetryMilliseconds) {
        throw;
      }
    }
    clock.Sleep(kRetryPauseMilliseconds);
  }
}

class RetryingObject : public AutomationObject {
 public:
  RetryingObject(std::unique_ptr<AutomationObject> inner, Clock& clock)
      : inner_(std::move(inner)), clock_(clock) {}

  static std::unique_ptr<AutomationObject> Wrap(std::unique_ptr<AutomationObject> inner, Clock& clock) {
    if (!inner) return nullptr;
    return std::make_unique<RetryingObject>(std::move(inner), clock);
  }

  void Put(std::wstring_view member, const AutomationArgument& value) override {
    const AutomationArgument unwrapped = Unwrapped(value);
    Retrying(clock_, [&] { inner_->Put(member, unwrapped); });
  }
  std::unique_ptr<AutomationObject> GetProperty(std::wstring_view member) override {
    return Wrap(Retrying(clock_, [&] { return inner_->GetProperty(member); }), clock_);
  }
  std::unique_ptr<AutomationObject> CallForObject(std::wstring_view member,
                                                  const AutomationArguments& arguments) override {
    const AutomationArguments unwrapped = Unwrapped(arguments);
    return Wrap(Retrying(clock_, [&] { return inner_->CallForObject(member, unwrapped); }), clock_);
  }
  void Call(std::wstring_view member, const AutomationArguments& arguments) override {
    const AutomationArguments unwrapped = Unwrapped(arguments);
    Retrying(clock_, [&] { inner_->Call(member, unwrapped); });
  }
  std::int64_t GetInteger(std::wstring_view member) override {
    return Retrying(clock_, [&] { return inner_->GetInteger(member); });
  }
  std::wstring GetText(std::wstring_view member) override {
    return Retrying(clock_, [&] { return inner_->GetText(member); });
  }
  std::int64_t CallForInteger(std::wstring_view member, const AutomationArguments& arguments) override {
    const AutomationArguments unwrapped = Unwrapped(arguments);
    return Retrying(clock_, [&] { return inner_->CallForInteger(member, unwrapped); });
  }
  std::vector<std::wstring> CallForTexts(std::wstring_view member, const AutomationArguments& arguments) override {
    const AutomationArguments unwrapped = Unwrapped(arguments);
    return Retrying(clock_, [&] { return inner_->CallForTexts(member, unwrapped); });
  }
  std::vector<double> CallForNumbers(std::wstring_view member, const AutomationArguments& arguments) override {
    const AutomationArguments unwrapped = Unwrapped(arguments);
    return Retrying(clock_, [&] { return inner_->CallForNumbers(member, unwrapped); });
  }

 private:
  // The server is handed its own objects, not their wrappers.
  static AutomationArgument Unwrapped(AutomationArgument argument) {
    if (auto* wrapper = dynamic_cast<RetryingObject*>(argument.object)) {
      argument.object = wrapper->inner_.get();
    }
    return argument;
  }
  static AutomationArguments Unwrapped(const AutomationArguments& arguments) {
    AutomationArguments result;
    for (const AutomationArgument& argument : arguments) result.push_back(Unwrapped(argument));
    return result;
  }

  std::unique_ptr<AutomationObject> inner_;
  Clock& clock_;
};

}  // namespace

bool IsBusyRefusal(long number) {
  return number == automation_code::kCallRejected || number == automation_code::kRetryLater;
}

std::unique_ptr<AutomationObject> RetryingAutomation::GetActiveObject(std::wstring_view progId) {
  return RetryingObject::Wrap(inner_.GetActiveObject(progId), clock_);
}

std::unique_ptr<AutomationObject> RetryingAutomation::CreateObject(std::wstring_view progId) {
  return RetryingObject::Wrap(Retrying(clock_, [&] { return inner_.CreateObject(progId); }), clock_);
}

}  // namespace pellacore
