#pragma once
// The route of vector PDFs: each drawing plotted by AutoCAD itself, one
// page per layout that holds something. No bitmap, no printer, no key.

#include <functional>
#include <string>
#include <vector>

#include "convert/drawing_plot.h"
#include "convert/pdf_route.h"

namespace pellacore {

class PlotterRoute : public PdfRoute {
 public:
  // Told the media names AutoCAD's PDF device offers, each time it is asked.
  using MediaOffered = std::function<void(const std::vector<std::wstring>&)>;

  PlotterRoute(PlotPorts ports, bool autoCadFound, std::wstring title, PlotChoices choices,
               MediaOffered mediaOffered = {})
      : ports_(ports),
        autoCadFound_(autoCadFound),
        title_(std::move(title)),
        choices_(std::move(choices)),
        mediaOffered_(std::move(mediaOffered)) {}

  std::wstring MakePdf(GuardedProcedure& guard, const RouteDrawing& drawing, RunOutputPaths& outputs,
                       DrawingOutcome& outcome) override;

 private:
  PlotPorts ports_;
  bool autoCadFound_;
  std::wstring title_;
  PlotChoices choices_;
  MediaOffered mediaOffered_;
};

}  // namespace pellacore
