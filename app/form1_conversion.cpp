// Form1's conversion run: every entry of the job list, top to bottom, handed
// to the PDF printer's key, exported as a bitmap through AutoCAD, printed and
// the bitmap deleted. At the end the run's report is written and the end
// box says what became of the drawings.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "convert/autocad_instances.h"
#include "convert/drawing_export.h"
#include "convert/drawing_outcome.h"
#include "convert/output_names.h"
#include "convert/page_fit.h"
#include "convert/parallel_plots.h"
#include "convert/pdf_route.h"
#include "convert/plotter_route.h"
#include "convert/pdf_wait.h"
#include "convert/prerequisite_checks.h"
#include "convert/printer_handoff.h"
#include "convert/run_report_file.h"
#include "platform/call_thread.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/input_box.h"
#include "platform/main_window.h"
#include "platform/message_boxes.h"
#include "platform/named_locks.h"
#include "platform/printing.h"
#include "platform/registry.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "util/failure.h"
#include "util/files.h"
#include "util/guarded.h"
#include "util/paths.h"
#include "util/settings.h"

namespace pellacore {
namespace {

constexpr wchar_t kPushButton2[] = L"in Corvanta2021/08/31.Form1.PushButton2_Click ";

const std::wstring kNoAutoCad =
    L"A valid version of AutoCAD was not found on this computer. You need to have it installed "
    L"to use this software.\r\n\r\n"
    L"Note: You must install a version of AutoCAD that supports VBA. VBA is not supported in "
    L"AutoCAD LT for example.";
constexpr wchar_t kNoFiles[] = L"No files added.";
constexpr wchar_t kPrinterKeyLock[] = L"Pellacore PDF printer hand-off";
constexpr wchar_t kPrinterInUse[] =
    L"Another Pellacore run is converting drawings through the PDF printer now. Two runs cannot share it: "
    L"each would give its PDFs the other's names.\r\n\r\nPlease start again when that run has ended, or make "
    L"vector PDFs through AutoCAD's plotter (Options menu), which several runs can use at once.";
constexpr wchar_t kNoFolder[] = L"Folder does not exist. Please select another folder.";
constexpr wchar_t kDone[] = L"Done.";
constexpr wchar_t kOpenReport[] = L"\r\n\r\nOpen it now?";
constexpr wchar_t kIdleProgressText[] = L"Progress Bar";
const std::wstring kTimeLimitPrompt =
    L"How many seconds may AutoCAD take over one drawing? When the time has passed, an AutoCAD that "
    L"Pellacore started is ended and the run goes on with the next drawing.\r\r"
    L"A whole number from 1 to 86400:";
constexpr wchar_t kBadTimeLimit[] = L"Please enter a whole number of seconds from 1 to 86400.";
const std::wstring kRecyclePrompt =
    L"After how many drawings is an AutoCAD kept open between drawings quit, and a new one started? A "
    L"fresh AutoCAD sheds whatever a long run piles up in it.\r\r"
    L"A whole number from 1:";
constexpr wchar_t kBadRecycleCount[] = L"Please enter a whole number of drawings from 1.";
const std::wstring kParallelPrompt =
    L"How many AutoCADs may plot drawings at once? Each works on a drawing of its own, so a run takes "
    L"about that many times less time, as long as the computer has the processors and memory for them.\r\r"
    L"This applies when PDFs are made with AutoCAD's plotter only: through the PDF printer drawings "
    L"are converted one at a time, since the printer takes one drawing's path at a time.\r\r"
    L"A whole number ";

// The end box's words with why the run stopped early after their first
// paragraph, and what was reported while no drawing was in hand at the end.
std::wstring WithRunNotes(const std::wstring& endText, const std::wstring& stopMessage,
                          const std::vector<std::wstring>& loose) {
  std::wstring text = endText;
  if (!stopMessage.empty()) {
    const std::size_t paragraph = text.find(L"\r\n\r\n");
    const std::size_t at = paragraph == std::wstring::npos ? text.size() : paragraph;
    text.insert(at, L"\r\n\r\n" + stopMessage);
  }
  if (!loose.empty()) text += L"\r\n\r\nAlso reported during the run:";
  for (const std::wstring& report : loose) text += L"\r\n\r\n" + report;
  return text;
}

}  // namespace

// What one run keeps from drawing to drawing.
struct RunState {
  int timeLimit = kDefaultDrawingTimeLimit;
  std::unique_ptr<PdfRoute> route;
  RunOutputPaths outputs;
  std::vector<DrawingOutcome> outcomes;  // reserved for the whole run: never moves
  // Why the run stopped before its end on its own account; "" while it goes on.
  std::wstring stopMessage;
};

namespace {

// A PDF that did not come may still come: the printer would then save it
// under whatever path the key holds by then.
std::wstring PdfDidNotComeText(const std::wstring& drawing, const std::wstring& pdf, int seconds) {
  return L"The PDF of \"" + drawing + L"\" did not appear at \"" + pdf + L"\" within " + std::to_wstring(seconds) +
         L" seconds. The run stopped there, so that no PDF is saved under another drawing's name: the "
         L"drawings after it were not converted.";
}

}  // namespace

void Form1::PushButton2_Click() {
  GuardedProcedure guard(runReports_, kPushButton2);
  // A click while a run pumps events: the run in progress goes on alone.
  if (guard.Test(100, [&] { return conversionBusy_; })) return;
  guard.Run(102, [&] { conversionBusy_ = true; });

  if (ConversionMayStart(guard)) {
    guard.Run(110, [] {});  // the window's coordinate unit: nothing depends on it
    // Without the PDF printer the pages would go to whatever printer is
    // current, on paper: the run is refused before any drawing. The
    // plotter writes its PDFs itself.
    const PdfRouteChoice routeChoice = ChosenRoute();
    if (routeChoice == PdfRouteChoice::kPrinter && !SelectPdfPrinter(guard)) {
      guard.Run(116, [&] {
        ports_.boxes.Show(PdfPrinterMissingText(), applicationTitle_, MessageButtons::kOk, MessageIcon::kNone);
      });
      guard.Run(208, [&] { conversionBusy_ = false; });
      return;
    }
    // The printer's key names one PDF at a time for all of the user's
    // programs: a second run through it (another window, a scheduled batch)
    // would give each run's pages the other's names.
    std::unique_ptr<NamedLock> printerKey;
    if (routeChoice == PdfRouteChoice::kPrinter) {
      try {
        printerKey = ports_.locks.TryTake(kPrinterKeyLock);
      } catch (const Failure&) {
        // No lock to be had at all: the run goes on as it always has.
        printerKey = std::make_unique<NamedLock>();
      }
      if (!printerKey) {
        ports_.boxes.Show(kPrinterInUse, applicationTitle_, MessageButtons::kOk, MessageIcon::kExclamation);
        guard.Run(208, [&] { conversionBusy_ = false; });
        return;
      }
    }

    RunState run;
    const LocalTime started = ports_.clock.LocalNow();  // names the run's report
    run.timeLimit = DrawingTimeLimit();
    // One printer key carries one drawing's path at a time: only the
    // plotter works on several drawings at once.
    const int lanes = routeChoice == PdfRouteChoice::kPlotter ? ParallelInstances() : 1;
    if (routeChoice == PdfRouteChoice::kPlotter) {
      run.route = std::make_unique<PlotterRoute>(PlotPorts{ports_.instances, runReports_, ports_.fs, ports_.pump},
                                                 autoCadFound_, applicationTitle_, ChosenPlotChoices(),
                                                 [this](const std::vector<std::wstring>& offered) {
                                                   MediaOffered(offered);
                                                 });
    } else {
      run.route = std::make_unique<PrinterRoute>(*this);
    }
    runReports_.SetUnattended(UnattendedRun());
    ports_.instances.BeginRun(KeptAutoCad());
    stopRequested_ = false;
    ports_.window.EnableStop(true);

    std::size_t bound = 0;
    guard.Run(118, [&] { bound = jobList_.Count(); });
    run.outcomes.reserve(bound);
    jobList_.SetAllResults(ResultText(DrawingOutcome{}));
    ports_.window.ShowRunOnTaskbar(0.0, false);
    std::size_t i = lanes > 1 ? ConvertSideBySide(guard, run, bound, lanes) : ConvertInOrder(guard, run, bound);
    // What a stop left: skipped, each one.
    const std::wstring skipped = run.stopMessage.empty()
                                     ? L"The run was stopped first."
                                     : L"The run stopped at an earlier drawing whose PDF did not appear.";
    for (; i <= bound && i <= jobList_.Count(); ++i) {
      run.outcomes.push_back({jobList_.Text(i), {}, DrawingResult::kSkipped, 0, skipped, 0});
      ShowSkipped(i, run.outcomes.back());
    }
    // However the run ended, the AutoCAD it kept is quit before the end box,
    // and the printer is free for another run while the box waits.
    ports_.instances.EndRun(run.timeLimit);
    printerKey.reset();
    ForgetWaitingResults();
    lastRun_ = std::move(run.outcomes);
    ports_.window.EnableStop(false);
    stopRequested_ = false;
    runReports_.SetUnattended(false);

    guard.Run(192, [&] { SetMousePointer(pointer_code::kDefault); });
    guard.Run(194, [&] { ports_.window.ShowProgress(0); });
    guard.Run(196, [&] { ports_.window.ShowProgressText(kIdleProgressText); });
    ports_.window.ShowRunOnTaskbar(std::nullopt, false);
    // A run left to itself in the background says that it has ended.
    ports_.window.FlashUnlessActive();
    TellEndOfRun(guard, started, run.stopMessage);
  }
  guard.Run(208, [&] { conversionBusy_ = false; });
}

std::size_t Form1::ConvertInOrder(GuardedProcedure& guard, RunState& run, std::size_t bound) {
  std::size_t i = 1;
  for (; i <= bound; ++i) {
    guard.Run(120, [&] { ports_.pump.HandlePending(); });
    guard.Run(122, [&] { SetMousePointer(pointer_code::kHourglass); });
    // Entries taken out while the events ran: the run ends with the list.
    // A stop asked for during the last drawing ends it here too.
    if (i > jobList_.Count() || stopRequested_) break;
    const std::size_t slot = run.outcomes.size();
    runEntries_[slot] = i;
    ConvertEntry(guard, i, run);
    ShowResultOfRunEntry(slot, run.outcomes.back());
    ShowRunOnTaskbar(run, bound);
    runReports_.KeepFor(nullptr);
    guard.Run(190, [] {});
    if (!run.stopMessage.empty()) return i + 1;
  }
  return i;
}

std::size_t Form1::ConvertSideBySide(GuardedProcedure& guard, RunState& run, std::size_t bound, int lanes) {
  ParallelPlots plots({ports_.instances, ports_.threads, ports_.fs, ports_.pump, ports_.clock, runReports_}, lanes,
                      {autoCadFound_, applicationTitle_, ChosenPlotChoices(), KeptAutoCad(), kPushButton2},
                      run.outputs);
  std::vector<std::size_t> inHand;  // slots, in the order handed out
  std::size_t next = 1;
  for (;;) {
    guard.Run(120, [&] { ports_.pump.HandlePending(); });
    guard.Run(122, [&] { SetMousePointer(pointer_code::kHourglass); });
    // Each free lane takes the next entry, as long as the list, the bound
    // and no stop allow.
    while (plots.HasFreeLane() && next <= bound && next <= jobList_.Count() && !stopRequested_) {
      const std::size_t slot = run.outcomes.size();
      DrawingOutcome& outcome = run.outcomes.emplace_back();
      runReports_.KeepFor(&outcome);
      runEntries_[slot] = next;
      guard.Run(124, [&] {
        ports_.window.ShowProgress(static_cast<double>(next) / static_cast<double>(jobList_.Count()) * 100);
      });
      guard.Run(126, [&] { outcome.drawing = jobList_.Text(next); });
      std::wstring baseName;
      guard.Run(146, [&] { baseName = BaseNameOf(outcome.drawing); });
      const std::wstring planned = OutputPathFor(guard, outcome.drawing, baseName);
      bool handed = false;
      guard.Run(176, [&] {
        plots.Hand({slot, outcome.drawing, planned, run.timeLimit});
        handed = true;
      });
      runReports_.KeepFor(nullptr);
      ++next;
      if (handed) {
        inHand.push_back(slot);
      } else {
        outcome.result = DrawingResult::kFailed;
        ShowResultOfRunEntry(slot, outcome);
      }
    }
    if (plots.InHand() == 0) break;
    std::wstring names;
    for (std::size_t slot : inHand) names += (names.empty() ? L"" : L", ") + FileNameOfPath(run.outcomes[slot].drawing);
    guard.Run(128, [&] { ports_.window.ShowProgressText(L"Processing: " + names); });
    for (LaneDone& done : plots.WaitForEnded()) {
      run.outcomes[done.slot] = std::move(done.outcome);
      ShowResultOfRunEntry(done.slot, run.outcomes[done.slot]);
      std::erase(inHand, done.slot);
      if (!done.offeredMedia.empty()) MediaOffered(done.offeredMedia);
    }
    ShowRunOnTaskbar(run, bound);
  }
  // The lanes' AutoCADs are quit side by side, before the end box.
  plots.End(run.timeLimit);
  return next;
}

void Form1::ShowRunOnTaskbar(const RunState& run, std::size_t bound) {
  std::size_t done = 0;
  bool failures = false;
  for (const DrawingOutcome& outcome : run.outcomes) {
    if (outcome.result == DrawingResult::kWaiting) continue;
    ++done;
    failures = failures || outcome.result != DrawingResult::kConverted;
  }
  ports_.window.ShowRunOnTaskbar(bound > 0 ? 100.0 * static_cast<double>(done) / static_cast<double>(bound) : 100.0,
                                 failures);
}

void Form1::MediaOffered(const std::vector<std::wstring>& offered) {
  // The papers AutoCAD's device names replace the built-in list.
  if (offered == plotMedia_) return;
  plotMedia_ = offered;
  ShowPlotChoices();
}

void Form1::TellEndOfRun(GuardedProcedure& guard, const LocalTime& started, const std::wstring& stopMessage) {
  // A report that cannot be written costs the run nothing: the box says so.
  const std::wstring report = batch_ && batch_->reportFile
                                   ? WriteRunReportTo(ports_.fs, *batch_->reportFile, lastRun_)
                                   : WriteRunReport({ports_.fs, ports_.folders}, lastRun_, started);
  // Reports of an unattended run that belonged to no drawing are told here.
  const std::vector<std::wstring> loose = runReports_.TakeLooseReports();
  guard.Run(198, [&] { ports_.settings.Write(setting_key::kLastReport, report); });
  guard.Run(200, [&] {
    const bool allConverted = std::all_of(lastRun_.begin(), lastRun_.end(), [](const DrawingOutcome& outcome) {
      return outcome.result == DrawingResult::kConverted;
    });
    if (allConverted && !report.empty() && loose.empty()) {
      ports_.boxes.Show(kDone, applicationTitle_, MessageButtons::kOk, MessageIcon::kNone);
      return;
    }
    const std::wstring text = WithRunNotes(EndOfRunText(lastRun_, report), stopMessage, loose);
    if (report.empty()) {
      ports_.boxes.Show(text, applicationTitle_, MessageButtons::kOk, MessageIcon::kExclamation);
      return;
    }
    if (ports_.boxes.Show(text + kOpenReport, applicationTitle_, MessageButtons::kYesNo, MessageIcon::kExclamation) ==
        MessageAnswer::kYes) {
      ports_.shell.Open(report, FolderOfPath(report));
    }
  });
}

bool Form1::ConversionMayStart(GuardedProcedure& guard) {
  if (!guard.Test(104, [&] { return autoCadFound_; })) {
    guard.Run(206, [&] {
      ports_.boxes.Show(kNoAutoCad, applicationTitle_, MessageButtons::kOk, MessageIcon::kNone);
    });
    return false;
  }
  if (!guard.Test(106, [&] { return !jobList_.Empty(); })) {
    guard.Run(204, [&] {
      ports_.boxes.Show(kNoFiles, applicationTitle_, MessageButtons::kOk, MessageIcon::kNone);
    });
    return false;
  }
  // The folder as typed, once per run; it matters only when results go there.
  if (!guard.Test(108, [&] { return IsFolder(ports_.fs, text1_) || option2_; })) {
    guard.Run(202, [&] {
      ports_.boxes.Show(kNoFolder, applicationTitle_, MessageButtons::kOk, MessageIcon::kNone);
    });
    return false;
  }
  return true;
}

bool Form1::SelectPdfPrinter(GuardedProcedure& guard) {
  std::wstring printerName;
  guard.Run(112, [&] { printerName = kPdfPrinterName; });
  std::vector<std::wstring> printers;
  guard.Run(114, [&] { printers = ports_.printing.PrinterNames(); });
  for (const std::wstring& name : printers) {
    bool made = false;
    guard.Run(116, [&] {
      if (name != printerName) return;
      ports_.printing.SetCurrentPrinter(name);
      made = true;
    });
    if (made) return true;
  }
  // No match: the pages go to whatever printer is current.
  return false;
}

void Form1::ConvertEntry(GuardedProcedure& guard, std::size_t index, RunState& run) {
  DrawingOutcome& outcome = run.outcomes.emplace_back();
  runReports_.KeepFor(&outcome);
  const std::int64_t started = ports_.clock.NowMilliseconds();
  // Whatever path this drawing leaves by, it says what became of it.
  struct Finish {
    DrawingOutcome& outcome;
    Clock& clock;
    std::int64_t started;
    ~Finish() {
      outcome.seconds = static_cast<double>(clock.NowMilliseconds() - started) / 1000.0;
      if (outcome.result == DrawingResult::kWaiting) outcome.result = DrawingResult::kFailed;
    }
  } finish{outcome, ports_.clock, started};

  guard.Run(124, [&] {
    ports_.window.ShowProgress(static_cast<double>(index) / static_cast<double>(jobList_.Count()) * 100);
  });
  std::wstring source;
  guard.Run(126, [&] { source = jobList_.Text(index); });
  outcome.drawing = source;
  guard.Run(128, [&] { ports_.window.ShowProgressText(L"Processing: " + FileNameOfPath(source)); });
  guard.Run(130, [&] { ports_.pump.HandlePending(); });

  // The PDF's name: the file name with its last extension replaced.
  std::wstring baseName;
  guard.Run(146, [&] { baseName = BaseNameOf(source); });
  const RouteDrawing drawing{source, [&] { return OutputPathFor(guard, source, baseName); }, run.timeLimit};
  const std::wstring stop = run.route->MakePdf(guard, drawing, run.outputs, outcome);
  if (!stop.empty()) run.stopMessage = stop;
}

std::wstring Form1::PrintEntry(GuardedProcedure& guard, const RouteDrawing& drawing, RunOutputPaths& outputs,
                               DrawingOutcome& outcome) {
  const std::wstring& source = drawing.source;
  const int timeLimit = drawing.timeLimitSeconds;
  // The hand-off: the key is open while the output path is worked out.
  std::unique_ptr<RegistryKey> key;
  guard.Run(148, [&] { key = OpenPrinterKey(ports_.registry); });
  // Two drawings of one name into one folder: the later gets "name (2).pdf"
  // rather than silently replacing the earlier one's PDF.
  const std::wstring planned = drawing.plannedOutput();
  const std::wstring output = outputs.Claim(planned);
  const std::wstring renamed = output != planned ? L" Written as \"" + FileNameOfPath(output) +
                                                       L"\": an earlier drawing of this run has the same name."
                                                 : L"";
  // Every run prints to the PDF printer: its PDF is waited for.
  const PdfBefore before = LookBeforeHandOff(ports_.fs, output);
  guard.Run(158, [&] { WriteOutputFile(key.get(), ports_.codePage, output); });
  guard.Run(160, [] {});
  guard.Run(162, [&] { WriteBypassSaveAs(key.get()); });
  guard.Run(164, [&] { key.reset(); });

  // The bitmap's stem: the path without its last extension, beside the
  // drawing, unless a file of that name lies there already.
  std::wstring stem;
  guard.Run(166, [&] { stem = FreeBitmapStem(ports_.fs, BitmapStemOf(source)); });
  ExportEnd exportEnd = ExportEnd::kFinished;
  guard.Run(176, [&] {
    exportEnd = convertDWGtoBMP({ports_.instances, runReports_}, autoCadFound_, timeLimit, applicationTitle_,
                                source, stem);
  });

  // Only a bitmap this export made: the stem named nothing before it.
  const std::wstring bitmap = stem + L".bmp";
  // An AutoCAD that hung or died may have left part of a bitmap: none of it
  // is printed as this drawing's PDF.
  if (exportEnd == ExportEnd::kTimedOut || exportEnd == ExportEnd::kAutoCadEnded) {
    if (exportEnd == ExportEnd::kTimedOut) outcome.result = DrawingResult::kTimedOut;
    if (!stem.empty()) guard.Run(188, [&] { DeleteFileQuietly(ports_.fs, ports_.pump, bitmap); });
    return L"";
  }
  if (!guard.Test(178, [&] { return !stem.empty() && FileExists(ports_.fs, bitmap); })) {
    if (outcome.message.empty()) {
      outcome.message = exportEnd == ExportEnd::kNoAutoCad ? L"No AutoCAD could be started."
                                                           : L"AutoCAD wrote no bitmap of the drawing.";
    }
    return L"";
  }
  std::wstring stop;
  const bool ended = PrintBitmap(guard, bitmap);
  // Converted only when the PDF appeared at its path after the hand-off.
  if (ended) {
    // The next drawing's path waits until the printer has taken this one's,
    // for as long as the drawing may take.
    if (WaitForPdf({ports_.fs, ports_.pump, ports_.clock}, output, before, timeLimit * 1000)) {
      outcome.result = DrawingResult::kConverted;
      outcome.files.push_back(output);
      outcome.message += renamed;
      if (!outcome.message.empty() && outcome.message.front() == L' ') outcome.message.erase(0, 1);
    } else {
      // Handing over the next path now could save this PDF under its name.
      stop = PdfDidNotComeText(source, output, timeLimit);
      if (outcome.message.empty()) outcome.message = L"The PDF did not appear at \"" + output + L"\".";
    }
  }
  if (!ended && outcome.message.empty()) outcome.message = L"The bitmap could not be printed.";
  guard.Run(188, [&] { DeleteFileQuietly(ports_.fs, ports_.pump, bitmap); });
  return stop;
}

PdfRouteChoice Form1::ChosenRoute() {
  if (batch_ && batch_->route) return *batch_->route;
  try {
    return PdfRouteOf(ReadSetting(ports_.settings, setting_key::kPdfRoute, L""));
  } catch (const Failure&) {
    return PdfRouteChoice::kPrinter;  // a store that cannot be read leaves the default
  }
}

PlotChoices Form1::ChosenPlotChoices() {
  PlotChoices choices;
  try {
    choices.media = ReadSetting(ports_.settings, setting_key::kPlotMedia, L"");
    choices.monochrome = IsMonochromePlotStyle(ReadSetting(ports_.settings, setting_key::kPlotStyle, L""));
  } catch (const Failure&) {
    // What could not be read stays as drawn and as set up.
  }
  return choices;
}

void Form1::ShowPlotChoices() {
  const PlotChoices choices = ChosenPlotChoices();
  ports_.window.ShowPlotChoices(plotMedia_, choices.media, choices.monochrome);
}

void Form1::Options_RouteClick(PdfRouteChoice route) {
  ports_.settings.Write(setting_key::kPdfRoute, PdfRouteText(route));
  ports_.window.ShowPdfRoute(route == PdfRouteChoice::kPlotter);
}

void Form1::Options_PlotMediaClick(const std::wstring& media) {
  ports_.settings.Write(setting_key::kPlotMedia, media);
  ShowPlotChoices();
}

void Form1::Options_BlackAndWhiteClick() {
  const bool chosen = !ChosenPlotChoices().monochrome;
  ports_.settings.Write(setting_key::kPlotStyle, chosen ? std::wstring(kMonochromeStyle) : std::wstring());
  ShowPlotChoices();
}

int Form1::DrawingTimeLimit() {
  try {
    const std::optional<std::wstring> stored = ports_.settings.Read(setting_key::kDrawingTimeLimit);
    if (stored) {
      if (const std::optional<int> seconds = TimeLimitSeconds(*stored)) return *seconds;
    }
  } catch (const Failure&) {
    // A store that cannot be read leaves the default.
  }
  return kDefaultDrawingTimeLimit;
}

bool Form1::UnattendedRun() {
  if (batch_) return true;  // nobody is there to answer a box
  try {
    return SettingToBoolean(ReadSetting(ports_.settings, setting_key::kUnattended, L"False"));
  } catch (const Failure&) {
    return false;  // unreadable or not a Boolean: boxes show, as always
  }
}

void Form1::Options_UnattendedClick() {
  const bool chosen = !UnattendedRun();
  ports_.settings.Write(setting_key::kUnattended, BooleanSettingText(chosen));
  ports_.window.ShowUnattended(chosen);
}

KeepPolicy Form1::KeptAutoCad() {
  KeepPolicy policy;
  policy.recycleAfter = kDefaultRecycleAfter;
  try {
    policy.keep = SettingToBoolean(ReadSetting(ports_.settings, setting_key::kKeepAutoCadOpen, L"False"));
  } catch (const Failure&) {
    policy.keep = false;  // unreadable or not a Boolean: as without the choice
  }
  try {
    const std::optional<std::wstring> stored = ports_.settings.Read(setting_key::kRecycleAfter);
    if (stored) policy.recycleAfter = RecycleAfterCount(*stored).value_or(kDefaultRecycleAfter);
  } catch (const Failure&) {
    // A store that cannot be read leaves the default.
  }
  return policy;
}

void Form1::Options_KeepAutoCadClick() {
  const bool chosen = !KeptAutoCad().keep;
  ports_.settings.Write(setting_key::kKeepAutoCadOpen, BooleanSettingText(chosen));
  ports_.window.ShowKeepAutoCadOpen(chosen);
}

void Form1::Options_RecycleAfterClick() {
  AskForWholeNumber(kRecyclePrompt, KeptAutoCad().recycleAfter, RecycleAfterCount, kBadRecycleCount,
                    setting_key::kRecycleAfter);
}

void Form1::AskForWholeNumber(const std::wstring& prompt, int current,
                              const std::function<std::optional<int>(std::wstring_view)>& read,
                              const std::wstring& refusal, const std::wstring& key) {
  const std::wstring answer = ports_.inputBox.Ask(prompt, applicationTitle_, std::to_wstring(current));
  if (answer.empty()) return;  // Cancel
  const std::optional<int> number = read(answer);
  if (!number) {
    ports_.boxes.Show(refusal, applicationTitle_, MessageButtons::kOk, MessageIcon::kNone);
    return;
  }
  ports_.settings.Write(key, std::to_wstring(*number));
}

int Form1::ParallelInstances() {
  try {
    const std::optional<std::wstring> stored = ports_.settings.Read(setting_key::kParallelInstances);
    if (stored) return ParallelInstanceCount(*stored, kMostParallelInstances).value_or(1);
  } catch (const Failure&) {
    // A store that cannot be read leaves one AutoCAD at a time.
  }
  return 1;
}

void Form1::Options_ParallelClick() {
  // More AutoCADs than processors only take turns; a stored count above the
  // processors (set on a larger computer) is still honoured.
  const int most = std::clamp(ports_.threads.Processors(), 1, kMostParallelInstances);
  const std::wstring range = L"from 1 to " + std::to_wstring(most);
  AskForWholeNumber(kParallelPrompt + range + L":", ParallelInstances(),
                    [most](std::wstring_view text) { return ParallelInstanceCount(text, most); },
                    L"Please enter a whole number of AutoCADs " + range + L".", setting_key::kParallelInstances);
}

void Form1::Options_StopClick() {
  if (conversionBusy_) stopRequested_ = true;
}

void Form1::Options_TimeLimitClick() {
  AskForWholeNumber(kTimeLimitPrompt, DrawingTimeLimit(), TimeLimitSeconds, kBadTimeLimit,
                    setting_key::kDrawingTimeLimit);
}

std::wstring Form1::OutputPathFor(GuardedProcedure& guard, const std::wstring& source,
                                  const std::wstring& baseName) {
  std::wstring output;
  if (guard.Test(150, [&] { return option1_; })) {
    guard.Run(152, [&] { output = NormalizeFolderPath(text1_ + L"\\" + baseName); });
  } else {
    // With neither option selected the PDF goes beside the drawing too.
    guard.Test(154, [&] { return option2_; });
    guard.Run(156, [&] { output = NormalizeFolderPath(FolderOfPath(source) + L"\\" + baseName); });
  }
  return output;
}

bool Form1::PrintBitmap(GuardedProcedure& guard, const std::wstring& bitmap) {
  guard.Run(180, [] {});
  // The previous drawing's picture goes first: a bitmap that does not load
  // must not print the last one again under this drawing's name.
  guard.Run(182, [&] {
    creatorPicture_.reset();
    creatorPicture_ = ports_.printing.LoadPicture(bitmap);
  });
  bool painted = false;
  if (creatorPicture_) {
    guard.Run(184, [&] {
      PaintInProportion(ports_.printing, *creatorPicture_);
      painted = true;
    });
  }
  // A picture that did not load or paint would leave a blank or partial
  // page: the document is abandoned, and nothing reaches the printer.
  if (!painted) {
    ports_.printing.AbortDoc();
    return false;
  }
  bool ended = false;
  guard.Run(186, [&] {
    ports_.printing.EndDoc();
    ended = true;
  });
  return ended;
}

}  // namespace pellacore
