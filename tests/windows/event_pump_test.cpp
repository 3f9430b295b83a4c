// Yielding to the real message loop.

#include <windows.h>

#include <gtest/gtest.h>

#include "win32/win32_event_pump.h"

namespace pellacore {
namespace {

int g_delivered = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) {
    ++g_delivered;
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

class RealEventPumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.lpszClassName = L"PellacoreCountingWindow";
    ::RegisterClassW(&windowClass);
    window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    g_delivered = 0;
  }
  void TearDown() override { ::DestroyWindow(window); }

  HWND window = nullptr;
  win32::Win32EventPump pump;
};

TEST_F(RealEventPumpTest, YieldDeliversEveryWaitingMessage) {
  ::PostMessageW(window, WM_APP, 0, 0);
  ::PostMessageW(window, WM_APP, 0, 0);
  pump.HandlePending();
  EXPECT_EQ(g_delivered, 2);
  pump.HandlePending();
  EXPECT_EQ(g_delivered, 2);
}

TEST_F(RealEventPumpTest, AQuitRequestStaysForTheMessageLoop) {
  ::PostQuitMessage(7);
  pump.HandlePending();
  MSG message;
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace pellacore
