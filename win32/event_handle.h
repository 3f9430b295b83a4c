#pragma once
// Unnamed event objects in their owners.

#include <windows.h>

#include "win32/unique_resource.h"

namespace pellacore::win32 {

enum class EventReset { kAutomatic, kManual };

// A new event, not signalled. Raises when the system has none to give.
UniqueHandle NewEvent(EventReset reset);

}  // namespace pellacore::win32
