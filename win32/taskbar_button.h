#pragma once
// The window's taskbar button as a run's progress bar: the part done, red
// once a drawing has failed, plain again when no run goes on. Where the
// shell offers no taskbar (an older shell, none running) nothing shows.

#include <windows.h>

#include <optional>
#include <shobjidl.h>

#include "win32/com_resource.h"

namespace pellacore::win32 {

class TaskbarButton {
 public:
  // The message the shell sends when its taskbar was made anew (Explorer
  // restarted): the button must be told its state again.
  static UINT CreatedMessage();

  void Show(HWND window, std::optional<double> percentDone, bool failures);
  void Recreated();

 private:
  ITaskbarList3* List();

  ComPtr<ITaskbarList3> list_;
  bool tried_ = false;
  HWND window_ = nullptr;
  std::optional<double> percentDone_;
  bool failures_ = false;
};

}  // namespace pellacore::win32
