// The program's entry point: builds the program's parts, runs start-up with
// the window hidden, then shows it and runs the message loop until the
// window closes.

#include <windows.h>

#include "util/settings.h"
#include "win32/application.h"
#include "win32/program_folder.h"
#include "win32/registry_settings_store.h"

namespace {

int Run(HINSTANCE instance, int showCommand) {
  using namespace pellacore;
  win32::RegistrySettingsStore settings(kSettingsApplication, kSettingsSection);
  win32::Application application(instance, settings, win32::ProgramFolder());
  application.Start(showCommand);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) application.pump().Dispatch(message);
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
