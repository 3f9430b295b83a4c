#include "win32/com_failure.h"

#include <array>
#include <cwchar>
#include <string>
#include <utility>

#include "win32/win32_failure.h"

namespace pellacore::win32 {
namespace {

// Codes the automation partners answer with that Wine has no text for.
constexpr std::array<std::pair<HRESULT, const wchar_t*>, 12> kOwnTexts{{
    {CO_E_CLASSSTRING, L"the class name is not registered"},
    {REGDB_E_CLASSNOTREG, L"the class is not registered"},
    {MK_E_UNAVAILABLE, L"no object of the class is running"},
    {CO_E_SERVER_EXEC_FAILURE, L"the server could not be started"},
    {DISP_E_EXCEPTION, L"the server raised an exception"},
    {DISP_E_UNKNOWNNAME, L"the object has no member of that name"},
    {DISP_E_MEMBERNOTFOUND, L"the object has no such member"},
    {DISP_E_BADPARAMCOUNT, L"the member takes another number of arguments"},
    {DISP_E_TYPEMISMATCH, L"an argument has a type the member does not take"},
    {RPC_E_CALL_REJECTED, L"the server rejected the call"},
    {RPC_E_SERVERCALL_RETRYLATER, L"the server is busy"},
    {RPC_E_DISCONNECTED, L"the object is no longer connected to its server"},
}};

std::wstring CodeText(HRESULT result) {
  wchar_t text[40];
  std::swprintf(text, std::size(text), L"Automation error 0x%08lX", static_cast<unsigned long>(result));
  return text;
}

// The system's text, or "" when it has none.
std::wstring SystemText(HRESULT result) {
  // A Win32 code wrapped in an HRESULT has its text under the Win32 code.
  const DWORD code = HRESULT_FACILITY(result) == FACILITY_WIN32 ? static_cast<DWORD>(HRESULT_CODE(result))
                                                                : static_cast<DWORD>(result);
  std::wstring text = SystemMessage(code);
  // SystemMessage's own wording when the system has no text.
  if (text == L"System error " + std::to_wstring(code)) return {};
  return text;
}

}  // namespace

Failure ComFailure(HRESULT result) {
  std::wstring description = SystemText(result);
  if (description.empty()) {
    description = CodeText(result);
    for (const auto& [code, text] : kOwnTexts) {
      if (code == result) description += std::wstring(L": ") + text;
    }
  }
  return Failure(static_cast<long>(result), std::move(description));
}

Failure ExceptionFailure(EXCEPINFO& info) {
  // A server may leave the details to be filled in only when asked.
  if (info.pfnDeferredFillIn) {
    const auto fillIn = std::exchange(info.pfnDeferredFillIn, nullptr);
    fillIn(&info);
  }
  const HRESULT number = info.scode ? info.scode : DISP_E_EXCEPTION;
  std::wstring description;
  if (info.bstrDescription) description.assign(info.bstrDescription, ::SysStringLen(info.bstrDescription));
  if (description.empty()) {
    description = CodeText(number) + L": the server raised an exception";
    if (!info.scode) description += L" with code " + std::to_wstring(info.wCode);
  }
  return Failure(static_cast<long>(number), std::move(description));
}

}  // namespace pellacore::win32
