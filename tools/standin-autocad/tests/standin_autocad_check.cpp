// standin-autocad-check.exe: the stand-in driven from another process through
// COM, as the converter drives AutoCAD. Needs the server registered in the
// prefix (tools/standin-autocad/check does that) and no other instance of
// it running.

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "tests/export_call_table.h"
#include "tests/windows/scratch_folder.h"
#include "tools/harness/harness.h"
#include "tools/standin-autocad/tests/standin_test_support.h"
#include "win32/unique_resource.h"

namespace pellacore::standin {
namespace {

using harness::WaitUntil;
using std::chrono::milliseconds;
using testing::Bool;
using testing::DispRef;
using testing::I2;
using testing::Invoke;
using testing::kGet;
using testing::LoadedBitmap;
using testing::Outcome;
using testing::ReadLogLines;
using testing::Str;
using testing::StrRef;

constexpr milliseconds kServerTimeout{15000};
constexpr CLSID kClsid = {0x5930968d, 0x5f19, 0x415d, {0x8d, 0xc4, 0x44, 0x39, 0xab, 0x19, 0xd8, 0x0f}};

int ServerProcesses() {
  win32::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return -1;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
    if (::lstrcmpiW(entry.szExeFile, L"standin-autocad.exe") == 0) ++count;
  }
  return count;
}

std::wstring ServerExe() {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"standin-autocad.exe";
}

std::wstring Hex(HRESULT code) {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(code));
  return text;
}

class CrossProcess : public ::testing::Test {
 protected:
  CrossProcess() : log_(folder_.path() + L"calls.log") {}

  // A server of the test before, still on its way out, would write its last
  // line into this test's log: the log is read afresh for every line.
  void SetUp() override {
    ASSERT_TRUE(WaitUntil([] { return ServerProcesses() == 0; }, kServerTimeout))
        << "a stand-in from an earlier test is still running";
    config_.Set(L"LogFile", log_);
  }

  ComPtr<IDispatch> Create(HRESULT* result = nullptr) {
    ComPtr<IDispatch> application;
    CLSID clsid{};
    HRESULT hr = ::CLSIDFromProgID(L"AutoCAD.Application", &clsid);
    if (SUCCEEDED(hr)) {
      hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, application.put_void());
    }
    if (result) *result = hr;
    else EXPECT_EQ(hr, S_OK) << Hex(hr);
    return application;
  }

  std::wstring MakeDrawing(const std::wstring& name, const std::string& content = "not a DXF") {
    const std::wstring path = folder_.path() + name;
    testing::WriteTextFile(path, content);
    return path;
  }

  ComPtr<IDispatch> Get(IDispatch* target, const wchar_t* name) {
    const auto outcome = Invoke(target, name, kGet);
    EXPECT_EQ(outcome->result, S_OK) << name << " " << Hex(outcome->result);
    return outcome->Object();
  }

  std::unique_ptr<Outcome> Open(IDispatch* application, const std::wstring& path) {
    ComPtr<IDispatch> documents = Get(application, L"Documents");
    UniqueBstr text(::SysAllocString(path.c_str()));
    BSTR storage = text.get();
    return Invoke(documents.get(), L"Open", DISPATCH_METHOD, {StrRef(&storage)});
  }

  // Everything the converter does with a drawing after opening it.
  std::unique_ptr<Outcome> SelectAndExport(IDispatch* application, IDispatch* document, const std::wstring& stem) {
    ComPtr<IDispatch> same = Get(application, L"Application");
    EXPECT_EQ(Invoke(same.get(), L"Visible", DISPATCH_PROPERTYPUT, {Bool(true)})->result, S_OK);
    ComPtr<IDispatch> sets = Get(document, L"SelectionSets");
    UniqueBstr name(::SysAllocString(L"NEWSS"));
    ComPtr<IDispatch> set = Invoke(sets.get(), L"add", DISPATCH_METHOD, {Str(name.get())})->Object();
    EXPECT_TRUE(set);
    EXPECT_EQ(Invoke(set.get(), L"Select", DISPATCH_METHOD, {I2(5)})->result, S_OK);
    UniqueBstr stemText(::SysAllocString(stem.c_str()));
    UniqueBstr format(::SysAllocString(L"BMP"));
    BSTR stemStorage = stemText.get();
    IDispatch* setStorage = set.get();
    return Invoke(document, L"Export", DISPATCH_METHOD,
                  {StrRef(&stemStorage), Str(format.get()), DispRef(&setStorage)});
  }

  bool LogHas(const std::wstring& line) const {
    const std::vector<std::wstring> lines = ReadLogLines(log_);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  bool WaitForLog(const std::wstring& line) const {
    return WaitUntil([&] { return LogHas(line); }, kServerTimeout);
  }

  bool WaitForNoServer() const {
    return WaitUntil([] { return ServerProcesses() == 0; }, kServerTimeout);
  }

  pellacore::testing::ScratchFolder folder_;
  testing::ScopedConfig config_;
  std::wstring log_;
};

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
  {
    const auto before = std::chrono::steady_clock::now();
    ComPtr<IDispatch> application = Create();
    std::printf("  CoCreateInstance of a new instance took %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<milliseconds>(
                                           std::chrono::steady_clock::now() - before).count()));
    ASSERT_TRUE(application);
    EXPECT_EQ(Invoke(application.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)})->result, S_OK);
    const auto open = Open(application.get(), drawing);
    ASSERT_EQ(open->result, S_OK) << open->Description();
    ComPtr<IDispatch> document = open->Object();
    const auto exported = SelectAndExport(application.get(), document.get(), stem);
    EXPECT_EQ(exported->result, S_OK) << Hex(exported->result) << " " << exported->Description();
    EXPECT_EQ(Invoke(document.get(), L"Close", DISPATCH_METHOD)->result, S_OK);
    EXPECT_EQ(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  }
  ASSERT_TRUE(WaitForLog(L"server exit"));
  std::vector<std::wstring> expected = pellacore::testing::ExportCallTable(drawing, stem);
  expected.insert(expected.begin(), {L"server start embedding", L"Application created"});
  expected.push_back(L"server exit");
  EXPECT_EQ(ReadLogLines(log_), expected);
  EXPECT_TRUE(WaitForNoServer());

  const testing::BmpHeader header = testing::ReadBmpHeader(stem + L".bmp");
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
    Invoke(application.get(), L"Quit", DISPATCH_METHOD);
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
  EXPECT_EQ(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
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
  Invoke(application.get(), L"Quit", DISPATCH_METHOD);
}

TEST_F(CrossProcess, ExportWithoutFileSucceedsAndWritesNothing) {
  config_.Set(L"ExportWithoutFile", L"1");
  const std::wstring stem = folder_.path() + L"empty";
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  const auto open = Open(application.get(), MakeDrawing(L"empty.dwg"));
  ASSERT_EQ(open->result, S_OK);
  EXPECT_EQ(SelectAndExport(application.get(), open->Object().get(), stem)->result, S_OK);
  EXPECT_FALSE(testing::FileExists(stem + L".bmp"));
  Invoke(application.get(), L"Quit", DISPATCH_METHOD);
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
      L"Application.WindowState rejected",
      L"Application.WindowState rejected",
      L"Application.WindowState put (VT_I2 3)",
      L"Application.Quit call ()",
      L"server exit",
  };
  EXPECT_EQ(ReadLogLines(log_), expected);
}

TEST_F(CrossProcess, ReleasingTheLastReferenceEndsTheServer) {
  {
    ComPtr<IDispatch> application = Create();
    ASSERT_TRUE(application);
    ComPtr<IDispatch> documents = Get(application.get(), L"Documents");
    EXPECT_EQ(ServerProcesses(), 1);
  }
  EXPECT_TRUE(WaitForLog(L"server exit"));
  EXPECT_TRUE(WaitForNoServer());
  EXPECT_FALSE(LogHas(L"Application.Quit call ()"));
}

TEST_F(CrossProcess, EachCreationStartsAnInstanceOfItsOwn) {
  ComPtr<IDispatch> first = Create();
  ComPtr<IDispatch> second = Create();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(ServerProcesses(), 2);
  // A launched server stays out of the running object table.
  ComPtr<IUnknown> running;
  EXPECT_EQ(::GetActiveObject(kClsid, nullptr, running.put()), MK_E_UNAVAILABLE);
  EXPECT_EQ(Invoke(first.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  EXPECT_TRUE(WaitUntil([] { return ServerProcesses() == 1; }, kServerTimeout));
  // The other instance still answers.
  EXPECT_EQ(Invoke(second.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)})->result, S_OK);
  EXPECT_EQ(Invoke(second.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
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

TEST_F(CrossProcess, ARunningInstanceIsFoundAndQuitEndsIt) {
  ComPtr<IUnknown> none;
  EXPECT_EQ(::GetActiveObject(kClsid, nullptr, none.put()), MK_E_UNAVAILABLE);

  std::wstring commandLine = L"\"" + ServerExe() + L"\" /run";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(::CreateProcessW(ServerExe().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder_.path().c_str(), &startup, &started));
  const auto before = std::chrono::steady_clock::now();
  win32::UniqueHandle process(started.hProcess);
  win32::UniqueHandle thread(started.hThread);
  ASSERT_TRUE(WaitForLog(L"ready"));
  std::printf("  /run was ready after %lld ms\n",
              static_cast<long long>(
                  std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - before).count()));
  {
    ComPtr<IUnknown> running;
    ASSERT_EQ(::GetActiveObject(kClsid, nullptr, running.put()), S_OK);
    ComPtr<IDispatch> application;
    ASSERT_EQ(running->QueryInterface(IID_IDispatch, application.put_void()), S_OK);
    EXPECT_EQ(Invoke(application.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)})->result, S_OK);
    EXPECT_EQ(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);
  }
  EXPECT_EQ(::WaitForSingleObject(process.get(), static_cast<DWORD>(kServerTimeout.count())), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(code, 0u);
  const std::vector<std::wstring> expected = {
      L"server start run", L"Application created", L"ready", L"Application.WindowState put (VT_I2 3)",
      L"Application.Quit call ()", L"server exit",
  };
  EXPECT_EQ(ReadLogLines(log_), expected);
  ComPtr<IUnknown> gone;
  EXPECT_EQ(::GetActiveObject(kClsid, nullptr, gone.put()), MK_E_UNAVAILABLE);
}

// Last (tests run in this order): a crashed server may leave this process
// unable to create another.
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
  EXPECT_TRUE(result == RPC_E_DISCONNECTED || result == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) ||
              result == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
              result == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE) || result == RPC_E_SERVERFAULT)
      << Hex(result);
  EXPECT_TRUE(WaitForNoServer());
  EXPECT_TRUE(LogHas(L"server crash in Export"));
  EXPECT_FALSE(LogHas(L"server exit"));
  EXPECT_FALSE(testing::FileExists(stem + L".bmp"));
  // Calls on the dead instance fail at once.
  EXPECT_TRUE(FAILED(Invoke(application.get(), L"Quit", DISPATCH_METHOD)->result));

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
  EXPECT_EQ(ServerProcesses(), 0);
}

}  // namespace
}  // namespace pellacore::standin

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const int result = RUN_ALL_TESTS();
  ::CoUninitialize();
  return result;
}
