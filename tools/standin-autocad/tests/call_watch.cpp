#include "tools/standin-autocad/tests/call_watch.h"

#include <objbase.h>

#include "tools/harness/harness.h"
#include "tools/standin-autocad/tests/server_processes.h"

namespace pellacore::standin::testing {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kPollInterval{20};
constexpr milliseconds kBoxGoneTimeout{5000};
constexpr int kBoxText = 0xFFFF;

struct BoxSearch {
  HWND owner;
  HWND found = nullptr;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<BoxSearch*>(context);
  if (!::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != search.owner) return TRUE;
  if (harness::ClassOf(window) != L"#32770") return TRUE;
  search.found = window;
  return FALSE;
}

HWND FindBox(HWND owner) {
  BoxSearch search{owner};
  ::EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class ComInThisThread {
 public:
  ComInThisThread() : result_(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ComInThisThread(const ComInThisThread&) = delete;
  ComInThisThread& operator=(const ComInThisThread&) = delete;
  ~ComInThisThread() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }

 private:
  HRESULT result_;
};

}  // namespace

CallWatch::CallWatch(HWND serverWindow, CallWatchPlan plan)
    : owner_(serverWindow), plan_(std::move(plan)), server_(OpenServerProcess(ProcessOfWindow(serverWindow))) {
  thread_ = std::thread([this] { Watch(); });
}

CallWatch::~CallWatch() { Returned(); }

std::vector<SeenBox> CallWatch::Returned() {
  returned_ = true;
  if (thread_.joinable()) thread_.join();
  return boxes_;
}

SeenBox CallWatch::Read(HWND box) const {
  SeenBox seen;
  seen.process = ProcessOfWindow(box);
  seen.caption = harness::TextOf(box);
  seen.text = harness::TextOf(::GetDlgItem(box, kBoxText));
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
    const HWND button = ::GetDlgItem(box, id);
    if (button && ::IsWindowVisible(button)) seen.buttons.push_back(id);
  }
  return seen;
}

void CallWatch::Watch() {
  const ComInThisThread com;
  const auto deadline = std::chrono::steady_clock::now() + plan_.deadline;
  std::size_t next = 0;
  while (!returned_) {
    if (const HWND box = FindBox(owner_)) {
      SeenBox seen = Read(box);
      if (plan_.whileBoxOpen) plan_.whileBoxOpen();
      seen.callWaiting = !returned_;
      boxes_.push_back(seen);
      if (next >= plan_.answers.size()) break;  // left open: the deadline ends it
      harness::PressButtonOf(box, plan_.answers[next++]);
      harness::WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, kBoxGoneTimeout);
      continue;
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(kPollInterval);
  }
  // A box left open: wait out the deadline for the call all the same.
  while (!returned_ && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(kPollInterval);
  if (returned_) return;
  if (plan_.atDeadline) plan_.atDeadline();
  if (server_) {
    ::TerminateProcess(server_.get(), 1);
    ::WaitForSingleObject(server_.get(), static_cast<DWORD>(kBoxGoneTimeout.count()));
  }
  endedServer_ = true;
}

}  // namespace pellacore::standin::testing
