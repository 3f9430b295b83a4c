#pragma once
// The one owner of AutoCAD instances. It knows which instances the program
// started and which the user's: the program's own are quit when done and
// ended (with every process they started) when they hang, linger or the
// window closes; a user's AutoCAD is never quit or ended, only left alone
// once it stops answering. A run may keep one of its own open from drawing
// to drawing: AutoCAD takes far longer to start and quit than to convert a
// drawing. Nothing else holds an instance.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/automation.h"
#include "platform/processes.h"
#include "util/failure.h"

namespace pellacore {

class BoundedAutomation;
class Clock;
class EventPump;

inline constexpr wchar_t kAutoCadProgId[] = L"AutoCAD.Application";

// How long an instance the program quit is given to be gone before it is
// ended, and how long an ended one is given to go.
inline constexpr int kQuitGraceMilliseconds = 30'000;
inline constexpr int kEndGraceMilliseconds = 10'000;

// Whether a failure says the call did not return in time.
bool IsTimeOut(const Failure& failure);
// Whether a failure says the server's process has gone.
bool IsServerGone(const Failure& failure);
// Either: the instance cannot be worked with any more.
bool IsLostInstance(const Failure& failure);

// Whether a run keeps the program's own AutoCAD open between drawings, and
// after how many drawings a kept one is quit for a fresh one.
struct KeepPolicy {
  bool keep = false;
  int recycleAfter = 50;
};

struct InstancePorts {
  BoundedAutomation& automation;
  Processes& processes;
  Clock& clock;
  EventPump& pump;
};

class OwnProcesses;

class AutoCadInstances {
 public:
  explicit AutoCadInstances(InstancePorts ports);
  ~AutoCadInstances();
  AutoCadInstances(const AutoCadInstances&) = delete;
  AutoCadInstances& operator=(const AutoCadInstances&) = delete;

  // An owner for one lane of a run that works on several drawings at once,
  // used on one thread at a time: its calls have threads and a time limit
  // of their own; it works only with AutoCADs it started itself (another
  // lane's would be found running, and a user's cannot serve two drawings
  // at once); and the window's closing ends its AutoCADs with the rest.
  std::unique_ptr<AutoCadInstances> NewLane();

  // A new run: a running AutoCAD that did not answer in the last one is
  // tried again, when its process could not be told. Without keeping, each
  // drawing's own instance is quit at its Finish.
  void BeginRun(KeepPolicy policy = {});
  // The run is over: a kept instance is quit (within `seconds`) and waited
  // for until its process has gone; one that does not answer is ended.
  void EndRun(int seconds) noexcept;

  // Begins a stretch of work with AutoCAD (one drawing, the start-up check):
  // every call into AutoCAD until the next one must return within `seconds`.
  void BeginWork(int seconds);

  // Attaches to the AutoCAD that runs, as the instance to work with: the
  // one kept from the last drawing when there is one and it still runs.
  // Raises when none runs, and while the one the program gave up on still
  // runs.
  void Attach();
  // Starts an AutoCAD of the program's own as the instance to work with.
  // Raises when none can be started.
  void Start();

  bool HasInstance() const { return current_.has_value(); }
  // A lane's start was answered with an AutoCAD that another lane works
  // with (a server that hands one instance to every client): the lane has
  // no AutoCAD of its own to be had.
  bool SharedInstanceRefused() const { return sharedInstanceRefused_; }
  // Whether the instance in use is one the program started.
  bool IsOwn() const { return current_ && current_->own; }
  // The instance's Application object; raises "object not set" when there
  // is none.
  AutomationObject& Application();

  // Done with the instance for this drawing. The program's own is quit,
  // unless the run keeps it and it has served fewer drawings than the
  // policy's count and is not in doubt; a user's keeps running. Raises when
  // Quit failed: a time-out or a dead server for the caller to give the
  // instance up; any other failure leaves the process to WaitUntilQuitGone
  // as well.
  void Finish();
  // The instance in use may hold on to something of this drawing (a drawing
  // that did not close): it is not kept for the next one.
  void Distrust();
  // Lets go of the instance; one that Finish kept waits for the next
  // drawing.
  void Release();
  // Waits, handling events, until the process of the instance last quit has
  // gone, and ends it when it lingers. Called once every object of that
  // instance has been let go of: a proxy released after its server's end
  // leaves handles behind in some COM runtimes (Wine's). Attach and Start
  // call it too: the next drawing must not find this one on its way out.
  void WaitUntilQuitGone();

  // What became of an instance given up on.
  enum class GivenUp { kNone, kEnded, kLeftToUser, kProcessUnknown };
  // Gives up on the instance after it did not answer in time or died: the
  // program's own is ended with its process tree and waited for; a user's
  // is left running and not attached to again while it runs.
  GivenUp GiveUp();

  // Ends at once every instance of the program's own that still runs (the
  // window is closing), a kept one too: no waiting, nothing quit.
  void EndOwn() noexcept;

 private:
  struct Instance {
    std::unique_ptr<AutomationObject> application;
    std::shared_ptr<Process> process;  // null when it could not be found
    bool own = false;
    bool finished = false;
    int served = 0;        // drawings finished with it
    bool distrusted = false;
    bool keep = false;     // Finish kept it for the next drawing
  };

  std::shared_ptr<Process> ProcessOf(AutomationObject& application);
  bool IsOneOfOwn(const Process& process) const;
  // Waits, handling events, until the process has gone or `milliseconds`
  // have passed; answers whether it has gone.
  bool WaitGone(Process& process, int milliseconds);
  // Makes sure the program's own process has gone: waited for first when
  // `waitFirst`, then ended and waited for again.
  void EnsureGone(const std::shared_ptr<Process>& process, bool waitFirst);
  void Forget(const std::shared_ptr<Process>& process);

  InstancePorts ports_;
  // A lane's own automation (ports_ refers to it); null for the first owner.
  std::unique_ptr<BoundedAutomation> laneAutomation_;
  bool ownOnly_ = false;
  bool sharedInstanceRefused_ = false;
  std::optional<Instance> current_;
  KeepPolicy policy_;
  // The program's own instance between two drawings of a run that keeps it.
  std::optional<Instance> kept_;
  // The program's own instance last quit, until its process has gone.
  std::shared_ptr<Process> quitting_;
  // Processes the program started that may still run, its lanes' too.
  std::shared_ptr<OwnProcesses> own_;
  // A user's AutoCAD that stopped answering: not attached to while it runs.
  std::shared_ptr<Process> givenUpUser_;
  bool givenUpUserUnknown_ = false;
};

}  // namespace pellacore
