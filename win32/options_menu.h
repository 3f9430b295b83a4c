#pragma once
// The main window's menu bar: one "Options" menu with the program's choices
// beyond the designed window, and the command that stops a run.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace pellacore::win32::options_menu {

// Command identifiers of the menu's items.
inline constexpr UINT kStop = 40001;       // "Stop After This Drawing", Esc
inline constexpr UINT kTimeLimit = 40002;  // "Time Limit per Drawing..."
inline constexpr UINT kUnattended = 40003; // "Unattended Run", a check
inline constexpr UINT kRoutePlotter = 40004;  // vector PDFs, one of two radio items
inline constexpr UINT kRoutePrinter = 40005;  // the bitmap through the PDF printer
inline constexpr UINT kBlackAndWhite = 40006; // a check
inline constexpr UINT kKeepAutoCad = 40007;   // "Keep AutoCAD Open Between Drawings", a check
inline constexpr UINT kRecycleAfter = 40008;  // "Recycle AutoCAD After..."
inline constexpr UINT kParallel = 40009;      // "AutoCADs Plotting at Once (Plotter Only)..."
inline constexpr UINT kMediaAsSetUp = 40010;  // "As Each Layout Is Set Up"
inline constexpr UINT kMediaFirst = 40011;    // the papers on offer, in their order
inline constexpr UINT kMediaLast = 40999;     // room for every paper a device names

// Makes the menu bar and gives it to `window`, which destroys it with itself.
// The stop command starts greyed: there is no run to stop.
void Attach(HWND window);

void EnableStop(HWND window, bool enabled);

void CheckUnattended(HWND window, bool checked);

void CheckKeepAutoCadOpen(HWND window, bool checked);

void CheckRoute(HWND window, bool plotter);

// Lists the papers `offered` in the paper menu and checks the chosen one
// (`media` "": as each layout is set up) and the colours.
void CheckPlotChoices(HWND window, const std::vector<std::wstring>& offered, const std::wstring& media,
                      bool monochrome);

// The media name of a command of the paper menu listing `offered`; nullopt
// for other commands.
std::optional<std::wstring> MediaOfCommand(UINT command, const std::vector<std::wstring>& offered);

}  // namespace pellacore::win32::options_menu
