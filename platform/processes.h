#pragma once
// Port: the processes of the programs the conversion drives. A process is
// found through a window it owns (AutoCAD tells its main window's handle),
// is told apart from a later process that got the same id, can be asked
// whether it has ended, and can be ended together with every process it
// started.

#include <cstdint>
#include <memory>

namespace pellacore {

class Process {
 public:
  // Lets go of the process; it goes on running.
  virtual ~Process() = default;

  virtual std::uint32_t Id() const = 0;
  // When it started, in the platform's units; with the id it names one
  // process for good, since ids are handed out again.
  virtual std::int64_t StartTime() const = 0;

  virtual bool HasEnded() = 0;

  // Ends the process and the processes it started, theirs too, without
  // waiting for them to be gone. Raises when the platform refuses.
  virtual void EndTree() = 0;

  bool SameAs(const Process& other) const { return Id() == other.Id() && StartTime() == other.StartTime(); }
};

class Processes {
 public:
  virtual ~Processes() = default;
  // The process that owns the window with this handle. Raises when there is
  // no such window or its process cannot be opened.
  virtual std::unique_ptr<Process> OwnerOfWindow(std::int64_t windowHandle) = 0;
};

}  // namespace pellacore
