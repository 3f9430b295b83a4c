#pragma once
// The guarded-procedure mechanism. A guarded procedure names itself, runs each
// of its statements under the number of its step, and when a statement fails
// shows the error report and goes on with the next statement: a run is never
// aborted by a failure. This is the only place where failures are caught.
//
//   GuardedProcedure guard(boxes, L"in Corvanta2021/08/31.Form1.Form_Load ");
//   guard.Run(100, [&] { ApplySkin(); });
//   if (guard.Test(104, [&] { return FileExists(fs, cursor); })) { ... }

#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "util/failure.h"

namespace pellacore {

class MessageBoxes;

class GuardedProcedure {
 public:
  GuardedProcedure(MessageBoxes& boxes, std::wstring_view identifier)
      : boxes_(boxes), identifier_(identifier) {}
  GuardedProcedure(const GuardedProcedure&) = delete;
  GuardedProcedure& operator=(const GuardedProcedure&) = delete;

  // Runs one statement of step `step`.
  template <class Action>
  void Run(int step, Action&& action) {
    Attempt(step, std::forward<Action>(action));
  }

  // Evaluates the test of a branch. A test that fails answers true, so the
  // branch it guards runs next.
  template <class Condition>
  bool Test(int step, Condition&& condition) {
    bool result = true;
    Attempt(step, [&] { result = static_cast<bool>(condition()); });
    return result;
  }

  // Evaluates a value; a failure gives nullopt: nothing that the failing
  // statement would have produced is filled in.
  template <class Producer>
  auto Value(int step, Producer&& producer) -> std::optional<std::invoke_result_t<Producer>> {
    std::optional<std::invoke_result_t<Producer>> result;
    Attempt(step, [&] { result.emplace(producer()); });
    return result;
  }

  // The number of the most recent step begun; the one a report quotes.
  int step() const { return step_; }
  const std::wstring& identifier() const { return identifier_; }

 private:
  template <class Action>
  void Attempt(int step, Action&& action) {
    step_ = step;
    try {
      action();
    } catch (const Failure& failure) {
      Report(failure.description());
    } catch (const std::bad_alloc&) {
      Report(StandardDescription(failure_number::kOutOfMemory));
    } catch (const std::exception& error) {
      Report(DescribeStandardException(error));
    }
  }

  static std::wstring DescribeStandardException(const std::exception& error);
  void Report(const std::wstring& description);

  MessageBoxes& boxes_;
  std::wstring identifier_;
  int step_ = 0;
};

}  // namespace pellacore
