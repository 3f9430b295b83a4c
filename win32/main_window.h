#pragma once
// The main window: creates the designed controls, forwards every event to
// Form1 and shows what Form1 sets. No rule of the program lives here.
//   main_window.cpp         creation, layout by DPI, the MainWindow port
//   main_window_events.cpp  the window procedure and event forwarding
//   job_list_control.cpp    the virtual list view: JobListView, JobListObserver

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_layout.h"
#include "util/failure.h"
#include "util/text.h"
#include "joblist/job_list.h"
#include "platform/job_list_view.h"
#include "platform/main_window.h"
#include "win32/file_drop_target.h"
#include "win32/gdi_resource.h"
#include "win32/skin_component.h"
#include "win32/taskbar_button.h"

namespace pellacore {
class Form1;
}

namespace pellacore::win32 {

// The main window's class: a later start finds a running one by it.
inline constexpr wchar_t kMainWindowClass[] = L"PellacoreMainWindow";

class Win32MainWindow final : public MainWindow, public JobListView, public JobListObserver {
 public:
  explicit Win32MainWindow(HINSTANCE instance);
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;
  ~Win32MainWindow() override;

  // Creates the window, hidden, with its controls, forwarding to `form` and
  // showing its job list.
  void Create(Form1& form);
  void Show(int showCommand);
  // Destroys the window while Form1 still lives; Form1 hears nothing more
  // from it. The destructor does the same.
  void Destroy();
  HWND handle() const { return window_; }

  // MainWindow
  void SetCaption(const std::wstring& caption) override;
  void SetApplicationIcon() override;
  void SetBackdrop(Surface surface, Backdrop backdrop) override;
  std::int32_t Handle32() override;
  void ShowPointer(int code) override;
  void LoadCustomPointer(const std::wstring& cursorFile) override;
  void ShowText1(const std::wstring& text) override;
  void ShowOption(int option, bool selected) override;
  void EnableFrame3(bool enabled) override;
  void ShowProgress(double percent) override;
  void ShowProgressText(const std::wstring& text) override;
  void ShowRunOnTaskbar(std::optional<double> percentDone, bool failures) override;
  void FlashUnlessActive() override;
  void EnableStop(bool enabled) override;
  void ShowUnattended(bool chosen) override;
  void ShowKeepAutoCadOpen(bool chosen) override;
  void ShowPdfRoute(bool plotter) override;
  void ShowPlotChoices(const std::vector<std::wstring>& offered, const std::wstring& media,
                       bool monochrome) override;
  void EndProgram() override;

  // JobListView
  void AddColumn(const std::wstring& header) override;
  void SetColumnWidthTwips(int twips) override;
  void FitLastColumn() override;
  std::optional<std::size_t> HitTest(int x, int y) override;
  void EnsureVisible(std::size_t index) override;
  bool ShowPicturePointer(const std::wstring& iconFile) override;
  void ShowArrowPointer() override;
  int PointerScreenY() override;

  // JobListObserver
  void EntriesAppended(std::size_t newCount) override;
  void EntryChanged(std::size_t index) override;
  void AllEntriesChanged() override;
  void EntriesRemoved(std::size_t newCount) override;
  void SelectionChanged(std::optional<std::size_t> selected) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR self) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleListMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Runs an event procedure of Form1. Nothing is thrown out of a window
  // procedure: a failure the procedure did not handle itself is told here.
  template <class Action>
  void Forward(Action&& action) noexcept;
  void TellUnhandledFailure(const std::wstring& description) noexcept;

  void CreateControls();
  // Places and sizes everything for `dpi`: centred on the screen, or at the
  // place the system suggests when the window moved to a monitor of another DPI.
  void ApplyLayout(int dpi, const RECT* suggested = nullptr);
  // Gives every control its font for `dpi`, then lets the old fonts go.
  void SwapFonts(int dpi);
  HWND Control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }
  std::optional<ControlId> ControlOf(HWND control) const;

  void OnCommand(ControlId id, WORD code);
  // A menu command, or Esc (the dialog keys' Cancel).
  void OnMenuCommand(WORD command);
  LRESULT OnNotify(const NMHDR& header);
  bool OnSetCursor(HWND over, UINT mouseMessage);
  void ForwardMouseMove(HWND over);
  LRESULT OnControlColour(HDC dc, HWND control);
  void OnEraseBackground(HDC dc);
  void OnApplySkin(const SkinColours& colours);
  COLORREF SurfaceColour(Surface surface) const;
  HBRUSH SurfaceBrush(Surface surface);
  HBRUSH BrushFor(COLORREF colour);
  LRESULT DrawSkinnedButton(const NMCUSTOMDRAW& draw);

  // The list view's item count follows the job list lazily: appends are
  // many, so the count is set once the current event has run.
  void SyncItemCount();
  static constexpr UINT kSyncItemCountMessage = WM_APP + 1;

  // A drop is added once the source has its answer: the paths wait here,
  // oldest first, each for one posted message. Paths a later start of the
  // program handed over wait with them and are added as the command line's.
  void TakeDrop(std::vector<std::wstring> paths, bool handedOver = false);
  void AddOldestDrop();
  static constexpr UINT kAddDropMessage = WM_APP + 2;

  HINSTANCE instance_;
  Form1* form_ = nullptr;
  HWND window_ = nullptr;
  std::array<HWND, kMainWindowDesign.size()> controls_{};
  HWND tooltip_ = nullptr;
  FileDropTarget* dropTarget_ = nullptr;  // COM-counted; registered on the list
  struct WaitingPaths {
    std::vector<std::wstring> paths;
    bool handedOver = false;
  };
  std::deque<WaitingPaths> waitingDrops_;
  TaskbarButton taskbar_;
  // The papers the Options menu lists, in the order of their commands.
  std::vector<std::wstring> plotMedia_;
  int dpi_ = 96;

  UniqueGdiObject font_;
  UniqueGdiObject buttonFont_;
  std::map<COLORREF, UniqueGdiObject> brushes_;
  std::map<Surface, Backdrop> backdrops_;
  SkinColours skin_;
  bool skinApplied_ = false;

  int pointerCode_ = 0;
  UniqueCursor customCursor_;
  UniqueIcon listPicture_;
  bool showListPicture_ = false;

  bool settingText1_ = false;
  bool syncingSelection_ = false;
  bool itemCountPending_ = false;
  int columnWidthTwips_ = 0;
  bool fitLastColumn_ = false;
};

template <class Action>
void Win32MainWindow::Forward(Action&& action) noexcept {
  try {
    action();
  } catch (const Failure& failure) {
    TellUnhandledFailure(failure.description());
  } catch (const std::exception& error) {
    TellUnhandledFailure(WidenAscii(error.what()));
  } catch (...) {
    TellUnhandledFailure(L"Unexpected failure");
  }
}

}  // namespace pellacore::win32
