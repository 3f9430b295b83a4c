#include "convert/bounded_automation.h"

#include <exception>
#include <functional>
#include <utility>
#include <vector>

#include "platform/call_thread.h"
#include "platform/clock.h"
#include "util/failure.h"

namespace pellacore {

// One call thread and whether a call is stuck on it.
struct Lane {
  std::unique_ptr<CallThread> thread;
  bool stuck = false;
};

struct BoundedAutomation::State {
  Automation& inner;
  CallThreads& threads;
  Clock& clock;
  std::int64_t deadline = 0;
  std::shared_ptr<Lane> current;

  // The lane new instances are reached through: a fresh one once the last
  // has a call stuck on it.
  std::shared_ptr<Lane> Current() {
    if (!current || current->stuck) current = std::make_shared<Lane>(Lane{threads.Start(), false});
    return current;
  }
};

namespace {

using State = BoundedAutomation::State;
using Inner = std::shared_ptr<AutomationObject>;

// What a call left behind on its thread: its answer or its failure.
template <class Result>
struct Outcome {
  Result value{};
  std::exception_ptr error;
};

// Runs `call` on the lane and waits for it until the deadline.
template <class Result>
Result RunBounded(State& state, Lane& lane, std::function<Result()> call) {
  if (lane.stuck) throw TimedOutFailure();
  auto outcome = std::make_shared<Outcome<Result>>();
  const bool returned = lane.thread->RunUntil(
      [outcome, call = std::move(call)] {
        try {
          outcome->value = call();
        } catch (...) {
          outcome->error = std::current_exception();
        }
      },
      state.deadline);
  if (!returned) {
    lane.stuck = true;
    // An answer that comes after all is released where it was made.
    lane.thread->Post([outcome]() mutable { outcome->value = Result{}; });
    throw TimedOutFailure();
  }
  if (outcome->error) std::rethrow_exception(outcome->error);
  return std::move(outcome->value);
}

class BoundedObject : public AutomationObject {
 public:
  BoundedObject(std::shared_ptr<State> state, std::shared_ptr<Lane> lane, Inner inner)
      : state_(std::move(state)), lane_(std::move(lane)), inner_(std::move(inner)) {}

  // The server's object is released on the thread it belongs to, after the
  // calls queued there, even when one of them is stuck.
  ~BoundedObject() override {
    lane_->thread->Post([inner = std::move(inner_)]() mutable { inner.reset(); });
  }

  static std::unique_ptr<AutomationObject> Wrap(const std::shared_ptr<State>& state,
                                                const std::shared_ptr<Lane>& lane, Inner inner) {
    if (!inner) return nullptr;
    return std::make_unique<BoundedObject>(state, lane, std::move(inner));
  }

  void Put(std::wstring_view member, const AutomationArgument& value) override {
    Prepared prepared = Prepare({value});
    Run<bool>([inner = inner_, name = std::wstring(member), prepared] {
      inner->Put(name, prepared.arguments.front());
      return true;
    });
  }
  std::unique_ptr<AutomationObject> GetProperty(std::wstring_view member) override {
    return Wrap(state_, lane_, Run<Inner>([inner = inner_, name = std::wstring(member)] {
                  return Inner(inner->GetProperty(name));
                }));
  }
  std::unique_ptr<AutomationObject> CallForObject(std::wstring_view member,
                                                  const AutomationArguments& arguments) override {
    Prepared prepared = Prepare(arguments);
    return Wrap(state_, lane_, Run<Inner>([inner = inner_, name = std::wstring(member), prepared] {
                  return Inner(inner->CallForObject(name, prepared.arguments));
                }));
  }
  void Call(std::wstring_view member, const AutomationArguments& arguments) override {
    Prepared prepared = Prepare(arguments);
    Run<bool>([inner = inner_, name = std::wstring(member), prepared] {
      inner->Call(name, prepared.arguments);
      return true;
    });
  }
  std::int64_t GetInteger(std::wstring_view member) override {
    return Run<std::int64_t>([inner = inner_, name = std::wstring(member)] { return inner->GetInteger(name); });
  }
  std::wstring GetText(std::wstring_view member) override {
    return Run<std::wstring>([inner = inner_, name = std::wstring(member)] { return inner->GetText(name); });
  }
  std::int64_t CallForInteger(std::wstring_view member, const AutomationArguments& arguments) override {
    Prepared prepared = Prepare(arguments);
    return Run<std::int64_t>([inner = inner_, name = std::wstring(member), prepared] {
      return inner->CallForInteger(name, prepared.arguments);
    });
  }
  std::vector<std::wstring> CallForTexts(std::wstring_view member, const AutomationArguments& arguments) override {
    Prepared prepared = Prepare(arguments);
    return Run<std::vector<std::wstring>>([inner = inner_, name = std::wstring(member), prepared] {
      return inner->CallForTexts(name, prepared.arguments);
    });
  }
  std::vector<double> CallForNumbers(std::wstring_view member, const AutomationArguments& arguments) override {
    Prepared prepared = Prepare(arguments);
    return Run<std::vector<double>>([inner = inner_, name = std::wstring(member), prepared] {
      return inner->CallForNumbers(name, prepared.arguments);
    });
  }

 private:
  // Arguments as the thread's objects take them: an object argument is the
  // server's own object, kept alive until the call is over.
  struct Prepared {
    AutomationArguments arguments;
    std::vector<Inner> keepAlive;
  };

  Prepared Prepare(const AutomationArguments& arguments) const {
    Prepared prepared{arguments, {}};
    for (AutomationArgument& argument : prepared.arguments) {
      auto* wrapper = dynamic_cast<BoundedObject*>(argument.object);
      if (!wrapper) continue;
      // An object of a thread that is stuck cannot be handed anywhere.
      if (wrapper->lane_ != lane_) throw TimedOutFailure();
      argument.object = wrapper->inner_.get();
      prepared.keepAlive.push_back(wrapper->inner_);
    }
    return prepared;
  }

  template <class Result, class Call>
  Result Run(Call&& call) {
    return RunBounded<Result>(*state_, *lane_, std::function<Result()>(std::forward<Call>(call)));
  }

  std::shared_ptr<State> state_;
  std::shared_ptr<Lane> lane_;
  Inner inner_;
};

}  // namespace

Failure TimedOutFailure() {
  return Failure(automation_code::kTimedOut, L"AutoCAD did not answer in time.");
}

BoundedAutomation::BoundedAutomation(Automation& inner, CallThreads& threads, Clock& clock)
    : state_(std::make_shared<State>(State{inner, threads, clock, clock.NowMilliseconds(), nullptr})) {}

BoundedAutomation::~BoundedAutomation() = default;

void BoundedAutomation::SetDeadline(std::int64_t deadline) { state_->deadline = deadline; }

std::unique_ptr<BoundedAutomation> BoundedAutomation::Sibling() const {
  return std::make_unique<BoundedAutomation>(state_->inner, state_->threads, state_->clock);
}

std::unique_ptr<AutomationObject> BoundedAutomation::GetActiveObject(std::wstring_view progId) {
  const std::shared_ptr<Lane> lane = state_->Current();
  Automation& inner = state_->inner;
  return BoundedObject::Wrap(state_, lane, RunBounded<Inner>(*state_, *lane, [&inner, id = std::wstring(progId)] {
                               return Inner(inner.GetActiveObject(id));
                             }));
}

std::unique_ptr<AutomationObject> BoundedAutomation::CreateObject(std::wstring_view progId) {
  const std::shared_ptr<Lane> lane = state_->Current();
  Automation& inner = state_->inner;
  return BoundedObject::Wrap(state_, lane, RunBounded<Inner>(*state_, *lane, [&inner, id = std::wstring(progId)] {
                               return Inner(inner.CreateObject(id));
                             }));
}

}  // namespace pellacore
