#include "win32/taskbar_button.h"

#include <algorithm>

namespace pellacore::win32 {

UINT TaskbarButton::CreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarButtonCreated");
  return message;
}

ITaskbarList3* TaskbarButton::List() {
  if (!tried_) {
    tried_ = true;
    ComPtr<ITaskbarList3> list;
    if (SUCCEEDED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                     list.put_void())) &&
        SUCCEEDED(list->HrInit())) {
      list_ = std::move(list);
    }
  }
  return list_.get();
}

void TaskbarButton::Show(HWND window, std::optional<double> percentDone, bool failures) {
  window_ = window;
  percentDone_ = percentDone;
  failures_ = failures;
  ITaskbarList3* list = List();
  if (!list || !window) return;
  if (!percentDone) {
    list->SetProgressState(window, TBPF_NOPROGRESS);
    return;
  }
  constexpr ULONGLONG kScale = 1000;
  const double part = std::clamp(*percentDone, 0.0, 100.0) / 100.0;
  list->SetProgressState(window, failures ? TBPF_ERROR : TBPF_NORMAL);
  list->SetProgressValue(window, static_cast<ULONGLONG>(part * kScale + 0.5), kScale);
}

void TaskbarButton::Recreated() {
  if (window_) Show(window_, percentDone_, failures_);
}

}  // namespace pellacore::win32
