#include "tools/harness/harness.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace pellacore::harness {
namespace {

constexpr milliseconds kPollInterval{20};
constexpr std::size_t kRemoteBlockBytes = 64 * 1024;
constexpr int kTextChars = 4096;

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}

Program Program::Start(const std::wstring& exe, const std::wstring& folder, const std::wstring& arguments) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
    throw std::runtime_error("the program could not be started");
  }
  ::CloseHandle(info.hThread);
  return Program(info.hProcess, info.dwProcessId);
}

Program::Program(Program&& other) noexcept : process_(other.process_), id_(other.id_) {
  other.process_ = nullptr;
}

Program::~Program() {
  if (!process_) return;
  if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_, 1);
    ::WaitForSingleObject(process_, 5000);
  }
  ::CloseHandle(process_);
}

bool Program::WaitForExit(milliseconds timeout) const {
  return ::WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> Program::ExitCode() const {
  DWORD code = 0;
  if (!::GetExitCodeProcess(process_, &code) || code == STILL_ACTIVE) return std::nullopt;
  return code;
}

namespace {

struct TopWindowSearch {
  DWORD processId;
  const std::wstring* className;
  const std::wstring* caption;
  HWND owner;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<TopWindowSearch*>(context);
  if (!::IsWindowVisible(window)) return TRUE;
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (search.processId && process != search.processId) return TRUE;
  if (search.owner && ::GetWindow(window, GW_OWNER) != search.owner) return TRUE;
  if (!search.className->empty() && ClassOf(window) != *search.className) return TRUE;
  if (!search.caption->empty() && TextOf(window) != *search.caption) return TRUE;
  search.found = window;
  return FALSE;
}

HWND FindTopWindow(TopWindowSearch search, milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        search.found = nullptr;
        ::EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
        found = search.found;
        return found != nullptr;
      },
      timeout);
  return found;
}

}  // namespace

HWND WaitForTopWindow(DWORD processId, const std::wstring& className, const std::wstring& caption,
                      milliseconds timeout) {
  return FindTopWindow({processId, &className, &caption, nullptr}, timeout);
}

HWND WaitForMessageBox(HWND owner, milliseconds timeout) {
  const std::wstring dialogClass = L"#32770";
  const std::wstring anyCaption;
  return FindTopWindow({0, &dialogClass, &anyCaption, owner}, timeout);
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  std::wstring text(kTextChars, L'\0');
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, kTextChars, reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &length)) {
    return {};
  }
  text.resize(length);
  return text;
}

RECT PlaceOf(HWND child) {
  RECT rect;
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE ClientSizeOf(HWND window) {
  RECT rect;
  ::GetClientRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void PostClick(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

void SetText(HWND control, const std::wstring& text) {
  ::SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressButtonOf(HWND box, int id) {
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
}

RemoteControls::RemoteControls(DWORD processId) {
  process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                               PROCESS_QUERY_INFORMATION,
                           FALSE, processId);
  if (!process_) throw std::runtime_error("the program's memory cannot be opened");
  block_ = ::VirtualAllocEx(process_, nullptr, kRemoteBlockBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!block_) throw std::runtime_error("no memory in the program for the harness");
}

RemoteControls::~RemoteControls() {
  if (block_) ::VirtualFreeEx(process_, block_, 0, MEM_RELEASE);
  if (process_) ::CloseHandle(process_);
}

void* RemoteControls::Remote(std::size_t bytes) const {
  if (bytes > kRemoteBlockBytes) throw std::length_error("remote block too small");
  return block_;
}

void RemoteControls::Write(void* remote, const void* local, std::size_t bytes) const {
  SIZE_T written = 0;
  ::WriteProcessMemory(process_, remote, local, bytes, &written);
}

wchar_t* RemoteControls::TextAfter(void* remote, std::size_t structureBytes) {
  return reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + structureBytes);
}

std::wstring RemoteControls::ReadText(const wchar_t* remoteText) const {
  std::wstring text(kTextChars, L'\0');
  Read(remoteText, text.data(), kTextChars * sizeof(wchar_t));
  text.resize(text.find(L'\0'));
  return text;
}

void RemoteControls::Read(const void* remote, void* local, std::size_t bytes) const {
  SIZE_T read = 0;
  ::ReadProcessMemory(process_, remote, local, bytes, &read);
}

int RemoteControls::ItemCount(HWND list) const {
  return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring RemoteControls::ItemText(HWND list, int index, int subItem) const {
  // One block: the LVITEM, then the text buffer it points at.
  void* remote = Remote(sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
  wchar_t* remoteText = TextAfter(remote, sizeof(LVITEMW));
  LVITEMW item{};
  item.iSubItem = subItem;
  item.pszText = remoteText;
  item.cchTextMax = kTextChars;
  Write(remote, &item, sizeof(item));
  const auto length = static_cast<std::size_t>(
      ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote)));
  std::wstring text(length, L'\0');
  Read(remoteText, text.data(), length * sizeof(wchar_t));
  return text;
}

std::vector<std::wstring> RemoteControls::Items(HWND list, int subItem) const {
  std::vector<std::wstring> items;
  const int count = ItemCount(list);
  for (int i = 0; i < count; ++i) items.push_back(ItemText(list, i, subItem));
  return items;
}

std::wstring RemoteControls::ColumnText(HWND list, int column) const {
  void* remote = Remote(sizeof(LVCOLUMNW) + kTextChars * sizeof(wchar_t));
  wchar_t* remoteText = TextAfter(remote, sizeof(LVCOLUMNW));
  LVCOLUMNW info{};
  info.mask = LVCF_TEXT;
  info.pszText = remoteText;
  info.cchTextMax = kTextChars;
  Write(remote, &info, sizeof(info));
  if (!::SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(remote))) {
    return {};
  }
  return ReadText(remoteText);
}

RECT RemoteControls::ItemRect(HWND list, int index) const {
  auto* remote = Remote(sizeof(RECT));
  RECT rect{LVIR_BOUNDS, 0, 0, 0};
  Write(remote, &rect, sizeof(rect));
  ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote));
  Read(remote, &rect, sizeof(rect));
  return rect;
}

int RemoteControls::SelectedItem(HWND list) const {
  return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void RemoteControls::SelectInFolderPicker(HWND picker, const std::wstring& folder) const {
  auto* remote = Remote((folder.size() + 1) * sizeof(wchar_t));
  Write(remote, folder.c_str(), (folder.size() + 1) * sizeof(wchar_t));
  ::SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote));
}

bool RemoteControls::ChooseInFolderPicker(HWND picker, const std::wstring& folder, milliseconds timeout) const {
  constexpr int kFolderTree = 14145;
  constexpr milliseconds kResend{500};
  HWND tree = ::GetDlgItem(picker, kFolderTree);
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  auto left = [&] {
    return std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
  };
  if (!WaitUntil([&] { return ::SendMessageW(tree, TVM_GETCOUNT, 0, 0) > 0; }, timeout)) return false;
  const std::wstring leaf = folder.substr(folder.find_last_of(L'\\') + 1);
  while (left().count() > 0) {
    SelectInFolderPicker(picker, folder);
    if (WaitUntil([&] { return TreeSelectionText(tree) == leaf; }, std::min(kResend, left()))) return true;
  }
  return false;
}

std::wstring RemoteControls::TreeSelectionText(HWND tree) const {
  const auto selected = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!selected) return {};
  void* remote = Remote(sizeof(TVITEMW) + kTextChars * sizeof(wchar_t));
  wchar_t* remoteText = TextAfter(remote, sizeof(TVITEMW));
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = selected;
  item.pszText = remoteText;
  item.cchTextMax = kTextChars;
  Write(remote, &item, sizeof(item));
  if (!::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote))) return {};
  return ReadText(remoteText);
}

int RemoteControls::ColumnWidth(HWND list, int column) const {
  return static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

std::wstring RemoteControls::ToolText(HWND tooltip, HWND owner, HWND tool) const {
  void* remote = Remote(sizeof(TOOLINFOW) + kTextChars * sizeof(wchar_t));
  wchar_t* remoteText = TextAfter(remote, sizeof(TOOLINFOW));
  TOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = remoteText;
  Write(remote, &info, sizeof(info));
  const wchar_t nothing = 0;
  Write(remoteText, &nothing, sizeof(nothing));
  ::SendMessageW(tooltip, TTM_GETTEXTW, kTextChars, reinterpret_cast<LPARAM>(remote));
  return ReadText(remoteText);
}

}  // namespace pellacore::harness
