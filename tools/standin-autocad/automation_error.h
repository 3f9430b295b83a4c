#pragma once
// What a member of the stand-in throws when it fails the way AutoCAD would:
// Invoke turns it into DISP_E_EXCEPTION with an EXCEPINFO.

#include <windows.h>

#include <string>

namespace pellacore::standin {

struct AutomationError {
  HRESULT code = E_FAIL;  // EXCEPINFO's scode
  std::wstring description;
};

// The system's text for a Win32 error code, without the trailing line break.
std::wstring SystemText(DWORD code);

}  // namespace pellacore::standin
