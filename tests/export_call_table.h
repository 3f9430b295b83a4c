#pragma once
// What the export asks of AutoCAD, in order, once it has an instance, in the
// form both the fake and the stand-in AutoCAD log their calls.

#include <string>
#include <vector>

namespace pellacore::testing {

inline std::vector<std::wstring> ExportCallTable(const std::wstring& drawing, const std::wstring& stem) {
  return {L"Application.WindowState put (VT_I2 3)",
          L"Application.Documents get ()",
          L"Documents.Open call (VT_BSTR|VT_BYREF " + drawing + L")",
          L"Application.Application get ()",
          L"Application.Visible put (VT_BOOL true)",
          L"Document.SelectionSets get ()",
          L"SelectionSets.add call (VT_BSTR NEWSS)",
          L"SelectionSet.Select call (VT_I2 5)",
          L"Document.Export call (VT_BSTR|VT_BYREF " + stem +
              L", VT_BSTR BMP, VT_DISPATCH|VT_BYREF SelectionSet)",
          L"Document.Close call ()",
          L"Application.Quit call ()"};
}

}  // namespace pellacore::testing
