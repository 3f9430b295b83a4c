#pragma once
// AutoCAD as the conversion reaches it, all doubles: the fake server and its
// processes, call threads that run on the test's clock, and the program's
// own bounded automation and instance owner on top of them.

#include "convert/autocad_instances.h"
#include "convert/bounded_automation.h"
#include "tests/doubles/fake_autocad.h"
#include "tests/doubles/fake_call_threads.h"
#include "tests/doubles/fake_clock.h"
#include "tests/doubles/memory_file_system.h"
#include "tests/doubles/scripted_event_pump.h"

namespace pellacore::testing {

struct AutoCadDoubles {
  AutoCadDoubles(MemoryFileSystem* fs, FakeClock& clock, ScriptedEventPump& pump)
      : autocad(fs, &clock), threads(clock), processes(autocad), bounded(autocad, threads, clock),
        instances({bounded, processes, clock, pump}) {
    autocad.hangSignal = &threads.hangSignal;
  }

  FakeAutoCad autocad;
  FakeCallThreads threads;
  FakeAutoCadProcesses processes;
  BoundedAutomation bounded;
  AutoCadInstances instances;
};

}  // namespace pellacore::testing
