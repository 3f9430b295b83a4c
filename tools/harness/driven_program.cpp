#include "tools/harness/driven_program.h"

#include <ole2.h>

#include <algorithm>

#include "app/main_window_layout.h"
#include "tools/harness/handle_census.h"

namespace pellacore::harness {

namespace {

constexpr int kBoxMessageText = 0xFFFF;

// OLE for the drop, on this thread while it lasts.
class DropOleScope {
 public:
  DropOleScope() : ok_(SUCCEEDED(::OleInitialize(nullptr))) {}
  DropOleScope(const DropOleScope&) = delete;
  DropOleScope& operator=(const DropOleScope&) = delete;
  ~DropOleScope() {
    if (ok_) ::OleUninitialize();
  }

 private:
  bool ok_;
};

std::wstring FolderOfExe(const std::wstring& exe) { return exe.substr(0, exe.rfind(L'\\')); }

}  // namespace

DrivenProgram::DrivenProgram(const std::wstring& exe) : program_(Program::Start(exe, FolderOfExe(exe))) {
  window_ = WaitForTopWindow(program_.id(), L"PellacoreMainWindow", L"Pellacore", milliseconds(60000));
}

HWND DrivenProgram::Control(int index) const {
  const std::vector<HWND> children = Children(window_);
  return static_cast<std::size_t>(index) < children.size() ? children[static_cast<std::size_t>(index)] : nullptr;
}

bool DrivenProgram::ChooseOutputFolder(const std::wstring& folder) const {
  SetText(Control(static_cast<int>(ControlId::kText1)), folder);
  HWND option = Control(static_cast<int>(ControlId::kOption1));
  PostClick(option);
  return WaitUntil([&] { return ::SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED; }) &&
         TextOf(Control(static_cast<int>(ControlId::kText1))) == folder;
}

bool DrivenProgram::FillList(const std::vector<std::wstring>& drawings) const {
  const DropOleScope ole;
  HWND list = Control(static_cast<int>(ControlId::kListView1));
  DropOnto(list, drawings);
  const RemoteControls remote(program_.id());
  if (!WaitUntil([&] { return remote.ItemCount(list) == static_cast<int>(drawings.size()); },
                          milliseconds(120000))) {
    return false;
  }
  return remote.Items(list) == drawings;
}

void DrivenProgram::ClickStart() const { PostClick(Control(static_cast<int>(ControlId::kPushButton2))); }

std::optional<ShownBox> DrivenProgram::Box() const {
  HWND box = WaitForTopWindow(program_.id(), L"#32770", L"", milliseconds(0));
  if (!box) return std::nullopt;
  return ShownBox{box, TextOf(box), TextOf(::GetDlgItem(box, kBoxMessageText))};
}

void DrivenProgram::Answer(const ShownBox& box) const {
  PressButtonOf(box.box, ::GetDlgItem(box.box, IDNO) ? IDNO : IDOK);
  WaitUntil([&] { return !::IsWindow(box.box); });
}

std::wstring DrivenProgram::ProgressText() const {
  return TextOf(Control(static_cast<int>(ControlId::kProgressBar1)));
}

ResourceCounts DrivenProgram::Counts() const {
  ResourceCounts counts;
  counts.handlesByType = HandleCensus(program_.handle(), program_.id());
  // Wine answers 0 here; its server's handle list counts them instead.
  if (!::GetProcessHandleCount(program_.handle(), &counts.handles) || counts.handles == 0) {
    counts.handles = HandleTotal(counts.handlesByType);
  }
  counts.gdiObjects = ::GetGuiResources(program_.handle(), GR_GDIOBJECTS);
  return counts;
}

bool DrivenProgram::Close() {
  ::PostMessageW(window_, WM_CLOSE, 0, 0);
  return program_.WaitForExit(milliseconds(60000));
}

}  // namespace pellacore::harness
