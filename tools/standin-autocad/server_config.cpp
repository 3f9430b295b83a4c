#include "tools/standin-autocad/server_config.h"

#include <windows.h>

#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/standin-autocad/fault_plan.h"

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

unsigned long Milliseconds(const std::wstring& text, unsigned long absent) {
  return text.empty() ? absent : std::wcstoul(text.c_str(), nullptr, 10);
}

// Every switch the registry and a fault plan can set, in one place.
constexpr const wchar_t* kSwitchNames[] = {
    L"LogFile",      L"FailCreate",   L"FailOpen",       L"ExportWithoutFile", L"CrashIn",
    L"RejectCalls",  L"DeferExceptionInfo", L"HangIn",   L"DialogIn",          L"StartDelayMs",
    L"DelayMs",      L"ModifiedOnOpen", L"ChildProcess", L"LingerAfterQuitMs", L"OnlyFor",
    L"FaultPlan",    L"UnreadableBitmap", L"FailPlot",
};

std::wstring Utf8ToWide(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
  return wide;
}

}  // namespace

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

void SetSwitch(Config& config, std::wstring_view name, const std::wstring& text) {
  const auto is = [&](const wchar_t* switchName) { return EqualsIgnoringCase(name, switchName); };
  const bool on = text == L"1";
  if (is(L"LogFile")) config.logFile = text;
  else if (is(L"FailCreate")) config.failCreate = on;
  else if (is(L"FailOpen")) config.failOpen = text;
  else if (is(L"ExportWithoutFile")) config.exportWithoutFile = on;
  else if (is(L"CrashIn")) config.crashIn = text;
  else if (is(L"RejectCalls")) config.rejectCalls = std::wcstol(text.c_str(), nullptr, 10);
  else if (is(L"DeferExceptionInfo")) config.deferExceptionInfo = on;
  else if (is(L"HangIn")) config.hangIn = text;
  else if (is(L"DialogIn")) config.dialogIn = text;
  else if (is(L"StartDelayMs")) config.startDelayMs = Milliseconds(text, 0);
  else if (is(L"DelayMs")) config.delayMs = text;
  else if (is(L"ModifiedOnOpen")) config.modifiedOnOpen = on;
  else if (is(L"ChildProcess")) config.childProcess = on;
  else if (is(L"LingerAfterQuitMs")) config.lingerAfterQuitMs = Milliseconds(text, kDefaultLingerAfterQuitMs);
  else if (is(L"OnlyFor")) config.onlyFor = text;
  else if (is(L"FaultPlan")) config.faultPlan = text;
  else if (is(L"UnreadableBitmap")) config.unreadableBitmap = text;
  else if (is(L"FailPlot")) config.failPlot = text;
}

Config ReadConfig() {
  Config config;
  for (const wchar_t* name : kSwitchNames) SetSwitch(config, name, ReadText(name));
  return config;
}

Config WithFaultPlan(Config config, const std::vector<std::wstring>& asked) {
  if (config.faultPlan.empty() || asked.empty()) return config;
  std::ifstream in(std::filesystem::path(config.faultPlan), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<PlanLine> plan = ParseFaultPlan(Utf8ToWide(bytes));
  const PlanLine* line = PlanLineFor(plan, asked);
  if (!line) return config;
  config.onlyFor.clear();
  for (const PlanSwitch& one : line->switches) SetSwitch(config, one.name, one.value);
  return config;
}

}  // namespace pellacore::standin
