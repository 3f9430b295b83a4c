#pragma once
// Turns the platform's error codes into the program's failures.

#include <windows.h>

#include "util/failure.h"

namespace pellacore::win32 {

// The system's own text for an error code, without the trailing line break;
// a text naming the code when the system has none.
std::wstring SystemMessage(DWORD code);

// A failure of a file-system call: the codes that the program's rules tell
// apart become their numbers (access denied and sharing violations 70
// "Permission denied", a missing folder 76 "Path not found", ...); any other
// code keeps its HRESULT and the system's text.
Failure FileSystemFailure(DWORD code);

// A failure of any other system call: its HRESULT and the system's text.
Failure SystemFailure(DWORD code);

}  // namespace pellacore::win32
