#pragma once
// Form1: the presenter of the main window. It holds the window's event
// procedures and the state they share; the Win32 window forwards every event
// here and shows what this class sets. The procedures are spread over files
// by concern: form1_load.cpp (start-up), form1_pointer.cpp (pointer
// feedback), form1_job_list.cpp (the list's editing and reordering),
// form1_options.cpp (output location controls), form1_filling.cpp (adding
// entries by dialog, drop, folder scan and samples).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "convert/drawing_outcome.h"
#include "convert/drawing_plot.h"
#include "convert/pdf_route.h"
#include "convert/run_reports.h"
#include "joblist/job_list.h"
#include "platform/printing.h"
#include "util/settings.h"

namespace pellacore {

class AutoCadInstances;
class CallThreads;
class Clock;
class CodePage;
class EventPump;
class FileDialogs;
class FileSystem;
class FolderPicker;
class GuardedProcedure;
class InputBox;
class JobListView;
class MainWindow;
class MessageBoxes;
class NamedLocks;
class Registry;
class PrerequisiteChecks;
struct PlotChoices;
class SampleList;
class SettingsStore;
class Shell;
struct LocalTime;
class SkinFramework;
class SpecialFolders;

// Everything Form1 talks to.
struct Form1Ports {
  MainWindow& window;
  JobListView& list;
  SettingsStore& settings;
  FileSystem& fs;
  SpecialFolders& folders;
  MessageBoxes& boxes;
  EventPump& pump;
  SkinFramework& skin;
  SampleList& samples;
  PrerequisiteChecks& checks;
  FileDialogs& fileDialogs;
  FolderPicker& folderPicker;
  InputBox& inputBox;
  CodePage& codePage;
  Registry& registry;
  Printing& printing;
  AutoCadInstances& instances;
  CallThreads& threads;  // the lanes of a run that plots several drawings at once
  NamedLocks& locks;
  Clock& clock;
  Shell& shell;
};

// Mouse buttons and shift states as the list's mouse and key events give them.
namespace mouse_button {
inline constexpr int kLeft = 1;
inline constexpr int kRight = 2;
inline constexpr int kMiddle = 4;
}  // namespace mouse_button

inline constexpr int kDeleteKey = 46;

// The exit codes of a batch run from the command line.
inline constexpr int kExitAllConverted = 0;
inline constexpr int kExitNotAllConverted = 1;  // any drawing not converted, or the run refused
inline constexpr int kExitWrongCommandLine = 2; // or nothing found to convert

// A batch run's exit code from what became of its drawings.
int BatchExitCode(const std::vector<DrawingOutcome>& outcomes);

struct CommandLine;

// The folder picker's prompt, for the Add All folder and the results folder.
inline constexpr wchar_t kFolderPrompt[] = L"Please select folder:";

class Form1 {
 public:
  // `programFolder`: the folder of the running program, without a trailing "\".
  Form1(Form1Ports ports, std::wstring programFolder);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Start-up and shut-down.
  void Form_Load();
  void Form_Unload();

  // Pointer feedback: over plain areas the default pointer, over push buttons
  // the custom hand, unless the hourglass shows.
  void Form_MouseMove();
  void Frame1_MouseMove();
  void Frame3_MouseMove();
  void Option1_MouseMove();
  void Option2_MouseMove();
  void Text1_MouseMove();
  void PushButton1_MouseMove();
  void PushButton2_MouseMove();
  void PushButton3_MouseMove();
  void PushButton4_MouseMove();
  void PushButton7_MouseMove();
  void PushButton8_MouseMove();

  // The job list.
  void ListView1_SelectionChanged(std::optional<std::size_t> selected);
  void ListView1_ItemClick();
  void ListView1_MouseDown(int button, int shift, int x, int y);
  void ListView1_MouseMove(int button, int shift, int x, int y);
  void ListView1_MouseUp(int button, int shift, int x, int y);
  void ListView1_KeyDown(int keyCode, int shift);
  void ListView1_DblClick();
  void PushButton4_Click();

  // Filling the job list: the file dialog, a drop of files and folders, a
  // folder scan, the sample drawings.
  void PushButton1_Click();
  // `offersFileList`: whether the dragged data offers a list of files;
  // `effect`: in, the effects the source allows (drop_effect); out, the one
  // the list takes.
  void ListView1_OLEDragOver(bool offersFileList, std::uint32_t& effect);
  void ListView1_OLEDragDrop(const std::vector<std::wstring>& files);
  void PushButton3_Click();
  void PushButton8_Click();

  // Output location controls. The user's own edits arrive through
  // Text1_Edited and OptionN_Selected; the procedures below run from them.
  void Text1_Edited(const std::wstring& text);
  void Option1_Selected();
  void Option2_Selected();
  void Option1_Click();
  void Option2_Click();
  void Text1_Change();
  void PushButton7_Click();

  // The conversion run.
  void PushButton2_Click();

  // The command line: paths added to the list as files and folder trees
  // (the "Extension" setting's pattern), at start or handed over by a later
  // start; and a batch run of its paths, unattended, with the window never
  // shown, answering the program's exit code.
  void AddCommandLinePaths(const std::vector<std::wstring>& paths);
  int ConvertFromCommandLine(const CommandLine& command);

  // The Options menu: a run in progress ends after its current drawing; the
  // time AutoCAD may take over one drawing; runs that show no box until
  // their end; one AutoCAD kept for a run's drawings, and after how many it
  // is replaced.
  void Options_StopClick();
  void Options_TimeLimitClick();
  void Options_UnattendedClick();
  void Options_KeepAutoCadClick();
  void Options_RecycleAfterClick();
  // How many AutoCADs plot a run's drawings at once (the plotter only).
  void Options_ParallelClick();
  // How PDFs are made, and the plotter's paper ("" as each layout is set
  // up) and colours.
  void Options_RouteClick(PdfRouteChoice route);
  void Options_PlotMediaClick(const std::wstring& media);
  void Options_BlackAndWhiteClick();
  bool StopRequested() const { return stopRequested_; }
  // What became of each drawing of the last run, in run order.
  const std::vector<DrawingOutcome>& LastRun() const { return lastRun_; }

  // State that other parts read or set.
  JobList& jobList() { return jobList_; }
  const JobList& jobList() const { return jobList_; }
  bool AutoCadFound() const { return autoCadFound_; }
  bool ConversionBusy() const { return conversionBusy_; }
  int MousePointer() const { return mousePointer_; }
  void SetMousePointer(int code);
  const std::wstring& applicationTitle() const { return applicationTitle_; }
  const std::wstring& programFolder() const { return programFolder_; }
  const std::wstring& text1() const { return text1_; }
  bool option1() const { return option1_; }
  bool option2() const { return option2_; }
  bool frame3Enabled() const { return frame3Enabled_; }

  // The list's drag state.
  bool DragActive() const { return dragActive_; }
  std::optional<std::size_t> DragItem() const { return dragItem_; }

 private:
  // Setting a control from code runs the procedure that a user's change runs,
  // exactly when the value changes.
  void SetText1(const std::wstring& text);
  void SetOptionValue(int option, bool selected);
  void SetFrame3Enabled(bool enabled);
  void SaveOptions();

  struct TraversalPorts Traversal();
  std::optional<bool> IsDroppedFolder(const std::wstring& item);

  void PointerOverPlainArea();
  void PointerOverButton();

  bool Busy() const;
  // The run's checks before it starts; false when it is refused.
  bool ConversionMayStart(GuardedProcedure& guard);
  // Makes the PDF printer current; answers whether it did.
  bool SelectPdfPrinter(GuardedProcedure& guard);
  // Converts the entries from the first, one after another, until the
  // list, `bound` or a stop ends the run; answers the first entry not
  // converted.
  std::size_t ConvertInOrder(GuardedProcedure& guard, struct RunState& run, std::size_t bound);
  // The same with the plotter's drawings in `lanes` AutoCADs at once.
  std::size_t ConvertSideBySide(GuardedProcedure& guard, struct RunState& run, std::size_t bound, int lanes);
  // Converts entry `index`; what became of it goes into the run's outcomes.
  void ConvertEntry(GuardedProcedure& guard, std::size_t index, struct RunState& run);
  // The run's drawings done so far, and whether one failed, on the taskbar.
  void ShowRunOnTaskbar(const struct RunState& run, std::size_t bound);
  // AutoCAD's PDF device named the papers it offers.
  void MediaOffered(const std::vector<std::wstring>& offered);
  // The printer route: the drawing's path handed to the PDF printer, its
  // bitmap exported, printed and deleted.
  class PrinterRoute : public PdfRoute {
   public:
    explicit PrinterRoute(Form1& form) : form_(form) {}
    std::wstring MakePdf(GuardedProcedure& guard, const RouteDrawing& drawing, RunOutputPaths& outputs,
                         DrawingOutcome& outcome) override {
      return form_.PrintEntry(guard, drawing, outputs, outcome);
    }

   private:
    Form1& form_;
  };
  std::wstring PrintEntry(GuardedProcedure& guard, const RouteDrawing& drawing, RunOutputPaths& outputs,
                          DrawingOutcome& outcome);
  // The stored route, paper and colours; the defaults when unreadable.
  PdfRouteChoice ChosenRoute();
  PlotChoices ChosenPlotChoices();
  // Asks for a whole number in the input box, offering `current`; stores
  // what `read` accepts under `key`, tells `refusal` otherwise, and leaves
  // everything as it was on Cancel.
  void AskForWholeNumber(const std::wstring& prompt, int current,
                         const std::function<std::optional<int>(std::wstring_view)>& read,
                         const std::wstring& refusal, const std::wstring& key);
  // Shows the papers on offer and the stored choices in the window.
  void ShowPlotChoices();
  // The stored time limit per drawing, or its default.
  int DrawingTimeLimit();
  // Whether runs are unattended; false when the store cannot say.
  bool UnattendedRun();
  // Whether and how long a run keeps its AutoCAD; the defaults when the
  // store cannot say.
  KeepPolicy KeptAutoCad();
  // How many AutoCADs plot at once: the stored count, or 1.
  int ParallelInstances();
  std::wstring OutputPathFor(GuardedProcedure& guard, const std::wstring& source,
                             const std::wstring& baseName);
  bool PrintBitmap(GuardedProcedure& guard, const std::wstring& bitmap);
  // Writes the last run's report and says in the end box what became of it.
  void TellEndOfRun(GuardedProcedure& guard, const LocalTime& started, const std::wstring& stopMessage);
  void RemoveSelectedEntry();
  void CarryDraggedEntryTo(std::size_t hover);
  // Shows what became of the entry the run had in hand for its outcome at
  // `slot`, wherever the entry moved.
  void ShowResultOfRunEntry(std::size_t slot, const DrawingOutcome& outcome);
  // Shows that a stop left entry `index` unconverted, unless the run had
  // converted it already and it was dragged down since.
  void ShowSkipped(std::size_t index, const DrawingOutcome& outcome);
  // After a run: an entry it never reached (moved behind it meanwhile) no
  // longer says it is waiting.
  void ForgetWaitingResults();

  Form1Ports ports_;
  std::wstring programFolder_;
  std::wstring applicationTitle_;
  // The papers the window offers for the plotter: a built-in list until
  // AutoCAD's PDF device has named its own in a run.
  std::vector<std::wstring> plotMedia_ = BuiltInPlotMedia();

  JobList jobList_;
  bool autoCadFound_ = false;
  bool conversionBusy_ = false;
  bool stopRequested_ = false;
  RunReports runReports_;
  std::vector<DrawingOutcome> lastRun_;
  // The entries the run has in hand, by their outcome's slot; each follows
  // its entry when entries move, and goes when its entry is removed.
  std::map<std::size_t, std::size_t> runEntries_;
  // The picture box the run loads each exported bitmap into before printing.
  std::unique_ptr<Picture> creatorPicture_;
  int mousePointer_ = 0;

  // The controls' state at design: Option1 selected, Frame3 enabled.
  std::wstring text1_;
  bool option1_ = true;
  bool option2_ = false;
  bool frame3Enabled_ = true;

  bool dragActive_ = false;
  std::optional<std::size_t> dragItem_;
  std::optional<std::size_t> hoverItem_;

  // The folder last chosen for a folder scan, kept between the setting's
  // read and write within one click.
  std::wstring lastFolder_;

  // What a batch run from the command line sets for itself alone.
  struct BatchChoices {
    std::optional<PdfRouteChoice> route;
    std::optional<std::wstring> reportFile;
  };
  std::optional<BatchChoices> batch_;
};

}  // namespace pellacore
