// The job list's control: a virtual list view that shows the entries of the
// job list model (owner data), each with its result, and the mouse and key
// events of the list.

#include <windows.h>
#include <windowsx.h>

#include <commctrl.h>

#include "app/form1.h"
#include "win32/main_window.h"

namespace pellacore::win32 {
namespace {

int ShiftState() {
  int shift = 0;
  if (::GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (::GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (::GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

int ButtonsOf(WPARAM keys) {
  int buttons = 0;
  if (keys & MK_LBUTTON) buttons |= mouse_button::kLeft;
  if (keys & MK_RBUTTON) buttons |= mouse_button::kRight;
  if (keys & MK_MBUTTON) buttons |= mouse_button::kMiddle;
  return buttons;
}

int ButtonOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return mouse_button::kRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return mouse_button::kMiddle;
    default:
      return mouse_button::kLeft;
  }
}

}  // namespace

void Win32MainWindow::AddColumn(const std::wstring& header) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = const_cast<wchar_t*>(header.c_str());
  const int count = Header_GetItemCount(ListView_GetHeader(Control(ControlId::kListView1)));
  if (ListView_InsertColumn(Control(ControlId::kListView1), count, &column) < 0) {
    throw Failure(failure_number::kInvalidArgument, L"The list refused the column");
  }
}

void Win32MainWindow::SetColumnWidthTwips(int twips) {
  columnWidthTwips_ = twips;
  ListView_SetColumnWidth(Control(ControlId::kListView1), 0, TwipsToPixels(twips, dpi_));
}

void Win32MainWindow::FitLastColumn() {
  fitLastColumn_ = true;
  HWND list = Control(ControlId::kListView1);
  const int count = Header_GetItemCount(ListView_GetHeader(list));
  if (count < 1) return;
  RECT client{};
  ::GetClientRect(list, &client);
  int room = client.right - client.left;
  // A scroll bar that is not there yet will be once the list is long.
  if (!(::GetWindowLongPtrW(list, GWL_STYLE) & WS_VSCROLL)) {
    room -= ::GetSystemMetricsForDpi(SM_CXVSCROLL, static_cast<UINT>(dpi_));
  }
  for (int column = 0; column < count - 1; ++column) room -= ListView_GetColumnWidth(list, column);
  ListView_SetColumnWidth(list, count - 1, room > 0 ? room : 0);
}

std::optional<std::size_t> Win32MainWindow::HitTest(int x, int y) {
  SyncItemCount();
  LVHITTESTINFO hit{};
  hit.pt = {x, y};
  const int index = ListView_HitTest(Control(ControlId::kListView1), &hit);
  if (index < 0 || !(hit.flags & LVHT_ONITEM)) return std::nullopt;
  return static_cast<std::size_t>(index) + 1;
}

void Win32MainWindow::EnsureVisible(std::size_t index) {
  SyncItemCount();
  ListView_EnsureVisible(Control(ControlId::kListView1), static_cast<int>(index) - 1, FALSE);
}

bool Win32MainWindow::ShowPicturePointer(const std::wstring& iconFile) {
  // An icon serves as a pointer, with its hot spot in the middle.
  HANDLE icon = ::LoadImageW(nullptr, iconFile.c_str(), IMAGE_ICON, 0, 0,
                             LR_LOADFROMFILE | LR_DEFAULTSIZE);
  if (!icon) return false;
  listPicture_.reset(static_cast<HICON>(icon));
  showListPicture_ = true;
  ::SetCursor(listPicture_.get());
  return true;
}

void Win32MainWindow::ShowArrowPointer() {
  showListPicture_ = false;
  POINT point;
  ::GetCursorPos(&point);
  if (::WindowFromPoint(point) == Control(ControlId::kListView1)) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  }
}

int Win32MainWindow::PointerScreenY() {
  POINT point{};
  ::GetCursorPos(&point);
  return point.y;
}

void Win32MainWindow::EntriesAppended(std::size_t) {
  if (itemCountPending_) return;
  itemCountPending_ = true;
  ::PostMessageW(window_, kSyncItemCountMessage, 0, 0);
}

void Win32MainWindow::SyncItemCount() {
  if (!form_) return;
  itemCountPending_ = false;
  HWND list = Control(ControlId::kListView1);
  const int count = static_cast<int>(form_->jobList().Count());
  if (ListView_GetItemCount(list) == count) return;
  ListView_SetItemCountEx(list, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void Win32MainWindow::EntryChanged(std::size_t index) {
  const int item = static_cast<int>(index) - 1;
  ListView_RedrawItems(Control(ControlId::kListView1), item, item);
}

void Win32MainWindow::AllEntriesChanged() {
  ::InvalidateRect(Control(ControlId::kListView1), nullptr, FALSE);
}

void Win32MainWindow::EntriesRemoved(std::size_t newCount) {
  // At once: the list must not ask for entries that are gone.
  itemCountPending_ = false;
  HWND list = Control(ControlId::kListView1);
  ListView_SetItemCountEx(list, static_cast<int>(newCount), 0);
  ::InvalidateRect(list, nullptr, TRUE);
}

void Win32MainWindow::SelectionChanged(std::optional<std::size_t> selected) {
  HWND list = Control(ControlId::kListView1);
  syncingSelection_ = true;
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (selected) {
    SyncItemCount();
    const int item = static_cast<int>(*selected) - 1;
    ListView_SetItemState(list, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(list, item);
  }
  syncingSelection_ = false;
}

LRESULT CALLBACK Win32MainWindow::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self) noexcept {
  auto* window = reinterpret_cast<Win32MainWindow*>(self);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(list, ListProc, 1);
    return ::DefSubclassProc(list, message, wParam, lParam);
  }
  return window->HandleListMessage(message, wParam, lParam);
}

// The list's mouse is the program's own: a press selects the entry under it
// and starts a reorder, a release ends it. The list view's own handling of
// presses (marquee selection, outgoing drag and drop) never starts.
LRESULT Win32MainWindow::HandleListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND list = Control(ControlId::kListView1);
  if (!form_) return ::DefSubclassProc(list, message, wParam, lParam);
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      ::SetFocus(list);
      const std::optional<std::size_t> hit = HitTest(x, y);
      if (hit) Forward([&] { form_->ListView1_SelectionChanged(hit); });
      Forward([&] { form_->ListView1_MouseDown(ButtonOf(message), ShiftState(), x, y); });
      if (hit) Forward([&] { form_->ListView1_ItemClick(); });
      ::SetCapture(list);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      ::SetFocus(list);
      Forward([&] { form_->ListView1_MouseDown(ButtonOf(message), ShiftState(), x, y); });
      if (message == WM_LBUTTONDBLCLK) Forward([&] { form_->ListView1_DblClick(); });
      ::SetCapture(list);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (::GetCapture() == list) ::ReleaseCapture();
      Forward([&] { form_->ListView1_MouseUp(ButtonOf(message), ShiftState(), x, y); });
      return 0;
    case WM_MOUSEMOVE:
      Forward([&] { form_->ListView1_MouseMove(ButtonsOf(wParam), ShiftState(), x, y); });
      if (::GetCapture() == list && showListPicture_ && listPicture_) ::SetCursor(listPicture_.get());
      break;
    case WM_KEYDOWN:
      Forward([&] { form_->ListView1_KeyDown(static_cast<int>(wParam), ShiftState()); });
      break;
    default:
      break;
  }
  return ::DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace pellacore::win32
