#pragma once
// The Application's main window: a real top-level window, created hidden,
// shown and hidden by Application.Visible. Its handle is Application.HWND,
// through which a client finds the server's process; it owns the
// instance's modal windows. Destroyed when this goes.

#include <windows.h>

namespace pellacore::standin {

class MainWindow {
 public:
  MainWindow();  // throws std::runtime_error when no window can be made
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  HWND handle() const { return window_; }
  void Show(bool visible) const;

 private:
  HWND window_ = nullptr;
};

}  // namespace pellacore::standin
