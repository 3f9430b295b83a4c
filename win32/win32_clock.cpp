#include "win32/win32_clock.h"

#include <windows.h>

namespace pellacore::win32 {

std::int64_t Win32Clock::NowMilliseconds() { return static_cast<std::int64_t>(::GetTickCount64()); }

void Win32Clock::WaitForEvents(int milliseconds) {
  // MWMO_INPUTAVAILABLE: input already in the queue ends the wait too, even
  // if an earlier peek has seen it.
  const DWORD timeout = milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0;
  ::MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32Clock::Sleep(int milliseconds) { ::Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0); }

LocalTime Win32Clock::LocalNow() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace pellacore::win32
