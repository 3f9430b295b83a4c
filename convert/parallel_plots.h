#pragma once
// A run's drawings plotted by several AutoCADs at once. Each lane is a
// thread with an AutoCAD owner of its own; each drawing goes to one lane,
// whose plotter writes only the PDFs it claimed from the run. The window's
// thread hands the drawings out and takes what became of them, handling
// the window's events whenever it waits; it never waits for one lane alone.
// A lane keeps every report of its drawing as the drawing's reason: a box
// waiting in one lane would hold up the others. Should AutoCAD answer a
// lane's start with another lane's AutoCAD (a server that serves every
// client from one instance), that lane retires and its drawing is done
// again by a lane with an AutoCAD of its own.

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "convert/autocad_instances.h"
#include "convert/drawing_outcome.h"
#include "convert/drawing_plot.h"

namespace pellacore {

class CallThreads;
class Clock;
class EventPump;
class FileSystem;
class MessageBoxes;

// The most AutoCADs a run plots with at once.
inline constexpr int kMostParallelInstances = 8;

struct ParallelPlotPorts {
  AutoCadInstances& instances;  // makes each lane's owner
  CallThreads& threads;         // the lanes' threads, and the wait for them
  FileSystem& fs;
  EventPump& pump;
  Clock& clock;
  MessageBoxes& boxes;  // never shown: the lanes keep their reports
};

struct ParallelPlotSetup {
  bool autoCadFound = false;
  std::wstring title;
  PlotChoices choices;
  KeepPolicy keep;
  // The procedure a drawing's error report names.
  std::wstring identifier;
};

// A drawing handed to a lane.
struct LaneDrawing {
  std::size_t slot = 0;  // its place among the run's outcomes
  std::wstring source;
  std::wstring plannedOutput;  // the PDF's path by the output options
  int timeLimitSeconds = 0;
};

// What became of a drawing a lane had.
struct LaneDone {
  std::size_t slot = 0;
  DrawingOutcome outcome;
  // The media names AutoCAD's PDF device offered, when it was asked.
  std::vector<std::wstring> offeredMedia;
};

class ParallelPlots {
 public:
  // `lanes` from 1 to kMostParallelInstances; `outputs` outlives this.
  ParallelPlots(ParallelPlotPorts ports, int lanes, ParallelPlotSetup setup, RunOutputPaths& outputs);
  // Ends the lanes as End does, when End was not called.
  ~ParallelPlots();
  ParallelPlots(const ParallelPlots&) = delete;
  ParallelPlots& operator=(const ParallelPlots&) = delete;

  bool HasFreeLane() const;
  // How many drawings lanes have in hand.
  std::size_t InHand() const;
  // Gives the drawing to a free lane and returns at once. Raises when the
  // lane's thread cannot be started.
  void Hand(LaneDrawing drawing);
  // Waits, handling the window's events, until a drawing in hand has ended;
  // answers every one that has, in slot order. Answers none when none is
  // in hand.
  std::vector<LaneDone> WaitForEnded();
  // Waits for the drawings in hand, then has every lane quit the AutoCAD it
  // kept (each within `seconds`, all at once) and waits for them too.
  void End(int seconds);

  struct Lane;

 private:
  ParallelPlotPorts ports_;
  ParallelPlotSetup setup_;
  RunOutputPaths& outputs_;
  std::size_t most_;
  std::vector<std::unique_ptr<Lane>> lanes_;
  // Drawings to hand again, and whether AutoCAD gave a lane another lane's.
  std::deque<LaneDrawing> again_;
  bool sharedServer_ = false;
  bool ended_ = false;
};

}  // namespace pellacore
