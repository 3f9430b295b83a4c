#pragma once
// A modal window of the instance, owned by its main window, as AutoCAD's
// own questions are: the call that shows it does not return until a person
// answers. While it is open, calls from clients are turned away as busy.

#include <windows.h>

#include <string>

#include "tools/standin-autocad/instance_state.h"

namespace pellacore::standin {

// Shows `text` in a message box captioned "AutoCAD" with `buttons`
// (MB_OK, MB_YESNOCANCEL, ...) and answers the button pressed (IDOK, IDYES,
// ...).
int AskModal(InstanceState& instance, const std::wstring& text, UINT buttons);

}  // namespace pellacore::standin
