// The program's entry point: builds the platform's adapters, the main window
// and its presenter, runs start-up with the window hidden, then shows it and
// runs the message loop until the window closes.

#include <windows.h>

#include "app/form1.h"
#include "app/settings.h"
#include "win32/main_window.h"
#include "win32/program_folder.h"
#include "win32/registry_settings_store.h"
#include "win32/skin_component.h"
#include "win32/startup_placeholders.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_failure.h"
#include "win32/win32_file_system.h"
#include "win32/win32_message_boxes.h"
#include "win32/win32_special_folders.h"

namespace {

using namespace pellacore;

int Run(HINSTANCE instance, int showCommand) {
  win32::RegistrySettingsStore settings(kSettingsApplication, kSettingsSection);
  win32::Win32FileSystem fs;
  win32::Win32SpecialFolders folders;
  win32::Win32MessageBoxes boxes;
  win32::Win32EventPump pump;
  win32::Win32SkinFramework skin;
  win32::NoSampleRecorder samples;
  win32::NoPrerequisiteChecks checks;
  win32::Win32MainWindow window(instance);

  Form1 form({window, window, settings, fs, folders, boxes, pump, skin, samples, checks},
             win32::ProgramFolder());
  window.Create(form);
  boxes.SetOwner(window.handle());
  pump.SetDialogWindow(window.handle());

  form.Form_Load();
  window.Show(showCommand);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) pump.Dispatch(message);
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  try {
    return Run(instance, showCommand);
  } catch (const pellacore::Failure& failure) {
    ::MessageBoxW(nullptr, failure.description().c_str(), L"Pellacore", MB_OK | MB_ICONERROR);
    return 1;
  }
}
