#include "convert/parallel_plots.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <utility>

#include "convert/plotter_route.h"
#include "convert/run_reports.h"
#include "platform/call_thread.h"
#include "platform/clock.h"
#include "util/guarded.h"

namespace pellacore {
namespace {

// How long one wait for the lanes lasts before it is simply begun again.
constexpr std::int64_t kLaneWaitMilliseconds = 60'000;
// A run that ends without End: its lanes' AutoCADs get this long to quit.
constexpr int kEndSecondsUnasked = 30;

}  // namespace

struct ParallelPlots::Lane {
  std::unique_ptr<AutoCadInstances> instances;
  std::unique_ptr<CallThread> thread;
  bool busy = false;  // a drawing (or the end) is in hand; read on the window's thread only
  // It could have no AutoCAD of its own: it takes no drawing any more.
  bool retired = false;
  LaneDrawing drawing;  // the one in hand
  // Set on the lane's thread once `done` holds what became of the drawing.
  std::atomic<bool> ended{false};
  LaneDone done;
};

namespace {

// One drawing, on its lane's thread: plotted as the plotter route does it,
// every report kept as the drawing's own.
void PlotOnLane(ParallelPlots::Lane& lane, const LaneDrawing& drawing, const ParallelPlotPorts& ports,
                const ParallelPlotSetup& setup, RunOutputPaths& outputs) {
  LaneDone& done = lane.done;
  done = LaneDone{drawing.slot, {}, {}};
  DrawingOutcome& outcome = done.outcome;
  outcome.drawing = drawing.source;
  const std::int64_t started = ports.clock.NowMilliseconds();
  try {
    RunReports reports(ports.boxes);
    reports.SetUnattended(true);
    reports.KeepFor(&outcome);
    GuardedProcedure guard(reports, setup.identifier);
    PlotterRoute route(PlotPorts{*lane.instances, reports, ports.fs, ports.pump}, setup.autoCadFound, setup.title,
                       setup.choices,
                       [&done](const std::vector<std::wstring>& offered) { done.offeredMedia = offered; });
    const RouteDrawing routed{drawing.source, [&drawing] { return drawing.plannedOutput; },
                              drawing.timeLimitSeconds};
    route.MakePdf(guard, routed, outputs, outcome);
  } catch (...) {
    // Out of memory or the like, beyond the guard: the drawing failed.
    if (outcome.message.empty()) outcome.message = L"The drawing could not be worked on.";
  }
  outcome.seconds = static_cast<double>(ports.clock.NowMilliseconds() - started) / 1000.0;
  if (outcome.result == DrawingResult::kWaiting) outcome.result = DrawingResult::kFailed;
}

}  // namespace

ParallelPlots::ParallelPlots(ParallelPlotPorts ports, int lanes, ParallelPlotSetup setup, RunOutputPaths& outputs)
    : ports_(ports),
      setup_(std::move(setup)),
      outputs_(outputs),
      most_(static_cast<std::size_t>(std::clamp(lanes, 1, kMostParallelInstances))) {}

ParallelPlots::~ParallelPlots() {
  if (ended_) return;
  try {
    End(kEndSecondsUnasked);
  } catch (...) {
    // Whatever still runs is ended with the window.
  }
}

bool ParallelPlots::HasFreeLane() const {
  // Drawings a retired lane gave back go first.
  if (!again_.empty()) return false;
  return (lanes_.size() < most_ && !sharedServer_) ||
         std::any_of(lanes_.begin(), lanes_.end(),
                     [](const std::unique_ptr<Lane>& lane) { return !lane->busy && !lane->retired; });
}

std::size_t ParallelPlots::InHand() const {
  return static_cast<std::size_t>(
      std::count_if(lanes_.begin(), lanes_.end(), [](const std::unique_ptr<Lane>& lane) { return lane->busy; }));
}

void ParallelPlots::Hand(LaneDrawing drawing) {
  auto free = std::find_if(lanes_.begin(), lanes_.end(),
                           [](const std::unique_ptr<Lane>& lane) { return !lane->busy && !lane->retired; });
  Lane* lane = free == lanes_.end() ? nullptr : free->get();
  if (!lane) {
    // A lane's thread starts when it first has a drawing: a short list
    // never starts more.
    auto added = std::make_unique<Lane>();
    added->thread = ports_.threads.Start();
    added->instances = ports_.instances.NewLane();
    added->instances->BeginRun(setup_.keep);
    lanes_.push_back(std::move(added));
    lane = lanes_.back().get();
  }
  lane->busy = true;
  lane->ended.store(false);
  lane->drawing = std::move(drawing);
  lane->thread->Post([lane, this] {
    PlotOnLane(*lane, lane->drawing, ports_, setup_, outputs_);
    lane->ended.store(true, std::memory_order_release);
  });
}

std::vector<LaneDone> ParallelPlots::WaitForEnded() {
  std::vector<LaneDone> ended;
  while (InHand() > 0 || !again_.empty()) {
    for (const std::unique_ptr<Lane>& lane : lanes_) {
      if (!lane->busy || !lane->ended.load(std::memory_order_acquire)) continue;
      lane->busy = false;
      const auto others = std::count_if(lanes_.begin(), lanes_.end(), [&](const std::unique_ptr<Lane>& other) {
        return other != lane && !other->retired;
      });
      if (lane->instances->SharedInstanceRefused() && others > 0) {
        // AutoCAD hands every client the one AutoCAD: this lane (which has
        // none of its own) retires, no lane is added, and its drawing is
        // done again by a lane that has an AutoCAD of its own.
        lane->retired = true;
        sharedServer_ = true;
        again_.push_back(lane->drawing);
        continue;
      }
      ended.push_back(std::move(lane->done));
    }
    while (!again_.empty() && std::any_of(lanes_.begin(), lanes_.end(), [](const std::unique_ptr<Lane>& lane) {
      return !lane->busy && !lane->retired;
    })) {
      LaneDrawing drawing = std::move(again_.front());
      again_.pop_front();
      Hand(std::move(drawing));
    }
    if (!ended.empty()) break;
    ports_.threads.WaitForPosted(ports_.clock.NowMilliseconds() + kLaneWaitMilliseconds);
  }
  std::sort(ended.begin(), ended.end(), [](const LaneDone& a, const LaneDone& b) { return a.slot < b.slot; });
  return ended;
}

void ParallelPlots::End(int seconds) {
  ended_ = true;
  while (InHand() > 0) WaitForEnded();
  for (const std::unique_ptr<Lane>& lane : lanes_) {
    lane->busy = true;
    lane->ended.store(false);
    Lane* quitting = lane.get();
    lane->thread->Post([quitting, seconds] {
      quitting->instances->EndRun(seconds);
      quitting->ended.store(true, std::memory_order_release);
    });
  }
  while (std::any_of(lanes_.begin(), lanes_.end(), [](const std::unique_ptr<Lane>& lane) {
    return !lane->ended.load(std::memory_order_acquire);
  })) {
    ports_.threads.WaitForPosted(ports_.clock.NowMilliseconds() + kLaneWaitMilliseconds);
  }
  for (const std::unique_ptr<Lane>& lane : lanes_) lane->busy = false;
}

}  // namespace pellacore
