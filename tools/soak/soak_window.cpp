#include "tools/soak/soak_window.h"

#include <ole2.h>

#include <algorithm>

#include "app/main_window_layout.h"
#include "tools/harness/handle_census.h"

namespace pellacore::soak {

namespace {

using harness::milliseconds;

constexpr int kMessageText = 0xFFFF;

// OLE for the drop, on this thread while it lasts.
class OleScope {
 public:
  OleScope() : ok_(SUCCEEDED(::OleInitialize(nullptr))) {}
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;
  ~OleScope() {
    if (ok_) ::OleUninitialize();
  }

 private:
  bool ok_;
};

std::wstring FolderOf(const std::wstring& exe) { return exe.substr(0, exe.rfind(L'\\')); }

}  // namespace

SoakWindow::SoakWindow(const std::wstring& exe) : program_(harness::Program::Start(exe, FolderOf(exe))) {
  window_ = harness::WaitForTopWindow(program_.id(), L"PellacoreMainWindow", L"Pellacore", milliseconds(60000));
}

HWND SoakWindow::Control(int index) const {
  const std::vector<HWND> children = harness::Children(window_);
  return static_cast<std::size_t>(index) < children.size() ? children[static_cast<std::size_t>(index)] : nullptr;
}

bool SoakWindow::ChooseOutputFolder(const std::wstring& folder) const {
  harness::SetText(Control(static_cast<int>(ControlId::kText1)), folder);
  HWND option = Control(static_cast<int>(ControlId::kOption1));
  harness::PostClick(option);
  return harness::WaitUntil([&] { return ::SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED; }) &&
         harness::TextOf(Control(static_cast<int>(ControlId::kText1))) == folder;
}

bool SoakWindow::FillList(const std::vector<std::wstring>& drawings) const {
  const OleScope ole;
  HWND list = Control(static_cast<int>(ControlId::kListView1));
  harness::DropOnto(list, drawings);
  const harness::RemoteControls remote(program_.id());
  if (!harness::WaitUntil([&] { return remote.ItemCount(list) == static_cast<int>(drawings.size()); },
                          milliseconds(120000))) {
    return false;
  }
  return remote.Items(list) == drawings;
}

void SoakWindow::ClickStart() const { harness::PostClick(Control(static_cast<int>(ControlId::kPushButton2))); }

std::optional<ShownBox> SoakWindow::Box() const {
  HWND box = harness::WaitForTopWindow(program_.id(), L"#32770", L"", milliseconds(0));
  if (!box) return std::nullopt;
  return ShownBox{box, harness::TextOf(box), harness::TextOf(::GetDlgItem(box, kMessageText))};
}

void SoakWindow::Answer(const ShownBox& box) const {
  harness::PressButtonOf(box.box, ::GetDlgItem(box.box, IDNO) ? IDNO : IDOK);
  harness::WaitUntil([&] { return !::IsWindow(box.box); });
}

std::wstring SoakWindow::ProgressText() const {
  return harness::TextOf(Control(static_cast<int>(ControlId::kProgressBar1)));
}

ResourceCounts SoakWindow::Counts() const {
  ResourceCounts counts;
  counts.handlesByType = harness::HandleCensus(program_.handle(), program_.id());
  // Wine answers 0 here; its server's handle list counts them instead.
  if (!::GetProcessHandleCount(program_.handle(), &counts.handles) || counts.handles == 0) {
    counts.handles = harness::HandleTotal(counts.handlesByType);
  }
  counts.gdiObjects = ::GetGuiResources(program_.handle(), GR_GDIOBJECTS);
  return counts;
}

bool SoakWindow::Close() {
  ::PostMessageW(window_, WM_CLOSE, 0, 0);
  return program_.WaitForExit(milliseconds(60000));
}

}  // namespace pellacore::soak
