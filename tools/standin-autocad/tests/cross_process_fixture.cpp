#include "tools/standin-autocad/tests/cross_process_fixture.h"

#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>

#include "tools/harness/harness.h"

namespace pellacore::standin::testing {

using harness::WaitUntil;

namespace {

// Longer than any linger the checks set after their last wait.
constexpr std::chrono::milliseconds kOnItsWayOut{5000};

}  // namespace

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

long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

bool IsDeadServerCode(HRESULT code) {
  return code == RPC_E_DISCONNECTED || code == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) ||
         code == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) || code == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE) ||
         code == RPC_E_SERVERFAULT;
}

CrossProcess::CrossProcess() : log_(folder_.path() + L"calls.log") {}

void CrossProcess::SetUp() {
  // Instances left running by what ran before in this prefix (the program's
  // own tests leave some, as a program that never quits its AutoCADs does)
  // are not this check's: one on its way out gets a moment, the rest are
  // ended by id.
  if (!WaitUntil([] { return ServerProcesses().empty(); }, kOnItsWayOut)) {
    std::printf("  ended %d stand-in process(es) left running before this check\n", EndAllServerProcesses());
  }
  ASSERT_TRUE(ServerProcesses().empty()) << "a stand-in could not be ended";
  config_.Set(L"LogFile", log_);
}

void CrossProcess::TearDown() {
  // Whatever the check did, it leaves no process behind: one on its way out
  // gets a moment to end by itself, any other is ended.
  WaitUntil([] { return ServerProcesses().empty(); }, kOnItsWayOut);
  if (const int left = EndAllServerProcesses(); left > 0) {
    ADD_FAILURE() << left << " stand-in process(es) were still running at the end; ended them";
  }
}

ComPtr<IDispatch> CrossProcess::Create(HRESULT* result) {
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

void CrossProcess::QuitAndWait(IDispatch* application) {
  const auto quit = Invoke(application, L"Quit", DISPATCH_METHOD);
  EXPECT_EQ(quit->result, S_OK) << Hex(quit->result);
  EXPECT_TRUE(WaitForNoServer());
}

ComPtr<IDispatch> CrossProcess::Running(HRESULT* result) {
  ComPtr<IUnknown> running;
  HRESULT hr = ::GetActiveObject(kClsid, nullptr, running.put());
  ComPtr<IDispatch> application;
  if (SUCCEEDED(hr) && !running) hr = E_POINTER;
  if (SUCCEEDED(hr)) hr = running->QueryInterface(IID_IDispatch, application.put_void());
  if (result) *result = hr;
  return application;
}

std::wstring CrossProcess::MakeDrawing(const std::wstring& name, const std::string& content) {
  const std::wstring path = folder_.path() + name;
  WriteTextFile(path, content);
  return path;
}

ComPtr<IDispatch> CrossProcess::Get(IDispatch* target, const wchar_t* name) {
  const auto outcome = Invoke(target, name, kGet);
  EXPECT_EQ(outcome->result, S_OK) << name << " " << Hex(outcome->result);
  return outcome->Object();
}

std::unique_ptr<Outcome> CrossProcess::Open(IDispatch* application, const std::wstring& path) {
  ComPtr<IDispatch> documents = Get(application, L"Documents");
  UniqueBstr text(::SysAllocString(path.c_str()));
  BSTR storage = text.get();
  return Invoke(documents.get(), L"Open", DISPATCH_METHOD, {StrRef(&storage)});
}

std::unique_ptr<Outcome> CrossProcess::SelectAndExport(IDispatch* application, IDispatch* document,
                                                       const std::wstring& stem) {
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

HWND CrossProcess::WindowOf(IDispatch* application) {
  EXPECT_TRUE(application);
  if (!application) return nullptr;
  const auto handle = Invoke(application, L"HWND", kGet);
  EXPECT_EQ(handle->result, S_OK) << Hex(handle->result);
  EXPECT_EQ((*handle->value).vt, VT_I8);
  if ((*handle->value).vt != VT_I8) return nullptr;
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>((*handle->value).llVal));
}

win32::UniqueHandle CrossProcess::ProcessOf(IDispatch* application) {
  return OpenServerProcess(ProcessOfWindow(WindowOf(application)));
}

bool CrossProcess::LogHas(const std::wstring& line) const {
  const std::vector<std::wstring> lines = ReadLogLines(log_);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool CrossProcess::WaitForLog(const std::wstring& line) const {
  return WaitUntil([&] { return LogHas(line); }, kServerTimeout);
}

bool CrossProcess::WaitForNoServer() const {
  return WaitUntil([] { return ServerProcesses().empty(); }, kServerTimeout);
}

}  // namespace pellacore::standin::testing
