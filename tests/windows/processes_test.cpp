// The processes behind windows: found through a window, told apart, ended
// with every process they started, and never a stranger that got a freed
// id. The processes are copies of process-tree-helper.exe, each in a job
// object that ends them all when the test ends, whatever its outcome.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/windows/process_id_reuse.h"
#include "tests/windows/program_folder_fixture.h"
#include "tools/harness/harness.h"
#include "util/failure.h"
#include "win32/process_tree.h"
#include "win32/unique_resource.h"
#include "win32/win32_processes.h"

namespace pellacore {
namespace {

constexpr wchar_t kHelperClass[] = L"PellacoreProcessTreeHelper";

std::int64_t Handle(HWND window) { return static_cast<std::int64_t>(reinterpret_cast<INT_PTR>(window)); }

std::wstring CaptionFrom(DWORD parent) { return L"process tree helper from " + std::to_wstring(parent); }

class ProcessesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ASSERT_TRUE(job_);
    ASSERT_TRUE(::SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits)));
  }
  void TearDown() override { ::TerminateJobObject(job_.get(), 1); }

  struct Started {
    DWORD id = 0;
    win32::UniqueHandle handle;
  };

  // A helper that starts `generations` below itself; with `exitAtOnce`, it
  // ends once its child is started.
  Started StartHelper(int generations, bool exitAtOnce = false) {
    std::wstring commandLine = L"\"" + testing::WindowsPathOf(PELLACORE_PROCESS_TREE_HELPER_EXE) + L"\" " +
                               std::to_wstring(generations) + L" 0" + (exitAtOnce ? L" exit" : L"");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // Suspended until it is in the job, so that its children are too.
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                          &startup, &info)) {
      ADD_FAILURE() << "the helper did not start: " << ::GetLastError();
      return {};
    }
    const win32::UniqueHandle thread(info.hThread);
    Started started{info.dwProcessId, win32::UniqueHandle(info.hProcess)};
    EXPECT_TRUE(::AssignProcessToJobObject(job_.get(), started.handle.get()));
    ::ResumeThread(thread.get());
    return started;
  }

  // The helper window of the process `id`, or of the child of `parent`.
  static HWND WindowOf(DWORD id) { return harness::WaitForTopWindow(id, kHelperClass, L""); }
  static HWND WindowOfChildOf(DWORD parent) { return harness::WaitForTopWindow(0, kHelperClass, CaptionFrom(parent)); }

  static bool Ends(HANDLE process) {
    return harness::WaitUntil([&] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; });
  }

  win32::Win32Processes processes;

 private:
  win32::UniqueHandle job_{::CreateJobObjectW(nullptr, nullptr)};
};

TEST_F(ProcessesTest, TheOwnerOfAWindowIsItsProcessHeldAndToldApartFromAnother) {
  const Started first = StartHelper(0);
  const Started second = StartHelper(0);
  const HWND firstWindow = WindowOf(first.id);
  const HWND secondWindow = WindowOf(second.id);
  ASSERT_TRUE(firstWindow && secondWindow);

  const auto owner = processes.OwnerOfWindow(Handle(firstWindow));
  EXPECT_EQ(owner->Id(), first.id);
  EXPECT_EQ(owner->StartTime(), win32::CreationTimeOf(first.handle.get()));
  EXPECT_TRUE(owner->SameAs(*processes.OwnerOfWindow(Handle(firstWindow))));
  EXPECT_FALSE(owner->SameAs(*processes.OwnerOfWindow(Handle(secondWindow))));
  EXPECT_FALSE(owner->HasEnded());

  ASSERT_TRUE(::TerminateProcess(first.handle.get(), 1));
  EXPECT_TRUE(harness::WaitUntil([&] { return owner->HasEnded(); }));
  // Ending what has ended already is no failure.
  EXPECT_NO_THROW(owner->EndTree());
}

TEST_F(ProcessesTest, EndTreeEndsTheProcessAndEveryProcessBelowIt) {
  const Started top = StartHelper(2);
  const HWND topWindow = WindowOf(top.id);
  ASSERT_TRUE(topWindow);
  const HWND childWindow = WindowOfChildOf(top.id);
  ASSERT_TRUE(childWindow);
  const auto child = processes.OwnerOfWindow(Handle(childWindow));
  const HWND grandchildWindow = WindowOfChildOf(child->Id());
  ASSERT_TRUE(grandchildWindow);
  const auto grandchild = processes.OwnerOfWindow(Handle(grandchildWindow));
  const Started bystander = StartHelper(0);

  processes.OwnerOfWindow(Handle(topWindow))->EndTree();

  EXPECT_TRUE(Ends(top.handle.get()));
  EXPECT_TRUE(harness::WaitUntil([&] { return child->HasEnded() && grandchild->HasEnded(); }));
  EXPECT_EQ(::WaitForSingleObject(bystander.handle.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

// A process whose parent has ended still names that parent's id; when the id
// goes to a later process, the orphan is no child of it.
TEST_F(ProcessesTest, EndTreeLeavesAnOrphanWhoseParentsIdWentToALaterProcess) {
  Started parent = StartHelper(1, true);
  ASSERT_TRUE(Ends(parent.handle.get()));
  const HWND orphanWindow = WindowOfChildOf(parent.id);
  ASSERT_TRUE(orphanWindow);
  const auto orphan = processes.OwnerOfWindow(Handle(orphanWindow));

  ASSERT_TRUE(testing::HandOutNextTheIdOf(parent.id, std::move(parent.handle)));
  const Started heir = StartHelper(0);
  ASSERT_EQ(heir.id, parent.id) << "another process got the freed id first";
  const HWND heirWindow = WindowOf(heir.id);
  ASSERT_TRUE(heirWindow);

  processes.OwnerOfWindow(Handle(heirWindow))->EndTree();

  EXPECT_TRUE(Ends(heir.handle.get()));
  EXPECT_FALSE(orphan->HasEnded());
}

TEST_F(ProcessesTest, AHandleThatNamesNoWindowRaises) {
  const HWND gone = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(gone);
  ::DestroyWindow(gone);
  for (const std::int64_t handle : {std::int64_t{0}, Handle(gone)}) {
    try {
      processes.OwnerOfWindow(handle);
      ADD_FAILURE() << "no failure for " << handle;
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.number(), HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE)) << handle;
    }
  }
}

}  // namespace
}  // namespace pellacore
