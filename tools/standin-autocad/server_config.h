#pragma once
// The stand-in's switches, read afresh at every call from HKCU
// "Software\Pellacore\Stand-ins\AutoCAD" (REG_SZ values; absent means off).
// A COM-launched server does not inherit its client's environment on
// Windows, so the registry is where a test sets them.

#include <string>
#include <string_view>
#include <vector>

namespace pellacore::standin {

inline constexpr wchar_t kConfigKey[] = L"Software\\Pellacore\\Stand-ins\\AutoCAD";

// How long an instance stays after Quit has returned, unless told otherwise.
inline constexpr unsigned long kDefaultLingerAfterQuitMs = 500;

struct Config {
  std::wstring logFile;            // "LogFile"
  bool failCreate = false;         // "FailCreate" = "1"
  std::wstring failOpen;           // "FailOpen" = a drawing path
  bool exportWithoutFile = false;  // "ExportWithoutFile" = "1"
  std::wstring unreadableBitmap;   // "UnreadableBitmap" = a drawing path
  std::wstring crashIn;            // "CrashIn" = a member name
  long rejectCalls = 0;            // "RejectCalls" = N
  bool deferExceptionInfo = false; // "DeferExceptionInfo" = "1"
  std::wstring hangIn;             // "HangIn" = a member name
  std::wstring dialogIn;           // "DialogIn" = a member name
  unsigned long startDelayMs = 0;  // "StartDelayMs" = N
  std::wstring delayMs;            // "DelayMs" = N, or "Member=N,Member=N"
  bool modifiedOnOpen = false;     // "ModifiedOnOpen" = "1"
  bool childProcess = false;       // "ChildProcess" = "1"
  unsigned long lingerAfterQuitMs = kDefaultLingerAfterQuitMs;  // "LingerAfterQuitMs" = N
  // "OnlyFor" = a drawing path: CrashIn, HangIn, DelayMs, DialogIn and FailPlot act
  // only in an instance that has been asked to open that drawing (from the
  // Open of it on), as a real AutoCAD fails on one drawing and not the next.
  std::wstring onlyFor;
  // "FaultPlan" = a file (fault_plan.h): switches per drawing, for an
  // instance once it has been asked to open that drawing.
  std::wstring faultPlan;
  // "FailPlot" = "error": Plot.PlotToFile raises; "false": it answers
  // false and writes nothing. Per drawing through a fault plan.
  std::wstring failPlot;
};

Config ReadConfig();

// Sets the switch called `name` (any case) from its text, as the registry
// value of that name would; an unknown name changes nothing.
void SetSwitch(Config& config, std::wstring_view name, const std::wstring& text);

// `config` with the fault plan's switches for the latest of `asked` that the
// plan names put over the registry's, OnlyFor left out (a plan line is for
// its drawing already). Unchanged without a plan, or when it names none.
Config WithFaultPlan(Config config, const std::vector<std::wstring>& asked);

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace pellacore::standin
