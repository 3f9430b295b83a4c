// standin-autocad-check.exe: the stand-in driven from another process through
// COM, as the converter drives AutoCAD. Needs the server registered in the
// prefix (tools/standin-autocad/check does that) and no other instance of
// it running. These checks: the converter's calls and their failures; the
// instance's lifetime and the failure switches have files of their own.

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "tests/export_call_table.h"
#include "tools/harness/harness.h"
#include "tools/standin-autocad/tests/cross_process_fixture.h"
#include "win32/unique_resource.h"

namespace pellacore::standin::testing {
namespace {

using harness::WaitUntil;
using std::chrono::milliseconds;

TEST_F(CrossProcess, TheProgIdIsRegisteredForTheServerBesideThisCheck) {
  CLSID clsid{};
  ASSERT_EQ(::CLSIDFromProgID(L"AutoCAD.Application", &clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, kClsid));
  wchar_t server[MAX_PATH] = {};
  LONG bytes = sizeof(server);
  ASSERT_EQ(::RegQueryValueW(HKEY_CLASSES_ROOT, L"CLSID\\{5930968D-5F19-415D-8DC4-4439AB19D80F}\\LocalServer32",
                             server, &bytes),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(server), L"\"" + ServerExe() + L"\"");
}

TEST_F(CrossProcess, TheConvertersSequenceIsLoggedAndWritesARealBitmap) {
  const std::wstring drawing = MakeDrawing(L"PLAN.DWG");
  const std::wstring stem = folder_.path() + L"PLAN";
  auto quit = std::chrono::steady_clock::now();
  {
    const auto before = std::chrono::steady_clock::now();
    ComPtr<IDispatch> application = Create();
    std::printf("  CoCreateInstance of a new instance took %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<milliseconds>(
                                           std::chrono::steady_clock::now() - before).count()));
    ASSERT_TRUE(application);
    // The converter's calls, in its order: which process, then the export.
    EXPECT_EQ(Invoke(application.get(), L"HWND", DISPATCH_PROPERTYGET)->result, S_OK);
    EXPECT_EQ(Invoke(application.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)})->result, S_OK);
    const auto open = Open(application.get(), drawing);
    ASSERT_EQ(open->result, S_OK) << open->Description();
    ComPtr<IDispatch> document = open->Object();
    const auto exported = SelectAndExport(application.get(), document.get(), stem);
    EXPECT_EQ(exported->result, S_OK) << Hex(exported->result) << " " << exported->Description();
    EXPECT_EQ(Invoke(document.get(), L"Close", DISPATCH_METHOD, {Bool(false)})->result, S_OK);
    quit = std::chrono::steady_clock::now();
    EXPECT_EQ(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  }
  ASSERT_TRUE(WaitForNoServer());
  std::printf("  Quit to the end of the process (default linger): %lld ms\n", MillisecondsSince(quit));
  ASSERT_TRUE(WaitForLog(L"server exit"));
  std::vector<std::wstring> expected = pellacore::testing::ExportCallTable(drawing, stem);
  expected.insert(expected.begin(), {L"server start embedding", L"Application created", L"ready"});
  expected.push_back(L"server exit");
  EXPECT_EQ(ReadLogLines(log_), expected);

  const BmpHeader header = ReadBmpHeader(stem + L".bmp");
  EXPECT_TRUE(header.magic);
  EXPECT_EQ(header.bitsPerPixel, 24);
  EXPECT_GT(header.width, 0);
  EXPECT_GT(header.height, 0);
  EXPECT_GT(header.fileSize, 54u);
  EXPECT_EQ(header.fileSize, header.actualSize);
  const std::optional<LoadedBitmap> bitmap = LoadedBitmap::Load(stem + L".bmp");
  ASSERT_TRUE(bitmap.has_value());
  EXPECT_GT(bitmap->DarkPixelsIn(0, 0, bitmap->width(), bitmap->height()), 0);
}

TEST_F(CrossProcess, ADxfNamedDwgHasItsLineDrawn) {
  const std::wstring drawing = MakeDrawing(L"site.DWG",
                                           "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n100\n21\n100\n"
                                           "0\nENDSEC\n0\nEOF\n");
  const std::wstring stem = folder_.path() + L"site";
  {
    ComPtr<IDispatch> application = Create();
    ASSERT_TRUE(application);
    const auto open = Open(application.get(), drawing);
    ASSERT_EQ(open->result, S_OK) << open->Description();
    EXPECT_EQ(SelectAndExport(application.get(), open->Object().get(), stem)->result, S_OK);
    QuitAndWait(application.get());
  }
  const std::optional<LoadedBitmap> bitmap = LoadedBitmap::Load(stem + L".bmp");
  ASSERT_TRUE(bitmap.has_value());
  // A square drawing fitted to the page: the line is its diagonal through
  // the middle, rising to the right.
  const int cx = bitmap->width() / 2;
  const int cy = bitmap->height() / 2;
  for (int d = -300; d <= 300; d += 50) EXPECT_TRUE(bitmap->DarkNear(cx + d, cy - d, 2)) << d;
  EXPECT_FALSE(bitmap->DarkNear(cx + 200, cy + 200, 3));
  EXPECT_FALSE(bitmap->DarkNear(cx - 200, cy - 200, 3));
}

TEST_F(CrossProcess, OpenFailuresArriveAsExceptionsThatNameTheFile) {
  const std::wstring drawing = MakeDrawing(L"Damaged.dwg");
  const std::wstring missing = folder_.path() + L"Missing.dwg";
  config_.Set(L"FailOpen", folder_.path() + L"DAMAGED.DWG");
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  for (const std::wstring& path : {drawing, missing}) {
    const auto open = Open(application.get(), path);
    EXPECT_EQ(open->result, DISP_E_EXCEPTION) << Hex(open->result);
    EXPECT_EQ(open->Source(), L"AutoCAD.Application");
    EXPECT_NE(open->Description().find(path), std::wstring::npos) << open->Description();
    EXPECT_TRUE(FAILED(open->exception.scode) || open->exception.wCode != 0);
    EXPECT_FALSE(open->Object());
  }
  QuitAndWait(application.get());
}

// Windows' marshaller runs a deferred fill-in in the server; Wine copies the
// pointer, which means nothing in the client. The stand-in fills in at once
// for other processes, so clients see what Windows gives them.
TEST_F(CrossProcess, DeferredExceptionInfoArrivesFilledIn) {
  config_.Set(L"DeferExceptionInfo", L"1");
  const std::wstring missing = folder_.path() + L"Gone.dwg";
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  const auto open = Open(application.get(), missing);
  ASSERT_EQ(open->result, DISP_E_EXCEPTION);
  EXPECT_EQ(open->exception.pfnDeferredFillIn, nullptr);
  EXPECT_NE(open->Description().find(missing), std::wstring::npos) << open->Description();
  EXPECT_EQ(open->Source(), L"AutoCAD.Application");
  QuitAndWait(application.get());
}

TEST_F(CrossProcess, ExportWithoutFileSucceedsAndWritesNothing) {
  config_.Set(L"ExportWithoutFile", L"1");
  const std::wstring stem = folder_.path() + L"empty";
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  const auto open = Open(application.get(), MakeDrawing(L"empty.dwg"));
  ASSERT_EQ(open->result, S_OK);
  EXPECT_EQ(SelectAndExport(application.get(), open->Object().get(), stem)->result, S_OK);
  EXPECT_FALSE(FileExists(stem + L".bmp"));
  QuitAndWait(application.get());
}

TEST_F(CrossProcess, RejectCallsTurnsAwayExactlyThatManyCalls) {
  config_.Set(L"RejectCalls", L"2");
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  const HRESULT results[] = {
      Invoke(application.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)})->result,
      Invoke(application.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)})->result,
      Invoke(application.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)})->result,
      Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result,
  };
  EXPECT_EQ(results[0], RPC_E_CALL_REJECTED) << Hex(results[0]);
  EXPECT_EQ(results[1], RPC_E_CALL_REJECTED) << Hex(results[1]);
  EXPECT_EQ(results[2], S_OK) << Hex(results[2]);
  EXPECT_EQ(results[3], S_OK) << Hex(results[3]);
  ASSERT_TRUE(WaitForLog(L"server exit"));
  const std::vector<std::wstring> expected = {
      L"server start embedding",
      L"Application created",
      L"ready",
      L"Application.WindowState rejected",
      L"Application.WindowState rejected",
      L"Application.WindowState put (VT_I2 3)",
      L"Application.Quit call ()",
      L"server exit",
  };
  EXPECT_EQ(ReadLogLines(log_), expected);
}

TEST_F(CrossProcess, FailCreateMakesCreationFail) {
  config_.Set(L"FailCreate", L"1");
  HRESULT result = S_OK;
  ComPtr<IDispatch> application = Create(&result);
  EXPECT_FALSE(application);
  EXPECT_EQ(result, CO_E_SERVER_EXEC_FAILURE) << Hex(result);
  EXPECT_TRUE(WaitForLog(L"Application not created (FailCreate)"));
  EXPECT_TRUE(WaitForLog(L"server exit"));
  EXPECT_TRUE(WaitForNoServer());
  EXPECT_FALSE(LogHas(L"Application created"));
}

TEST_F(CrossProcess, CrashInExportFailsTheCallAndTheServerIsGone) {
  config_.Set(L"CrashIn", L"Export");
  const std::wstring stem = folder_.path() + L"crash";
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  const auto open = Open(application.get(), MakeDrawing(L"crash.dwg"));
  ASSERT_EQ(open->result, S_OK);
  const auto exported = SelectAndExport(application.get(), open->Object().get(), stem);
  const HRESULT result = exported->result;
  std::printf("  Export into a crashing server failed with %ls\n", Hex(result).c_str());
  // The call dies with the server: an RPC failure, not an answer.
  EXPECT_TRUE(IsDeadServerCode(result)) << Hex(result);
  EXPECT_TRUE(WaitForNoServer());
  EXPECT_TRUE(LogHas(L"server crash in Export"));
  EXPECT_FALSE(LogHas(L"server exit"));
  EXPECT_FALSE(FileExists(stem + L".bmp"));
  // Calls on the dead instance fail at once, and the running object table
  // no longer lists it.
  EXPECT_TRUE(FAILED(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result));
  HRESULT found = S_OK;
  EXPECT_FALSE(Running(&found));
  EXPECT_EQ(found, MK_E_UNAVAILABLE) << Hex(found);

  // Single use: the dead server's class object served its one creation, so
  // this process can still create a new instance.
  config_.Set(L"CrashIn", L"");
  ComPtr<IDispatch> next = Create();
  ASSERT_TRUE(next);
  EXPECT_EQ(Invoke(next.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  EXPECT_TRUE(WaitForNoServer());
}

// Run on its own after the .reg of /unregfile was imported (./check does).
TEST(Unregistered, CreationFindsNoClass) {
  CLSID clsid{};
  EXPECT_EQ(::CLSIDFromProgID(L"AutoCAD.Application", &clsid), CO_E_CLASSSTRING);
  ComPtr<IDispatch> application;
  EXPECT_EQ(::CoCreateInstance(kClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, application.put_void()),
            REGDB_E_CLASSNOTREG);
  EXPECT_TRUE(ServerProcesses().empty());
}

}  // namespace
}  // namespace pellacore::standin::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const int result = RUN_ALL_TESTS();
  ::CoUninitialize();
  return result;
}
