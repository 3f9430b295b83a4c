// Threads for automation calls: the order and apartment of their calls, the
// user-interface thread's wait (answered at once, bounded by its deadline,
// handling posted messages, nested), and threads left to finish alone.

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "tests/windows/recording_automation_server.h"
#include "tools/harness/harness.h"
#include "win32/com_resource.h"
#include "win32/event_handle.h"
#include "win32/unique_resource.h"
#include "win32/win32_call_threads.h"
#include "win32/win32_clock.h"
#include "win32/win32_event_pump.h"

namespace pellacore {
namespace {

using namespace std::chrono_literals;
using Stopwatch = std::chrono::steady_clock;

constexpr std::int64_t kGenerousMilliseconds = 20'000;

// An event that blocked calls wait on. It opens when it goes, so that a
// failing test leaves no thread blocked behind it.
class Gate {
 public:
  Gate() = default;
  Gate(const Gate&) = delete;
  Gate& operator=(const Gate&) = delete;
  ~Gate() { Open(); }

  void Open() { ::SetEvent(event_->get()); }
  // A call that returns once the gate opens (or after a bound, whatever comes).
  std::function<void()> Blocker() const {
    return [event = event_] { ::WaitForSingleObject(event->get(), 60'000); };
  }

 private:
  std::shared_ptr<win32::UniqueHandle> event_ =
      std::make_shared<win32::UniqueHandle>(win32::NewEvent(win32::EventReset::kManual));
};

// The thread a call runs on, asked through a call.
DWORD ThreadIdOf(CallThread& thread, Clock& clock) {
  DWORD id = 0;
  if (!thread.RunUntil([&] { id = ::GetCurrentThreadId(); }, clock.NowMilliseconds() + kGenerousMilliseconds)) {
    ADD_FAILURE() << "the call did not return";
  }
  return id;
}

bool HasEnded(HANDLE thread) {
  return harness::WaitUntil([&] { return ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; });
}

// Every thread a test starts must have ended by the time the test is over,
// its owner gone and its queue done. Waiting for that also keeps the test
// program from exiting while a thread is still leaving its apartment.
class CallThreadsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const auto& thread : started_) EXPECT_TRUE(HasEnded(thread.get())) << "a call thread outlived its owner";
  }

  std::int64_t Soon() { return clock.NowMilliseconds() + kGenerousMilliseconds; }

  std::unique_ptr<CallThread> Start(CallThreads& from) {
    auto thread = from.Start();
    started_.emplace_back(::OpenThread(SYNCHRONIZE, FALSE, ThreadIdOf(*thread, clock)));
    EXPECT_TRUE(started_.back());
    return thread;
  }
  std::unique_ptr<CallThread> Start() { return Start(threads); }
  // The thread that the last Start made.
  HANDLE LastStarted() const { return started_.back().get(); }

  win32::Win32Clock clock;
  win32::Win32EventPump pump;
  win32::Win32CallThreads threads{clock, pump};

 private:
  std::vector<win32::UniqueHandle> started_;
};

TEST_F(CallThreadsTest, CallsRunInTheirOrderOnOneThreadOfTheirOwn) {
  const auto thread = Start();
  const auto other = Start();
  auto order = std::make_shared<std::vector<int>>();
  auto ranOn = std::make_shared<std::vector<DWORD>>();
  for (int i = 0; i < 5; ++i) {
    thread->Post([=] {
      order->push_back(i);
      ranOn->push_back(::GetCurrentThreadId());
    });
  }
  ASSERT_TRUE(thread->RunUntil(
      [=] {
        order->push_back(5);
        ranOn->push_back(::GetCurrentThreadId());
      },
      Soon()));

  EXPECT_EQ(*order, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  for (const DWORD id : *ranOn) EXPECT_EQ(id, ranOn->front());
  EXPECT_NE(ranOn->front(), ::GetCurrentThreadId());
  EXPECT_NE(ThreadIdOf(*other, clock), ranOn->front());
}

// The call thread's apartment serves calls into its objects while it is idle
// and makes calls out of it: an object made on one call thread is called
// from another one's apartment.
TEST_F(CallThreadsTest, EachThreadIsASingleThreadedApartmentWithTheMessageFilter) {
  const auto home = Start();
  const auto caller = Start();
  APTTYPE type = APTTYPE_MTA;
  APTTYPEQUALIFIER qualifier{};
  bool filtered = false;
  IStream* marshalled = nullptr;
  auto log = std::make_shared<testing::CallLog>();
  ASSERT_TRUE(home->RunUntil(
      [&] {
        ::CoGetApartmentType(&type, &qualifier);
        win32::ComPtr<IMessageFilter> filter;
        ::CoRegisterMessageFilter(nullptr, filter.put());
        ::CoRegisterMessageFilter(filter.get(), nullptr);
        filtered = static_cast<bool>(filter);
        const win32::ComPtr<IDispatch> object(new testing::RecordingObject(L"Application", log));
        ::CoMarshalInterThreadInterfaceInStream(IID_IDispatch, object.get(), &marshalled);
      },
      Soon()));
  EXPECT_TRUE(type == APTTYPE_STA || type == APTTYPE_MAINSTA) << type;
  EXPECT_TRUE(filtered);
  ASSERT_NE(marshalled, nullptr);

  HRESULT answer = E_FAIL;
  long count = 0;
  ASSERT_TRUE(caller->RunUntil(
      [&] {
        win32::ComPtr<IDispatch> proxy;
        answer = ::CoGetInterfaceAndReleaseStream(marshalled, IID_IDispatch, proxy.put_void());
        if (FAILED(answer)) return;
        LPOLESTR name = const_cast<LPOLESTR>(L"Count");
        DISPID member = DISPID_UNKNOWN;
        answer = proxy->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &member);
        if (FAILED(answer)) return;
        DISPPARAMS none{};
        win32::UniqueVariant result;
        answer = proxy->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, result.get(),
                               nullptr, nullptr);
        if (V_VT(&*result) == VT_I4) count = V_I4(&*result);
      },
      Soon()));
  EXPECT_EQ(answer, S_OK);
  EXPECT_EQ(count, 5);
  ASSERT_EQ(log->size(), 1u);
  EXPECT_EQ(log->front().member, L"Count");
}

TEST_F(CallThreadsTest, AFastCallIsAnsweredAtOnce) {
  const auto thread = Start();
  // The middle of fifty answers, so that a busy machine's odd delay does not
  // count: a wait that looked for the answer at fixed steps of 10 ms would
  // take about a step for each.
  std::vector<Stopwatch::duration> answers;
  for (int i = 0; i < 50; ++i) {
    const auto start = Stopwatch::now();
    ASSERT_TRUE(thread->RunUntil([] {}, Soon()));
    answers.push_back(Stopwatch::now() - start);
  }
  std::nth_element(answers.begin(), answers.begin() + 25, answers.end());
  EXPECT_LT(answers[25], 5ms);
}

TEST_F(CallThreadsTest, ACallThatBlocksIsGivenUpAtTheDeadlineAndStillRunsToItsEnd) {
  const auto thread = Start();
  Gate gate;
  auto finished = std::make_shared<std::atomic<bool>>(false);
  const auto start = Stopwatch::now();
  EXPECT_FALSE(thread->RunUntil(
      [blocker = gate.Blocker(), finished] {
        blocker();
        *finished = true;
      },
      clock.NowMilliseconds() + 300));
  const auto waited = Stopwatch::now() - start;
  EXPECT_GE(waited, 280ms);  // the tick count moves in steps of up to 16 ms
  EXPECT_LT(waited, 3000ms);
  EXPECT_FALSE(*finished);

  gate.Open();
  bool finishedBefore = false;
  ASSERT_TRUE(thread->RunUntil([&] { finishedBefore = *finished; }, Soon()));
  EXPECT_TRUE(finishedBefore);
}

// Work posted to several threads: the wait for it ends when one piece has
// returned, whichever thread it ran on, and at the deadline when none has.
TEST_F(CallThreadsTest, TheWaitForPostedCallsEndsWhenOneReturnsOrAtItsDeadline) {
  const auto first = Start();
  const auto second = Start();
  EXPECT_FALSE(threads.WaitForPosted(clock.NowMilliseconds() + 200));  // nothing posted

  Gate gate;
  auto done = std::make_shared<std::atomic<int>>(0);
  first->Post([blocker = gate.Blocker(), done] {
    blocker();
    *done += 1;
  });
  second->Post([done] { *done += 10; });
  ASSERT_TRUE(threads.WaitForPosted(Soon()));
  EXPECT_EQ(*done, 10);  // the second's, while the first still blocks
  EXPECT_FALSE(threads.WaitForPosted(clock.NowMilliseconds() + 200));

  gate.Open();
  ASSERT_TRUE(threads.WaitForPosted(Soon()));
  EXPECT_EQ(*done, 11);
}

TEST_F(CallThreadsTest, ADeadlineAlreadyPastAnswersAtOnceAndTheCallStillRuns) {
  const auto thread = Start();
  Gate gate;
  EXPECT_FALSE(thread->RunUntil(gate.Blocker(), clock.NowMilliseconds()));
  gate.Open();
  EXPECT_TRUE(thread->RunUntil([] {}, Soon()));
}

// A message-only window of the test's thread; what its posted WM_APP does is
// up to each test.
class WindowedCallThreadsTest : public CallThreadsTest {
 protected:
  void SetUp() override {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.lpszClassName = L"PellacoreCallThreadsTest";
    ::RegisterClassW(&windowClass);
    window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                               nullptr);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    CallThreadsTest::TearDown();
    ::DestroyWindow(window);
    onPosted = nullptr;
  }

  static LRESULT CALLBACK Proc(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
      if (onPosted) onPosted();
      return 0;
    }
    return ::DefWindowProcW(target, message, wParam, lParam);
  }

  static inline std::function<void()> onPosted;
  HWND window = nullptr;
};

TEST_F(WindowedCallThreadsTest, AMessagePostedDuringTheWaitIsHandled) {
  const auto thread = Start();
  auto handled = std::make_shared<win32::UniqueHandle>(win32::NewEvent(win32::EventReset::kManual));
  onPosted = [handled] { ::SetEvent(handled->get()); };
  // The call posts to the waiting thread's window and returns only once the
  // message has been handled there.
  bool seen = false;
  ASSERT_TRUE(thread->RunUntil(
      [&, target = window] {
        ::PostMessageW(target, WM_APP, 0, 0);
        seen = ::WaitForSingleObject(handled->get(), 10'000) == WAIT_OBJECT_0;
      },
      Soon()));
  EXPECT_TRUE(seen);
}

TEST_F(WindowedCallThreadsTest, AnEventHandledDuringTheWaitCanWaitForCallsItself) {
  const auto first = Start();
  const auto second = Start();
  Gate gate;
  auto order = std::make_shared<std::vector<int>>();
  bool innerAnswers[2] = {false, false};
  onPosted = [&] {
    innerAnswers[0] = second->RunUntil([order] { order->push_back(1); }, Soon());
    gate.Open();
    // Queued behind the outer call on the same thread: waits for it too.
    innerAnswers[1] = first->RunUntil([order] { order->push_back(3); }, Soon());
  };
  const bool outer = first->RunUntil(
      [order, target = window, blocker = gate.Blocker()] {
        ::PostMessageW(target, WM_APP, 0, 0);
        blocker();
        order->push_back(2);
      },
      Soon());

  EXPECT_TRUE(outer);
  EXPECT_TRUE(innerAnswers[0]);
  EXPECT_TRUE(innerAnswers[1]);
  EXPECT_EQ(*order, (std::vector<int>{1, 2, 3}));
}

// The program's pump re-posts a quit request for its own loop: the wait must
// not keep waking for it.
TEST_F(CallThreadsTest, AWaitingQuitRequestNeitherSpinsTheWaitNorIsLost) {
  struct CountingPump : EventPump {
    void HandlePending() override {
      ++count;
      real.HandlePending();
    }
    win32::Win32EventPump real;
    int count = 0;
  } countingPump;
  win32::Win32CallThreads counted(clock, countingPump);
  const auto thread = Start(counted);
  Gate gate;
  ::PostQuitMessage(3);
  EXPECT_FALSE(thread->RunUntil(gate.Blocker(), clock.NowMilliseconds() + 300));
  EXPECT_LT(countingPump.count, 5);
  MSG message;
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);
}

TEST_F(CallThreadsTest, AnIdleThreadEndsWithItsOwner) {
  auto thread = Start();
  thread.reset();
  EXPECT_TRUE(HasEnded(LastStarted()));
}

TEST_F(CallThreadsTest, AnOwnerLetsGoAtOnceOfAThreadStuckInACallWhichThenFinishesItsQueueAndEnds) {
  auto thread = Start();
  const HANDLE handle = LastStarted();
  Gate gate;
  auto lastRan = std::make_shared<std::atomic<bool>>(false);
  thread->Post(gate.Blocker());
  thread->Post([lastRan] { *lastRan = true; });

  const auto start = Stopwatch::now();
  thread.reset();
  EXPECT_LT(Stopwatch::now() - start, 100ms);
  EXPECT_EQ(::WaitForSingleObject(handle, 0), static_cast<DWORD>(WAIT_TIMEOUT));

  gate.Open();
  EXPECT_TRUE(HasEnded(handle));
  EXPECT_TRUE(*lastRan);
}

}  // namespace
}  // namespace pellacore
