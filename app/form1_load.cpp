// Form1's start-up and shut-down.

#include <string>

#include "app/application_title.h"
#include "app/form1.h"
#include "convert/drawing_plot.h"
#include "app/skin.h"
#include "convert/autocad_instances.h"
#include "convert/prerequisite_checks.h"
#include "joblist/sample_list.h"
#include "platform/job_list_view.h"
#include "platform/main_window.h"
#include "platform/settings_store.h"
#include "util/files.h"
#include "util/guarded.h"
#include "util/product.h"
#include "util/settings.h"

namespace pellacore {
namespace {

constexpr wchar_t kFormLoad[] = L"in Corvanta2021/08/31.Form1.Form_Load ";
constexpr wchar_t kJobListColumn[] = L"DWG File(s)";
constexpr int kJobListColumnTwips = 7000;
constexpr wchar_t kResultColumn[] = L"Result";

}  // namespace

Form1::Form1(Form1Ports ports, std::wstring programFolder)
    : ports_(ports),
      programFolder_(std::move(programFolder)),
      runReports_(ports.boxes) {}

void Form1::Form_Load() {
  GuardedProcedure guard(ports_.boxes, kFormLoad);
  MainWindow& window = ports_.window;
  SettingsStore& settings = ports_.settings;

  guard.Run(100, [&] { ApplySkin(window, ports_.skin, ports_.fs, programFolder_); });
  guard.Run(102, [&] { window.SetCaption(std::wstring(kProductName)); });
  guard.Run(102, [&] { window.SetApplicationIcon(); });
  guard.Run(102, [&] { applicationTitle_ = ApplicationTitleFor(kProductName); });

  const std::wstring cursorFile = programFolder_ + L"\\HAND-M.CUR";
  if (guard.Test(104, [&] { return FileExists(ports_.fs, cursorFile); })) {
    guard.Run(106, [&] { window.LoadCustomPointer(cursorFile); });
  }

  // The recording is tried twice: a first attempt that fails may leave the
  // setting empty.
  for (int step : {110, 130}) {
    if (guard.Test(step, [&] { return ReadSetting(settings, setting_key::kSnapshot, L"").empty(); })) {
      guard.Run(step, [&] { ports_.samples.RecordSampleList(); });
    }
  }

  guard.Run(132, [&] { ports_.list.AddColumn(kJobListColumn); });
  guard.Run(134, [&] { ports_.list.SetColumnWidthTwips(kJobListColumnTwips); });
  // Beside the paths, what became of each entry in the last run.
  guard.Run(134, [&] {
    ports_.list.AddColumn(kResultColumn);
    ports_.list.FitLastColumn();
  });

  guard.Run(136, [&] {
    // The desktop is asked for only when no folder is stored, so a stored
    // folder is restored even when the shell cannot locate the desktop.
    std::optional<std::wstring> location = settings.Read(setting_key::kLocation);
    SetText1(location ? *location : DesktopFolderPath(ports_.folders));
  });
  guard.Run(138, [&] {
    SetOptionValue(1, SettingToBoolean(ReadSetting(settings, setting_key::kOption1, L"1")));
  });
  guard.Run(140, [&] {
    SetOptionValue(2, SettingToBoolean(ReadSetting(settings, setting_key::kOption2, L"0")));
  });
  if (guard.Test(142, [&] { return option1_; })) {
    guard.Run(144, [&] { SetFrame3Enabled(true); });
  } else {
    guard.Run(146, [&] { SetFrame3Enabled(false); });
  }
  window.ShowUnattended(UnattendedRun());
  window.ShowKeepAutoCadOpen(KeptAutoCad().keep);
  const PdfRouteChoice route = ChosenRoute();
  window.ShowPdfRoute(route == PdfRouteChoice::kPlotter);
  ShowPlotChoices();

  guard.Run(148, [&] { autoCadFound_ = ports_.checks.AutoCadAvailable(applicationTitle_); });
  // The plotter writes its PDFs itself: a missing PDF printer is no matter.
  if (route == PdfRouteChoice::kPrinter) guard.Run(150, [&] { ports_.checks.PdfPrinterInstalled(applicationTitle_); });
}

// The program ends at once, also during a run; an AutoCAD it started is
// ended first, not left behind hidden.
void Form1::Form_Unload() {
  ports_.instances.EndOwn();
  ports_.window.EndProgram();
}

}  // namespace pellacore
