#include "convert/drawing_export.h"

#include <memory>

#include "convert/autocad_instances.h"
#include "convert/autocad_steps.h"
#include "platform/automation.h"
#include "util/failure.h"
#include "util/guarded.h"

namespace pellacore {
namespace {

constexpr wchar_t kConvert[] = L"in Corvanta2021/08/31.Form1.convertDWGtoBMP ";

// AutoCAD's codes: a maximised main window, and the selection mode that
// takes every object of the drawing.
constexpr std::int16_t kMaximized = 3;
constexpr std::int16_t kSelectAll = 5;

}  // namespace

AutomationObject& Required(const std::unique_ptr<AutomationObject>& object) {
  if (!object) throw StandardFailure(failure_number::kObjectNotSet);
  return *object;
}

void CloseWithoutSaving(AutoCadInstances& instances, AutomationObject& document) {
  try {
    document.Call(L"Close", {AutomationArgument::Boolean(false)});
  } catch (const Failure&) {
    // Still open, or asking about it: no instance to keep for the next one.
    instances.Distrust();
    throw;
  }
}

ExportEnd convertDWGtoBMP(ExportPorts ports, bool autoCadFound, int timeLimitSeconds, const std::wstring& title,
                          std::wstring drawingPath, std::wstring bitmapStem) {
  GuardedProcedure guard(ports.boxes, kConvert);
  if (!guard.Test(100, [&] { return autoCadFound; })) return ExportEnd::kNotTried;
  AutoCadInstances& instances = ports.instances;
  instances.BeginWork(timeLimitSeconds);

  // Released in this order at the end: the document, the instance, and last
  // the selection set.
  std::unique_ptr<AutomationObject> selectionSet;
  std::unique_ptr<AutomationObject> document;
  AutoCadSteps steps(guard, instances, drawingPath, timeLimitSeconds);
  if (!steps.Obtain(ports.boxes, title)) return ExportEnd::kNoAutoCad;

  steps.Run(114, [&] { instances.Application().Put(L"WindowState", AutomationArgument::Short(kMaximized)); });
  steps.Run(116, [&] {
    document = instances.Application().GetProperty(L"Documents")->CallForObject(
        L"Open", {AutomationArgument::StringByRef(drawingPath)});
  });
  // Shown only now that the drawing is open.
  steps.Run(118, [&] {
    instances.Application().GetProperty(L"Application")->Put(L"Visible", AutomationArgument::Boolean(true));
  });
  steps.Run(120, [&] {
    selectionSet = Required(document).GetProperty(L"SelectionSets")->CallForObject(
        L"add", {AutomationArgument::String(L"NEWSS")});
  });
  steps.Run(122, [&] { Required(selectionSet).Call(L"Select", {AutomationArgument::Short(kSelectAll)}); });
  steps.Run(124, [&] {
    AutomationObject& selection = Required(selectionSet);
    Required(document).Call(L"Export", {AutomationArgument::StringByRef(bitmapStem),
                                        AutomationArgument::String(L"BMP"),
                                        AutomationArgument::ObjectByRef(selection)});
  });
  // Without saving: a drawing that changed on opening (fields, proxies)
  // would otherwise be asked about, and the question waits for a person.
  steps.Run(126, [&] { CloseWithoutSaving(instances, Required(document)); });
  // The program's own instance is quit and gone before the next drawing,
  // unless the run keeps it; a user's keeps running with its own drawings.
  steps.Run(128, [&] { instances.Finish(); });
  guard.Run(130, [&] { document.reset(); });
  guard.Run(132, [&] { instances.Release(); });
  // The selection set goes last, and all of them before the quit AutoCAD's
  // process ends (which is waited for here, before the next drawing).
  selectionSet.reset();
  instances.WaitUntilQuitGone();
  return steps.end();
}

}  // namespace pellacore
