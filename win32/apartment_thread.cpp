#include "win32/apartment_thread.h"

#include <exception>
#include <optional>
#include <utility>

#include "win32/com_apartment.h"
#include "win32/com_message_filter.h"
#include "win32/event_handle.h"
#include "win32/win32_failure.h"

namespace pellacore::win32 {
namespace {

// What the starting thread hands over, and how the new one reports back.
struct ThreadStart {
  std::shared_ptr<CallQueue> queue;
  UniqueHandle ready = NewEvent(EventReset::kManual);
  std::exception_ptr failure;
};

// An apartment's thread must dispatch its messages: COM delivers calls and
// replies to it through them.
void DispatchWaitingMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;  // the thread ends with its queue alone
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void ServeCalls(CallQueue& queue) {
  const HANDLE wake = queue.wake();
  for (;;) {
    DispatchWaitingMessages();
    CallQueue::Next next = queue.TakeNext();
    if (next.call) {
      next.call();
      continue;  // what the call held is released here, on its own thread
    }
    if (next.closed) return;
    ::MsgWaitForMultipleObjectsEx(1, &wake, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

DWORD WINAPI RunThread(void* parameter) noexcept {
  std::shared_ptr<ThreadStart> start;
  {
    const std::unique_ptr<std::shared_ptr<ThreadStart>> handedOver(static_cast<std::shared_ptr<ThreadStart>*>(parameter));
    start = std::move(*handedOver);
  }
  // The filter goes before the apartment does.
  std::optional<SingleThreadedApartment> apartment;
  std::optional<MessageFilterRegistration> filter;
  try {
    apartment.emplace();
    filter.emplace();
  } catch (...) {
    start->failure = std::current_exception();
  }
  const bool ready = !start->failure;
  const std::shared_ptr<CallQueue> queue = start->queue;
  ::SetEvent(start->ready.get());
  start.reset();
  if (!ready) return 1;
  ServeCalls(*queue);
  return 0;
}

}  // namespace

void StartApartmentThread(std::shared_ptr<CallQueue> queue) {
  auto start = std::make_shared<ThreadStart>();
  start->queue = std::move(queue);
  auto handedOver = std::make_unique<std::shared_ptr<ThreadStart>>(start);
  // Closing the thread's handle at once detaches it.
  const UniqueHandle thread(::CreateThread(nullptr, 0, RunThread, handedOver.get(), 0, nullptr));
  if (!thread) throw SystemFailure(::GetLastError());
  handedOver.release();  // the thread owns it now
  ::WaitForSingleObject(start->ready.get(), INFINITE);
  if (start->failure) std::rethrow_exception(start->failure);
}

}  // namespace pellacore::win32
