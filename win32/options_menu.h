#pragma once
// The main window's menu bar: one "Options" menu with the program's choices
// beyond the designed window, and the command that stops a run.

#include <windows.h>

namespace pellacore::win32::options_menu {

// Command identifiers of the menu's items.
inline constexpr UINT kStop = 40001;       // "Stop After This Drawing", Esc
inline constexpr UINT kTimeLimit = 40002;  // "Time Limit per Drawing..."
inline constexpr UINT kUnattended = 40003; // "Unattended Run", a check

// Makes the menu bar and gives it to `window`, which destroys it with itself.
// The stop command starts greyed: there is no run to stop.
void Attach(HWND window);

void EnableStop(HWND window, bool enabled);

void CheckUnattended(HWND window, bool checked);

}  // namespace pellacore::win32::options_menu
