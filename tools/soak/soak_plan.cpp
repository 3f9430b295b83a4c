#include "tools/soak/soak_plan.h"

#include "util/text.h"

#include <set>

namespace pellacore::soak {

namespace {

constexpr std::size_t kFolders = 8;
// Every tenth drawing takes the name of one five places before it, which
// lies in another folder: same name, other drawing.
constexpr std::size_t kRepeatEvery = 10;
constexpr std::size_t kRepeatBack = 5;

std::wstring Numbered(const std::wstring& path, int n) {
  const std::size_t slash = path.rfind(L'\\');
  const std::size_t dot = path.rfind(L'.');
  const std::size_t cut = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash) ? dot : path.size();
  return path.substr(0, cut) + L" (" + std::to_wstring(n) + L")" + path.substr(cut);
}

}  // namespace

std::vector<std::wstring> ClaimedPaths(const std::vector<std::wstring>& planned) {
  std::set<std::wstring> taken;
  std::vector<std::wstring> claimed;
  for (const std::wstring& path : planned) {
    std::wstring chosen = path;
    for (int n = 2; taken.count(LowerAscii(chosen)); ++n) chosen = Numbered(path, n);
    taken.insert(LowerAscii(chosen));
    claimed.push_back(chosen);
  }
  return claimed;
}

std::vector<SoakDrawing> PlanSoak(std::uint64_t seed, std::size_t count, const std::wstring& root,
                                  const std::wstring& output, const std::vector<FaultWeight>& mix) {
  const std::vector<Fault> faults = DrawFaults(seed, count, mix);
  std::vector<std::wstring> stems;
  std::vector<SoakDrawing> drawings;
  std::vector<std::wstring> planned;
  for (std::size_t i = 0; i < count; ++i) {
    const bool repeat = i % kRepeatEvery == kRepeatEvery - 1;
    stems.push_back(repeat ? stems[i - kRepeatBack] : L"Plan-" + std::to_wstring(i + 1));
    SoakDrawing drawing;
    drawing.path = root + L"\\f" + std::to_wstring(i % kFolders) + L"\\" + stems[i] + L".dwg";
    drawing.fault = faults[i];
    drawing.result = ExpectedResult(faults[i]);
    planned.push_back(output + L"\\" + stems[i] + L".pdf");
    drawings.push_back(drawing);
  }
  const std::vector<std::wstring> claimed = ClaimedPaths(planned);
  for (std::size_t i = 0; i < count; ++i) drawings[i].pdf = claimed[i];
  return drawings;
}

std::wstring AutoCadPlanText(const std::vector<SoakDrawing>& drawings) {
  std::wstring text;
  for (const SoakDrawing& drawing : drawings) {
    const std::vector<standin::PlanSwitch> switches = AutoCadSwitches(drawing.fault, drawing.path);
    if (!switches.empty()) text += standin::FaultPlanLine({drawing.path, switches}) + L"\r\n";
  }
  return text;
}

std::wstring PrinterDelayText(const std::vector<SoakDrawing>& drawings) {
  std::wstring text;
  for (const SoakDrawing& drawing : drawings) {
    if (const int delay = PrinterDelaySeconds(drawing.fault)) text += drawing.pdf + L"\t" + std::to_wstring(delay) + L"\n";
  }
  return text;
}

}  // namespace pellacore::soak
