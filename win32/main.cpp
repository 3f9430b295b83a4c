// The program's entry point: builds the program's parts, runs start-up with
// the window hidden, then shows it and runs the message loop until the
// window closes.

#include <windows.h>

#include "util/settings.h"
#include "win32/application.h"
#include "win32/fatal_failure.h"
#include "win32/program_folder.h"
#include "win32/registry_settings_store.h"

namespace {

// `title` learns the application's title while the program still runs, for
// a failure that ends it.
int Run(HINSTANCE instance, int showCommand, std::wstring& title) {
  using namespace pellacore;
  win32::RegistrySettingsStore settings(kSettingsApplication, kSettingsSection);
  win32::Application application(instance, settings, win32::ProgramFolder());
  try {
    application.Start(showCommand);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) application.pump().Dispatch(message);
    return static_cast<int>(message.wParam);
  } catch (...) {
    title = application.form().applicationTitle();
    throw;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  std::wstring title;
  try {
    return Run(instance, showCommand, title);
  } catch (...) {
    return pellacore::win32::TellFatalFailure(title);
  }
}
