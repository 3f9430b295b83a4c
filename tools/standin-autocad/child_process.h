#pragma once
// The server's helper process (the exe started with /child): a plain process
// with no COM, as AutoCAD starts helpers of its own. A normal end of the
// server ends it (this going); a server that is killed leaves it behind, so
// only ending the whole process tree removes it.

#include <windows.h>

#include <string>

#include "win32/unique_resource.h"

namespace pellacore::standin {

class ChildProcess {
 public:
  // Starts `exe` /child; started() tells whether it runs.
  explicit ChildProcess(const std::wstring& exe);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  bool started() const { return static_cast<bool>(process_); }
  DWORD id() const { return id_; }

 private:
  win32::UniqueHandle process_;
  DWORD id_ = 0;
};

// What the child does: nothing, until it is ended.
int RunAsChild();

}  // namespace pellacore::standin
