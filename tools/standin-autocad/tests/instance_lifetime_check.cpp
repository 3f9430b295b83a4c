// The stand-in's lifetime across processes, as a real AutoCAD's: found in
// the running object table whoever started it, running on when its client
// lets go, answering as a disconnected server between Quit and its end, a
// main window that names its process, a user's instance holding the user's
// drawing, and a helper process that outlives a killed server.

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "tools/harness/harness.h"
#include "tools/standin-autocad/tests/cross_process_fixture.h"
#include "win32/unique_resource.h"

namespace pellacore::standin::testing {
namespace {

using harness::WaitUntil;
using std::chrono::milliseconds;

constexpr DWORD kWaitMs = static_cast<DWORD>(kServerTimeout.count());
// Long enough to tell "still running" from "ended after a release" (the
// stand-in once ended about 0.1 s after its last reference went).
constexpr DWORD kStaysMs = 1500;

bool Ended(const win32::UniqueHandle& process, DWORD withinMs = kWaitMs) {
  return ::WaitForSingleObject(process.get(), withinMs) == WAIT_OBJECT_0;
}

// standin-autocad.exe /run [ARGUMENT], as a user starts AutoCAD.
win32::UniqueHandle StartByHand(const std::wstring& folder, DWORD* id, const std::wstring& argument = {}) {
  std::wstring commandLine = L"\"" + ServerExe() + L"\" /run";
  if (!argument.empty()) commandLine += L" \"" + argument + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(ServerExe().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &started)) {
    return {};
  }
  ::CloseHandle(started.hThread);
  *id = started.dwProcessId;
  return win32::UniqueHandle(started.hProcess);
}

using InstanceLifetime = CrossProcess;

TEST_F(InstanceLifetime, ALaunchedInstanceIsFoundByOthersAndOutlivesItsClient) {
  win32::UniqueHandle process;
  {
    ComPtr<IDispatch> application = Create();
    ASSERT_TRUE(application);
    ComPtr<IDispatch> documents = Get(application.get(), L"Documents");
    const HWND window = WindowOf(application.get());
    process = OpenServerProcess(ProcessOfWindow(window));
    ASSERT_TRUE(process);
    // Another client finds this very instance through GetActiveObject.
    HRESULT found = E_FAIL;
    ComPtr<IDispatch> running = Running(&found);
    ASSERT_EQ(found, S_OK) << Hex(found);
    EXPECT_EQ(WindowOf(running.get()), window);
  }
  // Everything released: it stays, as an orphaned AutoCAD does.
  EXPECT_EQ(::WaitForSingleObject(process.get(), kStaysMs), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_FALSE(LogHas(L"server exit"));
  // Found again, and only Quit ends it.
  HRESULT found = E_FAIL;
  ComPtr<IDispatch> again = Running(&found);
  ASSERT_EQ(found, S_OK) << Hex(found);
  EXPECT_EQ(Invoke(again.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  again.reset();
  EXPECT_TRUE(Ended(process));
  const std::vector<std::wstring> expected = {
      L"server start embedding", L"Application created", L"ready",
      L"Application.Documents get ()", L"Application.HWND get ()", L"Application.HWND get ()",
      L"Application.Quit call ()", L"server exit",
  };
  EXPECT_EQ(ReadLogLines(log_), expected);
}

TEST_F(InstanceLifetime, EachCreationStartsAnInstanceOfItsOwnAndBothAreListed) {
  ComPtr<IDispatch> first = Create();
  ComPtr<IDispatch> second = Create();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(ServerProcesses().size(), 2u);
  const HWND firstWindow = WindowOf(first.get());
  const HWND secondWindow = WindowOf(second.get());
  EXPECT_NE(ProcessOfWindow(firstWindow), ProcessOfWindow(secondWindow));
  win32::UniqueHandle firstProcess = OpenServerProcess(ProcessOfWindow(firstWindow));
  {
    // Both are in the running object table; GetActiveObject answers one.
    ComPtr<IDispatch> running = Running();
    ASSERT_TRUE(running);
    const HWND foundWindow = WindowOf(running.get());
    EXPECT_TRUE(foundWindow == firstWindow || foundWindow == secondWindow);
    std::printf("  GetActiveObject with two instances found the %s one\n",
                foundWindow == firstWindow ? "first" : "second");
  }
  EXPECT_EQ(Invoke(first.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  first.reset();
  EXPECT_TRUE(Ended(firstProcess));
  // The other still answers, and is the one listed now.
  EXPECT_EQ(Invoke(second.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)})->result, S_OK);
  ComPtr<IDispatch> running = Running();
  ASSERT_TRUE(running);
  EXPECT_EQ(WindowOf(running.get()), secondWindow);
  EXPECT_EQ(Invoke(second.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  EXPECT_TRUE(WaitForNoServer());
}

TEST_F(InstanceLifetime, QuitReturnsFirstAndTheInstanceAnswersDisconnectedUntilItEnds) {
  constexpr long long kLingerMs = 3000;
  config_.Set(L"LingerAfterQuitMs", std::to_wstring(kLingerMs));
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  ComPtr<IDispatch> documents = Get(application.get(), L"Documents");
  win32::UniqueHandle process = ProcessOf(application.get());
  ASSERT_TRUE(process);

  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  EXPECT_LT(MillisecondsSince(before), kLingerMs);
  // Every object of the instance answers as a disconnected server, at once.
  EXPECT_EQ(Invoke(application.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)})->result, RPC_E_DISCONNECTED);
  EXPECT_EQ(Invoke(documents.get(), L"Count", kGet)->result, RPC_E_DISCONNECTED);
  // Still listed, and what is found answers the same.
  HRESULT found = E_FAIL;
  ComPtr<IDispatch> running = Running(&found);
  EXPECT_EQ(found, S_OK) << Hex(found);
  if (running) {
    EXPECT_EQ(Invoke(running.get(), L"Visible", kGet)->result, RPC_E_DISCONNECTED);
  }
  EXPECT_EQ(::WaitForSingleObject(process.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  const long long answeredWithin = MillisecondsSince(before);
  EXPECT_LT(answeredWithin, kLingerMs) << "the checks above ran after the linger";

  // Then it ends by itself.
  EXPECT_TRUE(Ended(process));
  const long long gone = MillisecondsSince(before);
  std::printf("  Quit to process end: %lld ms (linger %lld ms)\n", gone, kLingerMs);
  EXPECT_GE(gone, kLingerMs);
  // Its proxies now fail as a dead server's.
  const HRESULT after = Invoke(application.get(), L"WindowState", kGet)->result;
  std::printf("  a call after the process ended failed with %ls\n", Hex(after).c_str());
  EXPECT_TRUE(IsDeadServerCode(after)) << Hex(after);
  running.reset();
  EXPECT_FALSE(Running(&found));
  EXPECT_EQ(found, MK_E_UNAVAILABLE) << Hex(found);
  const std::vector<std::wstring> lines = ReadLogLines(log_);
  const std::vector<std::wstring> tail(lines.end() - std::min<std::size_t>(lines.size(), 5), lines.end());
  const std::vector<std::wstring> expected = {
      L"Application.Quit call ()", L"Application.WindowState disconnected", L"Documents.Count disconnected",
      L"Application.Visible disconnected", L"server exit",
  };
  EXPECT_EQ(tail, expected);
}

TEST_F(InstanceLifetime, TheMainWindowBelongsToTheServerAndFollowsVisible) {
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  const HWND window = WindowOf(application.get());
  ASSERT_TRUE(::IsWindow(window));
  const DWORD owner = ProcessOfWindow(window);
  const std::vector<ServerProcess> servers = ServerProcesses();
  ASSERT_EQ(servers.size(), 1u);
  EXPECT_EQ(owner, servers[0].id);
  EXPECT_EQ(::GetParent(window), nullptr);
  EXPECT_EQ(::GetWindow(window, GW_OWNER), nullptr);
  // Hidden, as an AutoCAD started through automation is, until Visible.
  EXPECT_FALSE(::IsWindowVisible(window));
  EXPECT_EQ(Invoke(application.get(), L"Visible", DISPATCH_PROPERTYPUT, {Bool(true)})->result, S_OK);
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(Invoke(application.get(), L"Visible", DISPATCH_PROPERTYPUT, {Bool(false)})->result, S_OK);
  EXPECT_FALSE(::IsWindowVisible(window));
  // Read-only.
  EXPECT_EQ(Invoke(application.get(), L"HWND", DISPATCH_PROPERTYPUT, {I4(0)})->result, DISP_E_MEMBERNOTFOUND);
  win32::UniqueHandle process = OpenServerProcess(owner);
  EXPECT_EQ(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  EXPECT_TRUE(Ended(process));
  EXPECT_FALSE(::IsWindow(window));
}

TEST_F(InstanceLifetime, AUserStartedInstanceIsFoundAndQuitEndsIt) {
  HRESULT none = S_OK;
  EXPECT_FALSE(Running(&none));
  EXPECT_EQ(none, MK_E_UNAVAILABLE) << Hex(none);

  const auto before = std::chrono::steady_clock::now();
  DWORD id = 0;
  win32::UniqueHandle process = StartByHand(folder_.path(), &id);
  ASSERT_TRUE(process);
  ASSERT_TRUE(WaitForLog(L"ready"));
  std::printf("  /run was ready after %lld ms\n", MillisecondsSince(before));
  {
    ComPtr<IDispatch> application = Running();
    ASSERT_TRUE(application);
    EXPECT_EQ(ProcessOfWindow(WindowOf(application.get())), id);
    EXPECT_EQ(Invoke(application.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)})->result, S_OK);
    EXPECT_EQ(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  }
  ASSERT_TRUE(Ended(process));
  DWORD code = 1;
  ::GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(code, 0u);
  const std::vector<std::wstring> expected = {
      L"server start run", L"Application created", L"ready", L"Application.HWND get ()",
      L"Application.WindowState put (VT_I2 3)", L"Application.Quit call ()", L"server exit",
  };
  EXPECT_EQ(ReadLogLines(log_), expected);
  EXPECT_FALSE(Running(&none));
  EXPECT_EQ(none, MK_E_UNAVAILABLE) << Hex(none);
}

TEST_F(InstanceLifetime, AUserStartedInstanceHoldsTheDrawingItWasGiven) {
  const std::wstring drawing = MakeDrawing(L"Own work.dwg");
  DWORD id = 0;
  win32::UniqueHandle process = StartByHand(folder_.path(), &id, drawing);
  ASSERT_TRUE(process);
  ASSERT_TRUE(WaitForLog(L"ready"));
  {
    ComPtr<IDispatch> application = Running();
    ASSERT_TRUE(application);
    ComPtr<IDispatch> documents = Get(application.get(), L"Documents");
    const auto count = Invoke(documents.get(), L"Count", kGet);
    EXPECT_EQ(count->result, S_OK);
    EXPECT_EQ((*count->value).vt, VT_I4);
    EXPECT_EQ((*count->value).lVal, 1);
    // A drawing opened and closed by a client leaves the user's open.
    const auto opened = Open(application.get(), MakeDrawing(L"batch.dwg"));
    ASSERT_EQ(opened->result, S_OK);
    EXPECT_EQ(Invoke(documents.get(), L"Count", kGet)->value.get()->lVal, 2);
    EXPECT_EQ(Invoke(opened->Object().get(), L"Close", DISPATCH_METHOD)->result, S_OK);
    EXPECT_EQ(Invoke(documents.get(), L"Count", kGet)->value.get()->lVal, 1);
    EXPECT_EQ(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  }
  ASSERT_TRUE(Ended(process));
  const std::vector<std::wstring> lines = ReadLogLines(log_);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), L"server exit (open: " + drawing + L")");
}

TEST_F(InstanceLifetime, AUserStartedInstanceWithAMissingDrawingDoesNotStart) {
  const std::wstring missing = folder_.path() + L"gone.dwg";
  DWORD id = 0;
  win32::UniqueHandle process = StartByHand(folder_.path(), &id, missing);
  ASSERT_TRUE(process);
  ASSERT_TRUE(Ended(process));
  DWORD code = 0;
  ::GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(code, 1u);
  EXPECT_FALSE(LogHas(L"ready"));
  HRESULT none = S_OK;
  EXPECT_FALSE(Running(&none));
}

TEST_F(InstanceLifetime, AHelperProcessGoesWithQuitButOutlivesAKilledServer) {
  config_.Set(L"ChildProcess", L"1");
  const auto helperOf = [](DWORD server) {
    for (const ServerProcess& process : ServerProcesses()) {
      if (process.parent == server) return process.id;
    }
    return DWORD{0};
  };
  {
    ComPtr<IDispatch> application = Create();
    ASSERT_TRUE(application);
    const DWORD server = ProcessOfWindow(WindowOf(application.get()));
    win32::UniqueHandle serverProcess = OpenServerProcess(server);
    const DWORD helper = helperOf(server);
    ASSERT_NE(helper, 0u);
    EXPECT_TRUE(LogHas(L"child started " + std::to_wstring(helper)));
    win32::UniqueHandle helperProcess = OpenServerProcess(helper);
    ASSERT_TRUE(helperProcess);
    // A normal end takes the helper with it.
    EXPECT_EQ(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
    EXPECT_TRUE(Ended(serverProcess));
    EXPECT_TRUE(Ended(helperProcess));
  }
  {
    std::printf("  second instance: creating\n");
    ComPtr<IDispatch> application = Create();
    ASSERT_TRUE(application);
    const DWORD server = ProcessOfWindow(WindowOf(application.get()));
    win32::UniqueHandle serverProcess = OpenServerProcess(server);
    win32::UniqueHandle helperProcess = OpenServerProcess(helperOf(server));
    ASSERT_TRUE(helperProcess);
    // Let go of first (it runs on without a client), so that nothing of
    // this test calls into the server once it has been killed.
    application.reset();
    std::printf("  second instance: ending the server\n");
    // Ended as a hung instance is: the helper stays behind.
    ASSERT_TRUE(::TerminateProcess(serverProcess.get(), 1));
    EXPECT_TRUE(Ended(serverProcess));
    EXPECT_EQ(::WaitForSingleObject(helperProcess.get(), kStaysMs), static_cast<DWORD>(WAIT_TIMEOUT));
    // Only ending it too (the whole tree) removes it.
    ::TerminateProcess(helperProcess.get(), 1);
    EXPECT_TRUE(Ended(helperProcess));
  }
  std::printf("  waiting for no server\n");
  EXPECT_TRUE(WaitForNoServer());
}

}  // namespace
}  // namespace pellacore::standin::testing
