// The real main window in this process, with a Form1 behind it: the job
// list's editing through real mouse and key messages, fonts and pointers.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/doubles/memory_settings_store.h"
#include "tests/windows/program_folder_fixture.h"
#include "win32/application.h"

namespace pellacore {
namespace {

class MainWindowInProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring built = testing::WindowsPathOf(PELLACORE_EXE_DIR) + L"\\";
    for (const wchar_t* file : {L"HAND-M.CUR", L"drag.ico"}) {
      ::CopyFileW((built + file).c_str(), (programFolder.path() + file).c_str(), FALSE);
    }
    application.Start(SW_SHOWNORMAL);
    pump.HandlePending();
  }

  HWND Control(ControlId id) const { return harness::Children(window.handle())[static_cast<std::size_t>(id)]; }
  HWND List() const { return Control(ControlId::kListView1); }

  void Fill(std::initializer_list<const wchar_t*> paths) {
    for (const wchar_t* path : paths) form.jobList().Add(path);
    pump.HandlePending();
  }

  std::vector<std::wstring> Shown() {
    std::vector<std::wstring> items;
    const int count = ListView_GetItemCount(List());
    for (int i = 0; i < count; ++i) {
      wchar_t text[MAX_PATH] = {};
      ListView_GetItemText(List(), i, 0, text, MAX_PATH);
      items.push_back(text);
    }
    return items;
  }

  int ShownSelection() { return ListView_GetNextItem(List(), -1, LVNI_SELECTED); }

  LPARAM RowPoint(int row) {
    RECT rect{};
    ListView_GetItemRect(List(), row - 1, &rect, LVIR_BOUNDS);
    return MAKELPARAM(20, (rect.top + rect.bottom) / 2);
  }

  void Post(UINT message, WPARAM keys, LPARAM point) {
    ::PostMessageW(List(), message, keys, point);
    pump.HandlePending();
  }

  testing::ScratchFolder programFolder;
  testing::MemorySettingsStore settings;
  win32::Application application{::GetModuleHandleW(nullptr), settings,
                                 programFolder.path().substr(0, programFolder.path().size() - 1)};
  Form1& form = application.form();
  win32::Win32MainWindow& window = application.window();
  win32::Win32EventPump& pump = application.pump();
};

using Paths = std::vector<std::wstring>;

TEST_F(MainWindowInProcessTest, TheListShowsTheModelWithoutACopy) {
  Fill({L"C:\\Dwg\\A.dwg", L"C:\\Dwg\\B.dwg"});
  EXPECT_EQ(Shown(), (Paths{L"C:\\Dwg\\A.dwg", L"C:\\Dwg\\B.dwg"}));
  form.jobList().SetText(2, L"C:\\Dwg\\C.dwg");
  EXPECT_EQ(Shown()[1], L"C:\\Dwg\\C.dwg");
}

TEST_F(MainWindowInProcessTest, DraggingEntry2DownOverEntries3To5WithRealMouseMessages) {
  Fill({L"A", L"B", L"C", L"D", L"E"});
  Post(WM_LBUTTONDOWN, MK_LBUTTON, RowPoint(2));
  EXPECT_TRUE(form.DragActive());
  EXPECT_EQ(form.DragItem(), 2u);
  for (int row : {3, 4, 5}) Post(WM_MOUSEMOVE, MK_LBUTTON, RowPoint(row));
  Post(WM_LBUTTONUP, 0, RowPoint(5));
  EXPECT_FALSE(form.DragActive());
  EXPECT_EQ(Shown(), (Paths{L"A", L"C", L"D", L"E", L"B"}));
  EXPECT_EQ(ShownSelection(), 4);
  EXPECT_EQ(form.jobList().Selected(), 5u);
}

TEST_F(MainWindowInProcessTest, DeleteDoubleClickAndClearListEditTheList) {
  Fill({L"A", L"B", L"C", L"D"});
  Post(WM_LBUTTONDOWN, MK_LBUTTON, RowPoint(2));
  Post(WM_LBUTTONUP, 0, RowPoint(2));
  EXPECT_EQ(ShownSelection(), 1);
  Post(WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(Shown(), (Paths{L"A", L"C", L"D"}));
  EXPECT_EQ(ShownSelection(), -1);

  // A double-click below the entries removes the selected entry.
  Post(WM_LBUTTONDOWN, MK_LBUTTON, RowPoint(3));
  Post(WM_LBUTTONUP, 0, RowPoint(3));
  RECT client;
  ::GetClientRect(List(), &client);
  Post(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, client.bottom - 4));
  Post(WM_LBUTTONUP, 0, MAKELPARAM(20, client.bottom - 4));
  EXPECT_EQ(Shown(), (Paths{L"A", L"C"}));

  ::SendMessageW(Control(ControlId::kPushButton4), BM_CLICK, 0, 0);
  pump.HandlePending();
  EXPECT_EQ(Shown(), Paths{});
}

TEST_F(MainWindowInProcessTest, TheKeyboardSelectionReachesTheModel) {
  Fill({L"A", L"B", L"C"});
  ::SetFocus(List());
  Post(WM_LBUTTONDOWN, MK_LBUTTON, RowPoint(1));
  Post(WM_LBUTTONUP, 0, RowPoint(1));
  Post(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(form.jobList().Selected(), 2u);
}

TEST_F(MainWindowInProcessTest, EachRowShowsItsResultBesideItsPathAndInItsInfoTip) {
  Fill({L"C:\\Dwg\\A.dwg", L"C:\\Dwg\\B.dwg"});
  const std::wstring failed = L"failed at step 116: Cannot open C:\\Dwg\\B.dwg";
  form.jobList().SetResult(2, failed);
  auto cell = [&](int row, int column) {
    wchar_t text[INFOTIPSIZE] = {};
    ListView_GetItemText(List(), row, column, text, INFOTIPSIZE);
    return std::wstring(text);
  };
  EXPECT_EQ(cell(0, 1), L"");
  EXPECT_EQ(cell(1, 0), L"C:\\Dwg\\B.dwg");
  EXPECT_EQ(cell(1, 1), failed);
  EXPECT_TRUE(ListView_GetExtendedListViewStyle(List()) & LVS_EX_INFOTIP);

  // The list's request for a row's info tip, as the list view sends it: a
  // clipped row comes with its whole text, a row shown whole without.
  auto infoTip = [&](int row, DWORD flags, const std::wstring& given) {
    std::wstring buffer = given;
    buffer.resize(INFOTIPSIZE);
    NMLVGETINFOTIPW tip{};
    tip.hdr.hwndFrom = List();
    tip.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(List()));
    tip.hdr.code = LVN_GETINFOTIPW;
    tip.dwFlags = flags;
    tip.pszText = buffer.data();
    tip.cchTextMax = INFOTIPSIZE;
    tip.iItem = row;
    ::SendMessageW(window.handle(), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
    return std::wstring(buffer.c_str());
  };
  EXPECT_EQ(infoTip(1, 0, L"C:\\Dwg\\B.dwg"), L"C:\\Dwg\\B.dwg\r\n" + failed);
  EXPECT_EQ(infoTip(1, LVGIT_UNFOLDED, L""), failed);
  EXPECT_EQ(infoTip(0, 0, L"C:\\Dwg\\A.dwg"), L"C:\\Dwg\\A.dwg");
}

TEST_F(MainWindowInProcessTest, TheResultColumnFillsTheListSoALongListScrollsOnlyDownwards) {
  HWND header = ListView_GetHeader(List());
  ASSERT_EQ(Header_GetItemCount(header), 2);
  wchar_t caption[32] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT;
  item.pszText = caption;
  item.cchTextMax = 32;
  Header_GetItem(header, 1, &item);
  EXPECT_STREQ(caption, L"Result");
  EXPECT_EQ(ListView_GetColumnWidth(List(), 0), 467);
  EXPECT_GT(ListView_GetColumnWidth(List(), 1), 0);

  for (int i = 0; i < 100; ++i) form.jobList().Add(L"C:\\Dwg\\" + std::to_wstring(i) + L".dwg");
  pump.HandlePending();
  const LONG_PTR style = ::GetWindowLongPtrW(List(), GWL_STYLE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_FALSE(style & WS_HSCROLL);
  RECT client{};
  ::GetClientRect(List(), &client);
  EXPECT_LE(ListView_GetColumnWidth(List(), 0) + ListView_GetColumnWidth(List(), 1), client.right);
}

TEST_F(MainWindowInProcessTest, ThePointerFollowsTheControlsUnderIt) {
  const LPARAM moving = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  ::SendMessageW(window.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Control(ControlId::kPushButton2)), moving);
  EXPECT_EQ(form.MousePointer(), pointer_code::kCustom);
  const HCURSOR hand = ::GetCursor();
  EXPECT_NE(hand, ::LoadCursorW(nullptr, IDC_ARROW));
  ::SendMessageW(window.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Control(ControlId::kText1)), moving);
  EXPECT_EQ(form.MousePointer(), pointer_code::kDefault);
  form.SetMousePointer(pointer_code::kHourglass);
  ::SendMessageW(window.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Control(ControlId::kPushButton1)), moving);
  EXPECT_EQ(form.MousePointer(), pointer_code::kHourglass);
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_WAIT));
}

// The program sets the pointer (a run's hourglass, its end) while the mouse
// rests: the shape under the mouse changes then, not at its next move.
TEST_F(MainWindowInProcessTest, ThePointerSetByTheProgramShowsAtOnceUnderTheMouse) {
  RECT button{};
  ::GetWindowRect(Control(ControlId::kPushButton2), &button);
  ASSERT_TRUE(::SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2));
  pump.HandlePending();
  const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);

  ::SetCursor(arrow);
  form.SetMousePointer(pointer_code::kHourglass);
  EXPECT_EQ(::GetCursor(), wait);
  form.SetMousePointer(pointer_code::kDefault);
  EXPECT_EQ(::GetCursor(), arrow);  // the button's own
  form.SetMousePointer(pointer_code::kCustom);
  EXPECT_NE(::GetCursor(), arrow);
  EXPECT_NE(::GetCursor(), wait);

  // Away from the window the program's pointer is none of the mouse's business.
  RECT frame{};
  ::GetWindowRect(window.handle(), &frame);
  ASSERT_TRUE(::SetCursorPos(frame.right + 20, frame.bottom + 20));
  pump.HandlePending();
  ::SetCursor(arrow);
  form.SetMousePointer(pointer_code::kHourglass);
  EXPECT_EQ(::GetCursor(), arrow);
  form.SetMousePointer(pointer_code::kDefault);
}

// On a DPI change each control takes its new font while the one it had
// still exists; the old fonts go afterwards.
TEST_F(MainWindowInProcessTest, ADpiChangeGivesEveryControlItsNewFontBeforeTheOldFontsGo) {
  auto fontOf = [](HWND control) { return reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)); };
  struct Watch {
    std::vector<HWND> controls;
    int fontsTaken = 0;
    bool everyFontLive = true;
  } watch{harness::Children(window.handle())};
  const HFONT oldFont = fontOf(Control(ControlId::kOption1));
  const HFONT oldButtonFont = fontOf(Control(ControlId::kPushButton1));
  auto watchFonts = [](HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                       DWORD_PTR data) -> LRESULT {
    auto* seen = reinterpret_cast<Watch*>(data);
    if (message == WM_SETFONT) {
      ++seen->fontsTaken;
      for (HWND control : seen->controls) {
        const HFONT held = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
        if (held && ::GetObjectType(held) == 0) seen->everyFontLive = false;
      }
    }
    return ::DefSubclassProc(list, message, wParam, lParam);
  };
  ::SetWindowSubclass(List(), watchFonts, 77, reinterpret_cast<DWORD_PTR>(&watch));
  RECT frame{};
  ::GetWindowRect(window.handle(), &frame);
  ::SendMessageW(window.handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&frame));
  ::RemoveWindowSubclass(List(), watchFonts, 77);

  EXPECT_GT(watch.fontsTaken, 0);
  EXPECT_TRUE(watch.everyFontLive) << "a control held a deleted font";
  LOGFONTW font{};
  ::GetObjectW(fontOf(Control(ControlId::kOption1)), sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, -18);  // 9 pt at 144 DPI
  EXPECT_EQ(::GetObjectType(oldFont), 0u);
  EXPECT_EQ(::GetObjectType(oldButtonFont), 0u);
}

TEST_F(MainWindowInProcessTest, ControlsUseArialBoldInTheCyrillicCharacterSet) {
  auto fontOf = [](HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
  };
  const LOGFONTW option = fontOf(Control(ControlId::kOption1));
  EXPECT_STREQ(option.lfFaceName, L"Arial");
  EXPECT_EQ(option.lfWeight, FW_BOLD);
  EXPECT_EQ(option.lfCharSet, 204);
  EXPECT_EQ(option.lfHeight, -12);  // 9 pt at 96 DPI
  const LOGFONTW button = fontOf(Control(ControlId::kPushButton1));
  EXPECT_EQ(button.lfWeight, FW_BOLD);
  EXPECT_EQ(button.lfHeight, -15);  // 11.25 pt
}

TEST_F(MainWindowInProcessTest, TheSkinFileStylesTheWindow) {
  ::CreateDirectoryW((programFolder.path() + L"x").c_str(), nullptr);
  programFolder.MakeFile(L"x\\o.cjs");
  HANDLE file = ::CreateFileW((programFolder.path() + L"x\\o.cjs").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  const char skinText[] = "; test skin\r\nFace=#102030\r\nText=#FFFFFF\r\nButton=#203040\r\n";
  DWORD written = 0;
  ::WriteFile(file, skinText, sizeof(skinText) - 1, &written, nullptr);
  ::CloseHandle(file);
  form.Form_Load();
  HDC dc = ::GetDC(window.handle());
  const auto brush = reinterpret_cast<HBRUSH>(
      ::SendMessageW(window.handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(Control(ControlId::kFrame1))));
  LOGBRUSH colour{};
  ::GetObjectW(brush, sizeof(colour), &colour);
  ::ReleaseDC(window.handle(), dc);
  EXPECT_EQ(colour.lbColor, RGB(0x10, 0x20, 0x30));
}

}  // namespace
}  // namespace pellacore
