#include "win32/options_menu.h"

#include <algorithm>

#include "win32/win32_failure.h"

namespace pellacore::win32::options_menu {
namespace {

// A media name as a menu shows it: "ISO full bleed A3 (420.00 x 297.00 MM)".
std::wstring MediaCaption(std::wstring name) {
  for (wchar_t& c : name) {
    if (c == L'_') c = L' ';
  }
  return name;
}

// The paper submenu: the one that holds "As Each Layout Is Set Up".
HMENU PaperMenu(HWND window) {
  HMENU bar = ::GetMenu(window);
  HMENU options = ::GetSubMenu(bar, 0);
  for (int i = 0, count = ::GetMenuItemCount(options); i < count; ++i) {
    HMENU sub = ::GetSubMenu(options, i);
    if (sub && ::GetMenuState(sub, kMediaAsSetUp, MF_BYCOMMAND) != static_cast<UINT>(-1)) return sub;
  }
  return nullptr;
}

UINT MediaCommandCount(const std::vector<std::wstring>& offered) {
  return static_cast<UINT>(std::min<std::size_t>(offered.size(), kMediaLast - kMediaFirst + 1));
}

}  // namespace

void Attach(HWND window) {
  HMENU options = ::CreatePopupMenu();
  HMENU bar = ::CreateMenu();
  if (!options || !bar) throw SystemFailure(::GetLastError());
  ::AppendMenuW(options, MF_STRING | MF_GRAYED, kStop, L"&Stop After This Drawing\tEsc");
  ::AppendMenuW(options, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(options, MF_STRING, kTimeLimit, L"&Time Limit per Drawing...");
  ::AppendMenuW(options, MF_STRING, kUnattended, L"&Unattended Run (No Boxes Until the End)");
  ::AppendMenuW(options, MF_STRING, kKeepAutoCad, L"Keep AutoCAD Open Between Drawings");
  ::AppendMenuW(options, MF_STRING, kRecycleAfter, L"Recycle AutoCAD After...");
  ::AppendMenuW(options, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(options, MF_STRING, kRoutePlotter, L"Vector PDFs Through AutoCAD's &Plotter");
  ::AppendMenuW(options, MF_STRING, kRoutePrinter, L"&Bitmap Through the PDF Printer");
  ::AppendMenuW(options, MF_STRING, kParallel, L"AutoCADs Plotting at &Once (Plotter Only)...");
  HMENU paper = ::CreatePopupMenu();
  if (!paper) throw SystemFailure(::GetLastError());
  ::AppendMenuW(paper, MF_STRING, kMediaAsSetUp, L"&As Each Layout Is Set Up");
  ::AppendMenuW(paper, MF_SEPARATOR, 0, nullptr);  // the papers on offer follow (CheckPlotChoices)
  ::AppendMenuW(options, MF_POPUP, reinterpret_cast<UINT_PTR>(paper), L"Plotter's P&aper");
  ::AppendMenuW(options, MF_STRING, kBlackAndWhite, L"Plot in Black and &White");
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(options), L"&Options");
  // From here the window owns the bar, and the bar its menu.
  if (!::SetMenu(window, bar)) {
    const DWORD error = ::GetLastError();
    ::DestroyMenu(bar);
    throw SystemFailure(error);
  }
}

void EnableStop(HWND window, bool enabled) {
  ::EnableMenuItem(::GetMenu(window), kStop, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  ::DrawMenuBar(window);
}

void CheckUnattended(HWND window, bool checked) {
  ::CheckMenuItem(::GetMenu(window), kUnattended, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void CheckKeepAutoCadOpen(HWND window, bool checked) {
  ::CheckMenuItem(::GetMenu(window), kKeepAutoCad, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void CheckRoute(HWND window, bool plotter) {
  ::CheckMenuRadioItem(::GetMenu(window), kRoutePlotter, kRoutePrinter, plotter ? kRoutePlotter : kRoutePrinter,
                       MF_BYCOMMAND);
}

void CheckPlotChoices(HWND window, const std::vector<std::wstring>& offered, const std::wstring& media,
                      bool monochrome) {
  HMENU paper = PaperMenu(window);
  if (paper) {
    // The papers after the separator, as offered now.
    while (::GetMenuItemCount(paper) > 2) ::DeleteMenu(paper, 2, MF_BYPOSITION);
    for (UINT i = 0; i < MediaCommandCount(offered); ++i) {
      ::AppendMenuW(paper, MF_STRING, kMediaFirst + i, MediaCaption(offered[i]).c_str());
    }
  }
  UINT chosen = media.empty() ? kMediaAsSetUp : 0;
  for (UINT i = 0; i < MediaCommandCount(offered); ++i) {
    if (offered[i] == media) chosen = kMediaFirst + i;
  }
  // A stored name the list does not hold checks nothing.
  HMENU menu = ::GetMenu(window);
  ::CheckMenuItem(menu, kMediaAsSetUp, MF_BYCOMMAND | (chosen == kMediaAsSetUp ? MF_CHECKED : MF_UNCHECKED));
  if (chosen != 0 && chosen != kMediaAsSetUp) ::CheckMenuItem(menu, chosen, MF_BYCOMMAND | MF_CHECKED);
  ::CheckMenuItem(menu, kBlackAndWhite, MF_BYCOMMAND | (monochrome ? MF_CHECKED : MF_UNCHECKED));
}

std::optional<std::wstring> MediaOfCommand(UINT command, const std::vector<std::wstring>& offered) {
  if (command == kMediaAsSetUp) return std::wstring();
  if (command >= kMediaFirst && command < kMediaFirst + MediaCommandCount(offered)) {
    return offered[command - kMediaFirst];
  }
  return std::nullopt;
}

}  // namespace pellacore::win32::options_menu
