#include "win32/event_handling_wait.h"

#include <algorithm>

#include "win32/win32_failure.h"

namespace pellacore::win32 {
namespace {

bool IsSignalled(HANDLE signal) { return ::WaitForSingleObject(signal, 0) == WAIT_OBJECT_0; }

// The pump leaves a quit request queued for the program's own loop, and a
// message left queued ends every input wait at once: while one is there,
// only messages sent from other threads are waited for.
DWORD InputToWaitFor() {
  MSG message;
  const bool quitting = ::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
  return quitting ? QS_SENDMESSAGE : QS_ALLINPUT;
}

DWORD TimeoutFor(std::int64_t milliseconds) {
  return static_cast<DWORD>(std::min<std::int64_t>(milliseconds, INFINITE - 1));
}

}  // namespace

bool WaitHandlingEvents(HANDLE signal, std::int64_t deadline, Clock& clock, EventPump& pump) {
  for (;;) {
    if (IsSignalled(signal)) return true;
    const std::int64_t left = deadline - clock.NowMilliseconds();
    if (left <= 0) return false;
    // MWMO_INPUTAVAILABLE: input that a peek has seen but left also ends the wait.
    const DWORD woken =
        ::MsgWaitForMultipleObjectsEx(1, &signal, TimeoutFor(left), InputToWaitFor(), MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken == WAIT_OBJECT_0 + 1) pump.HandlePending();
    if (woken == WAIT_FAILED) throw SystemFailure(::GetLastError());
  }
}

}  // namespace pellacore::win32
