#pragma once
// The soak's faults: which misbehaviour each drawing gets, drawn from a
// seed, what the stand-ins are told for it, and what the program must make
// of it. Portable: the driver under Wine and the native tests share it.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/standin-autocad/fault_plan.h"

namespace pellacore::soak {

enum class Fault {
  kNone,
  kSlowMembers,      // Open and Export take their time, within the limit
  kModifiedOnOpen,   // the drawing comes back with unsaved changes
  kLingeringQuit,    // AutoCAD stays a while after Quit
  kLatePrinter,      // the PDF comes seconds after the page, within the limit
  kCrashInOpen,
  kCrashInSelect,
  kCrashInExport,
  kHangInOpen,
  kHangInExport,
  kDialogInOpen,     // a box nobody answers
  kDialogInExport,
  kUnreadableBitmap,  // the bitmap does not load: no page may be printed
};

// How often a fault comes, against the others' weights.
struct FaultWeight {
  Fault fault;
  int weight;
};

// The mix of a soak: mostly plain drawings, every fault now and then, the
// ones that cost a whole time limit (hangs, dialogs) rarely.
std::vector<FaultWeight> DefaultMix();

// SplitMix64: the same numbers from a seed on every platform and compiler.
class SeededNumbers {
 public:
  explicit SeededNumbers(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  // A number from 0 to bound - 1.
  std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }

 private:
  std::uint64_t state_;
};

std::vector<Fault> DrawFaults(std::uint64_t seed, std::size_t count, const std::vector<FaultWeight>& mix);

// What the stand-in AutoCAD is told for this drawing (its fault-plan line).
// `drawing`: the drawing's path, for switches that name it.
std::vector<standin::PlanSwitch> AutoCadSwitches(Fault fault, const std::wstring& drawing);
// Seconds the stand-in printer is late with this drawing's PDF; 0 for none.
int PrinterDelaySeconds(Fault fault);
// Whether the program loses this drawing's AutoCAD: it crashes, or is ended
// at the time limit.
bool LosesItsAutoCad(Fault fault);
// The run report's result for a drawing with this fault.
std::wstring ExpectedResult(Fault fault);
std::wstring FaultName(Fault fault);

}  // namespace pellacore::soak
