#pragma once
// The program's parts wired together: the platform's adapters, the main
// window and its presenter Form1. The program, its in-process tests and the
// benchmarks all build it here; only the settings store is theirs to give.

#include <windows.h>

#include <string>

#include "app/form1.h"
#include "win32/main_window.h"
#include "win32/skin_component.h"
#include "win32/startup_placeholders.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_file_system.h"
#include "win32/win32_message_boxes.h"
#include "win32/win32_special_folders.h"

namespace pellacore::win32 {

class Application {
 public:
  // `programFolder`: the folder of the program, without a trailing "\".
  Application(HINSTANCE instance, SettingsStore& settings, std::wstring programFolder)
      : window_(instance),
        form_({window_, window_, settings, fs_, folders_, boxes_, pump_, skin_, samples_, checks_},
              std::move(programFolder)) {}
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Creates the window hidden, runs start-up, then shows the window.
  void Start(int showCommand) {
    window_.Create(form_);
    boxes_.SetOwner(window_.handle());
    pump_.SetDialogWindow(window_.handle());
    form_.Form_Load();
    window_.Show(showCommand);
  }

  Form1& form() { return form_; }
  Win32MainWindow& window() { return window_; }
  Win32EventPump& pump() { return pump_; }

 private:
  Win32FileSystem fs_;
  Win32SpecialFolders folders_;
  Win32MessageBoxes boxes_;
  Win32EventPump pump_;
  Win32SkinFramework skin_;
  NoSampleRecorder samples_;
  NoPrerequisiteChecks checks_;
  Win32MainWindow window_;
  Form1 form_;
};

}  // namespace pellacore::win32
