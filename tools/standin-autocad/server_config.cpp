#include "tools/standin-autocad/server_config.h"

#include <windows.h>

#include <cwchar>

namespace pellacore::standin {

namespace {

std::wstring ReadText(const wchar_t* name) {
  DWORD bytes = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, kConfigKey, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS) {
    return {};
  }
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (::RegGetValueW(HKEY_CURRENT_USER, kConfigKey, name, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
      ERROR_SUCCESS) {
    return {};
  }
  text.resize(std::wcslen(text.c_str()));
  return text;
}

bool IsOn(const wchar_t* name) { return ReadText(name) == L"1"; }

unsigned long Milliseconds(const wchar_t* name, unsigned long absent) {
  const std::wstring text = ReadText(name);
  return text.empty() ? absent : std::wcstoul(text.c_str(), nullptr, 10);
}

}  // namespace

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

Config ReadConfig() {
  Config config;
  config.logFile = ReadText(L"LogFile");
  config.failCreate = IsOn(L"FailCreate");
  config.failOpen = ReadText(L"FailOpen");
  config.exportWithoutFile = IsOn(L"ExportWithoutFile");
  config.unreadableBitmap = ReadText(L"UnreadableBitmap");
  config.crashIn = ReadText(L"CrashIn");
  config.rejectCalls = std::wcstol(ReadText(L"RejectCalls").c_str(), nullptr, 10);
  config.deferExceptionInfo = IsOn(L"DeferExceptionInfo");
  config.hangIn = ReadText(L"HangIn");
  config.dialogIn = ReadText(L"DialogIn");
  config.startDelayMs = Milliseconds(L"StartDelayMs", 0);
  config.delayMs = ReadText(L"DelayMs");
  config.modifiedOnOpen = IsOn(L"ModifiedOnOpen");
  config.childProcess = IsOn(L"ChildProcess");
  config.lingerAfterQuitMs = Milliseconds(L"LingerAfterQuitMs", kDefaultLingerAfterQuitMs);
  config.onlyFor = ReadText(L"OnlyFor");
  return config;
}

}  // namespace pellacore::standin
