#include "tools/standin-autocad/main_window.h"

#include <stdexcept>

namespace pellacore::standin {

namespace {

constexpr wchar_t kWindowClass[] = L"PellacoreStandInAutoCad";
constexpr wchar_t kCaption[] = L"AutoCAD";

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Closing the window does not end the instance: only Quit or being ended
  // does.
  if (message == WM_CLOSE) return 0;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void RegisterWindowClass(HINSTANCE module) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (::GetClassInfoExW(module, kWindowClass, &existing)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &WindowProcedure;
  windowClass.hInstance = module;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kWindowClass;
  ::RegisterClassExW(&windowClass);
}

}  // namespace

MainWindow::MainWindow() {
  HINSTANCE module = ::GetModuleHandleW(nullptr);
  RegisterWindowClass(module);
  window_ = ::CreateWindowExW(0, kWindowClass, kCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 800,
                              600, nullptr, nullptr, module, nullptr);
  if (!window_) throw std::runtime_error("the main window could not be created");
}

MainWindow::~MainWindow() { ::DestroyWindow(window_); }

void MainWindow::Show(bool visible) const { ::ShowWindow(window_, visible ? SW_SHOW : SW_HIDE); }

}  // namespace pellacore::standin
