#include "win32/call_queue.h"

#include <utility>

#include "win32/event_handle.h"

namespace pellacore::win32 {

CallQueue::CallQueue() : wake_(NewEvent(EventReset::kAutomatic)) {}

void CallQueue::Push(std::function<void()> call) {
  {
    const std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
  }
  ::SetEvent(wake_.get());
}

void CallQueue::Close() {
  {
    const std::lock_guard lock(mutex_);
    closed_ = true;
  }
  ::SetEvent(wake_.get());
}

CallQueue::Next CallQueue::TakeNext() {
  const std::lock_guard lock(mutex_);
  Next next;
  if (!calls_.empty()) {
    next.call = std::move(calls_.front());
    calls_.pop_front();
  }
  next.closed = closed_;
  return next;
}

}  // namespace pellacore::win32
