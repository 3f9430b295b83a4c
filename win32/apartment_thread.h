#pragma once
// A detached thread, a single-threaded apartment with the program's COM
// message filter, that runs the calls of a queue in their order and handles
// its own messages while it has none. It ends once the queue is closed and
// empty; nobody waits for it.

#include <memory>

#include "win32/call_queue.h"

namespace pellacore::win32 {

// Returns once the thread's apartment is ready. Raises when the thread
// cannot be started or COM refuses it an apartment.
void StartApartmentThread(std::shared_ptr<CallQueue> queue);

}  // namespace pellacore::win32
