#pragma once
// The program's command line: paths to add to the job list, or a batch run
// without the window:
//   pellacore.exe PATH...
//   pellacore.exe /convert PATH... [/out FOLDER] [/route printer|plotter] [/report FILE]
//   pellacore.exe /?
// Switches are taken in any letter case, in any order among the paths.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/settings.h"

namespace pellacore {

// The arguments of a command line as Windows programs split it: blanks
// separate them outside quotes; a quote toggles quoting and is dropped; ""
// inside quotes is one quote; backslashes are literal unless they come
// before a quote, where each pair gives one backslash and an odd one makes
// the quote literal. The program's own name is split like the rest.
std::vector<std::wstring> SplitCommandLine(std::wstring_view line);

struct CommandLine {
  enum class Mode {
    kWindow,   // the window, with `paths` (maybe none) added to its list
    kConvert,  // a batch run without the window
    kUsage,    // "/?": the usage text
    kWrong,    // `problem` says what is wrong
  };
  Mode mode = Mode::kWindow;
  std::vector<std::wstring> paths;
  std::optional<std::wstring> outFolder;  // /out: results into this folder
  std::optional<PdfRouteChoice> route;    // /route
  std::optional<std::wstring> reportFile; // /report
  std::wstring problem;
};

// Reads the arguments after the program's name.
CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);

// What /? and a wrong command line show.
std::wstring CommandLineUsage();

}  // namespace pellacore
