// Message boxes and the error report, read back from the real box by a
// second thread, as a user would see them.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <thread>

#include "util/error_report.h"
#include "util/failure.h"
#include "win32/fatal_failure.h"
#include "win32/win32_message_boxes.h"

namespace pellacore {
namespace {

struct SeenBox {
  bool found = false;
  std::wstring title;
  std::wstring text;
  bool hasOk = false, hasCancel = false, hasYes = false, hasNo = false;
  bool exclamationIcon = false;
  HWND owner = nullptr;
  bool ownerEnabled = true;
};

bool HasExclamationIcon(HWND box) {
  const HICON expected = ::LoadIconW(nullptr, IDI_EXCLAMATION);
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
    if (reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0)) == expected) return true;
  }
  return false;
}

HWND FindBoxOfThisProcess() {
  struct Search {
    HWND box = nullptr;
  } search;
  ::EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        wchar_t className[32] = {};
        ::GetClassNameW(window, className, 32);
        if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
            std::wstring(className) == L"#32770") {
          reinterpret_cast<Search*>(context)->box = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.box;
}

std::wstring TextOf(HWND window) {
  wchar_t text[2048] = {};
  ::GetWindowTextW(window, text, 2048);
  return text;
}

// Waits (bounded) for the box, records what it shows, then presses `button`.
std::thread AnswerTheBox(SeenBox& seen, int button, HWND owner) {
  return std::thread([&seen, button, owner] {
    HWND box = nullptr;
    for (int i = 0; i < 500 && !box; ++i) {
      box = FindBoxOfThisProcess();
      if (!box) ::Sleep(20);
    }
    if (!box) return;
    seen.found = true;
    seen.title = TextOf(box);
    seen.text = TextOf(::GetDlgItem(box, 0xFFFF));
    seen.hasOk = ::GetDlgItem(box, IDOK) != nullptr;
    seen.hasCancel = ::GetDlgItem(box, IDCANCEL) != nullptr;
    seen.hasYes = ::GetDlgItem(box, IDYES) != nullptr;
    seen.hasNo = ::GetDlgItem(box, IDNO) != nullptr;
    seen.exclamationIcon = HasExclamationIcon(box);
    seen.owner = ::GetWindow(box, GW_OWNER);
    if (owner) seen.ownerEnabled = ::IsWindowEnabled(owner);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, button)));
  });
}

class RealMessageBoxesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = ::CreateWindowExW(0, L"STATIC", L"Pellacore", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    boxes.SetOwner(owner);
  }
  void TearDown() override { ::DestroyWindow(owner); }

  HWND owner = nullptr;
  win32::Win32MessageBoxes boxes;
};

TEST_F(RealMessageBoxesTest, TheErrorReportShowsItsExactTextWithOkAndTheExclamationIcon) {
  SeenBox seen;
  std::thread user = AnswerTheBox(seen, IDOK, owner);
  ShowErrorReport(boxes, L"in Corvanta2021/08/31.Form1.Form_Load ", 136, L"Path not found");
  user.join();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.title, L"Application Error");
  EXPECT_EQ(seen.text,
            L"Path not found\r\nin Corvanta2021/08/31.Form1.Form_Load at line 136\r\r"
            L"Please email screenshot of this message to support@pellacore.com");
  EXPECT_TRUE(seen.hasOk);
  EXPECT_FALSE(seen.hasCancel);
  EXPECT_FALSE(seen.hasYes);
  EXPECT_FALSE(seen.hasNo);
  EXPECT_TRUE(seen.exclamationIcon);
}

TEST_F(RealMessageBoxesTest, BoxesAreModalToTheirOwner) {
  SeenBox seen;
  std::thread user = AnswerTheBox(seen, IDOK, owner);
  boxes.Show(L"No files added.", L"Pellacore", MessageButtons::kOk, MessageIcon::kNone);
  user.join();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.owner, owner);
  EXPECT_FALSE(seen.ownerEnabled);
  EXPECT_TRUE(::IsWindowEnabled(owner));
  EXPECT_FALSE(seen.exclamationIcon);
}

TEST_F(RealMessageBoxesTest, AYesNoQuestionAnswersWhatWasPressed) {
  for (const auto& [button, answer] : {std::pair{IDYES, MessageAnswer::kYes},
                                       std::pair{IDNO, MessageAnswer::kNo}}) {
    SeenBox seen;
    std::thread user = AnswerTheBox(seen, button, owner);
    const MessageAnswer got =
        boxes.Show(L"Open the folder?", L"Pellacore", MessageButtons::kYesNo, MessageIcon::kQuestion);
    user.join();
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.hasYes);
    EXPECT_TRUE(seen.hasNo);
    EXPECT_FALSE(seen.hasOk);
    EXPECT_EQ(got, answer);
  }
}

// A failure that nothing handled ends the program with a box saying what it
// was, under the application's title, or the product's name before the
// title is known; the exit code says the program did not end well.
TEST(FatalFailureTest, EveryKindOfFailureIsToldUnderTheTitleKnownSoFar) {
  struct Case {
    std::function<void()> raise;
    std::wstring title, shownTitle, text;
  };
  const Case cases[] = {
      {[] { throw Failure(5, L"Invalid procedure call or argument"); }, L"Drawing PDF", L"Drawing PDF",
       L"Invalid procedure call or argument"},
      {[] { throw std::runtime_error("vector::reserve"); }, L"", L"Pellacore", L"vector::reserve"},
      {[] { throw 42; }, L"", L"Pellacore", L"Unexpected failure"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SeenBox seen;
    std::thread user = AnswerTheBox(seen, IDOK, nullptr);
    int code = 0;
    try {
      c.raise();
    } catch (...) {
      code = win32::TellFatalFailure(c.title);
    }
    user.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, c.shownTitle);
    EXPECT_EQ(seen.text, c.text);
    EXPECT_TRUE(seen.hasOk);
    EXPECT_NE(code, 0);
  }
}

}  // namespace
}  // namespace pellacore
