// The conversion run: 40 drawings through the real program, driven through
// its window, on the stand-in AutoCAD told to cost what AutoCAD costs, scaled
// down, and the stand-in PDF printer; per-drawing AutoCADs against one kept
// AutoCAD on each route, several AutoCADs plotting at once against one, and
// the program's own time per drawing. Run under
// Wine by scripts/run-bench, with the stand-ins installed.
//   conversion_run_bench --program EXE --work FOLDER
// The drawings are copies of the program folder's Samples\*.dxf, named .dwg.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bench/run_figures.h"
#include "tools/harness/driven_program.h"
#include "tools/harness/windows_files.h"

namespace {

using namespace pellacore;
using namespace pellacore::harness;
using bench::RunTiming;
using bench::StandinCosts;
using RunClock = std::chrono::steady_clock;

constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Kelvandor\\Pellacore";
constexpr wchar_t kAutoCadSwitches[] = L"Software\\Pellacore\\Stand-ins\\AutoCAD";
constexpr std::size_t kDrawingCount = 40;
// AutoCAD scaled down: a 2 s start, 0.3 s per open and per export or plot, 0.5 s quit.
constexpr StandinCosts kScaledAutoCad{2000, 300, 300, 500};
constexpr StandinCosts kFreeAutoCad{0, 0, 0, 0};
constexpr double kKeptTarget = 3.0;
constexpr double kParallelTarget = 3.0;
constexpr double kOwnShareTarget = 0.05;

struct Configuration {
  std::wstring name;
  std::wstring key;  // its output folder's name
  std::wstring route;
  bool keepOpen = false;
  StandinCosts costs;
  int parallel = 1;  // AutoCADs plotting at once
};

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

std::vector<std::wstring> FilesMatching(const std::wstring& folder, const std::wstring& pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

// Copies of the samples under distinct names, in turn: flange-01.dwg, ...
std::vector<std::wstring> MakeDrawings(const std::wstring& samples, const std::wstring& folder) {
  const std::vector<std::wstring> sources = FilesMatching(samples, L"*.dxf");
  std::vector<std::wstring> drawings;
  if (sources.empty() || !MakeFolders(folder)) return drawings;
  for (std::size_t i = 0; i < kDrawingCount; ++i) {
    const std::wstring& source = sources[i % sources.size()];
    const std::wstring number = (i + 1 < 10 ? L"0" : L"") + std::to_wstring(i + 1);
    const std::wstring path = folder + L"\\" + source.substr(0, source.rfind(L'.')) + L"-" + number + L".dwg";
    if (!::CopyFileW((samples + L"\\" + source).c_str(), path.c_str(), FALSE)) return {};
    drawings.push_back(path);
  }
  return drawings;
}

std::wstring StemOf(const std::wstring& path) {
  const std::wstring name = path.substr(path.rfind(L'\\') + 1);
  return name.substr(0, name.rfind(L'.'));
}

// Drawings with a PDF in `output`: "stem.pdf", or "stem - Layout.pdf" per sheet.
std::size_t ConvertedIn(const std::wstring& output, const std::vector<std::wstring>& drawings) {
  std::size_t converted = 0;
  for (const std::wstring& drawing : drawings) {
    const std::wstring stem = StemOf(drawing);
    if (!FilesMatching(output, stem + L".pdf").empty() || !FilesMatching(output, stem + L" - *.pdf").empty()) {
      ++converted;
    }
  }
  return converted;
}

void WriteRunSettings(const Configuration& configuration, const std::wstring& work) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAutoCadSwitches);
  WriteUserString(kSettingsKey, L"PdfRoute", configuration.route);
  WriteUserString(kSettingsKey, L"KeepAutoCadOpen", configuration.keepOpen ? L"True" : L"False");
  // More than the run's drawings: one kept AutoCAD serves them all.
  WriteUserString(kSettingsKey, L"RecycleAfter", std::to_wstring(kDrawingCount * 10));
  WriteUserString(kSettingsKey, L"Unattended", L"True");
  WriteUserString(kSettingsKey, L"DrawingTimeLimit", L"60");
  WriteUserString(kSettingsKey, L"ParallelInstances", std::to_wstring(configuration.parallel));
  const StandinCosts& costs = configuration.costs;
  WriteUserString(kAutoCadSwitches, L"StartDelayMs", std::to_wstring(costs.startMs));
  WriteUserString(kAutoCadSwitches, L"DelayMs", bench::DelayMsValue(costs));
  WriteUserString(kAutoCadSwitches, L"LingerAfterQuitMs", std::to_wstring(costs.quitMs));
  WriteUserString(kAutoCadSwitches, L"LogFile", work + L"\\logs\\" + configuration.key + L"-autocad.log");
}

// No AutoCAD of one run may serve or slow the next.
void AwaitNoAutoCad() {
  std::vector<DWORD> left;
  if (!WaitUntil([&] { return (left = ProcessesNamed(L"standin-autocad.exe")).empty(); }, milliseconds(20000))) {
    std::printf("   (%zu stand-in AutoCADs left running, ended)\n", left.size());
    EndProcesses(left);
  }
}

RunTiming Run(const Configuration& configuration, const std::wstring& exe, const std::wstring& work,
              const std::vector<std::wstring>& drawings) {
  RunTiming timing{configuration.name, drawings.size(), 0, 0, false};
  const std::wstring output = work + L"\\out\\" + configuration.key;
  MakeFolders(output);
  for (const std::wstring& old : FilesMatching(output, L"*")) ::DeleteFileW((output + L"\\" + old).c_str());
  AwaitNoAutoCad();
  WriteRunSettings(configuration, work);

  DrivenProgram program(exe);
  if (!program.window()) {
    std::printf("   the program's window did not appear\n");
    return timing;
  }
  if (!program.ChooseOutputFolder(output) || !program.FillList(drawings)) {
    std::printf("   could not choose the output folder or list the drawings\n");
    program.Close();
    return timing;
  }
  const auto started = RunClock::now();
  // Far beyond what a run takes: 10 s a drawing.
  const auto deadline = started + std::chrono::seconds(60 + 10 * static_cast<long long>(drawings.size()));
  program.ClickStart();
  std::size_t errorBoxes = 0;
  while (RunClock::now() < deadline) {
    const std::optional<ShownBox> box = program.Box();
    if (!box) {
      ::Sleep(20);
      continue;
    }
    const double seconds = std::chrono::duration<double>(RunClock::now() - started).count();
    program.Answer(*box);
    if (box->caption == L"Application Error") {
      ++errorBoxes;
      continue;
    }
    timing.seconds = seconds;
    timing.ended = true;
    if (box->text != L"Done.") std::printf("   the end box said: %ls\n", box->text.c_str());
    break;
  }
  if (errorBoxes > 0) std::printf("   %zu error boxes answered during the run\n", errorBoxes);
  if (!program.Close()) std::printf("   the program did not end after WM_CLOSE\n");
  timing.converted = ConvertedIn(output, drawings);
  AwaitNoAutoCad();
  return timing;
}

void Print(const std::wstring& line) { std::printf("%ls\n", line.c_str()); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::wstring exe;
  std::wstring work;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::wstring name = argv[i];
    if (name == L"--program") exe = argv[i + 1];
    if (name == L"--work") work = argv[i + 1];
  }
  if (exe.empty() || work.empty()) {
    std::printf("usage: conversion_run_bench --program EXE --work FOLDER\n");
    return 2;
  }
  MakeFolders(work + L"\\logs");
  const std::vector<std::wstring> drawings = MakeDrawings(FolderOf(exe) + L"\\Samples", work + L"\\drawings");
  if (drawings.size() != kDrawingCount) {
    std::printf("no drawings: the program folder has no Samples\\*.dxf to copy\n");
    return 1;
  }
  Print(L"stand-in AutoCAD costs: " + bench::CostsLine(kScaledAutoCad) + L"; " + std::to_wstring(kDrawingCount) +
        L" drawings (copies of the samples)");

  const std::vector<Configuration> configurations{
      {L"printer, per-drawing AutoCADs", L"printer-each", L"Printer", false, kScaledAutoCad},
      {L"printer, one kept AutoCAD", L"printer-kept", L"Printer", true, kScaledAutoCad},
      {L"plotter, per-drawing AutoCADs", L"plotter-each", L"Plotter", false, kScaledAutoCad},
      {L"plotter, one kept AutoCAD", L"plotter-kept", L"Plotter", true, kScaledAutoCad},
      {L"plotter, 2 kept AutoCADs plotting at once", L"plotter-2", L"Plotter", true, kScaledAutoCad, 2},
      {L"plotter, 4 kept AutoCADs plotting at once", L"plotter-4", L"Plotter", true, kScaledAutoCad, 4},
      {L"printer, one kept AutoCAD that costs nothing", L"printer-free", L"Printer", true, kFreeAutoCad},
      {L"plotter, one kept AutoCAD that costs nothing", L"plotter-free", L"Plotter", true, kFreeAutoCad},
  };
  std::vector<RunTiming> runs;
  for (const Configuration& configuration : configurations) {
    runs.push_back(Run(configuration, exe, work, drawings));
    Print(bench::TimingLine(runs.back()));
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAutoCadSwitches);

  std::printf("\n");
  Print(bench::SpeedupLine(L"printer route, one kept AutoCAD against per-drawing AutoCADs", runs[0], runs[1], kKeptTarget));
  Print(bench::SpeedupLine(L"plotter route, one kept AutoCAD against per-drawing AutoCADs", runs[2], runs[3], kKeptTarget));
  Print(bench::SpeedupLine(L"plotter route, 2 AutoCADs at once against 1 (both kept)", runs[3], runs[4],
                           std::nullopt));
  Print(bench::SpeedupLine(L"plotter route, 4 AutoCADs at once against 1 (all kept)", runs[3], runs[5],
                           kParallelTarget));
  const double scaledPerDrawing = bench::KeptSecondsPerDrawing(kScaledAutoCad);
  Print(L"printer route: " + bench::OwnShareLine(runs[6], scaledPerDrawing, kOwnShareTarget));
  Print(L"plotter route: " + bench::OwnShareLine(runs[7], scaledPerDrawing, kOwnShareTarget));
  return 0;
}
