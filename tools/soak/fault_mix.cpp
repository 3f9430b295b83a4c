#include "tools/soak/fault_mix.h"

namespace pellacore::soak {

std::vector<FaultWeight> DefaultMix() {
  return {
      {Fault::kNone, 52},          {Fault::kSlowMembers, 8},    {Fault::kModifiedOnOpen, 8},
      {Fault::kLingeringQuit, 6},  {Fault::kLatePrinter, 6},    {Fault::kCrashInOpen, 4},
      {Fault::kCrashInSelect, 4},  {Fault::kCrashInExport, 4},  {Fault::kUnreadableBitmap, 4}, {Fault::kHangInOpen, 2},
      {Fault::kHangInExport, 2},   {Fault::kDialogInOpen, 2},   {Fault::kDialogInExport, 2},
  };
}

std::uint64_t SeededNumbers::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::vector<Fault> DrawFaults(std::uint64_t seed, std::size_t count, const std::vector<FaultWeight>& mix) {
  std::uint64_t total = 0;
  for (const FaultWeight& entry : mix) total += static_cast<std::uint64_t>(entry.weight);
  SeededNumbers numbers(seed);
  std::vector<Fault> faults;
  for (std::size_t i = 0; i < count; ++i) {
    std::uint64_t pick = total ? numbers.Below(total) : 0;
    Fault chosen = Fault::kNone;
    for (const FaultWeight& entry : mix) {
      if (pick < static_cast<std::uint64_t>(entry.weight)) {
        chosen = entry.fault;
        break;
      }
      pick -= static_cast<std::uint64_t>(entry.weight);
    }
    faults.push_back(chosen);
  }
  return faults;
}

std::vector<standin::PlanSwitch> AutoCadSwitches(Fault fault, const std::wstring& drawing) {
  switch (fault) {
    case Fault::kSlowMembers: return {{L"DelayMs", L"Open=900,Export=700"}};
    case Fault::kModifiedOnOpen: return {{L"ModifiedOnOpen", L"1"}};
    case Fault::kLingeringQuit: return {{L"LingerAfterQuitMs", L"2000"}};
    case Fault::kCrashInOpen: return {{L"CrashIn", L"Open"}};
    case Fault::kCrashInSelect: return {{L"CrashIn", L"Select"}};
    case Fault::kCrashInExport: return {{L"CrashIn", L"Export"}};
    case Fault::kHangInOpen: return {{L"HangIn", L"Open"}};
    case Fault::kHangInExport: return {{L"HangIn", L"Export"}};
    case Fault::kDialogInOpen: return {{L"DialogIn", L"Open"}};
    case Fault::kDialogInExport: return {{L"DialogIn", L"Export"}};
    case Fault::kUnreadableBitmap: return {{L"UnreadableBitmap", drawing}};
    case Fault::kNone:
    case Fault::kLatePrinter: return {};
  }
  return {};
}

int PrinterDelaySeconds(Fault fault) { return fault == Fault::kLatePrinter ? 2 : 0; }

bool LosesItsAutoCad(Fault fault) {
  switch (fault) {
    case Fault::kCrashInOpen:
    case Fault::kCrashInSelect:
    case Fault::kCrashInExport:
    case Fault::kHangInOpen:
    case Fault::kHangInExport:
    case Fault::kDialogInOpen:
    case Fault::kDialogInExport: return true;
    default: return false;
  }
}

std::wstring ExpectedResult(Fault fault) {
  switch (fault) {
    case Fault::kCrashInOpen:
    case Fault::kCrashInSelect:
    case Fault::kCrashInExport:
    case Fault::kUnreadableBitmap: return L"failed";
    case Fault::kHangInOpen:
    case Fault::kHangInExport:
    case Fault::kDialogInOpen:
    case Fault::kDialogInExport: return L"timed out";
    default: return L"converted";
  }
}

std::wstring FaultName(Fault fault) {
  switch (fault) {
    case Fault::kNone: return L"none";
    case Fault::kSlowMembers: return L"slow members";
    case Fault::kModifiedOnOpen: return L"modified on open";
    case Fault::kLingeringQuit: return L"lingering quit";
    case Fault::kLatePrinter: return L"late printer";
    case Fault::kCrashInOpen: return L"crash in Open";
    case Fault::kCrashInSelect: return L"crash in Select";
    case Fault::kCrashInExport: return L"crash in Export";
    case Fault::kHangInOpen: return L"hang in Open";
    case Fault::kHangInExport: return L"hang in Export";
    case Fault::kDialogInOpen: return L"dialog in Open";
    case Fault::kDialogInExport: return L"dialog in Export";
    case Fault::kUnreadableBitmap: return L"unreadable bitmap";
  }
  return L"?";
}

}  // namespace pellacore::soak
