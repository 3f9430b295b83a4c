#pragma once
// A layout plotted onto one PDF page: its entities scaled to fit the sheet
// and centred, curves as Bezier paths, texts as Helvetica text, in their
// colours or all black. Portable.

#include <vector>

#include "tools/standin-autocad/dxf.h"
#include "tools/standin-autocad/pdf_writer.h"
#include "tools/standin-autocad/plot_media.h"

namespace pellacore::standin {

// Room kept free along every edge of the sheet, in points.
inline constexpr double kPlotMargin = 18;

struct PlotRequest {
  PageSize page;
  int rotation = 0;  // PlotRotation: 2 and 3 turn the drawing upside down
  bool monochrome = false;
  // Points per drawing unit; 0 scales the drawing to fit the sheet.
  double pointsPerUnit = 0;
  // Centred on the sheet, or its extents' lower left at the margins.
  bool centred = true;
};

// `colours` holds one AutoCAD colour index per entity (dxf.h).
PdfPage PlotPage(const std::vector<Entity>& entities, const std::vector<int>& colours,
                 const PlotRequest& request);

// The RGB an AutoCAD colour index plots in on white paper.
PdfColour PlotColour(int colourIndex);

}  // namespace pellacore::standin
