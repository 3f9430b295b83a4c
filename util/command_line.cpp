#include "util/command_line.h"

#include "util/text.h"

namespace pellacore {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// A switch's name in lower case ("/convert" gives "convert"); "" when the
// argument is no switch. Paths never start with "/" on Windows.
std::wstring SwitchName(const std::wstring& argument) {
  if (argument.size() < 2 || argument.front() != L'/') return L"";
  return LowerAscii(argument.substr(1));
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
  std::vector<std::wstring> arguments;
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) return arguments;
    std::wstring argument;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
      std::size_t backslashes = 0;
      while (i < line.size() && line[i] == L'\\') {
        ++backslashes;
        ++i;
      }
      if (i < line.size() && line[i] == L'"') {
        argument.append(backslashes / 2, L'\\');
        if (backslashes % 2 == 1) {
          argument += L'"';
        } else if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
          argument += L'"';  // "" inside quotes
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
        continue;
      }
      argument.append(backslashes, L'\\');
      if (i < line.size() && (quoted || !IsBlank(line[i]))) argument += line[i++];
    }
    arguments.push_back(std::move(argument));
  }
}

CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments) {
  CommandLine command;
  bool convert = false;
  const auto wrong = [&](std::wstring problem) {
    command = CommandLine{};
    command.mode = CommandLine::Mode::kWrong;
    command.problem = std::move(problem);
    return command;
  };
  // Asking for the usage is never wrong, whatever else the line holds.
  for (const std::wstring& argument : arguments) {
    if (SwitchName(argument) == L"?") {
      command.mode = CommandLine::Mode::kUsage;
      return command;
    }
  }
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring& argument = arguments[i];
    const std::wstring name = SwitchName(argument);
    if (name.empty()) {
      if (!argument.empty()) command.paths.push_back(argument);
      continue;
    }
    if (name == L"convert") {
      convert = true;
      continue;
    }
    if (name != L"out" && name != L"route" && name != L"report") return wrong(L"Unknown switch: " + argument);
    if (i + 1 >= arguments.size() || !SwitchName(arguments[i + 1]).empty() || arguments[i + 1].empty()) {
      return wrong(argument + L" needs a value.");
    }
    const std::wstring& value = arguments[++i];
    if (name == L"out") {
      if (command.outFolder) return wrong(L"/out is given twice.");
      command.outFolder = value;
    } else if (name == L"report") {
      if (command.reportFile) return wrong(L"/report is given twice.");
      command.reportFile = value;
    } else {
      if (command.route) return wrong(L"/route is given twice.");
      const std::wstring route = LowerAscii(value);
      if (route != L"printer" && route != L"plotter") return wrong(L"/route takes printer or plotter, not " + value + L".");
      command.route = route == L"plotter" ? PdfRouteChoice::kPlotter : PdfRouteChoice::kPrinter;
    }
  }
  if (!convert && (command.outFolder || command.route || command.reportFile)) {
    return wrong(L"/out, /route and /report go with /convert.");
  }
  if (convert) {
    if (command.paths.empty()) return wrong(L"/convert needs at least one drawing or folder.");
    command.mode = CommandLine::Mode::kConvert;
  }
  return command;
}

std::wstring CommandLineUsage() {
  return L"Usage:\r\n"
         L"  pellacore.exe [PATH...]\r\n"
         L"      Opens the window with these drawings in its list (folders are searched for drawings).\r\n"
         L"      When Pellacore runs already, the paths go to its list.\r\n"
         L"  pellacore.exe /convert PATH... [/out FOLDER] [/route printer|plotter] [/report FILE]\r\n"
         L"      Converts without the window, as an unattended run with your other settings:\r\n"
         L"      /out     the PDFs go into FOLDER (otherwise beside each drawing)\r\n"
         L"      /route   through the PDF printer or AutoCAD's plotter (otherwise as last chosen)\r\n"
         L"      /report  the run's report goes to FILE (otherwise to the reports folder)\r\n"
         L"      Exit code: 0 every drawing converted, 1 any not, 2 a wrong command line or nothing\r\n"
         L"      to convert.\r\n"
         L"  pellacore.exe /?\r\n"
         L"      This text.\r\n";
}

}  // namespace pellacore
