#include "tools/standin-autocad/server_lifetime.h"

#include <atomic>

namespace pellacore::standin::lifetime {

namespace {

Mode mode = Mode::Embedding;
DWORD mainThread = 0;
std::atomic<long> liveObjects{0};
std::atomic<long> locks{0};
std::atomic<bool> everCreated{false};
std::atomic<bool> exitRequested{false};

// Not needed in what was measured under Wine (the replies left without it),
// kept as a margin: the process should not end under a reply on its way.
constexpr DWORD kGraceMs = 100;

// Only a server that never served a creation ends for being unused: an
// instance, once created, stays until Quit.
void ExitWhenUnused() {
  if (mode == Mode::Embedding && !everCreated && liveObjects == 0 && locks == 0) RequestExit();
}

void PumpFor(DWORD milliseconds) {
  const ULONGLONG until = ::GetTickCount64() + milliseconds;
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    const ULONGLONG now = ::GetTickCount64();
    if (now >= until) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
  }
}

}  // namespace

void Begin(Mode chosen) {
  mode = chosen;
  mainThread = ::GetCurrentThreadId();
}

void ObjectCreated() {
  everCreated = true;
  ++liveObjects;
}

void ObjectDestroyed() {
  if (--liveObjects == 0) ExitWhenUnused();
}

void Lock(bool lock) {
  if (lock) {
    ++locks;
  } else if (--locks == 0) {
    ExitWhenUnused();
  }
}

void CreationRefused() { ExitWhenUnused(); }

void RequestExit(DWORD afterMs) {
  if (mainThread == 0 || exitRequested.exchange(true)) return;
  ::PostThreadMessageW(mainThread, kExitMessage, afterMs, 0);
}

bool ServesOtherProcesses() { return mainThread != 0; }

void RunMessageLoop(DWORD idleTimeoutMs) {
  // A server that COM started but no client ever used must not linger.
  const UINT_PTR idleTimer = idleTimeoutMs ? ::SetTimer(nullptr, 0, idleTimeoutMs, nullptr) : 0;
  UINT_PTR exitTimer = 0;
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == nullptr && message.message == kExitMessage) {
      if (message.wParam == 0) break;
      exitTimer = ::SetTimer(nullptr, 0, static_cast<UINT>(message.wParam), nullptr);
      if (!exitTimer) break;
      continue;
    }
    if (message.hwnd == nullptr && message.message == WM_TIMER) {
      if (exitTimer && message.wParam == exitTimer) break;
      if (idleTimer && message.wParam == idleTimer) {
        ::KillTimer(nullptr, idleTimer);
        if (!everCreated) break;
        continue;
      }
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  if (exitTimer) ::KillTimer(nullptr, exitTimer);
  exitRequested = true;
  PumpFor(kGraceMs);
}

}  // namespace pellacore::standin::lifetime
