// The switches that make the stand-in fail a batch run the ways a real
// AutoCAD does, driven from another process: a call that never returns, a
// modal question inside a call, a slow start and slow members, and drawings
// with unsaved changes that are asked about before they go.

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "tools/harness/harness.h"
#include "tools/standin-autocad/tests/call_watch.h"
#include "tools/standin-autocad/tests/cross_process_fixture.h"
#include "win32/unique_resource.h"

namespace pellacore::standin::testing {
namespace {

using std::chrono::milliseconds;

using FailureSwitches = CrossProcess;

std::size_t IndexOf(const std::vector<std::wstring>& lines, const std::wstring& line) {
  return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

long Count(IDispatch* documents) {
  const auto count = Invoke(documents, L"Count", kGet);
  return count->result == S_OK ? (*count->value).lVal : -1;
}

TEST_F(FailureSwitches, HangInBlocksTheCallUntilTheServerIsEnded) {
  config_.Set(L"HangIn", L"Open");
  const std::wstring drawing = MakeDrawing(L"hang.dwg");
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  const HWND window = WindowOf(application.get());
  bool windowAnswered = true;
  constexpr milliseconds kWaited{2000};
  CallWatchPlan plan;
  plan.deadline = kWaited;
  plan.atDeadline = [&] {
    // The hung thread answers nothing, its window included.
    DWORD_PTR answer = 0;
    windowAnswered =
        ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 500, &answer) != 0;
  };
  CallWatch watch(window, std::move(plan));
  const auto before = std::chrono::steady_clock::now();
  const auto open = Open(application.get(), drawing);
  const long long took = MillisecondsSince(before);
  watch.Returned();
  EXPECT_TRUE(watch.endedServer()) << "the call returned after " << took << " ms";
  EXPECT_GE(took, kWaited.count());
  EXPECT_FALSE(windowAnswered);
  // Once the server is ended, the call fails as into a dead server.
  std::printf("  a call hung in the server failed with %ls once the server was ended\n", Hex(open->result).c_str());
  EXPECT_TRUE(IsDeadServerCode(open->result)) << Hex(open->result);
  const auto later = Invoke(application.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)});
  std::printf("  a later call on the ended server failed with %ls\n", Hex(later->result).c_str());
  EXPECT_TRUE(IsDeadServerCode(later->result)) << Hex(later->result);
  const std::vector<std::wstring> lines = ReadLogLines(log_);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], L"Documents.Open call (VT_BSTR|VT_BYREF " + drawing + L")");
  EXPECT_EQ(lines.back(), L"server hang in Open");
  EXPECT_TRUE(WaitForNoServer());
  // The ended instance is no longer listed.
  HRESULT found = S_OK;
  EXPECT_FALSE(Running(&found));
  EXPECT_EQ(found, MK_E_UNAVAILABLE) << Hex(found);
}

TEST_F(FailureSwitches, DialogInShowsAModalQuestionAndTheCallWaitsForTheAnswer) {
  config_.Set(L"DialogIn", L"open");
  const std::wstring drawing = MakeDrawing(L"fonts.dwg");
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  const HWND window = WindowOf(application.get());
  HRESULT busy = S_OK;
  CallWatchPlan plan = Answering({IDOK});
  plan.whileBoxOpen = [&] {
    // Another client meanwhile finds the instance busy.
    HRESULT found = E_FAIL;
    ComPtr<IDispatch> other = Running(&found);
    busy = other ? Invoke(other.get(), L"WindowState", kGet)->result : found;
  };
  CallWatch watch(window, std::move(plan));
  const auto open = Open(application.get(), drawing);
  const std::vector<SeenBox> boxes = watch.Returned();
  EXPECT_FALSE(watch.endedServer());
  EXPECT_EQ(open->result, S_OK) << Hex(open->result);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].process, ProcessOfWindow(window));
  EXPECT_EQ(boxes[0].caption, L"AutoCAD");
  EXPECT_NE(boxes[0].text.find(L"missing"), std::wstring::npos) << boxes[0].text;
  EXPECT_EQ(boxes[0].buttons, std::vector<int>{IDOK});
  EXPECT_TRUE(boxes[0].callWaiting);
  EXPECT_EQ(busy, RPC_E_CALL_REJECTED) << Hex(busy);
  // Answered, the call carried on: the drawing is open.
  EXPECT_EQ(Count(Get(application.get(), L"Documents").get()), 1);
  const std::vector<std::wstring> lines = ReadLogLines(log_);
  const std::size_t call = IndexOf(lines, L"Documents.Open call (VT_BSTR|VT_BYREF " + drawing + L")");
  ASSERT_LT(call + 1, lines.size());
  EXPECT_EQ(lines[call + 1], L"dialog shown in Open");
  EXPECT_LT(IndexOf(lines, L"Application.WindowState rejected"), lines.size());
  EXPECT_EQ(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  EXPECT_TRUE(WaitForNoServer());
}

TEST_F(FailureSwitches, StartDelayMsMakesCreationTakeThatLong) {
  constexpr long long kDelayMs = 2500;
  config_.Set(L"StartDelayMs", std::to_wstring(kDelayMs));
  const auto before = std::chrono::steady_clock::now();
  ComPtr<IDispatch> application = Create();
  const long long took = MillisecondsSince(before);
  ASSERT_TRUE(application);
  std::printf("  creation with StartDelayMs %lld took %lld ms\n", kDelayMs, took);
  EXPECT_GE(took, kDelayMs);
  EXPECT_EQ(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  EXPECT_TRUE(WaitForNoServer());
}

TEST_F(FailureSwitches, DelayMsSlowsTheMembersItNames) {
  constexpr long long kOpenMs = 1200;
  constexpr long long kEveryMs = 400;
  config_.Set(L"DelayMs", L"Open=" + std::to_wstring(kOpenMs));
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(Invoke(application.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)})->result, S_OK);
  const long long other = MillisecondsSince(before);
  EXPECT_LT(other, kOpenMs);
  before = std::chrono::steady_clock::now();
  EXPECT_EQ(Open(application.get(), MakeDrawing(L"slow.dwg"))->result, S_OK);
  const long long open = MillisecondsSince(before);
  EXPECT_GE(open, kOpenMs);
  // Read afresh: now every member.
  config_.Set(L"DelayMs", std::to_wstring(kEveryMs));
  before = std::chrono::steady_clock::now();
  EXPECT_EQ(Invoke(application.get(), L"Visible", kGet)->result, S_OK);
  const long long every = MillisecondsSince(before);
  EXPECT_GE(every, kEveryMs);
  std::printf("  WindowState %lld ms, Open %lld ms (Open=%lld), Visible %lld ms (%lld)\n", other, open, kOpenMs,
              every, kEveryMs);
  config_.Set(L"DelayMs", L"");
  EXPECT_EQ(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  EXPECT_TRUE(WaitForNoServer());
}

TEST_F(FailureSwitches, ModifiedDrawingsAreAskedAboutBeforeTheyGo) {
  config_.Set(L"ModifiedOnOpen", L"1");
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  const HWND window = WindowOf(application.get());
  ComPtr<IDispatch> documents = Get(application.get(), L"Documents");
  const auto openDocument = [&](const wchar_t* name) {
    const auto opened = Open(application.get(), MakeDrawing(name));
    EXPECT_EQ(opened->result, S_OK) << Hex(opened->result);
    return opened->Object();
  };
  const std::vector<int> yesNoCancel = {IDCANCEL, IDYES, IDNO};

  ComPtr<IDispatch> first = openDocument(L"first.dwg");
  {
    // Close() asks; Cancel keeps the drawing open.
    CallWatch watch(window, Answering({IDCANCEL}));
    const auto close = Invoke(first.get(), L"Close", DISPATCH_METHOD);
    const std::vector<SeenBox> boxes = watch.Returned();
    EXPECT_EQ(close->result, DISP_E_EXCEPTION) << Hex(close->result);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"AutoCAD");
    EXPECT_EQ(boxes[0].text, L"Save changes to first.dwg?");
    EXPECT_EQ(boxes[0].buttons, yesNoCancel);
    EXPECT_TRUE(boxes[0].callWaiting);
    EXPECT_EQ(Count(documents.get()), 1);
  }
  {
    // Answered No: closed, the changes dropped.
    CallWatch watch(window, Answering({IDNO}));
    EXPECT_EQ(Invoke(first.get(), L"Close", DISPATCH_METHOD)->result, S_OK);
    EXPECT_EQ(watch.Returned().size(), 1u);
    EXPECT_EQ(Count(documents.get()), 0);
  }
  ComPtr<IDispatch> second = openDocument(L"second.dwg");
  {
    // Close(False) discards without asking.
    CallWatch watch(window, Answering({IDNO}));
    EXPECT_EQ(Invoke(second.get(), L"Close", DISPATCH_METHOD, {Bool(false)})->result, S_OK);
    EXPECT_TRUE(watch.Returned().empty());
    EXPECT_EQ(Count(documents.get()), 0);
  }
  ComPtr<IDispatch> third = openDocument(L"third.dwg");
  {
    // Close(True) asks as well.
    CallWatch watch(window, Answering({IDYES}));
    EXPECT_EQ(Invoke(third.get(), L"Close", DISPATCH_METHOD, {Bool(true)})->result, S_OK);
    const std::vector<SeenBox> boxes = watch.Returned();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Save changes to third.dwg?");
  }
  ComPtr<IDispatch> fourth = openDocument(L"fourth.dwg");
  win32::UniqueHandle process = ProcessOf(application.get());
  {
    // Quit with a modified drawing open asks before it quits.
    CallWatch watch(window, Answering({IDYES}));
    EXPECT_EQ(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
    const std::vector<SeenBox> boxes = watch.Returned();
    EXPECT_FALSE(watch.endedServer());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Save changes to fourth.dwg?");
    EXPECT_TRUE(boxes[0].callWaiting);
  }
  EXPECT_EQ(::WaitForSingleObject(process.get(), static_cast<DWORD>(kServerTimeout.count())),
            static_cast<DWORD>(WAIT_OBJECT_0));
  const std::vector<std::wstring> lines = ReadLogLines(log_);
  std::vector<std::wstring> questions;
  for (const std::wstring& line : lines) {
    if (line.rfind(L"save question", 0) == 0) questions.push_back(line);
  }
  const std::vector<std::wstring> expected = {
      L"save question shown in Close (first.dwg)", L"save question answered Cancel",
      L"save question shown in Close (first.dwg)", L"save question answered No",
      L"save question shown in Close (third.dwg)", L"save question answered Yes",
      L"save question shown in Quit (fourth.dwg)", L"save question answered Yes",
  };
  EXPECT_EQ(questions, expected);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), L"server exit (open: " + folder_.path() + L"fourth.dwg)");
}

}  // namespace
}  // namespace pellacore::standin::testing
