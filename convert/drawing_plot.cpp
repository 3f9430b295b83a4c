#include "convert/drawing_plot.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#include "convert/autocad_instances.h"
#include "convert/autocad_steps.h"
#include "convert/drawing_export.h"
#include "platform/automation.h"
#include "platform/message_boxes.h"
#include "util/failure.h"
#include "util/files.h"
#include "util/guarded.h"

namespace pellacore {
namespace {

constexpr wchar_t kPlot[] = L"in Corvanta2021/08/31.Form1.plotDWGtoPDF ";
constexpr wchar_t kModel[] = L"Model";

// AutoCAD's codes: plot the extents, scaled to fit, turned a quarter.
constexpr std::int16_t kPlotExtents = 1;
constexpr std::int16_t kScaleToFit = 0;
constexpr std::int16_t kUnturned = 0;
constexpr std::int16_t kQuarterTurn = 1;
// A plot that AutoCAD refused or that left no file.
constexpr long kPlotFailed = 75;  // "Path/File access error"

// What an unattended plot needs: foreground plotting (otherwise PlotToFile
// returns before the file exists), no file or plot dialogs, no proxy notice,
// damaged drawings recovered without asking.
struct PlotVariable {
  const wchar_t* name;
  std::int16_t value;
};
constexpr PlotVariable kPlotVariables[] = {
    {L"BACKGROUNDPLOT", 0}, {L"FILEDIA", 0}, {L"PLQUIET", 1}, {L"PROXYNOTICE", 0}, {L"RECOVERAUTO", 3}};

struct PlotLayout {
  std::unique_ptr<AutomationObject> layout;
  std::wstring name;
  std::int64_t tabOrder = 0;
  bool holdsSomething = false;
};

// The layouts to plot: the paper-space ones that hold something, in tab
// order; model space alone when none does.
std::vector<PlotLayout*> PagesOf(std::vector<PlotLayout>& layouts) {
  std::vector<PlotLayout*> pages;
  PlotLayout* model = nullptr;
  for (PlotLayout& layout : layouts) {
    if (layout.name == kModel) {
      model = &layout;
    } else if (layout.holdsSomething) {
      pages.push_back(&layout);
    }
  }
  std::stable_sort(pages.begin(), pages.end(),
                   [](const PlotLayout* a, const PlotLayout* b) { return a->tabOrder < b->tabOrder; });
  if (pages.empty() && model) pages.push_back(model);
  return pages;
}

// The usual A3 name when the device offers it (it lists each sheet both
// ways round: the plot rotation turns the page, not the name); else an A3
// name it offers; else the usual one.
std::wstring A3MediaOf(const std::vector<std::wstring>& offered) {
  if (std::find(offered.begin(), offered.end(), kDefaultPlotMedia) != offered.end()) return kDefaultPlotMedia;
  for (const std::wstring& name : offered) {
    if (name.starts_with(L"ISO_full_bleed_A3_")) return name;
  }
  return kDefaultPlotMedia;
}

}  // namespace

const std::vector<std::wstring>& BuiltInPlotMedia() {
  static const std::vector<std::wstring> names{
      L"ISO_full_bleed_A4_(297.00_x_210.00_MM)",   L"ISO_full_bleed_A3_(420.00_x_297.00_MM)",
      L"ISO_full_bleed_A2_(594.00_x_420.00_MM)",   L"ISO_full_bleed_A1_(841.00_x_594.00_MM)",
      L"ISO_full_bleed_A0_(1189.00_x_841.00_MM)",  L"ANSI_full_bleed_A_(11.00_x_8.50_Inches)",
      L"ANSI_full_bleed_B_(17.00_x_11.00_Inches)", L"ANSI_full_bleed_D_(34.00_x_22.00_Inches)"};
  return names;
}

std::wstring PagePath(const std::wstring& pdfPath, const std::wstring& layout, int pages) {
  if (pages <= 1) return pdfPath;
  std::wstring stem = pdfPath;
  if (stem.size() >= 4 && stem.ends_with(L".pdf")) stem.resize(stem.size() - 4);
  return stem + L" - " + layout + L".pdf";
}

PlotResult plotDWGtoPDF(PlotPorts ports, bool autoCadFound, int timeLimitSeconds, const std::wstring& title,
                        const std::wstring& drawingPath, const std::wstring& pdfPath, const PlotChoices& choices,
                        const ClaimPath& claim) {
  PlotResult result;
  GuardedProcedure guard(ports.boxes, kPlot);
  if (!guard.Test(100, [&] { return autoCadFound; })) return result;
  AutoCadInstances& instances = ports.instances;
  instances.BeginWork(timeLimitSeconds);

  std::unique_ptr<AutomationObject> document;
  std::unique_ptr<AutomationObject> plot;
  std::vector<PlotLayout> layouts;
  std::vector<std::pair<const wchar_t*, std::int16_t>> changed;  // what the drawing's AutoCAD had before
  AutoCadSteps steps(guard, instances, drawingPath, timeLimitSeconds);
  if (!steps.Obtain(ports.boxes, title)) {
    result.end = PlotEnd::kNoAutoCad;
    return result;
  }
  const bool own = instances.IsOwn();

  // Opening makes the drawing the active document, which PlotToFile needs.
  steps.Run(116, [&] {
    document = instances.Application().GetProperty(L"Documents")->CallForObject(
        L"Open", {AutomationArgument::StringByRef(drawingPath)});
  });
  // Each variable read before it is set, so that a user's AutoCAD gets
  // back what it had.
  for (const PlotVariable& variable : kPlotVariables) {
    steps.Run(118, [&] {
      AutomationObject& drawing = Required(document);
      const auto before = static_cast<std::int16_t>(
          drawing.CallForInteger(L"GetVariable", {AutomationArgument::String(variable.name)}));
      drawing.Call(L"SetVariable",
                   {AutomationArgument::String(variable.name), AutomationArgument::Short(variable.value)});
      changed.emplace_back(variable.name, before);
    });
  }
  steps.Run(120, [&] {
    plot = Required(document).GetProperty(L"Plot");
    plot->Put(L"QuietErrorMode", AutomationArgument::Boolean(true));
  });
  steps.Run(122, [&] {
    std::unique_ptr<AutomationObject> all = Required(document).GetProperty(L"Layouts");
    const std::int64_t count = all->GetInteger(L"Count");
    for (std::int64_t i = 0; i < count; ++i) {
      PlotLayout entry;
      entry.layout = all->CallForObject(L"Item", {AutomationArgument::Short(static_cast<std::int16_t>(i))});
      entry.name = entry.layout->GetText(L"Name");
      entry.tabOrder = entry.layout->GetInteger(L"TabOrder");
      entry.holdsSomething = entry.layout->GetProperty(L"Block")->GetInteger(L"Count") > 0;
      layouts.push_back(std::move(entry));
    }
  });

  const std::vector<PlotLayout*> pages = PagesOf(layouts);
  result.pages = static_cast<int>(pages.size());
  for (PlotLayout* page : pages) {
    if (steps.lost()) break;
    AutomationObject& layout = *page->layout;
    steps.Run(124, [&] { Required(document).Put(L"ActiveLayout", AutomationArgument::Object(layout)); });
    steps.Run(126, [&] {
      layout.Call(L"RefreshPlotDeviceInfo", {});
      // A layout set up for PDF already keeps its paper, scale and area.
      if (choices.media.empty() && layout.GetText(L"ConfigName") == kPdfPlotDevice) return;
      layout.Put(L"ConfigName", AutomationArgument::String(kPdfPlotDevice));
      const std::vector<std::wstring> offered = layout.CallForTexts(L"GetCanonicalMediaNames", {});
      if (!offered.empty()) result.offeredMedia = offered;
      layout.Put(L"CanonicalMediaName",
                 AutomationArgument::String(choices.media.empty() ? A3MediaOf(offered) : choices.media));
      // The media names are portrait: a wide drawing turns the page.
      AutomationObject& drawing = Required(document);
      const std::vector<double> low = drawing.CallForNumbers(L"GetVariable", {AutomationArgument::String(L"EXTMIN")});
      const std::vector<double> high = drawing.CallForNumbers(L"GetVariable", {AutomationArgument::String(L"EXTMAX")});
      const bool wide = low.size() >= 2 && high.size() >= 2 && high[0] - low[0] > high[1] - low[1];
      layout.Put(L"PlotRotation", AutomationArgument::Short(wide ? kQuarterTurn : kUnturned));
      layout.Put(L"PlotType", AutomationArgument::Short(kPlotExtents));
      layout.Put(L"UseStandardScale", AutomationArgument::Boolean(true));
      layout.Put(L"StandardScale", AutomationArgument::Short(kScaleToFit));
      layout.Put(L"CenterPlot", AutomationArgument::Boolean(true));
    });
    steps.Run(128, [&] {
      if (choices.monochrome) layout.Put(L"StyleSheet", AutomationArgument::String(kMonochromeStyle));
      layout.Put(L"PlotWithPlotStyles", AutomationArgument::Boolean(choices.monochrome));
    });
    std::wstring path;
    // PlotToFile raises on a file that is there already.
    guard.Run(130, [&] {
      path = claim(PagePath(pdfPath, page->name, result.pages));
      DeleteFileQuietly(ports.fs, ports.pump, path);
    });
    bool answered = false;
    steps.Run(132, [&] {
      if (Required(plot).CallForInteger(L"PlotToFile", {AutomationArgument::String(path)}) == 0) {
        throw Failure(kPlotFailed, L"AutoCAD did not plot layout \"" + page->name + L"\" to \"" + path + L"\".");
      }
      answered = true;
    });
    if (answered) {
      guard.Run(134, [&] {
        if (!FileExists(ports.fs, path)) {
          throw Failure(kPlotFailed, L"AutoCAD plotted layout \"" + page->name + L"\" but wrote no file at \"" +
                                         path + L"\".");
        }
        result.files.push_back(path);
      });
    }
  }

  // A user's AutoCAD gets its own settings back; the program's own is quit,
  // or kept with the same settings for the run's next drawing.
  if (!own) {
    for (auto it = changed.rbegin(); it != changed.rend(); ++it) {
      steps.Run(136, [&] {
        Required(document).Call(L"SetVariable",
                                {AutomationArgument::String(it->first), AutomationArgument::Short(it->second)});
      });
    }
  }
  steps.Run(138, [&] { CloseWithoutSaving(instances, Required(document)); });
  steps.Run(140, [&] { instances.Finish(); });
  guard.Run(142, [&] {
    layouts.clear();
    plot.reset();
    document.reset();
  });
  guard.Run(144, [&] { instances.Release(); });
  instances.WaitUntilQuitGone();
  result.end = steps.end();
  return result;
}

}  // namespace pellacore
