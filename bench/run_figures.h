#pragma once
// The conversion run benchmark's figures: the stand-in's costs as its
// switches take them, and each configuration's time, ratio and target as the
// benchmark prints them. A configuration that did not convert every drawing
// is reported as such and never timed.

#include <optional>
#include <string>

namespace pellacore::bench {

// What the stand-in AutoCAD is told to cost, in milliseconds.
struct StandinCosts {
  int startMs = 0;
  // Documents.Open, and the export (printer route) or plot (plotter route).
  int openMs = 0;
  int outputMs = 0;
  int quitMs = 0;
};

// The stand-in's "DelayMs" value: Open, Export and PlotToFile.
std::wstring DelayMsValue(const StandinCosts& costs);
std::wstring CostsLine(const StandinCosts& costs);
// What AutoCAD costs per drawing when one instance serves them all.
double KeptSecondsPerDrawing(const StandinCosts& costs);

// One configuration's run of the drawings.
struct RunTiming {
  std::wstring name;
  std::size_t drawings = 0;
  std::size_t converted = 0;
  double seconds = 0;
  // Whether the end box came within the bound.
  bool ended = false;
};

bool Complete(const RunTiming& run);
double SecondsPerDrawing(const RunTiming& run);
// "<name>: 12.3 s for 40 drawings, 0.31 s per drawing", or why it is not timed.
std::wstring TimingLine(const RunTiming& run);

// How many times faster `fast` ran the drawings than `slow`, beside the
// target and whether it is met (no verdict without a target); a run absent
// is not built yet, a run that did not convert all is not measured.
std::wstring SpeedupLine(const std::wstring& what, const std::optional<RunTiming>& slow,
                         const std::optional<RunTiming>& fast, std::optional<double> targetRatio);

// The program's own time per drawing (a run on a stand-in that costs
// nothing) as a share of AutoCAD's time per drawing, beside the target.
std::wstring OwnShareLine(const RunTiming& freeRun, double autocadSecondsPerDrawing, double targetShare);

}  // namespace pellacore::bench
