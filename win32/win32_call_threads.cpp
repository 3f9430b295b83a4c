#include "win32/win32_call_threads.h"

#include <algorithm>
#include <utility>

#include "win32/apartment_thread.h"
#include "win32/call_queue.h"
#include "win32/event_handle.h"
#include "win32/event_handling_wait.h"

namespace pellacore::win32 {
namespace {

class Win32CallThread final : public CallThread {
 public:
  Win32CallThread(std::shared_ptr<CallQueue> queue, Clock& clock, EventPump& pump,
                  std::shared_ptr<UniqueHandle> posted)
      : queue_(std::move(queue)), clock_(clock), pump_(pump), posted_(std::move(posted)) {}
  Win32CallThread(const Win32CallThread&) = delete;
  Win32CallThread& operator=(const Win32CallThread&) = delete;
  // The thread finishes its queue on its own, however long that takes.
  ~Win32CallThread() override { queue_->Close(); }

  bool RunUntil(std::function<void()> call, std::int64_t deadline) override {
    // Shared with the queued call: a call given up on still signals when it ends.
    const auto returned = std::make_shared<UniqueHandle>(NewEvent(EventReset::kManual));
    queue_->Push([call = std::move(call), returned] {
      call();
      ::SetEvent(returned->get());
    });
    return WaitHandlingEvents(returned->get(), deadline, clock_, pump_);
  }

  void Post(std::function<void()> call) override {
    queue_->Push([call = std::move(call), posted = posted_] {
      call();
      ::SetEvent(posted->get());
    });
  }

 private:
  std::shared_ptr<CallQueue> queue_;
  Clock& clock_;
  EventPump& pump_;
  std::shared_ptr<UniqueHandle> posted_;
};

}  // namespace

Win32CallThreads::Win32CallThreads(Clock& clock, EventPump& pump)
    : clock_(clock), pump_(pump), posted_(std::make_shared<UniqueHandle>(NewEvent(EventReset::kAutomatic))) {}

std::unique_ptr<CallThread> Win32CallThreads::Start() {
  auto queue = std::make_shared<CallQueue>();
  StartApartmentThread(queue);
  return std::make_unique<Win32CallThread>(std::move(queue), clock_, pump_, posted_);
}

bool Win32CallThreads::WaitForPosted(std::int64_t deadline) {
  return WaitHandlingEvents(posted_->get(), deadline, clock_, pump_);
}

int Win32CallThreads::Processors() {
  SYSTEM_INFO system{};
  ::GetNativeSystemInfo(&system);
  return static_cast<int>(std::max<DWORD>(system.dwNumberOfProcessors, 1));
}

}  // namespace pellacore::win32
