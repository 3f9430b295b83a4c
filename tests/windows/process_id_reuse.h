#pragma once
// Makes Wine hand a freed process id to the next process started. Wine's
// server gives processes and threads their ids from one table; a freed id
// joins the back of a queue, and the queue's front is handed out again only
// once the table is full and 256 or more ids are free (docs/wine.md). Short
// threads, each taking the front and putting it back at the end, move the
// queue on: one round finds the id that stands before the freed one, a
// second stops right after that id, with the freed one next in line.

#include <windows.h>

#include "tools/harness/harness.h"
#include "win32/unique_resource.h"

namespace pellacore::testing {

namespace process_id_reuse {

inline constexpr int kMostThreads = 20'000;

inline DWORD WINAPI ReturnAtOnce(void*) { return 0; }

// The id of a thread that ran and has been let go: its id is free again.
// 0 when no thread could be made.
inline DWORD IdOfAThreadThatCameAndWent() {
  DWORD id = 0;
  const win32::UniqueHandle thread(::CreateThread(nullptr, 0, ReturnAtOnce, nullptr, 0, &id));
  if (!thread) return 0;
  ::WaitForSingleObject(thread.get(), INFINITE);
  return id;
}

}  // namespace process_id_reuse

// Lets go of `process` (ended) and moves Wine's queue of free ids on until
// its id `id` is the next one handed out. Answers false when that did not
// come about.
inline bool HandOutNextTheIdOf(DWORD id, win32::UniqueHandle process) {
  using namespace process_id_reuse;
  process.reset();
  // The server lets an ended process go a little after its last handle.
  const bool freed = harness::WaitUntil([&] { return !win32::UniqueHandle(::OpenProcess(SYNCHRONIZE, FALSE, id)); });
  if (!freed) return false;

  DWORD before = 0;  // the id handed out just before `id`
  bool found = false;
  for (int i = 0; i < kMostThreads && !found; ++i) {
    const DWORD taken = IdOfAThreadThatCameAndWent();
    if (!taken) return false;
    found = taken == id && before != 0;
    if (!found) before = taken;
  }
  if (!found) return false;
  for (int i = 0; i < kMostThreads; ++i) {
    if (IdOfAThreadThatCameAndWent() == before) return true;
  }
  return false;
}

}  // namespace pellacore::testing
