#pragma once
// The harness: drives the real program's window from another process, as a
// person would, and reads back what it shows. Every wait polls with a bound;
// nothing sleeps for a fixed time.

#include <windows.h>

#include <ole2.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pellacore::harness {

using std::chrono::milliseconds;
inline constexpr milliseconds kDefaultTimeout{10000};

// Polls `condition` every 20 ms until it holds or `timeout` has passed.
bool WaitUntil(const std::function<bool()>& condition, milliseconds timeout = kDefaultTimeout);

// A started program; ended (killed) when this goes, unless it ended itself.
class Program {
 public:
  // Starts `exe` with `folder` as its working folder, and `arguments` after
  // its quoted path on the command line.
  static Program Start(const std::wstring& exe, const std::wstring& folder, const std::wstring& arguments = L"");
  Program(Program&& other) noexcept;
  Program& operator=(Program&&) = delete;
  Program(const Program&) = delete;
  ~Program();

  DWORD id() const { return id_; }
  HANDLE handle() const { return process_; }
  // Whether the program ended within `timeout`.
  bool WaitForExit(milliseconds timeout = kDefaultTimeout) const;
  // The program's exit code once it has ended.
  std::optional<DWORD> ExitCode() const;

 private:
  Program(HANDLE process, DWORD id) : process_(process), id_(id) {}
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// A visible top-level window of the process with this class and caption
// (an empty class or caption matches any), waited for.
HWND WaitForTopWindow(DWORD processId, const std::wstring& className, const std::wstring& caption,
                      milliseconds timeout = kDefaultTimeout);

// A visible message box ("#32770") owned by `owner`, waited for.
HWND WaitForMessageBox(HWND owner, milliseconds timeout = kDefaultTimeout);

// The window's direct children in their order (the tab order of a window
// whose controls were created in it).
std::vector<HWND> Children(HWND parent);
std::wstring ClassOf(HWND window);
// The text, read with WM_GETTEXT (GetWindowText answers "" across processes).
std::wstring TextOf(HWND window);
// The child's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND child);
SIZE ClientSizeOf(HWND window);

// Posts a click: a click that opens a modal box must not wait for it.
void PostClick(HWND button);
void PressButtonOf(HWND box, int id);
// Sets a control's text (WM_SETTEXT carries its text across processes).
void SetText(HWND control, const std::wstring& text);

// Drags a list of files over `target` (the pointer moved to its middle) and
// drops it there, as a file manager does; answers the effect the target
// chose. With `asFiles` false the data offers plain text instead of files.
// The calling thread must have initialised OLE.
DWORD DropOnto(HWND target, const std::vector<std::wstring>& paths, bool asFiles = true);

// The same drag, made as `options` say.
struct DragOptions {
  bool asFiles = true;
  // The effects the source allows.
  DWORD allowedEffects = DROPEFFECT_COPY | DROPEFFECT_LINK;
  // Called on the dragging thread when the target first asks for the data,
  // that is inside the target's Drop, while this drag still waits for it.
  std::function<void()> whenTaken;
};
DWORD DropOnto(HWND target, const std::vector<std::wstring>& paths, const DragOptions& options);

// Another process's list view and tooltip, read through its memory.
class RemoteControls {
 public:
  explicit RemoteControls(DWORD processId);
  RemoteControls(const RemoteControls&) = delete;
  RemoteControls& operator=(const RemoteControls&) = delete;
  ~RemoteControls();

  int ItemCount(HWND list) const;
  // The text of an item's column `subItem` (0 for the item's own).
  std::wstring ItemText(HWND list, int index, int subItem = 0) const;
  // Every item's text in column `subItem`, in list order.
  std::vector<std::wstring> Items(HWND list, int subItem = 0) const;
  std::wstring ColumnText(HWND list, int column) const;
  // The item's row, in the list's client coordinates.
  RECT ItemRect(HWND list, int index) const;
  // The index of the selected item, or -1.
  int SelectedItem(HWND list) const;
  // Selects a folder in a shell folder picker, as the picker's own
  // BFFM_SETSELECTIONW does, with the path in the program's memory.
  void SelectInFolderPicker(HWND picker, const std::wstring& folder) const;
  // Selects `folder` (no trailing "\\") in a folder picker and waits until its
  // tree shows it selected. Under Wine the first selection sent once the tree
  // has items is often lost, so it is sent again every half second.
  bool ChooseInFolderPicker(HWND picker, const std::wstring& folder, milliseconds timeout = kDefaultTimeout) const;
  // The text of a tree view's selected item, "" when none is selected.
  std::wstring TreeSelectionText(HWND tree) const;
  int ColumnWidth(HWND list, int column) const;
  // The text of the tool that `tooltip` shows for window `tool`.
  std::wstring ToolText(HWND tooltip, HWND owner, HWND tool) const;

 private:
  // A block of the other process's memory, for one message's structures.
  void* Remote(std::size_t bytes) const;
  void Write(void* remote, const void* local, std::size_t bytes) const;
  void Read(const void* remote, void* local, std::size_t bytes) const;
  // The text buffer that follows a message's structure in the block, and
  // its text read back (up to its NUL).
  static wchar_t* TextAfter(void* remote, std::size_t structureBytes);
  std::wstring ReadText(const wchar_t* remoteText) const;

  HANDLE process_ = nullptr;
  void* block_ = nullptr;
};

}  // namespace pellacore::harness
