#pragma once
// The calls waiting for one call thread. The thread and its owner both hold
// the queue, so whichever of them goes first, nothing is left dangling.

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>

#include "win32/unique_resource.h"

namespace pellacore::win32 {

class CallQueue {
 public:
  // Raises when the system has no event for it.
  CallQueue();
  CallQueue(const CallQueue&) = delete;
  CallQueue& operator=(const CallQueue&) = delete;

  void Push(std::function<void()> call);
  // The owner has gone: no call comes any more.
  void Close();

  struct Next {
    std::function<void()> call;  // empty when none is waiting
    bool closed = false;         // and none will come
  };
  Next TakeNext();

  // Signalled whenever a call is pushed or the queue is closed.
  HANDLE wake() const { return wake_.get(); }

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> calls_;
  bool closed_ = false;
  UniqueHandle wake_;
};

}  // namespace pellacore::win32
