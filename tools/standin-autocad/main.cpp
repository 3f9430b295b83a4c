// standin-autocad.exe: a local automation server registered as
// "AutoCAD.Application", for running the converter where AutoCAD is not.
//   standin-autocad.exe /regfile OUT.reg     writes the .reg that registers it
//   standin-autocad.exe /unregfile OUT.reg   writes the .reg that removes it
//   standin-autocad.exe /run                 one Application in the running
//                                            object table, until Quit
//   (COM starts it with -Embedding)          serves one creation
// Exit codes: 0 done, 1 a failure, 2 a command line it does not know.

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "tools/standin-autocad/autocad_objects.h"
#include "tools/standin-autocad/call_log.h"
#include "tools/standin-autocad/class_factory.h"
#include "tools/standin-autocad/registration.h"
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
  ClassFactory factory;
  DWORD cookie = 0;
  if (FAILED(::CoRegisterClassObject(kClsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie))) {
    Log(L"server exit (class not registered)");
    return 1;
  }
  lifetime::RunMessageLoop(kIdleTimeoutMs);
  ::CoRevokeClassObject(cookie);
  Log(L"server exit");
  return 0;
}

// An AutoCAD the user started: found by GetActiveObject, ended by Quit.
int ServeRunning() {
  const ComApartment com;
  if (!com.ok()) return 1;
  lifetime::Begin(lifetime::Mode::Run);
  Log(L"server start run");
  DWORD registration = 0;
  {
    ComPtr<Application> application(new Application());
    if (FAILED(::RegisterActiveObject(application.get(), kClsid, ACTIVEOBJECT_STRONG, &registration))) {
      Log(L"server exit (not registered as running)");
      return 1;
    }
  }
  Log(L"ready");
  lifetime::RunMessageLoop(0);
  ::RevokeActiveObject(registration, nullptr);
  Log(L"server exit");
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
  if (arguments.size() == 1 && Is(arguments[0].c_str(), L"run")) return ServeRunning();
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
