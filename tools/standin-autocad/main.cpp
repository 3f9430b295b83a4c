// standin-autocad.exe: a local automation server registered as
// "AutoCAD.Application", for running the converter where AutoCAD is not.
//   standin-autocad.exe /regfile OUT.reg     writes the .reg that registers it
//   standin-autocad.exe /unregfile OUT.reg   writes the .reg that removes it
//   standin-autocad.exe /run [PATH]          one Application in the running
//                                            object table, until Quit; PATH
//                                            is a drawing it holds open
//   standin-autocad.exe /child               the server's helper process
//   (COM starts it with -Embedding)          serves one creation
// Exit codes: 0 done, 1 a failure, 2 a command line it does not know.

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/standin-autocad/autocad_objects.h"
#include "tools/standin-autocad/call_log.h"
#include "tools/standin-autocad/child_process.h"
#include "tools/standin-autocad/class_factory.h"
#include "tools/standin-autocad/registration.h"
#include "tools/standin-autocad/running_object.h"
#include "tools/standin-autocad/server_lifetime.h"
#include "win32/unique_resource.h"

namespace pellacore::standin {

namespace {

// {5930968D-5F19-415D-8DC4-4439AB19D80F}, as kClsidText spells it.
constexpr CLSID kClsid = {0x5930968d, 0x5f19, 0x415d, {0x8d, 0xc4, 0x44, 0x39, 0xab, 0x19, 0xd8, 0x0f}};

// A COM-launched server that no client calls ends after this long.
constexpr DWORD kIdleTimeoutMs = 60000;

std::wstring ExePath() {
  std::wstring path(32768, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path;
}

// UTF-16 with a byte-order mark: regedit and reg import read it, and a path
// outside the ANSI code page survives.
int WriteRegFile(const std::wstring& path, const std::wstring& text) {
  win32::UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 1;
  const std::wstring content = L"\xFEFF" + text;
  const DWORD bytes = static_cast<DWORD>(content.size() * sizeof(wchar_t));
  DWORD written = 0;
  return ::WriteFile(file.get(), content.data(), bytes, &written, nullptr) && written == bytes ? 0 : 1;
}

class ComApartment {
 public:
  ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  bool ok() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

// What every server does first: its helper process (ChildProcess), then a
// slow start (StartDelayMs) before clients can reach it.
std::unique_ptr<ChildProcess> StartUp(const Config& config) {
  std::unique_ptr<ChildProcess> child;
  if (config.childProcess) {
    child = std::make_unique<ChildProcess>(ExePath());
    if (child->started()) Log(config, L"child started " + std::to_wstring(child->id()));
  }
  if (config.startDelayMs > 0) ::Sleep(config.startDelayMs);
  return child;
}

// Single use: every creation starts a process of its own, as the converter
// starts an AutoCAD per drawing. So Quit ends exactly the instance that one
// drawing used, RejectCalls counts from the start of each instance, and no
// creation can reach a server that is on its way out. Under Wine, a
// multiple-use server that crashed also leaves its class registered: every
// later creation in the prefix then fails with RPC_S_SERVER_UNAVAILABLE.
int ServeEmbedding() {
  const ComApartment com;
  if (!com.ok()) return 1;
  lifetime::Begin(lifetime::Mode::Embedding);
  Log(L"server start embedding");
  const std::unique_ptr<ChildProcess> child = StartUp(ReadConfig());
  ClassFactory factory(kClsid);
  DWORD cookie = 0;
  if (FAILED(::CoRegisterClassObject(kClsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie))) {
    Log(L"server exit (class not registered)");
    return 1;
  }
  lifetime::RunMessageLoop(kIdleTimeoutMs);
  const std::vector<std::wstring> open = factory.Withdraw();
  ::CoRevokeClassObject(cookie);
  Log(ExitLine(open));
  return 0;
}

// An AutoCAD the user started, with the user's own drawing open if given:
// found by GetActiveObject, ended by Quit.
int ServeRunning(const std::wstring& drawing) {
  const ComApartment com;
  if (!com.ok()) return 1;
  lifetime::Begin(lifetime::Mode::Run);
  Log(L"server start run");
  const std::unique_ptr<ChildProcess> child = StartUp(ReadConfig());
  ComPtr<Application> application(new Application());
  if (!drawing.empty()) {
    try {
      application->OpenAtStart(drawing, ReadConfig());
    } catch (const AutomationError& error) {
      Log(L"server exit (" + error.description + L")");
      return 1;
    }
  }
  std::vector<std::wstring> open;
  {
    const RunningObject running(static_cast<IDispatch*>(application.get()), kClsid);
    if (FAILED(running.result())) {
      Log(L"server exit (not registered as running)");
      return 1;
    }
    Log(L"ready");
    lifetime::RunMessageLoop(0);
    open = application->OpenDrawingPaths();
  }
  Log(ExitLine(open));
  return 0;
}

bool Is(const wchar_t* argument, const wchar_t* name) {
  return (argument[0] == L'/' || argument[0] == L'-') && EqualsIgnoringCase(argument + 1, name);
}

int Main(const std::vector<std::wstring>& arguments) {
  for (const std::wstring& argument : arguments) {
    if (Is(argument.c_str(), L"Embedding")) return ServeEmbedding();
  }
  if (arguments.size() == 2 && Is(arguments[0].c_str(), L"regfile")) {
    return WriteRegFile(arguments[1], RegistrationText(ExePath()));
  }
  if (arguments.size() == 2 && Is(arguments[0].c_str(), L"unregfile")) {
    return WriteRegFile(arguments[1], UnregistrationText());
  }
  if (!arguments.empty() && arguments.size() <= 2 && Is(arguments[0].c_str(), L"run")) {
    return ServeRunning(arguments.size() == 2 ? arguments[1] : std::wstring());
  }
  if (arguments.size() == 1 && Is(arguments[0].c_str(), L"child")) return RunAsChild();
  return 2;
}

}  // namespace

}  // namespace pellacore::standin

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::wstring> arguments;
  for (int i = 1; words && i < count; ++i) arguments.emplace_back(words[i]);
  if (words) ::LocalFree(words);
  try {
    return pellacore::standin::Main(arguments);
  } catch (...) {
    return 1;
  }
}
