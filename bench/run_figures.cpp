#include "bench/run_figures.h"

#include <cstdio>

namespace pellacore::bench {

namespace {

std::wstring Fixed(double value, int decimals) {
  wchar_t text[64];
  std::swprintf(text, 64, L"%.*f", decimals, value);
  return text;
}

std::wstring SecondsOfMs(int ms) { return Fixed(ms / 1000.0, 1) + L" s"; }

// Why a run gives no figure, or "" when it gives one.
std::wstring Unmeasured(const std::optional<RunTiming>& run) {
  if (!run) return L"not built yet";
  if (!run->ended) return L"not measured: " + run->name + L" did not end";
  if (!Complete(*run)) {
    return L"not measured: " + run->name + L" converted " + std::to_wstring(run->converted) + L" of " +
           std::to_wstring(run->drawings);
  }
  return L"";
}

}  // namespace

std::wstring DelayMsValue(const StandinCosts& costs) {
  const std::wstring open = std::to_wstring(costs.openMs);
  const std::wstring output = std::to_wstring(costs.outputMs);
  return L"Open=" + open + L",Export=" + output + L",PlotToFile=" + output;
}

std::wstring CostsLine(const StandinCosts& costs) {
  return L"start " + SecondsOfMs(costs.startMs) + L", open " + SecondsOfMs(costs.openMs) + L", export or plot " +
         SecondsOfMs(costs.outputMs) + L", quit " + SecondsOfMs(costs.quitMs);
}

double KeptSecondsPerDrawing(const StandinCosts& costs) { return (costs.openMs + costs.outputMs) / 1000.0; }

bool Complete(const RunTiming& run) { return run.ended && run.drawings > 0 && run.converted == run.drawings; }

double SecondsPerDrawing(const RunTiming& run) {
  return run.drawings > 0 ? run.seconds / static_cast<double>(run.drawings) : 0;
}

std::wstring TimingLine(const RunTiming& run) {
  if (const std::wstring why = Unmeasured(run); !why.empty()) return run.name + L": " + why;
  return run.name + L": " + Fixed(run.seconds, 1) + L" s for " + std::to_wstring(run.drawings) + L" drawings, " +
         Fixed(SecondsPerDrawing(run), 2) + L" s per drawing";
}

std::wstring SpeedupLine(const std::wstring& what, const std::optional<RunTiming>& slow,
                         const std::optional<RunTiming>& fast, std::optional<double> targetRatio) {
  const std::wstring target =
      targetRatio ? L"(target: at least " + Fixed(*targetRatio, 0) + L" times)" : std::wstring(L"(no target)");
  for (const std::optional<RunTiming>* run : {&slow, &fast}) {
    if (const std::wstring why = Unmeasured(*run); !why.empty()) return what + L": " + why + L" " + target;
  }
  if (slow->drawings != fast->drawings || fast->seconds <= 0) {
    return what + L": not measured: the runs do not compare " + target;
  }
  const double ratio = slow->seconds / fast->seconds;
  const std::wstring verdict = !targetRatio ? L"" : ratio >= *targetRatio ? L": met" : L": NOT met";
  return what + L": " + Fixed(ratio, 2) + L" times faster " + target + verdict;
}

std::wstring OwnShareLine(const RunTiming& freeRun, double autocadSecondsPerDrawing, double targetShare) {
  const std::wstring target = L"(target: at most " + Fixed(targetShare * 100, 0) + L"%)";
  const std::wstring what = L"the program's own time per drawing";
  if (const std::wstring why = Unmeasured(freeRun); !why.empty()) return what + L": " + why + L" " + target;
  if (autocadSecondsPerDrawing <= 0) return what + L": not measured: AutoCAD costs nothing " + target;
  const double own = SecondsPerDrawing(freeRun);
  const double share = own / autocadSecondsPerDrawing;
  return what + L": " + Fixed(own, 2) + L" s, " + Fixed(share * 100, 0) + L"% of AutoCAD's " +
         Fixed(autocadSecondsPerDrawing, 2) + L" s " + target + (share <= targetShare ? L": met" : L": NOT met");
}

}  // namespace pellacore::bench
