#pragma once
// How a drawing becomes its PDF: the one thing the run asks of a route.
// Two routes: a bitmap printed to the PDF printer, and AutoCAD's own plotter.

#include <functional>
#include <string>

namespace pellacore {

class GuardedProcedure;
class RunOutputPaths;
struct DrawingOutcome;

struct RouteDrawing {
  std::wstring source;
  // The PDF's path by the output options, worked out as the route's steps
  // come to it (under the run's guard).
  std::function<std::wstring()> plannedOutput;
  int timeLimitSeconds = 0;
};

class PdfRoute {
 public:
  virtual ~PdfRoute() = default;
  // Makes the drawing's PDF, each file's path claimed from `outputs`; what
  // became of it goes into `outcome` (files, result, message). Answers why
  // the run must stop after this drawing, or "" to go on.
  virtual std::wstring MakePdf(GuardedProcedure& guard, const RouteDrawing& drawing, RunOutputPaths& outputs,
                               DrawingOutcome& outcome) = 0;
};

}  // namespace pellacore
