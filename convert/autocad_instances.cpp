#include "convert/autocad_instances.h"

#include <algorithm>
#include <mutex>

#include "convert/bounded_automation.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "util/failure.h"

namespace pellacore {
namespace {

constexpr int kQuitPollMilliseconds = 50;
// GetActiveObject's own answer when nothing runs (MK_E_UNAVAILABLE).
constexpr long kNothingRunning = static_cast<std::int32_t>(0x800401E3u);

}  // namespace

// The processes the program started, shared with the lanes of a run: the
// window's thread ends them all when it closes while lanes add and forget.
class OwnProcesses {
 public:
  void Add(std::shared_ptr<Process> process) {
    const std::lock_guard lock(mutex_);
    processes_.push_back(std::move(process));
  }
  void Forget(const std::shared_ptr<Process>& process) {
    const std::lock_guard lock(mutex_);
    std::erase(processes_, process);
  }
  bool Holds(const Process& process) {
    const std::lock_guard lock(mutex_);
    return std::any_of(processes_.begin(), processes_.end(),
                       [&](const std::shared_ptr<Process>& own) { return own->SameAs(process); });
  }
  std::vector<std::shared_ptr<Process>> All() {
    const std::lock_guard lock(mutex_);
    return processes_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::shared_ptr<Process>> processes_;
};

AutoCadInstances::AutoCadInstances(InstancePorts ports) : ports_(ports), own_(std::make_shared<OwnProcesses>()) {}

AutoCadInstances::~AutoCadInstances() = default;

std::unique_ptr<AutoCadInstances> AutoCadInstances::NewLane() {
  std::unique_ptr<BoundedAutomation> automation = ports_.automation.Sibling();
  auto lane = std::make_unique<AutoCadInstances>(
      InstancePorts{*automation, ports_.processes, ports_.clock, ports_.pump});
  lane->laneAutomation_ = std::move(automation);
  lane->own_ = own_;
  lane->ownOnly_ = true;
  return lane;
}

bool IsTimeOut(const Failure& failure) { return failure.number() == automation_code::kTimedOut; }

bool IsServerGone(const Failure& failure) {
  const long number = failure.number();
  return number == automation_code::kServerUnavailable || number == automation_code::kDisconnected ||
         number == automation_code::kCallFailed;
}

bool IsLostInstance(const Failure& failure) { return IsTimeOut(failure) || IsServerGone(failure); }

void AutoCadInstances::BeginRun(KeepPolicy policy) {
  givenUpUserUnknown_ = false;
  policy_ = policy;
  policy_.recycleAfter = std::max(policy_.recycleAfter, 1);
}

void AutoCadInstances::EndRun(int seconds) noexcept {
  policy_ = {};
  if (!kept_) return;
  try {
    current_ = std::move(kept_);
    kept_.reset();
    current_->keep = false;
    BeginWork(seconds);
    try {
      Finish();
    } catch (const Failure& failure) {
      if (IsLostInstance(failure)) {
        GiveUp();
        return;
      }
    }
    Release();
    WaitUntilQuitGone();
  } catch (...) {
    // The run is over either way; the window's closing ends what is left.
    current_.reset();
  }
}

void AutoCadInstances::BeginWork(int seconds) {
  ports_.automation.SetDeadline(ports_.clock.NowMilliseconds() + static_cast<std::int64_t>(seconds) * 1000);
}

void AutoCadInstances::Attach() {
  WaitUntilQuitGone();
  if (kept_) {
    Instance instance = std::move(*kept_);
    kept_.reset();
    if (!instance.process || !instance.process->HasEnded()) {
      instance.keep = false;
      current_ = std::move(instance);
      return;
    }
    // Closed by someone between two drawings: this one gets a new AutoCAD.
    Forget(instance.process);
  }
  if (ownOnly_) throw Failure(kNothingRunning, L"This lane has no AutoCAD of its own running.");
  // A user's AutoCAD that stopped answering would stop the next drawing too.
  if (givenUpUser_ && !givenUpUser_->HasEnded()) {
    throw Failure(kNothingRunning, L"The running AutoCAD does not answer.");
  }
  givenUpUser_.reset();
  if (givenUpUserUnknown_) throw Failure(kNothingRunning, L"The running AutoCAD does not answer.");
  Instance instance;
  try {
    instance.application = ports_.automation.GetActiveObject(kAutoCadProgId);
    if (!instance.application) throw StandardFailure(failure_number::kObjectNotSet);
    instance.process = ProcessOf(*instance.application);
  } catch (const Failure& failure) {
    // One that does not answer is given up on by the caller, as the user's.
    if (IsTimeOut(failure)) current_ = std::move(instance);
    // One that has gone but is still listed as running is no instance.
    if (IsServerGone(failure)) throw Failure(kNothingRunning, failure.description());
    throw;
  }
  // Found running, it is the user's, unless it is one the program started;
  // one whose process cannot be told is treated as the user's: never quit.
  instance.own = instance.process && IsOneOfOwn(*instance.process);
  current_ = std::move(instance);
}

void AutoCadInstances::Start() {
  WaitUntilQuitGone();
  Instance instance;
  instance.own = true;
  instance.application = ports_.automation.CreateObject(kAutoCadProgId);
  if (!instance.application) throw StandardFailure(failure_number::kObjectNotSet);
  try {
    instance.process = ProcessOf(*instance.application);
  } catch (const Failure&) {
    // Started but already lost: the caller gives it up.
    current_ = std::move(instance);
    throw;
  }
  if (ownOnly_ && instance.process && own_->Holds(*instance.process)) {
    // Another lane's AutoCAD: working with it here would mix two drawings
    // in one AutoCAD. It is let go of, neither quit nor ended.
    sharedInstanceRefused_ = true;
    throw Failure(kNothingRunning, L"AutoCAD answered with an AutoCAD that is working on another drawing.");
  }
  if (instance.process) own_->Add(instance.process);
  current_ = std::move(instance);
}

AutomationObject& AutoCadInstances::Application() {
  if (!current_ || !current_->application) throw StandardFailure(failure_number::kObjectNotSet);
  return *current_->application;
}

void AutoCadInstances::Finish() {
  // The user's AutoCAD goes on with its own drawings.
  if (!current_ || !current_->own || current_->finished || current_->keep) return;
  ++current_->served;
  if (policy_.keep && !current_->distrusted && current_->served < policy_.recycleAfter) {
    current_->keep = true;
    return;
  }
  std::optional<Failure> quitFailed;
  try {
    Application().Call(L"Quit", {});
  } catch (const Failure& failure) {
    if (IsLostInstance(failure)) throw;
    quitFailed = failure;
  }
  current_->finished = true;
  // Quit returns before the process ends; it is waited for once the caller
  // has let go of the instance's objects.
  quitting_ = current_->process;
  if (quitFailed) throw *quitFailed;
}

void AutoCadInstances::Distrust() {
  if (current_) current_->distrusted = true;
}

void AutoCadInstances::Release() {
  if (current_ && current_->keep) kept_ = std::move(current_);
  current_.reset();
}

void AutoCadInstances::WaitUntilQuitGone() {
  if (!quitting_) return;
  const std::shared_ptr<Process> process = std::move(quitting_);
  quitting_.reset();
  EnsureGone(process, true);
}

AutoCadInstances::GivenUp AutoCadInstances::GiveUp() {
  if (!current_) return GivenUp::kNone;
  Instance instance = std::move(*current_);
  current_.reset();
  instance.application.reset();
  if (!instance.own) {
    givenUpUser_ = instance.process;
    givenUpUserUnknown_ = !instance.process;
    return GivenUp::kLeftToUser;
  }
  if (!instance.process) return GivenUp::kProcessUnknown;
  EnsureGone(instance.process, false);
  return GivenUp::kEnded;
}

void AutoCadInstances::EndOwn() noexcept {
  std::vector<std::shared_ptr<Process>> own;
  try {
    own = own_->All();
  } catch (...) {
    return;  // no memory for the list: nothing can be done
  }
  for (const std::shared_ptr<Process>& process : own) {
    try {
      if (!process->HasEnded()) process->EndTree();
    } catch (...) {
      // The program is ending: whatever could not be ended is beyond reach.
    }
  }
}

std::shared_ptr<Process> AutoCadInstances::ProcessOf(AutomationObject& application) {
  std::int64_t window = 0;
  try {
    window = application.GetInteger(L"HWND");
  } catch (const Failure& failure) {
    // An instance that does not answer this, or has gone, is no instance to
    // work with; one without the member is worked with, untold.
    if (IsLostInstance(failure)) throw;
    return nullptr;
  }
  try {
    return ports_.processes.OwnerOfWindow(window);
  } catch (const Failure&) {
    return nullptr;
  }
}

bool AutoCadInstances::IsOneOfOwn(const Process& process) const { return own_->Holds(process); }

bool AutoCadInstances::WaitGone(Process& process, int milliseconds) {
  const std::int64_t until = ports_.clock.NowMilliseconds() + milliseconds;
  while (!process.HasEnded()) {
    const std::int64_t left = until - ports_.clock.NowMilliseconds();
    if (left <= 0) return false;
    ports_.clock.WaitForEvents(static_cast<int>(std::min<std::int64_t>(left, kQuitPollMilliseconds)));
    ports_.pump.HandlePending();
  }
  return true;
}

void AutoCadInstances::EnsureGone(const std::shared_ptr<Process>& process, bool waitFirst) {
  if (!(waitFirst && WaitGone(*process, kQuitGraceMilliseconds))) {
    try {
      process->EndTree();
    } catch (const Failure&) {
      // Already on its way out, or beyond reach: the wait below tells.
    }
    WaitGone(*process, kEndGraceMilliseconds);
  }
  if (process->HasEnded()) Forget(process);
}

void AutoCadInstances::Forget(const std::shared_ptr<Process>& process) { own_->Forget(process); }

}  // namespace pellacore
