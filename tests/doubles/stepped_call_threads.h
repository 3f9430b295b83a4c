#pragma once
// Threads whose posted calls wait until the caller waits for posted calls:
// each such wait runs the waiting calls of one thread, chosen as the test
// says, so a test decides the order in which side-by-side work ends, with
// no real thread. Calls waited for one by one (RunUntil) run at once.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/call_thread.h"
#include "tests/doubles/fake_clock.h"

namespace pellacore::testing {

class SteppedCallThreads : public CallThreads {
 public:
  explicit SteppedCallThreads(FakeClock& clock) : clock_(clock) {}

  int processors = 8;
  // Which thread's calls a wait runs: the one posted to last, else first.
  bool newestFirst = false;
  int started = 0;
  // The most threads that had posted calls waiting at one time.
  std::size_t mostWaiting = 0;
  // Runs at every wait, before the chosen calls: the window's events.
  std::function<void()> whileWaiting;

  std::unique_ptr<CallThread> Start() override {
    ++started;
    return std::make_unique<Thread>(*this);
  }

  bool WaitForPosted(std::int64_t deadline) override {
    if (whileWaiting) whileWaiting();
    if (waiting_.empty()) {
      ADD_FAILURE() << "waited for posted calls with none to come";
      clock_.now = std::max(clock_.now, deadline);
      return false;
    }
    const auto chosen = newestFirst ? waiting_.end() - 1 : waiting_.begin();
    const std::shared_ptr<Queue> queue = *chosen;
    waiting_.erase(chosen);
    while (!queue->empty()) {
      std::function<void()> call = std::move(queue->front());
      queue->pop_front();
      call();
    }
    return true;
  }

  int Processors() override { return processors; }

 private:
  using Queue = std::deque<std::function<void()>>;

  class Thread : public CallThread {
   public:
    explicit Thread(SteppedCallThreads& owner) : owner_(owner), queue_(std::make_shared<Queue>()) {}
    bool RunUntil(std::function<void()> call, std::int64_t) override {
      call();
      return true;
    }
    // Waits for the owner's next wait; a thread let go of still runs its calls.
    void Post(std::function<void()> call) override {
      queue_->push_back(std::move(call));
      auto& waiting = owner_.waiting_;
      if (std::find(waiting.begin(), waiting.end(), queue_) == waiting.end()) waiting.push_back(queue_);
      owner_.mostWaiting = std::max(owner_.mostWaiting, waiting.size());
    }

   private:
    SteppedCallThreads& owner_;
    std::shared_ptr<Queue> queue_;
  };

  FakeClock& clock_;
  std::vector<std::shared_ptr<Queue>> waiting_;
};

}  // namespace pellacore::testing
