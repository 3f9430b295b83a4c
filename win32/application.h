#pragma once
// The program's parts wired together: the platform's adapters, the main
// window and its presenter Form1. The program, its in-process tests and the
// benchmarks all build it here; only the settings store is theirs to give.

#include <windows.h>

#include <string>

#include "app/form1.h"
#include "util/command_line.h"
#include "convert/autocad_instances.h"
#include "convert/bounded_automation.h"
#include "convert/prerequisite_checks.h"
#include "convert/retrying_automation.h"
#include "joblist/sample_drawings.h"
#include "win32/console_message_boxes.h"
#include "win32/main_window.h"
#include "win32/ole_session.h"
#include "win32/skin_component.h"
#include "win32/win32_automation.h"
#include "win32/win32_call_threads.h"
#include "win32/win32_clock.h"
#include "win32/win32_code_page.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_file_dialogs.h"
#include "win32/win32_file_system.h"
#include "win32/win32_folder_picker.h"
#include "win32/win32_input_box.h"
#include "win32/win32_message_boxes.h"
#include "win32/win32_named_locks.h"
#include "win32/win32_printing.h"
#include "win32/win32_processes.h"
#include "win32/win32_registry.h"
#include "win32/win32_shell.h"
#include "win32/win32_special_folders.h"

namespace pellacore::win32 {

class Application {
 public:
  // How the program shows its boxes: as boxes, or (a batch run from the
  // command line, which shows no window) on the console.
  enum class Boxes { kShown, kOnConsole };

  // `programFolder`: the folder of the program, without a trailing "\".
  Application(HINSTANCE instance, SettingsStore& settings, const std::wstring& programFolder,
              Boxes shown = Boxes::kShown)
      : boxes_(shown == Boxes::kShown ? static_cast<MessageBoxes&>(windowBoxes_) : consoleBoxes_),
        samples_({settings, boxes_, shell_, {fs_, pump_, boxes_, codePage_}}, programFolder),
        window_(instance),
        form_({window_, window_, settings, fs_, folders_, boxes_, pump_, skin_, samples_, checks_,
               fileDialogs_, folderPicker_, inputBox_, codePage_, registry_, printing_, instances_,
               callThreads_, locks_, clock_, shell_},
              programFolder) {}
  // The window goes first: until it is gone it forwards events to Form1.
  ~Application() { window_.Destroy(); }
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Creates the window hidden, runs start-up, then shows the window with
  // the command line's paths in its list.
  void Start(int showCommand, const std::vector<std::wstring>& paths = {}) {
    Load();
    if (!paths.empty()) form_.AddCommandLinePaths(paths);
    window_.Show(showCommand);
  }

  // A batch run from the command line: start-up and the run with the window
  // hidden throughout; answers the program's exit code.
  int Convert(const CommandLine& command) {
    Load();
    return form_.ConvertFromCommandLine(command);
  }

  Form1& form() { return form_; }
  Win32MainWindow& window() { return window_; }
  Win32EventPump& pump() { return pump_; }

 private:
  // Creates the window hidden and runs start-up.
  void Load() {
    window_.Create(form_);
    // The window owns every box and dialog the program shows.
    const HWND owner = window_.handle();
    windowBoxes_.SetOwner(owner);
    fileDialogs_.SetOwner(owner);
    folderPicker_.SetOwner(owner);
    inputBox_.SetOwner(owner);
    shell_.SetOwner(owner);
    pump_.SetDialogWindow(window_.handle());
    form_.Form_Load();
  }

  OleSession ole_;
  Win32FileSystem fs_;
  Win32SpecialFolders folders_;
  Win32MessageBoxes windowBoxes_;
  ConsoleMessageBoxes consoleBoxes_;
  MessageBoxes& boxes_;
  Win32EventPump pump_;
  Win32SkinFramework skin_;
  Win32FileDialogs fileDialogs_;
  Win32FolderPicker folderPicker_;
  Win32InputBox inputBox_;
  Win32Shell shell_;
  Win32CodePage codePage_;
  Win32Registry registry_;
  Win32Printing printing_;
  Win32Clock clock_;
  // AutoCAD is called on threads of its own (where COM's message filter
  // retries a busy AutoCAD's refusals), each call bounded by the time limit.
  Win32Automation com_;
  RetryingAutomation retrying_{com_, clock_};
  Win32CallThreads callThreads_{clock_, pump_};
  Win32Processes processes_;
  Win32NamedLocks locks_;
  BoundedAutomation automation_{retrying_, callThreads_, clock_};
  AutoCadInstances instances_{{automation_, processes_, clock_, pump_}};
  SampleDrawings samples_;
  PartnerChecks checks_{{instances_, printing_, boxes_}};
  Win32MainWindow window_;
  Form1 form_;
};

}  // namespace pellacore::win32
