#pragma once
// A wait on the user-interface thread that keeps the program alive: the
// window repaints, takes input and can be closed while it lasts.

#include <windows.h>

#include <cstdint>

#include "platform/clock.h"
#include "platform/event_pump.h"

namespace pellacore::win32 {

// Waits until `signal` is signalled (true) or `clock` reads `deadline` or
// later (false), handling the program's events through `pump` whenever they
// arrive. An event handled meanwhile may itself wait so; this wait then
// ends no sooner than that one, whatever its own deadline.
bool WaitHandlingEvents(HANDLE signal, std::int64_t deadline, Clock& clock, EventPump& pump);

}  // namespace pellacore::win32
