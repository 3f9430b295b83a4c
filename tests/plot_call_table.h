#pragma once
// What the plot asks of AutoCAD, in order, once it has an instance, in the
// form both the fake and the stand-in AutoCAD log their calls. A drawing is
// described by its layouts as Document.Layouts lists them; the pages are
// those the plot is expected to make, each with its layout's index, whether
// its own setup is kept, and the file it goes to.

#include <string>
#include <vector>

namespace pellacore::testing {

struct PlotTableLayout {
  std::wstring name;
};

struct PlotTablePage {
  std::wstring file;
  bool keepsOwnSetup = false;  // set up for "DWG To PDF.pc3" already, no media chosen
  std::wstring media = L"ISO_full_bleed_A3_(420.00_x_297.00_MM)";
  bool wide = true;  // the drawing's extents wider than high
};

struct PlotTable {
  std::wstring drawing;
  int layoutCount = 2;
  std::vector<PlotTablePage> pages;
  bool mediaChosen = false;  // "PlotMedia" names one media for all
  bool monochrome = false;
  bool own = true;  // the program's instance: quit, nothing put back
  // What the user's AutoCAD had, in the order the plot sets them.
  std::vector<int> before{2, 1, 0, 1, 0};
};

inline std::vector<std::wstring> PlotCallTable(const PlotTable& table) {
  static const wchar_t* const kNames[] = {L"BACKGROUNDPLOT", L"FILEDIA", L"PLQUIET", L"PROXYNOTICE", L"RECOVERAUTO"};
  static const int kValues[] = {0, 0, 1, 0, 3};
  std::vector<std::wstring> calls{L"Application.HWND get ()", L"Application.Documents get ()",
                                  L"Documents.Open call (VT_BSTR|VT_BYREF " + table.drawing + L")"};
  for (int i = 0; i < 5; ++i) {
    calls.push_back(L"Document.GetVariable call (VT_BSTR " + std::wstring(kNames[i]) + L")");
    calls.push_back(L"Document.SetVariable call (VT_BSTR " + std::wstring(kNames[i]) + L", VT_I2 " +
                    std::to_wstring(kValues[i]) + L")");
  }
  calls.push_back(L"Document.Plot get ()");
  calls.push_back(L"Plot.QuietErrorMode put (VT_BOOL true)");
  calls.push_back(L"Document.Layouts get ()");
  calls.push_back(L"Layouts.Count get ()");
  for (int i = 0; i < table.layoutCount; ++i) {
    calls.push_back(L"Layouts.Item call (VT_I2 " + std::to_wstring(i) + L")");
    calls.push_back(L"Layout.Name get ()");
    calls.push_back(L"Layout.TabOrder get ()");
    calls.push_back(L"Layout.Block get ()");
    calls.push_back(L"Block.Count get ()");
  }
  for (const PlotTablePage& page : table.pages) {
    calls.push_back(L"Document.ActiveLayout put (VT_DISPATCH Layout)");
    calls.push_back(L"Layout.RefreshPlotDeviceInfo call ()");
    // Asked only when no media is chosen: then a PDF setup is kept.
    if (!table.mediaChosen) calls.push_back(L"Layout.ConfigName get ()");
    if (!page.keepsOwnSetup) {
      calls.push_back(L"Layout.ConfigName put (VT_BSTR DWG To PDF.pc3)");
      calls.push_back(L"Layout.GetCanonicalMediaNames call ()");
      calls.push_back(L"Layout.CanonicalMediaName put (VT_BSTR " + page.media + L")");
      calls.push_back(L"Document.GetVariable call (VT_BSTR EXTMIN)");
      calls.push_back(L"Document.GetVariable call (VT_BSTR EXTMAX)");
      calls.push_back(std::wstring(L"Layout.PlotRotation put (VT_I2 ") + (page.wide ? L"1" : L"0") + L")");
      calls.push_back(L"Layout.PlotType put (VT_I2 1)");
      calls.push_back(L"Layout.UseStandardScale put (VT_BOOL true)");
      calls.push_back(L"Layout.StandardScale put (VT_I2 0)");
      calls.push_back(L"Layout.CenterPlot put (VT_BOOL true)");
    }
    if (table.monochrome) calls.push_back(L"Layout.StyleSheet put (VT_BSTR monochrome.ctb)");
    calls.push_back(std::wstring(L"Layout.PlotWithPlotStyles put (VT_BOOL ") + (table.monochrome ? L"true" : L"false") +
                    L")");
    calls.push_back(L"Plot.PlotToFile call (VT_BSTR " + page.file + L")");
  }
  if (!table.own) {
    for (int i = 4; i >= 0; --i) {
      calls.push_back(L"Document.SetVariable call (VT_BSTR " + std::wstring(kNames[i]) + L", VT_I2 " +
                      std::to_wstring(table.before[static_cast<std::size_t>(i)]) + L")");
    }
  }
  calls.push_back(L"Document.Close call (VT_BOOL false)");
  if (table.own) calls.push_back(L"Application.Quit call ()");
  return calls;
}

}  // namespace pellacore::testing
