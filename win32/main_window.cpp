#include "win32/main_window.h"

#include <commctrl.h>

#include "app/form1.h"
#include "platform/drop_effect.h"
#include "util/failure.h"
#include "win32/options_menu.h"
#include "win32/progress_bar.h"
#include "win32/resource.h"
#include "win32/win32_failure.h"

namespace pellacore::win32 {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kFirstControlId = 100;
constexpr wchar_t kListTooltip[] =
    L"Drag and drop files here. Double-click item to remove it. Move | line to right and out of "
    L"window to reveal full names.";

struct ControlClass {
  const wchar_t* className;
  DWORD style;
  DWORD extendedStyle;
};

ControlClass ClassOf(const ControlDesign& design) {
  switch (design.kind) {
    case ControlKind::kListView:
      return {WC_LISTVIEWW,
              WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                  LVS_NOSORTHEADER,
              WS_EX_CLIENTEDGE};
    case ControlKind::kPictureBox:
      return {L"STATIC", SS_BITMAP | SS_CENTERIMAGE, 0};
    case ControlKind::kProgressBar:
      return {progress_bar::kClassName, 0, 0};
    case ControlKind::kPushButton:
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::kFrame:
      return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::kTextBox:
      return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kOptionButton:
      return {L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON, 0};
  }
  return {L"STATIC", 0, 0};
}

// The list's drop effects are the platform's.
static_assert(drop_effect::kNone == DROPEFFECT_NONE && drop_effect::kCopy == DROPEFFECT_COPY &&
              drop_effect::kMove == DROPEFFECT_MOVE && drop_effect::kLink == DROPEFFECT_LINK);

int DpiOf(HWND window) {
  const UINT dpi = ::GetDpiForWindow(window);
  return dpi ? static_cast<int>(dpi) : 96;
}

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance) : instance_(instance) {
  INITCOMMONCONTROLSEX common{};
  common.dwSize = sizeof(common);
  common.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
  ::InitCommonControlsEx(&common);
  progress_bar::RegisterClass(instance_);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hIcon = ::LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APPLICATION_ICON));
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kMainWindowClass;
  ::RegisterClassExW(&windowClass);
}

Win32MainWindow::~Win32MainWindow() { Destroy(); }

void Win32MainWindow::Destroy() {
  // Going with its owner is no user's close: Form_Unload does not run, and
  // nothing the window receives while it goes reaches Form1.
  if (form_) form_->jobList().SetObserver(nullptr);
  form_ = nullptr;
  if (window_) {
    ::RevokeDragDrop(Control(ControlId::kListView1));
    ::DestroyWindow(window_);
  }
  if (dropTarget_) dropTarget_->Release();
  dropTarget_ = nullptr;
}

void Win32MainWindow::Create(Form1& form) {
  form_ = &form;
  form.jobList().SetObserver(this);
  window_ = ::CreateWindowExW(0, kMainWindowClass, L"", kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, this);
  if (!window_) throw SystemFailure(::GetLastError());
  options_menu::Attach(window_);
  CreateControls();
  ApplyLayout(DpiOf(window_));
}

void Win32MainWindow::Show(int showCommand) {
  ::ShowWindow(window_, showCommand);
  ::UpdateWindow(window_);
}

void Win32MainWindow::CreateControls() {
  // Created in tab order, so the dialog keys move through them in that order.
  for (std::size_t i = 0; i < kMainWindowDesign.size(); ++i) {
    const ControlDesign& design = kMainWindowDesign[i];
    const ControlClass kind = ClassOf(design);
    DWORD style = WS_CHILD | WS_VISIBLE | kind.style;
    if (design.id != ControlId::kOption2) style |= WS_GROUP;  // the two options are one group
    if (design.id == ControlId::kListView1) style |= WS_CLIPSIBLINGS;
    const std::wstring caption(design.caption);
    controls_[i] = ::CreateWindowExW(kind.extendedStyle, kind.className, caption.c_str(), style, 0, 0,
                                     0, 0, window_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)),
                                     instance_, nullptr);
  }
  HWND list = Control(ControlId::kListView1);
  // Info tips: a hover on a row shows its whole result (LVN_GETINFOTIPW).
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
  ::SetWindowSubclass(list, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
  ::SendMessageW(Control(ControlId::kOption1), BM_SETCHECK, BST_CHECKED, 0);

  // Files and folders dropped onto the list.
  dropTarget_ = new FileDropTarget(
      [this](bool offersFiles, DWORD& effect) {
        std::uint32_t allowed = effect;
        Forward([&] { form_->ListView1_OLEDragOver(offersFiles, allowed); });
        effect = allowed;
      },
      [this](std::vector<std::wstring> paths) { TakeDrop(std::move(paths)); });
  const HRESULT registered = ::RegisterDragDrop(list, dropTarget_);
  if (FAILED(registered)) throw Failure(static_cast<long>(registered), SystemMessage(static_cast<DWORD>(registered)));

  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                               nullptr, instance_, nullptr);
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(list);
  tool.lpszText = const_cast<wchar_t*>(kListTooltip);
  ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32MainWindow::SwapFonts(int dpi) {
  // Arial bold in the Cyrillic character set; push buttons 11.25 pt.
  auto arialBold = [dpi](int hundredthsOfPoint) {
    return UniqueGdiObject(::CreateFontW(-MulDiv(hundredthsOfPoint, dpi, 7200), 0, 0, 0, FW_BOLD, FALSE,
                                         FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                                         CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                         L"Arial"));
  };
  UniqueGdiObject font = arialBold(900);
  UniqueGdiObject buttonFont = arialBold(1125);
  // Every control takes its new font before the old ones are deleted: a
  // control never holds, or paints with, a deleted font.
  for (const ControlDesign& design : kMainWindowDesign) {
    HGDIOBJ chosen = design.kind == ControlKind::kPushButton ? buttonFont.get() : font.get();
    ::SendMessageW(Control(design.id), WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
  }
  font_ = std::move(font);
  buttonFont_ = std::move(buttonFont);
}

void Win32MainWindow::ApplyLayout(int dpi, const RECT* suggested) {
  dpi_ = dpi;

  RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kClientHeightTwips, dpi)};
  // The designed client area, below the menu bar.
  ::AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, 0, static_cast<UINT>(dpi));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& screen = monitor.rcMonitor;
  const int left = suggested ? suggested->left : screen.left + (screen.right - screen.left - width) / 2;
  const int top = suggested ? suggested->top : screen.top + (screen.bottom - screen.top - height) / 2;
  ::SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  for (const ControlDesign& design : kMainWindowDesign) {
    const TwipsRect place = PlaceInWindow(design.id);
    HWND control = Control(design.id);
    ::SetWindowPos(control, nullptr, TwipsToPixels(place.left, dpi), TwipsToPixels(place.top, dpi),
                   TwipsToPixels(place.width, dpi), TwipsToPixels(place.height, dpi),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SwapFonts(dpi);
  if (columnWidthTwips_) SetColumnWidthTwips(columnWidthTwips_);
  if (fitLastColumn_) FitLastColumn();
  ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(4500, dpi));
}

void Win32MainWindow::TakeDrop(std::vector<std::wstring> paths, bool handedOver) {
  waitingDrops_.push_back({std::move(paths), handedOver});
  if (!::PostMessageW(window_, kAddDropMessage, 0, 0)) {
    const DWORD error = ::GetLastError();
    waitingDrops_.pop_back();
    throw SystemFailure(error);
  }
}

void Win32MainWindow::AddOldestDrop() {
  if (waitingDrops_.empty() || !form_) return;
  // Taken out first: a drop that comes while this one is added is the next one.
  const WaitingPaths waiting = std::move(waitingDrops_.front());
  waitingDrops_.pop_front();
  if (waiting.handedOver) {
    Forward([&] { form_->AddCommandLinePaths(waiting.paths); });
  } else {
    Forward([&] { form_->ListView1_OLEDragDrop(waiting.paths); });
  }
}

std::optional<ControlId> Win32MainWindow::ControlOf(HWND control) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i] == control) return kMainWindowDesign[i].id;
  }
  return std::nullopt;
}

void Win32MainWindow::SetCaption(const std::wstring& caption) {
  if (!::SetWindowTextW(window_, caption.c_str())) throw SystemFailure(::GetLastError());
}

void Win32MainWindow::SetApplicationIcon() {
  const int big = ::GetSystemMetricsForDpi(SM_CXICON, static_cast<UINT>(dpi_));
  const int small = ::GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi_));
  // Shared icons from the program's resources: the system frees them.
  auto load = [this](int size) {
    return ::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON, size, size,
                        LR_SHARED);
  };
  ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(load(big)));
  ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(load(small)));
}

void Win32MainWindow::SetBackdrop(Surface surface, Backdrop backdrop) {
  backdrops_[surface] = backdrop;
  ::InvalidateRect(window_, nullptr, TRUE);
}

std::int32_t Win32MainWindow::Handle32() {
  // Window handles keep their meaning in 32 bits, also in a 64-bit process.
  return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window_));
}

void Win32MainWindow::ShowPointer(int code) {
  pointerCode_ = code;
  // The shape changes at once, not at the next move of the mouse: the window
  // (or its control) under the pointer is asked for its pointer as a move
  // would ask it, without the move's event.
  POINT point;
  if (!window_ || !::GetCursorPos(&point)) return;
  HWND under = ::WindowFromPoint(point);
  if (under != window_ && !::IsChild(window_, under)) return;
  const LRESULT hit = ::SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
  ::SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(LOWORD(hit), 0));
}

void Win32MainWindow::LoadCustomPointer(const std::wstring& cursorFile) {
  HANDLE cursor = ::LoadImageW(nullptr, cursorFile.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE);
  if (!cursor) throw Failure(481, L"Invalid picture");
  customCursor_.reset(static_cast<HCURSOR>(cursor));
}

void Win32MainWindow::ShowText1(const std::wstring& text) {
  settingText1_ = true;
  ::SetWindowTextW(Control(ControlId::kText1), text.c_str());
  settingText1_ = false;
}

void Win32MainWindow::ShowOption(int option, bool selected) {
  HWND button = Control(option == 1 ? ControlId::kOption1 : ControlId::kOption2);
  ::SendMessageW(button, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32MainWindow::EnableFrame3(bool enabled) {
  // The frame's controls are greyed with it, so the user sees they are out of use.
  for (ControlId id : {ControlId::kFrame3, ControlId::kText1, ControlId::kPushButton7}) {
    ::EnableWindow(Control(id), enabled);
  }
}

void Win32MainWindow::ShowProgress(double percent) {
  const double clamped = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
  ::SendMessageW(Control(ControlId::kProgressBar1), progress_bar::kSetPosition,
                 static_cast<WPARAM>(clamped * 100 + 0.5), 0);
}

void Win32MainWindow::ShowRunOnTaskbar(std::optional<double> percentDone, bool failures) {
  taskbar_.Show(window_, percentDone, failures);
}

void Win32MainWindow::FlashUnlessActive() {
  if (::GetForegroundWindow() == window_) return;
  FLASHWINFO flash{sizeof(FLASHWINFO), window_, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
  ::FlashWindowEx(&flash);
}

void Win32MainWindow::ShowProgressText(const std::wstring& text) {
  ::SetWindowTextW(Control(ControlId::kProgressBar1), text.c_str());
}

void Win32MainWindow::EnableStop(bool enabled) { options_menu::EnableStop(window_, enabled); }

void Win32MainWindow::ShowUnattended(bool chosen) { options_menu::CheckUnattended(window_, chosen); }

void Win32MainWindow::ShowKeepAutoCadOpen(bool chosen) { options_menu::CheckKeepAutoCadOpen(window_, chosen); }

void Win32MainWindow::ShowPdfRoute(bool plotter) { options_menu::CheckRoute(window_, plotter); }

void Win32MainWindow::ShowPlotChoices(const std::vector<std::wstring>& offered, const std::wstring& media,
                                      bool monochrome) {
  plotMedia_ = offered;
  options_menu::CheckPlotChoices(window_, plotMedia_, media, monochrome);
}

void Win32MainWindow::EndProgram() { ::ExitProcess(0); }

}  // namespace pellacore::win32
