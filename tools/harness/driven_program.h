#pragma once
// The program as a driver of whole runs (the soak, the run benchmark) drives
// it: started from its folder, its window found, the list filled by a drop,
// Start clicked, its boxes and progress text read, its handle and GDI object
// counts read from outside.

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/harness/harness.h"

namespace pellacore::harness {

struct ShownBox {
  HWND box = nullptr;
  std::wstring caption;
  std::wstring text;
};

struct ResourceCounts {
  DWORD handles = 0;
  std::map<std::wstring, DWORD> handlesByType;
  DWORD gdiObjects = 0;
};

class DrivenProgram {
 public:
  // Starts the program and waits for its main window (window() is null when none came).
  explicit DrivenProgram(const std::wstring& exe);
  DrivenProgram(const DrivenProgram&) = delete;
  DrivenProgram& operator=(const DrivenProgram&) = delete;

  HWND window() const { return window_; }
  DWORD processId() const { return program_.id(); }

  // "Put all PDFs into this folder", with the folder typed into Text1.
  bool ChooseOutputFolder(const std::wstring& folder) const;
  // Drops the drawings on the list, in order, and waits until all are listed.
  bool FillList(const std::vector<std::wstring>& drawings) const;
  void ClickStart() const;

  // A box the program shows now, if any.
  std::optional<ShownBox> Box() const;
  // Answers a box: No where it asks (the report is not opened), else OK;
  // waits until it has gone.
  void Answer(const ShownBox& box) const;
  std::wstring ProgressText() const;
  ResourceCounts Counts() const;

  // WM_CLOSE, and the program's end waited for.
  bool Close();

 private:
  HWND Control(int index) const;

  Program program_;
  HWND window_ = nullptr;
};

}  // namespace pellacore::harness
