#pragma once
// One soak run laid out: the drawings (spread over folders, some names met
// again in another folder), the fault each gets, the PDF each must end up
// as in the one output folder, and the run report's rows that must result.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/soak/fault_mix.h"

namespace pellacore::soak {

struct SoakDrawing {
  std::wstring path;      // Windows path
  Fault fault = Fault::kNone;
  std::wstring pdf;       // the PDF it claims; written only when converted
  std::wstring result;    // the report's word
};

// `root` and `output` are Windows folders without a trailing "\".
std::vector<SoakDrawing> PlanSoak(std::uint64_t seed, std::size_t count, const std::wstring& root,
                                  const std::wstring& output, const std::vector<FaultWeight>& mix);

// The stand-in AutoCAD's fault plan and the stand-in printer's DelayFor file.
std::wstring AutoCadPlanText(const std::vector<SoakDrawing>& drawings);
std::wstring PrinterDelayText(const std::vector<SoakDrawing>& drawings);

// "name (2).pdf" for the second claim of a path in one run, compared
// without regard to ASCII case, as the program names them.
std::vector<std::wstring> ClaimedPaths(const std::vector<std::wstring>& planned);

}  // namespace pellacore::soak
