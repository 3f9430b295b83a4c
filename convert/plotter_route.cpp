#include "convert/plotter_route.h"

#include "convert/drawing_outcome.h"
#include "util/guarded.h"
#include "util/paths.h"

namespace pellacore {

std::wstring PlotterRoute::MakePdf(GuardedProcedure& guard, const RouteDrawing& drawing, RunOutputPaths& outputs,
                                   DrawingOutcome& outcome) {
  const std::wstring planned = drawing.plannedOutput();
  std::wstring renamed;
  // Each page's file is claimed as the run claims every PDF: an earlier
  // drawing's file of the same name is never replaced.
  const ClaimPath claim = [&](const std::wstring& wanted) {
    const std::wstring path = outputs.Claim(wanted);
    if (path != wanted) {
      renamed += L" Written as \"" + FileNameOfPath(path) + L"\": an earlier drawing of this run has the same name.";
    }
    return path;
  };
  PlotResult result;
  guard.Run(176, [&] {
    result = plotDWGtoPDF(ports_, autoCadFound_, drawing.timeLimitSeconds, title_, drawing.source, planned,
                          choices_, claim);
  });
  outcome.files = result.files;
  if (!result.offeredMedia.empty() && mediaOffered_) guard.Run(176, [&] { mediaOffered_(result.offeredMedia); });
  const bool everyPage = result.pages > 0 && result.files.size() == static_cast<std::size_t>(result.pages);
  if (result.end == PlotEnd::kTimedOut) {
    outcome.result = DrawingResult::kTimedOut;
  } else if (result.end == PlotEnd::kFinished && everyPage) {
    outcome.result = DrawingResult::kConverted;
  }
  if (outcome.message.empty()) {
    if (result.end == PlotEnd::kNoAutoCad) outcome.message = L"No AutoCAD could be started.";
    if (result.end == PlotEnd::kFinished && result.pages == 0) outcome.message = L"AutoCAD listed nothing to plot.";
  }
  if (outcome.result == DrawingResult::kConverted && !renamed.empty()) {
    outcome.message += outcome.message.empty() ? renamed.substr(1) : renamed;
  }
  return L"";
}

}  // namespace pellacore
