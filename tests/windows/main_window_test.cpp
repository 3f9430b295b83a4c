// The real program, started as a user starts it and driven from outside
// through its window.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "app/main_window_layout.h"
#include "tests/windows/program_folder_fixture.h"
#include "tools/harness/harness.h"
#include "win32/unique_resource.h"

namespace pellacore {
namespace {

using namespace harness;
using testing::kSettingsKey;
using testing::RunningProgramTest;
using testing::StoredSetting;

std::wstring DesktopFolder() {
  wchar_t path[MAX_PATH] = {};
  LPITEMIDLIST items = nullptr;
  ::SHGetSpecialFolderLocation(nullptr, 0, &items);
  ::SHGetPathFromIDListW(items, path);
  ::CoTaskMemFree(items);
  return std::wstring(path) + L"\\";
}

TEST_F(RunningProgramTest, TheWindowShowsEveryControlAtItsDesignedPlaceAt96Dpi) {
  Start();
  ASSERT_NE(window, nullptr);
  const SIZE client = ClientSizeOf(window);
  EXPECT_EQ(client.cx, 536);
  EXPECT_EQ(client.cy, 446);

  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  RECT frame;
  ::GetWindowRect(window, &frame);
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  EXPECT_LE(std::abs((frame.left + frame.right) / 2 - screenWidth / 2), 1);

  // The controls, in tab order, with their classes, captions and places.
  const std::vector<HWND> children = Children(window);
  ASSERT_EQ(children.size(), kMainWindowDesign.size());
  const wchar_t* classes[] = {L"SysListView32", L"Static", L"PellacoreProgressBar", L"Button",
                              L"Button", L"Button", L"Button", L"Button", L"Button", L"Button",
                              L"Edit", L"Button", L"Button", L"Button"};
  for (std::size_t i = 0; i < children.size(); ++i) {
    const ControlDesign& design = kMainWindowDesign[i];
    SCOPED_TRACE(std::string(design.name.begin(), design.name.end()));
    EXPECT_EQ(_wcsicmp(ClassOf(children[i]).c_str(), classes[i]), 0) << ClassOf(children[i]).size();
    if (design.kind != ControlKind::kTextBox) {
      EXPECT_EQ(TextOf(children[i]), design.caption);
    }
    const TwipsRect place = PlaceInWindow(design.id);
    const RECT rect = PlaceOf(children[i]);
    EXPECT_EQ(rect.left, TwipsToPixels(place.left, 96));
    EXPECT_EQ(rect.top, TwipsToPixels(place.top, 96));
    EXPECT_EQ(rect.right - rect.left, TwipsToPixels(place.width, 96));
    EXPECT_EQ(rect.bottom - rect.top, TwipsToPixels(place.height, 96));
  }

  RemoteControls remote(program->id());
  HWND list = children[0];
  EXPECT_EQ(remote.ColumnText(list, 0), L"DWG File(s)");
  EXPECT_EQ(remote.ColumnWidth(list, 0), 467);
  EXPECT_EQ(remote.ItemCount(list), 0);
}

TEST_F(RunningProgramTest, AFirstStartStoresTheDesktopAndSelectsTheFolderOption) {
  Start();
  ASSERT_NE(window, nullptr);
  const std::vector<HWND> children = Children(window);
  HWND text1 = children[static_cast<std::size_t>(ControlId::kText1)];
  EXPECT_EQ(TextOf(text1), DesktopFolder());
  EXPECT_EQ(StoredSetting(L"Location"), DesktopFolder());
  EXPECT_EQ(::SendMessageW(children[static_cast<std::size_t>(ControlId::kOption1)], BM_GETCHECK, 0, 0),
            BST_CHECKED);
  EXPECT_EQ(::SendMessageW(children[static_cast<std::size_t>(ControlId::kOption2)], BM_GETCHECK, 0, 0),
            BST_UNCHECKED);
  EXPECT_TRUE(::IsWindowEnabled(children[static_cast<std::size_t>(ControlId::kFrame3)]));
  EXPECT_TRUE(::IsWindowEnabled(text1));
}

TEST_F(RunningProgramTest, TheListExplainsItselfInItsTooltip) {
  Start();
  ASSERT_NE(window, nullptr);
  HWND tooltip = WaitForTopWindow(program->id(), L"tooltips_class32", L"", milliseconds(0));
  if (!tooltip) {
    // A tooltip window is never visible until it shows: look for it by owner.
    for (HWND top = ::GetTopWindow(nullptr); top; top = ::GetWindow(top, GW_HWNDNEXT)) {
      if (ClassOf(top) == L"tooltips_class32" && ::GetWindow(top, GW_OWNER) == window) tooltip = top;
    }
  }
  ASSERT_NE(tooltip, nullptr);
  RemoteControls remote(program->id());
  EXPECT_EQ(remote.ToolText(tooltip, window, Children(window)[0]),
            L"Drag and drop files here. Double-click item to remove it. Move | line to right and out "
            L"of window to reveal full names.");
}

TEST_F(RunningProgramTest, TheOptionsAndTheFolderAreSavedAndSurviveARestart) {
  Start();
  ASSERT_NE(window, nullptr);
  std::vector<HWND> children = Children(window);
  PostClick(children[static_cast<std::size_t>(ControlId::kOption2)]);
  ASSERT_TRUE(WaitUntil([] { return StoredSetting(L"Option2") == L"True"; }));
  EXPECT_EQ(StoredSetting(L"Option1"), L"False");
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(children[static_cast<std::size_t>(ControlId::kText1)]); }));

  const std::wstring typed = L"D:\\Plans\\Out\\";
  ::SendMessageW(children[static_cast<std::size_t>(ControlId::kText1)], WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(typed.c_str()));
  EXPECT_EQ(StoredSetting(L"Location"), typed);

  ::PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program->WaitForExit());
  Start();
  ASSERT_NE(window, nullptr);
  children = Children(window);
  EXPECT_EQ(TextOf(children[static_cast<std::size_t>(ControlId::kText1)]), typed);
  EXPECT_EQ(::SendMessageW(children[static_cast<std::size_t>(ControlId::kOption2)], BM_GETCHECK, 0, 0),
            BST_CHECKED);
  EXPECT_FALSE(::IsWindowEnabled(children[static_cast<std::size_t>(ControlId::kFrame3)]));
}

TEST_F(RunningProgramTest, ClosingTheWindowEndsTheProgram) {
  Start();
  ASSERT_NE(window, nullptr);
  PostClick(Children(window)[static_cast<std::size_t>(ControlId::kPushButton4)]);  // Clear List, empty
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program->WaitForExit());
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(program->handle(), &code);
  EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace pellacore
