#pragma once
// The fault plan: a different misbehaviour for each drawing of a long run.
// A text file, one line per drawing: the drawing's path, then its switches,
// all separated by tabs, each switch "Name=value" with the names and values
// of the registry switches ("CrashIn=Export", "DelayMs=Open=800,Export=300").
// Blank lines and lines starting with "#" are skipped. Portable, so the
// soak writes plans with the same code the stand-in reads them with.

#include <string>
#include <string_view>
#include <vector>

namespace pellacore::standin {

struct PlanSwitch {
  std::wstring name;
  std::wstring value;
};

struct PlanLine {
  std::wstring drawing;
  std::vector<PlanSwitch> switches;
};

std::vector<PlanLine> ParseFaultPlan(std::wstring_view text);

// One line of a plan, as ParseFaultPlan reads it back.
std::wstring FaultPlanLine(const PlanLine& line);

// The line for an instance that has been asked to open `asked` (in order):
// that of the latest drawing the plan names (paths compared without regard
// to ASCII case), or nullptr.
const PlanLine* PlanLineFor(const std::vector<PlanLine>& plan, const std::vector<std::wstring>& asked);

}  // namespace pellacore::standin
