#pragma once
// The program's own way to AutoCAD, built as a run builds it: calls retried
// while AutoCAD is busy, each on a thread of its own within the drawing's
// time, and the instances it attaches to, starts and quits.

#include "convert/autocad_instances.h"
#include "convert/bounded_automation.h"
#include "convert/retrying_automation.h"
#include "win32/win32_automation.h"
#include "win32/win32_call_threads.h"
#include "win32/win32_clock.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_processes.h"

namespace pellacore::testing {

struct ProgramAutomation {
  win32::Win32Automation com;
  win32::Win32Clock clock;
  win32::Win32EventPump pump;
  RetryingAutomation retrying{com, clock};
  win32::Win32CallThreads threads{clock, pump};
  win32::Win32Processes processes;
  BoundedAutomation automation{retrying, threads, clock};
  AutoCadInstances instances{{automation, processes, clock, pump}};
};

}  // namespace pellacore::testing
