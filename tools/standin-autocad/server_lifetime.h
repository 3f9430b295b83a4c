#pragma once
// When the server process ends. Launched by COM, it ends when Quit is called
// or when the last reference to its objects goes; started with /run, only
// when Quit is called (the running object table holds the Application).

#include <windows.h>

namespace pellacore::standin::lifetime {

enum class Mode { Embedding, Run };

// The thread message that ends the main loop.
inline constexpr UINT kExitMessage = WM_APP + 1;

// Called on the main thread before any object exists.
void Begin(Mode mode);

void ObjectCreated();
void ObjectDestroyed();
void Lock(bool lock);

// Creation was refused: with nothing alive, no one can reach this server.
void CreationRefused();

// Asks the main loop to end; once is enough.
void RequestExit();

// Whether this process serves clients in other processes (Begin was called):
// false when a test creates the objects in its own process.
bool ServesOtherProcesses();

// Pumps messages until the exit message, then a little longer, so that the
// replies to the last calls (Quit, the final Release) leave the process.
void RunMessageLoop(DWORD idleTimeoutMs);

}  // namespace pellacore::standin::lifetime
