#include "tools/standin-autocad/modal_question.h"

namespace pellacore::standin {

namespace {

class OpenModalWindow {
 public:
  explicit OpenModalWindow(InstanceState& instance) : instance_(instance) { ++instance_.modalWindows; }
  OpenModalWindow(const OpenModalWindow&) = delete;
  OpenModalWindow& operator=(const OpenModalWindow&) = delete;
  ~OpenModalWindow() { --instance_.modalWindows; }

 private:
  InstanceState& instance_;
};

}  // namespace

int AskModal(InstanceState& instance, const std::wstring& text, UINT buttons) {
  const OpenModalWindow open(instance);
  return ::MessageBoxW(instance.mainWindow, text.c_str(), L"AutoCAD", buttons | MB_APPLMODAL);
}

}  // namespace pellacore::standin
