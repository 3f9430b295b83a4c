#pragma once
// Turns COM's failures into the program's: the HRESULT as the number, the
// system's text or, where the system has none, a text of our own that names
// the code.

#include <windows.h>

#include <oaidl.h>

#include "util/failure.h"

namespace pellacore::win32 {

Failure ComFailure(HRESULT result);

// A server's exception (DISP_E_EXCEPTION), from what it filled in: its own
// code and description where it gave them.
Failure ExceptionFailure(EXCEPINFO& info);

}  // namespace pellacore::win32
