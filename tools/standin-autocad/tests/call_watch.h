#pragma once
// Watches one call of a check into the server, from a thread of its own,
// while the check's thread waits in the call: answers the server's modal
// windows (message boxes owned by its main window) as a person would,
// noting what each showed and whether the call was still waiting on it;
// and ends the server when the call has not returned by a deadline, so a
// check never hangs, whatever the server does.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "win32/unique_resource.h"

namespace pellacore::standin::testing {

struct CallWatchPlan {
  // The button to press in each box, in order; a box beyond them stays open.
  std::vector<int> answers;
  // Run on the watch thread (COM initialised, multithreaded) while each box
  // is open, before it is answered.
  std::function<void()> whileBoxOpen;
  // Run on the watch thread when the deadline has come, before the server
  // is ended.
  std::function<void()> atDeadline;
  std::chrono::milliseconds deadline{15000};
};

// A plan that only answers: these buttons, in order.
inline CallWatchPlan Answering(std::vector<int> answers) {
  CallWatchPlan plan;
  plan.answers = std::move(answers);
  return plan;
}

struct SeenBox {
  DWORD process = 0;
  std::wstring caption;
  std::wstring text;
  std::vector<int> buttons;  // the visible ones of IDOK, IDCANCEL, IDYES, IDNO
  bool callWaiting = false;  // the call had not returned when it was answered
};

class CallWatch {
 public:
  // `serverWindow`: the server's main window (Application.HWND).
  CallWatch(HWND serverWindow, CallWatchPlan plan);
  CallWatch(const CallWatch&) = delete;
  CallWatch& operator=(const CallWatch&) = delete;
  ~CallWatch();

  // The call has returned: the watch stops. Answers the boxes it saw.
  std::vector<SeenBox> Returned();
  // Whether the call was still waiting at the deadline and the server was
  // ended (valid after Returned).
  bool endedServer() const { return endedServer_; }

 private:
  void Watch();
  SeenBox Read(HWND box) const;

  HWND owner_;
  CallWatchPlan plan_;
  win32::UniqueHandle server_;
  std::atomic<bool> returned_{false};
  bool endedServer_ = false;
  std::vector<SeenBox> boxes_;
  std::thread thread_;
};

}  // namespace pellacore::standin::testing
