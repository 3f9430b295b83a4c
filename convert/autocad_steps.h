#pragma once
// The steps of one drawing's work with AutoCAD, shared by the export and the
// plot: each is a guarded statement, and once AutoCAD has not answered in
// time or has gone there is nothing left to talk to. That failure is the one
// report for the drawing (naming it and what became of that AutoCAD), and
// every remaining step is skipped.

#include <optional>
#include <string>
#include <utility>

#include "convert/autocad_instances.h"
#include "util/failure.h"
#include "util/guarded.h"

namespace pellacore {

class MessageBoxes;

// What the user is told when no AutoCAD can be attached to or started.
inline constexpr wchar_t kNoAutoCadInstance[] = L"Error opening AutoCAD. Do you have AutoCad installed?";

// How a drawing's work with AutoCAD ended.
enum class AutoCadWorkEnd {
  kNotTried,      // AutoCAD was not found at start-up
  kNoAutoCad,     // no instance could be had, and the user was told so
  kFinished,      // every step was tried
  kTimedOut,      // AutoCAD did not finish within the time limit
  kAutoCadEnded,  // AutoCAD's process went away during the work
};

class AutoCadSteps {
 public:
  AutoCadSteps(GuardedProcedure& guard, AutoCadInstances& instances, std::wstring drawing, int timeLimitSeconds)
      : guard_(guard), instances_(instances), drawing_(std::move(drawing)), seconds_(timeLimitSeconds) {}
  AutoCadSteps(const AutoCadSteps&) = delete;
  AutoCadSteps& operator=(const AutoCadSteps&) = delete;

  // Runs step `number` unless AutoCAD is lost already.
  template <class Action>
  void Run(int number, Action&& action) {
    if (lost_) return;
    guard_.Run(number, [&] {
      try {
        action();
      } catch (const Failure& failure) {
        if (!IsLostInstance(failure)) throw;
        Lose(failure);
      }
    });
  }

  // Steps 102-112: the running AutoCAD attached to, or one started. When
  // neither can be had the user is told once (kNoAutoCadInstance, under
  // `title`) and false is answered. Finding or starting fails quietly, unless AutoCAD
  // did not answer in time: then the drawing's time is up.
  bool Obtain(MessageBoxes& boxes, const std::wstring& title);

  bool lost() const { return lost_.has_value(); }
  // kFinished unless AutoCAD was lost.
  AutoCadWorkEnd end() const { return lost_.value_or(AutoCadWorkEnd::kFinished); }

 private:
  // Gives the instance up and raises the drawing's one report.
  [[noreturn]] void Lose(const Failure& failure);

  GuardedProcedure& guard_;
  AutoCadInstances& instances_;
  std::wstring drawing_;
  int seconds_;
  std::optional<AutoCadWorkEnd> lost_;
};

// The report's text once AutoCAD stopped answering or went away: which
// drawing, what happened, and what became of that AutoCAD.
std::wstring LostInstanceText(const Failure& failure, AutoCadInstances::GivenUp what, const std::wstring& drawing,
                              int seconds);

}  // namespace pellacore
