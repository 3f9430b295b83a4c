#pragma once
// A process's open handles counted by the type of their objects, read from
// the system's handle list (NtQuerySystemInformation class 16). Wine answers
// GetProcessHandleCount with 0; its server fills this list.

#include <windows.h>

#include <map>
#include <string>

namespace pellacore::harness {

// Type name ("Event", "Thread", "Key", ...) to the number of handles the
// process holds of it. `process` needs PROCESS_DUP_HANDLE for the names;
// without it a type is named by its index ("#12"). Empty when the list
// cannot be read.
std::map<std::wstring, DWORD> HandleCensus(HANDLE process, DWORD processId);

// All handles of the census.
DWORD HandleTotal(const std::map<std::wstring, DWORD>& census);

// "Event +3, Thread +1": the types that grew from `before` to `after`.
std::wstring HandleGrowth(const std::map<std::wstring, DWORD>& before, const std::map<std::wstring, DWORD>& after);

}  // namespace pellacore::harness
