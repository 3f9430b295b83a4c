#pragma once
// The plot of one drawing to vector PDFs through AutoCAD's own plotter: an
// instance attached to or started, the drawing opened, AutoCAD told to plot
// in the foreground without dialogs, every paper-space layout that holds
// something plotted with "DWG To PDF.pc3" in tab order (model space when
// none does), the drawing closed without saving, what was changed in a
// user's AutoCAD put back, and the program's own instance quit.

#include <functional>
#include <string>
#include <vector>

#include "convert/autocad_steps.h"

namespace pellacore {

class EventPump;
class FileSystem;
class MessageBoxes;

inline constexpr wchar_t kPdfPlotDevice[] = L"DWG To PDF.pc3";
inline constexpr wchar_t kMonochromeStyle[] = L"monochrome.ctb";
// Where no media is chosen and a layout does not plot to PDF already.
inline constexpr wchar_t kDefaultPlotMedia[] = L"ISO_full_bleed_A3_(420.00_x_297.00_MM)";

// The media names offered for choice: those "DWG To PDF.pc3" is commonly
// set up with.
const std::vector<std::wstring>& BuiltInPlotMedia();

struct PlotPorts {
  AutoCadInstances& instances;
  MessageBoxes& boxes;
  FileSystem& fs;
  EventPump& pump;
};

// Paper and colour. `media` "": each layout's own setup when it plots to
// PDF already, otherwise fitted to ISO A3; or one media name for all.
struct PlotChoices {
  std::wstring media;
  bool monochrome = false;
};

using PlotEnd = AutoCadWorkEnd;

struct PlotResult {
  PlotEnd end = PlotEnd::kNotTried;
  int pages = 0;                    // the pages there were to plot
  std::vector<std::wstring> files;  // the PDFs written, checked to exist
  // The media names AutoCAD's PDF device offered, when it was asked.
  std::vector<std::wstring> offeredMedia;
};

// Turns a wanted PDF path into the one the run gives it (its name
// collisions resolved).
using ClaimPath = std::function<std::wstring(const std::wstring&)>;

// The page names: `pdfPath` for a single page; "name - Layout.pdf" beside
// it for each of several.
std::wstring PagePath(const std::wstring& pdfPath, const std::wstring& layout, int pages);

// Plots the drawing to `pdfPath` (or its page names), each everything AutoCAD
// does within `timeLimitSeconds`. Does nothing when `autoCadFound` is false.
// Guarded: "in Corvanta2021/08/31.Form1.plotDWGtoPDF "; a plot that AutoCAD
// answers false, or that leaves no file, is one report, and the other pages
// are still plotted.
PlotResult plotDWGtoPDF(PlotPorts ports, bool autoCadFound, int timeLimitSeconds, const std::wstring& title,
                        const std::wstring& drawingPath, const std::wstring& pdfPath, const PlotChoices& choices,
                        const ClaimPath& claim);

}  // namespace pellacore
