#pragma once
// The file dialog, the folder picker and the input box, answering from a
// script and keeping what they were asked.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_dialogs.h"
#include "platform/folder_picker.h"
#include "platform/input_box.h"
#include "platform/shell.h"
#include "util/failure.h"

namespace pellacore::testing {

class ScriptedFileDialogs : public FileDialogs {
 public:
  std::vector<OpenDialogSettings> shown;
  std::wstring answer;  // "" is Cancel
  std::optional<Failure> failure;

  std::wstring ShowOpen(const OpenDialogSettings& settings) override {
    shown.push_back(settings);
    if (failure) throw *failure;
    return answer;
  }
};

class ScriptedFolderPicker : public FolderPicker {
 public:
  struct Request {
    std::wstring prompt, initialFolder;
  };
  std::vector<Request> shown;
  std::wstring answer;  // "" is Cancel

  std::wstring Browse(const std::wstring& prompt, const std::wstring& initialFolder) override {
    shown.push_back({prompt, initialFolder});
    return answer;
  }
};

class ScriptedInputBox : public InputBox {
 public:
  struct Request {
    std::wstring prompt, title, defaultText;
  };
  std::vector<Request> shown;
  std::wstring answer;  // "" is Cancel

  std::wstring Ask(const std::wstring& prompt, const std::wstring& title,
                   const std::wstring& defaultText) override {
    shown.push_back({prompt, title, defaultText});
    return answer;
  }
};

class RecordingShell : public Shell {
 public:
  struct Request {
    std::wstring file, workingFolder;
  };
  std::vector<Request> opened;
  void Open(const std::wstring& file, const std::wstring& workingFolder) override {
    opened.push_back({file, workingFolder});
  }
};

}  // namespace pellacore::testing
