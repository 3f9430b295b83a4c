#pragma once
// Paths handed from a later start of the program to the window of one that
// runs already, so that Send To on a selection and drops on the program's
// icon fill one list: sent as WM_COPYDATA, the paths NUL-separated.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace pellacore::win32 {

// Sends the paths to the visible main window of another running start of
// the program; answers whether one took them. A window that is hidden (a
// batch run's, or one still starting) is no such window.
bool HandPathsToRunningWindow(const std::vector<std::wstring>& paths);

// The paths a WM_COPYDATA carries, when it is such a hand-over.
std::optional<std::vector<std::wstring>> HandedPaths(const COPYDATASTRUCT& data);

}  // namespace pellacore::win32
