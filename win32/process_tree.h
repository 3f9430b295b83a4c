#pragma once
// The processes a process started, theirs too, found through the system's
// list of processes and their parents' ids.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "win32/unique_resource.h"

namespace pellacore::win32 {

// What the program may do with a process it holds: wait for it, end it and
// read its times.
inline constexpr DWORD kProcessAccess = SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION;

// When the process started (FILETIME units); raises when it cannot be read.
std::int64_t CreationTimeOf(HANDLE process);

struct OpenProcessEntry {
  DWORD id = 0;
  UniqueHandle handle;  // with kProcessAccess
};

// Every process descended from the process `id` that started at
// `creationTime`, each parent before its children, held open so that no id
// can pass to another process meanwhile. Ids are handed out again: a process
// counts as a child only when it started no earlier than its parent. Raises
// when the list of processes cannot be read.
std::vector<OpenProcessEntry> OpenDescendants(DWORD id, std::int64_t creationTime);

}  // namespace pellacore::win32
