// The main window's procedure: every event goes to Form1.

#include <windows.h>
#include <windowsx.h>

#include <commctrl.h>

#include "app/form1.h"
#include "win32/main_window.h"
#include "win32/handed_paths.h"
#include "win32/options_menu.h"

namespace pellacore::win32 {
LRESULT CALLBACK Win32MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<Win32MainWindow*>(create->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Win32MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // While the window goes (Destroy), its controls still notify it.
  if (!form_) return ::DefWindowProcW(window_, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND:
      if (const auto id = ControlOf(reinterpret_cast<HWND>(lParam))) {
        OnCommand(*id, HIWORD(wParam));
      } else if (lParam == 0) {
        OnMenuCommand(LOWORD(wParam));
      }
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && OnSetCursor(reinterpret_cast<HWND>(wParam), HIWORD(lParam))) {
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (const LRESULT brush = OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
        return brush;
      }
      break;
    case WM_ERASEBKGND:
      OnEraseBackground(reinterpret_cast<HDC>(wParam));
      return 1;
    case kSyncItemCountMessage:
      SyncItemCount();
      return 0;
    case kAddDropMessage:
      AddOldestDrop();
      return 0;
    case WM_COPYDATA:
      if (auto paths = HandedPaths(*reinterpret_cast<const COPYDATASTRUCT*>(lParam))) {
        // Added once the sender has its answer: a folder may take long.
        try {
          TakeDrop(std::move(*paths), true);
        } catch (const Failure&) {
          return FALSE;
        }
        if (::IsIconic(window_)) ::ShowWindow(window_, SW_RESTORE);
        ::SetForegroundWindow(window_);
        return TRUE;
      }
      break;

    case WM_DPICHANGED:
      ApplyLayout(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
      if (form_) Forward([&] { form_->Form_Unload(); });
      return 0;
    default:
      if (message == TaskbarButton::CreatedMessage()) {
        taskbar_.Recreated();
        return 0;
      }
      if (message == ApplySkinMessage() && lParam) {
        OnApplySkin(*reinterpret_cast<const SkinColours*>(lParam));
        return 0;
      }
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

void Win32MainWindow::OnCommand(ControlId id, WORD code) {
  switch (id) {
    case ControlId::kPushButton1:
      if (code == BN_CLICKED) Forward([&] { form_->PushButton1_Click(); });
      break;
    case ControlId::kPushButton2:
      if (code == BN_CLICKED) Forward([&] { form_->PushButton2_Click(); });
      break;
    case ControlId::kPushButton3:
      if (code == BN_CLICKED) Forward([&] { form_->PushButton3_Click(); });
      break;
    case ControlId::kPushButton4:
      if (code == BN_CLICKED) Forward([&] { form_->PushButton4_Click(); });
      break;
    case ControlId::kPushButton7:
      if (code == BN_CLICKED) Forward([&] { form_->PushButton7_Click(); });
      break;
    case ControlId::kPushButton8:
      if (code == BN_CLICKED) Forward([&] { form_->PushButton8_Click(); });
      break;
    case ControlId::kOption1:
      if (code == BN_CLICKED) Forward([&] { form_->Option1_Selected(); });
      break;
    case ControlId::kOption2:
      if (code == BN_CLICKED) Forward([&] { form_->Option2_Selected(); });
      break;
    case ControlId::kText1:
      if (code == EN_CHANGE && !settingText1_) {
        HWND edit = Control(ControlId::kText1);
        std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        Forward([&] { form_->Text1_Edited(text); });
      }
      break;
    default:
      break;
  }
}

void Win32MainWindow::OnMenuCommand(WORD command) {
  switch (command) {
    case options_menu::kStop:
    case IDCANCEL:  // Esc, through the dialog keys
      Forward([&] { form_->Options_StopClick(); });
      break;
    case options_menu::kTimeLimit:
      Forward([&] { form_->Options_TimeLimitClick(); });
      break;
    case options_menu::kUnattended:
      Forward([&] { form_->Options_UnattendedClick(); });
      break;
    case options_menu::kKeepAutoCad:
      Forward([&] { form_->Options_KeepAutoCadClick(); });
      break;
    case options_menu::kRecycleAfter:
      Forward([&] { form_->Options_RecycleAfterClick(); });
      break;
    case options_menu::kParallel:
      Forward([&] { form_->Options_ParallelClick(); });
      break;
    case options_menu::kRoutePlotter:
      Forward([&] { form_->Options_RouteClick(PdfRouteChoice::kPlotter); });
      break;
    case options_menu::kRoutePrinter:
      Forward([&] { form_->Options_RouteClick(PdfRouteChoice::kPrinter); });
      break;
    case options_menu::kBlackAndWhite:
      Forward([&] { form_->Options_BlackAndWhiteClick(); });
      break;
    default:
      if (const std::optional<std::wstring> media = options_menu::MediaOfCommand(command, plotMedia_)) {
        Forward([&] { form_->Options_PlotMediaClick(*media); });
      }
      break;
  }
}

LRESULT Win32MainWindow::OnNotify(const NMHDR& header) {
  if (header.hwndFrom != Control(ControlId::kListView1)) {
    const std::optional<ControlId> from = ControlOf(header.hwndFrom);
    const bool pushButton = from && DesignOf(*from).kind == ControlKind::kPushButton;
    if (pushButton && header.code == NM_CUSTOMDRAW && skinApplied_ && skin_.allControls &&
        skin_.buttons && skin_.button) {
      return DrawSkinnedButton(reinterpret_cast<const NMCUSTOMDRAW&>(header));
    }
    return 0;
  }
  const JobList& jobs = form_->jobList();
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      auto& item = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)).item;
      if (item.mask & LVIF_TEXT) {
        const std::size_t index = static_cast<std::size_t>(item.iItem) + 1;
        static wchar_t empty[] = L"";
        // The list view copies the text from the model; nothing is stored twice.
        const bool entry = item.iItem >= 0 && index <= jobs.Count();
        if (!entry || item.iSubItem > 1) {
          item.pszText = empty;
        } else {
          item.pszText = const_cast<wchar_t*>((item.iSubItem == 0 ? jobs.Text(index) : jobs.Result(index)).c_str());
        }
      }
      return 0;
    }
    case LVN_GETINFOTIPW: {
      auto& tip = const_cast<NMLVGETINFOTIPW&>(reinterpret_cast<const NMLVGETINFOTIPW&>(header));
      const std::size_t index = static_cast<std::size_t>(tip.iItem) + 1;
      if (tip.iItem < 0 || index > jobs.Count() || !tip.pszText || tip.cchTextMax <= 0) return 0;
      const std::wstring& result = jobs.Result(index);
      if (result.empty()) return 0;
      // A clipped path comes with its whole text: the result goes below it.
      std::wstring text = (tip.dwFlags & LVGIT_UNFOLDED) ? L"" : std::wstring(tip.pszText);
      if (!text.empty()) text += L"\r\n";
      text += result;
      ::lstrcpynW(tip.pszText, text.c_str(), tip.cchTextMax);
      return 0;
    }
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if (syncingSelection_ || !(change.uChanged & LVIF_STATE)) return 0;
      const bool was = (change.uOldState & LVIS_SELECTED) != 0;
      const bool now = (change.uNewState & LVIS_SELECTED) != 0;
      const std::size_t index = static_cast<std::size_t>(change.iItem) + 1;
      if (now && !was && change.iItem >= 0) {
        Forward([&] { form_->ListView1_SelectionChanged(index); });
      } else if (was && !now && (change.iItem < 0 || jobs.Selected() == index)) {
        Forward([&] { form_->ListView1_SelectionChanged(std::nullopt); });
      }
      return 0;
    }
    case LVN_ODFINDITEMW:
      return -1;
    default:
      return 0;
  }
}

bool Win32MainWindow::OnSetCursor(HWND over, UINT mouseMessage) {
  if (mouseMessage == WM_MOUSEMOVE) ForwardMouseMove(over);
  HWND list = Control(ControlId::kListView1);
  HCURSOR cursor = nullptr;
  if (over == list || ::IsChild(list, over)) {
    // The list has its own pointer: the drag picture, or the arrow.
    if (showListPicture_ && listPicture_) {
      cursor = listPicture_.get();
    } else {
      cursor = ::LoadCursorW(nullptr, pointerCode_ == pointer_code::kHourglass ? IDC_WAIT : IDC_ARROW);
    }
  } else if (pointerCode_ == pointer_code::kHourglass) {
    cursor = ::LoadCursorW(nullptr, IDC_WAIT);
  } else if (pointerCode_ == pointer_code::kCustom) {
    cursor = customCursor_ ? customCursor_.get() : ::LoadCursorW(nullptr, IDC_ARROW);
  } else {
    return false;  // each control's own default pointer
  }
  ::SetCursor(cursor);
  return true;
}

void Win32MainWindow::ForwardMouseMove(HWND over) {
  if (over == window_) {
    // Frames let the mouse through to the window: tell which one it is over.
    POINT point;
    ::GetCursorPos(&point);
    auto inside = [&](ControlId id) {
      RECT rect;
      ::GetWindowRect(Control(id), &rect);
      return ::PtInRect(&rect, point) != FALSE;
    };
    if (inside(ControlId::kFrame3)) {
      Forward([&] { form_->Frame3_MouseMove(); });
    } else if (inside(ControlId::kFrame1)) {
      Forward([&] { form_->Frame1_MouseMove(); });
    } else {
      Forward([&] { form_->Form_MouseMove(); });
    }
    return;
  }
  const std::optional<ControlId> id = ControlOf(over);
  if (!id) return;
  Forward([&] {
    switch (*id) {
      case ControlId::kPushButton1: form_->PushButton1_MouseMove(); break;
      case ControlId::kPushButton2: form_->PushButton2_MouseMove(); break;
      case ControlId::kPushButton3: form_->PushButton3_MouseMove(); break;
      case ControlId::kPushButton4: form_->PushButton4_MouseMove(); break;
      case ControlId::kPushButton7: form_->PushButton7_MouseMove(); break;
      case ControlId::kPushButton8: form_->PushButton8_MouseMove(); break;
      case ControlId::kText1: form_->Text1_MouseMove(); break;
      case ControlId::kOption1: form_->Option1_MouseMove(); break;
      case ControlId::kOption2: form_->Option2_MouseMove(); break;
      case ControlId::kFrame1: form_->Frame1_MouseMove(); break;
      case ControlId::kFrame3: form_->Frame3_MouseMove(); break;
      default: break;  // the list moves through its own procedure
    }
  });
}

COLORREF Win32MainWindow::SurfaceColour(Surface surface) const {
  if (skinApplied_ && skin_.face && (surface == Surface::kWindow || (skin_.allControls && skin_.frames))) {
    return *skin_.face;
  }
  const auto backdrop = backdrops_.find(surface);
  const bool face = backdrop != backdrops_.end() && backdrop->second == Backdrop::kButtonFace;
  return face ? ::GetSysColor(COLOR_BTNFACE) : RGB(255, 255, 255);
}

HBRUSH Win32MainWindow::SurfaceBrush(Surface surface) { return BrushFor(SurfaceColour(surface)); }

HBRUSH Win32MainWindow::BrushFor(COLORREF colour) {
  UniqueGdiObject& brush = brushes_[colour];
  if (!brush) brush.reset(::CreateSolidBrush(colour));
  return static_cast<HBRUSH>(brush.get());
}

// A skinned push button: its face in the skin's colour, its caption centred.
LRESULT Win32MainWindow::DrawSkinnedButton(const NMCUSTOMDRAW& draw) {
  if (draw.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
  RECT face = draw.rc;
  ::FillRect(draw.hdc, &face, BrushFor(*skin_.button));
  ::DrawEdge(draw.hdc, &face, (draw.uItemState & CDIS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  wchar_t caption[128] = {};
  ::GetWindowTextW(draw.hdr.hwndFrom, caption, 128);
  ::SetBkMode(draw.hdc, TRANSPARENT);
  ::SetTextColor(draw.hdc, skin_.text.value_or(::GetSysColor(COLOR_BTNTEXT)));
  HGDIOBJ old = ::SelectObject(draw.hdc, buttonFont_.get());
  ::DrawTextW(draw.hdc, caption, -1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::SelectObject(draw.hdc, old);
  if (draw.uItemState & CDIS_FOCUS) {
    ::InflateRect(&face, -3, -3);
    ::DrawFocusRect(draw.hdc, &face);
  }
  return CDRF_SKIPDEFAULT;
}

LRESULT Win32MainWindow::OnControlColour(HDC dc, HWND control) {
  const std::optional<ControlId> id = ControlOf(control);
  if (!id) return 0;
  Surface surface = Surface::kWindow;
  switch (*id) {
    case ControlId::kFrame1: surface = Surface::kFrame1; break;
    case ControlId::kFrame3: surface = Surface::kFrame3; break;
    case ControlId::kOption1: surface = Surface::kOption1; break;
    case ControlId::kOption2: surface = Surface::kOption2; break;
    case ControlId::kText1: return 0;  // a disabled box keeps the system's look
    default: break;
  }
  ::SetBkColor(dc, SurfaceColour(surface));
  if (skinApplied_ && skin_.text && surface != Surface::kWindow && skin_.allControls && skin_.frames) {
    ::SetTextColor(dc, *skin_.text);
  }
  return reinterpret_cast<LRESULT>(SurfaceBrush(surface));
}

void Win32MainWindow::OnEraseBackground(HDC dc) {
  RECT client;
  ::GetClientRect(window_, &client);
  ::FillRect(dc, &client, SurfaceBrush(Surface::kWindow));
}

void Win32MainWindow::OnApplySkin(const SkinColours& colours) {
  skin_ = colours;
  skinApplied_ = true;
  ::InvalidateRect(window_, nullptr, TRUE);
  for (HWND control : controls_) ::InvalidateRect(control, nullptr, TRUE);
}

void Win32MainWindow::TellUnhandledFailure(const std::wstring& description) noexcept {
  const std::wstring title = form_ ? form_->applicationTitle() : L"";
  ::MessageBoxW(window_, description.c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION | MB_APPLMODAL);
}

}  // namespace pellacore::win32
