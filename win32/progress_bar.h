#pragma once
// The progress bar of the main window: a bar that shows its text across
// itself, centred, in the window's font. The system's progress bar shows no
// text, so the window has its own small control.
//   WM_SETTEXT                  the text on the bar
//   progress_bar::kSetPosition  wParam: the filled part in hundredths of a percent (0-10000)
//   progress_bar::kGetPosition  answers the same

#include <windows.h>

namespace pellacore::win32::progress_bar {

inline constexpr wchar_t kClassName[] = L"PellacoreProgressBar";
inline constexpr UINT kSetPosition = WM_USER + 1;
inline constexpr UINT kGetPosition = WM_USER + 2;

// Registers the window class once per process.
void RegisterClass(HINSTANCE instance);

}  // namespace pellacore::win32::progress_bar
