#pragma once
// A Form1 wired to doubles of everything it talks to.

#include <gtest/gtest.h>

#include "app/form1.h"
#include "tests/doubles/autocad_doubles.h"
#include "tests/doubles/fake_clock.h"
#include "tests/doubles/fake_code_page.h"
#include "tests/doubles/fake_main_window.h"
#include "tests/doubles/fake_named_locks.h"
#include "tests/doubles/fake_printing.h"
#include "tests/doubles/scripted_dialogs.h"
#include "tests/doubles/fake_special_folders.h"
#include "tests/doubles/fake_startup_partners.h"
#include "tests/doubles/memory_file_system.h"
#include "tests/doubles/memory_settings_store.h"
#include "tests/doubles/recording_message_boxes.h"
#include "tests/doubles/recording_registry.h"
#include "tests/doubles/scripted_event_pump.h"
#include "tests/doubles/stepped_call_threads.h"
#include "util/error_report.h"

namespace pellacore::testing {

inline const std::wstring kProgramFolder = L"C:\\Program Files\\Pellacore";
inline const std::wstring kDesktop = L"C:\\Users\\User\\Desktop";
inline const std::wstring kLocalAppData = L"C:\\Users\\User\\AppData\\Local";

class Form1Test : public ::testing::Test {
 protected:
  Form1Test() {
    folders.paths[csidl::kDesktop] = kDesktop;
    folders.paths[csidl::kLocalAppData] = kLocalAppData;
  }

  FakeMainWindow window;
  FakeJobListView list;
  MemorySettingsStore settings;
  MemoryFileSystem fs;
  FakeSpecialFolders folders;
  RecordingMessageBoxes boxes;
  ScriptedEventPump pump;
  RecordingSkinFramework skin;
  RecordingSampleList samples;
  ScriptedFileDialogs fileDialogs;
  ScriptedFolderPicker folderPicker;
  ScriptedInputBox inputBox;
  FakeCodePage codePage;
  ScriptedPrerequisiteChecks checks;
  RecordingRegistry registry;
  FakePrinting printing;
  FakeClock clock;
  RecordingShell shell;
  AutoCadDoubles doubles{&fs, clock, pump};
  FakeAutoCad& autocad = doubles.autocad;
  SteppedCallThreads laneThreads{clock};
  FakeNamedLocks locks;
  Form1 form{{window, list, settings, fs, folders, boxes, pump, skin, samples, checks, fileDialogs,
              folderPicker, inputBox, codePage, registry, printing, doubles.instances, laneThreads, locks, clock, shell},
             kProgramFolder};

  // The user drags entry `from` onto entry `to`, as the window reports it.
  void Drag(std::size_t from, std::size_t to) {
    list.rows = form.jobList().Count();
    form.ListView1_SelectionChanged(from);
    form.ListView1_MouseDown(mouse_button::kLeft, 0, 10, list.RowY(from));
    form.ListView1_ItemClick();
    form.ListView1_MouseMove(mouse_button::kLeft, 0, 10, list.RowY(to));
    form.ListView1_MouseUp(mouse_button::kLeft, 0, 10, list.RowY(to));
  }
  // The list's Result column, top to bottom.
  std::vector<std::wstring> Results() const {
    std::vector<std::wstring> results;
    for (std::size_t i = 1; i <= form.jobList().Count(); ++i) results.push_back(form.jobList().Result(i));
    return results;
  }

  // The texts of the error reports shown so far.
  std::vector<std::wstring> Reports() const {
    std::vector<std::wstring> texts;
    for (const ShownMessage& box : boxes.shown) {
      if (box.title == kErrorReportTitle) texts.push_back(box.text);
    }
    return texts;
  }
};

}  // namespace pellacore::testing
