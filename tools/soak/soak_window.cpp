#include "tools/soak/soak_window.h"

#include <ole2.h>

#include <algorithm>

#include "app/main_window_layout.h"

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

// NtQuerySystemInformation's SystemHandleInformation (16): every open handle
// of the system with its owner. Wine answers GetProcessHandleCount with 0;
// its server lists handles this way.
struct SystemHandle {
  ULONG ownerId;
  BYTE objectType;
  BYTE flags;
  USHORT value;
  PVOID object;
  ULONG access;
};
struct SystemHandles {
  ULONG count;
  SystemHandle handles[1];
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

DWORD HandlesListedFor(DWORD processId) {
  const auto query = reinterpret_cast<QuerySystemInformation>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return 0;
  std::vector<unsigned char> buffer(1 << 20);
  for (int tries = 0; tries < 6; ++tries) {
    ULONG needed = 0;
    const LONG status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) {
      const auto* list = reinterpret_cast<const SystemHandles*>(buffer.data());
      DWORD count = 0;
      for (ULONG i = 0; i < list->count; ++i) count += list->handles[i].ownerId == processId;
      return count;
    }
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
  }
  return 0;
}

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
  if (!::GetProcessHandleCount(program_.handle(), &counts.handles) || counts.handles == 0) {
    counts.handles = HandlesListedFor(program_.id());
  }
  counts.gdiObjects = ::GetGuiResources(program_.handle(), GR_GDIOBJECTS);
  return counts;
}

bool SoakWindow::Close() {
  ::PostMessageW(window_, WM_CLOSE, 0, 0);
  return program_.WaitForExit(milliseconds(60000));
}

}  // namespace pellacore::soak
