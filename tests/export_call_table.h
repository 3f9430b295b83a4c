#pragma once
// What the export asks of AutoCAD, in order, once it has an instance, in the
// form both the fake and the stand-in AutoCAD log their calls. `own`: the
// instance is one the program started, so it is quit at the end; a user's
// is left running.

#include <string>
#include <vector>

namespace pellacore::testing {

inline std::vector<std::wstring> ExportCallTable(const std::wstring& drawing, const std::wstring& stem,
                                                 bool own = true) {
  std::vector<std::wstring> calls{
      L"Application.HWND get ()",
      L"Application.WindowState put (VT_I2 3)",
      L"Application.Documents get ()",
      L"Documents.Open call (VT_BSTR|VT_BYREF " + drawing + L")",
      L"Application.Application get ()",
      L"Application.Visible put (VT_BOOL true)",
      L"Document.SelectionSets get ()",
      L"SelectionSets.add call (VT_BSTR NEWSS)",
      L"SelectionSet.Select call (VT_I2 5)",
      L"Document.Export call (VT_BSTR|VT_BYREF " + stem + L", VT_BSTR BMP, VT_DISPATCH|VT_BYREF SelectionSet)",
      L"Document.Close call (VT_BOOL false)"};
  if (own) calls.push_back(L"Application.Quit call ()");
  return calls;
}

}  // namespace pellacore::testing
