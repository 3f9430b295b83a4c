// The program's entry point: reads the command line; hands its paths to a
// window of the program that runs already, or builds the program's parts,
// runs start-up with the window hidden, then shows it and runs the message
// loop until the window closes; or, for /convert, runs the batch without
// showing the window and ends with its exit code.

#include <windows.h>

#include <vector>

#include "util/command_line.h"
#include "util/settings.h"
#include "win32/application.h"
#include "win32/console_output.h"
#include "win32/fatal_failure.h"
#include "win32/handed_paths.h"
#include "win32/program_folder.h"
#include "win32/registry_settings_store.h"

namespace {

using namespace pellacore;

// The command line's arguments after the program's name, each path made
// full: a later start's current folder is not the running window's.
CommandLine ReadCommandLine() {
  std::vector<std::wstring> arguments = SplitCommandLine(::GetCommandLineW());
  if (!arguments.empty()) arguments.erase(arguments.begin());
  CommandLine command = ParseCommandLine(arguments);
  for (std::wstring& path : command.paths) {
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) continue;
    std::wstring full(size, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (written == 0 || written >= size) continue;
    full.resize(written);
    path = std::move(full);
  }
  if (command.outFolder) {
    wchar_t full[MAX_PATH * 4] = {};
    const DWORD written = ::GetFullPathNameW(command.outFolder->c_str(), MAX_PATH * 4, full, nullptr);
    if (written > 0 && written < MAX_PATH * 4) command.outFolder = full;
  }
  return command;
}

// The usage text, with what was wrong first: to the console, or in a box
// when the program was started without one.
void TellUsage(const CommandLine& command) {
  const std::wstring text =
      (command.problem.empty() ? L"" : command.problem + L"\r\n\r\n") + CommandLineUsage();
  if (win32::WriteConsoleText(text)) return;
  ::MessageBoxW(nullptr, text.c_str(), L"Pellacore", command.problem.empty() ? MB_ICONINFORMATION : MB_ICONWARNING);
}

// `title` learns the application's title while the program still runs, for
// a failure that ends it.
int Run(HINSTANCE instance, int showCommand, const CommandLine& command, std::wstring& title) {
  win32::RegistrySettingsStore settings(kSettingsApplication, kSettingsSection);
  const bool batch = command.mode == CommandLine::Mode::kConvert;
  win32::Application application(instance, settings, win32::ProgramFolder(),
                                 batch ? win32::Application::Boxes::kOnConsole : win32::Application::Boxes::kShown);
  try {
    if (batch) return application.Convert(command);
    application.Start(showCommand, command.paths);
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
    const CommandLine command = ReadCommandLine();
    switch (command.mode) {
      case CommandLine::Mode::kUsage:
        TellUsage(command);
        return kExitAllConverted;
      case CommandLine::Mode::kWrong:
        TellUsage(command);
        return kExitWrongCommandLine;
      case CommandLine::Mode::kWindow:
        // Send To and drops on the program's icon fill the one list there is.
        if (!command.paths.empty() && win32::HandPathsToRunningWindow(command.paths)) return kExitAllConverted;
        break;
      case CommandLine::Mode::kConvert:
        break;
    }
    return Run(instance, showCommand, command, title);
  } catch (...) {
    return pellacore::win32::TellFatalFailure(title);
  }
}
