#pragma once
// When the server process ends. An instance ends a moment after Quit has
// returned (the linger, during which it answers as a disconnected one), or
// when it is ended from outside; letting go of its objects does not end it,
// as a real AutoCAD stays when its last client lets go. A COM-launched
// server in which nothing was ever created ends when its creation was
// refused, or after an idle time.

#include <windows.h>

namespace pellacore::standin::lifetime {

enum class Mode { Embedding, Run };

// The thread message that ends the main loop, at once (wParam 0) or after
// wParam milliseconds.
inline constexpr UINT kExitMessage = WM_APP + 1;

// Called on the main thread before any object exists.
void Begin(Mode mode);

void ObjectCreated();
void ObjectDestroyed();
void Lock(bool lock);

// Creation was refused: with nothing alive, no one can reach this server.
void CreationRefused();

// Asks the main loop to end after `afterMs`; the first request counts.
void RequestExit(DWORD afterMs = 0);

// Whether this process serves clients in other processes (Begin was called):
// false when a test creates the objects in its own process.
bool ServesOtherProcesses();

// Pumps messages until the exit (ending after `idleTimeoutMs` when nothing
// was ever created; 0 for never), then a little longer, so that the replies
// to the last calls leave the process.
void RunMessageLoop(DWORD idleTimeoutMs);

}  // namespace pellacore::standin::lifetime
