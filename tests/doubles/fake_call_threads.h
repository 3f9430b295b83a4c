#pragma once
// Call threads that run each call at once, on the caller's thread, with
// the clock standing in for time: a call that hangs (its double sets
// `hangSignal`) or that ends past the deadline answers "not returned" with
// the clock at the deadline, and the thread is stuck from then on.

#include <algorithm>
#include <functional>
#include <memory>

#include "platform/call_thread.h"
#include "tests/doubles/fake_clock.h"

namespace pellacore::testing {

class FakeCallThreads : public CallThreads {
 public:
  explicit FakeCallThreads(FakeClock& clock) : clock_(clock) {}

  bool hangSignal = false;
  int started = 0;
  int givenUp = 0;       // calls not waited for to their end
  int callsWhenStuck = 0;  // calls handed to a stuck thread (a fault)
  // Runs while the caller waits for a call that hangs or is late, as the
  // events the caller handles meanwhile would.
  std::function<void()> whileWaiting;

  std::unique_ptr<CallThread> Start() override {
    ++started;
    return std::make_unique<Thread>(*this);
  }
  // Posted calls have all run already: nothing comes by the deadline.
  bool WaitForPosted(std::int64_t deadline) override {
    clock_.now = std::max(clock_.now, deadline);
    return false;
  }
  int Processors() override { return processors; }
  int processors = 2;

 private:
  class Thread : public CallThread {
   public:
    explicit Thread(FakeCallThreads& owner) : owner_(owner) {}
    bool RunUntil(std::function<void()> call, std::int64_t deadline) override {
      if (stuck_) {
        ++owner_.callsWhenStuck;
        owner_.clock_.now = std::max(owner_.clock_.now, deadline);
        return false;
      }
      call();
      const bool hung = owner_.hangSignal;
      owner_.hangSignal = false;
      if (hung || owner_.clock_.now > deadline) {
        if (owner_.whileWaiting) owner_.whileWaiting();
        stuck_ = true;
        ++owner_.givenUp;
        owner_.clock_.now = std::max(owner_.clock_.now, deadline);
        return false;
      }
      return true;
    }
    // Releases: the objects go at once.
    void Post(std::function<void()> call) override { call(); }

   private:
    FakeCallThreads& owner_;
    bool stuck_ = false;
  };

  FakeClock& clock_;
};

}  // namespace pellacore::testing
