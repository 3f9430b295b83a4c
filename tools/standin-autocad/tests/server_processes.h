#pragma once
// The stand-in's processes as the cross-process checks see them: listed
// from a snapshot with their parents, found through a window, and ended by
// id when a check is over, so a failing check leaves none behind.

#include <windows.h>

#include <vector>

#include "win32/unique_resource.h"

namespace pellacore::standin::testing {

struct ServerProcess {
  DWORD id = 0;
  DWORD parent = 0;
};

// Every running standin-autocad.exe (servers and their helpers).
std::vector<ServerProcess> ServerProcesses();

// The process that owns `window`, 0 when there is no such window.
DWORD ProcessOfWindow(HWND window);

// A handle that can wait for and end the process; empty when it is gone.
win32::UniqueHandle OpenServerProcess(DWORD id);

// Ends every standin-autocad.exe running now, each by its id, and waits
// (bounded) for each to be gone; answers how many there were.
int EndAllServerProcesses();

}  // namespace pellacore::standin::testing
