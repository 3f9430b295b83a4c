#include "win32/event_handle.h"

#include "win32/win32_failure.h"

namespace pellacore::win32 {

UniqueHandle NewEvent(EventReset reset) {
  UniqueHandle event(::CreateEventW(nullptr, reset == EventReset::kManual, FALSE, nullptr));
  if (!event) throw SystemFailure(::GetLastError());
  return event;
}

}  // namespace pellacore::win32
