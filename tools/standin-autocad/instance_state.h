#pragma once
// What every object of one AutoCAD instance shares: whether it has quit,
// whether one of its modal windows is open, its main window, and the
// drawings it holds open. All of it is touched on the instance's one thread.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "tools/standin-autocad/system_variables.h"
#include "win32/com_resource.h"

namespace pellacore::standin {

class Document;

struct InstanceState {
  InstanceState();
  ~InstanceState();  // defined where Document is complete
  InstanceState(const InstanceState&) = delete;
  InstanceState& operator=(const InstanceState&) = delete;

  // Quit has returned: every call on any of its objects answers
  // RPC_E_DISCONNECTED until the process is gone.
  bool quit = false;
  // Modal windows open now: a call that arrives meanwhile is turned away as
  // busy, as AutoCAD's message filter does while a dialog is up.
  int modalWindows = 0;
  // The Application's main window (owned by the Application), owner of the
  // instance's modal windows.
  HWND mainWindow = nullptr;
  // The open drawings in the order they were opened; Close takes one out.
  // Held here, not by the clients: a drawing stays open when they let go.
  std::vector<win32::ComPtr<Document>> openDocuments;
  // Every path Documents.Open was asked for, whether it opened or not.
  std::vector<std::wstring> askedToOpen;
  // SetVariable and GetVariable: the instance's own system variables.
  std::map<std::wstring, SystemVariableValue> variables = DefaultSystemVariables();
  // The active drawing (its plot state), which alone can plot: the one
  // opened or activated last; none when it was closed.
  const void* activeDocument = nullptr;
};

}  // namespace pellacore::standin
