#include "win32/progress_bar.h"

#include <string>

namespace pellacore::win32::progress_bar {
namespace {

struct State {
  int position = 0;  // hundredths of a percent
  HFONT font = nullptr;
};

State* StateOf(HWND window) { return reinterpret_cast<State*>(::GetWindowLongPtrW(window, 0)); }

void Paint(HWND window, HDC dc) {
  const State* state = StateOf(window);
  RECT client;
  ::GetClientRect(window, &client);
  ::DrawEdge(dc, &client, EDGE_SUNKEN, BF_RECT | BF_ADJUST);

  RECT filled = client;
  filled.right = client.left + MulDiv(client.right - client.left, state ? state->position : 0, 10000);
  RECT empty = client;
  empty.left = filled.right;
  ::FillRect(dc, &filled, ::GetSysColorBrush(COLOR_HIGHLIGHT));
  ::FillRect(dc, &empty, ::GetSysColorBrush(COLOR_WINDOW));

  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));

  HGDIOBJ oldFont = state && state->font ? ::SelectObject(dc, state->font) : nullptr;
  ::SetBkMode(dc, TRANSPARENT);
  // The text reads across both parts: light over the filled part, dark elsewhere.
  const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  ::SaveDC(dc);
  ::IntersectClipRect(dc, filled.left, filled.top, filled.right, filled.bottom);
  ::SetTextColor(dc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
  ::DrawTextW(dc, text.c_str(), length, &client, format);
  ::RestoreDC(dc, -1);
  ::SaveDC(dc);
  ::IntersectClipRect(dc, empty.left, empty.top, empty.right, empty.bottom);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  ::DrawTextW(dc, text.c_str(), length, &client, format);
  ::RestoreDC(dc, -1);
  if (oldFont) ::SelectObject(dc, oldFont);
}

LRESULT CALLBACK ProgressBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_NCCREATE:
      ::SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(new (std::nothrow) State));
      break;
    case WM_NCDESTROY:
      delete StateOf(window);
      ::SetWindowLongPtrW(window, 0, 0);
      break;
    case kSetPosition:
      if (State* state = StateOf(window)) {
        state->position = static_cast<int>(wParam > 10000 ? 10000 : wParam);
        ::InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case kGetPosition:
      return StateOf(window) ? StateOf(window)->position : 0;
    case WM_SETFONT:
      if (State* state = StateOf(window)) state->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) ::InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return StateOf(window) ? reinterpret_cast<LRESULT>(StateOf(window)->font) : 0;
    case WM_SETTEXT: {
      const LRESULT result = ::DefWindowProcW(window, message, wParam, lParam);
      ::InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      Paint(window, dc);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(window, reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void RegisterClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = ProgressBarProc;
  windowClass.cbWndExtra = sizeof(State*);
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  ::RegisterClassExW(&windowClass);
}

}  // namespace pellacore::win32::progress_bar
