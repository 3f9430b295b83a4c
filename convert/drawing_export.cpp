#include "convert/drawing_export.h"

#include <memory>
#include <optional>

#include "convert/autocad_instances.h"
#include "platform/automation.h"
#include "platform/message_boxes.h"
#include "util/failure.h"
#include "util/guarded.h"
#include "util/product.h"

namespace pellacore {
namespace {

constexpr wchar_t kConvert[] = L"in Corvanta2021/08/31.Form1.convertDWGtoBMP ";
constexpr wchar_t kNoInstance[] = L"Error opening AutoCAD. Do you have AutoCad installed?";

// AutoCAD's codes: a maximised main window, and the selection mode that
// takes every object of the drawing.
constexpr std::int16_t kMaximized = 3;
constexpr std::int16_t kSelectAll = 5;

}  // namespace

AutomationObject& Required(const std::unique_ptr<AutomationObject>& object) {
  if (!object) throw StandardFailure(failure_number::kObjectNotSet);
  return *object;
}

std::wstring LostInstanceText(const Failure& failure, AutoCadInstances::GivenUp what, const std::wstring& drawing,
                      int seconds) {
  const bool timedOut = IsTimeOut(failure);
  std::wstring text = timedOut ? L"AutoCAD did not finish \"" + drawing + L"\" within " +
                                     std::to_wstring(seconds) + L" seconds."
                               : L"AutoCAD ended while working on \"" + drawing + L"\" (" +
                                     failure.description() + L").";
  const std::wstring product(kProductName);
  switch (what) {
    case AutoCadInstances::GivenUp::kEnded:
      text += timedOut ? L" That AutoCAD was ended; the next drawing gets a new one."
                       : L" The next drawing gets a new AutoCAD.";
      break;
    case AutoCadInstances::GivenUp::kLeftToUser:
      text += L" It is an AutoCAD you started, so " + product +
              L" left it running; the other drawings go to an AutoCAD of " + product + L"'s own.";
      break;
    case AutoCadInstances::GivenUp::kProcessUnknown:
      text += L" Its process could not be found, so it may still be running.";
      break;
    case AutoCadInstances::GivenUp::kNone:
      break;
  }
  return text;
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
  std::optional<ExportEnd> lost;

  // A step that talks to AutoCAD. Once AutoCAD has not answered in time or
  // has gone, there is nothing left to talk to: that failure is the one
  // report for the drawing, and the remaining steps are skipped.
  const auto step = [&](int number, auto&& action) {
    if (lost) return;
    guard.Run(number, [&] {
      try {
        action();
      } catch (const Failure& failure) {
        if (!IsLostInstance(failure)) throw;
        lost = IsTimeOut(failure) ? ExportEnd::kTimedOut : ExportEnd::kAutoCadEnded;
        const AutoCadInstances::GivenUp what = instances.GiveUp();
        throw Failure(failure.number(), LostInstanceText(failure, what, drawingPath, timeLimitSeconds));
      }
    });
  };
  // Finding or starting an instance fails quietly, unless AutoCAD did not
  // answer in time: then the drawing's time is up.
  const auto quietly = [](auto&& obtain) {
    try {
      obtain();
    } catch (const Failure& failure) {
      if (IsTimeOut(failure)) throw;
    }
  };

  step(102, [&] { quietly([&] { instances.Attach(); }); });
  if (guard.Test(104, [&] { return !lost && !instances.HasInstance(); })) {
    guard.Run(106, [] {});  // the attach failure is cleared, never reported
    step(108, [&] { quietly([&] { instances.Start(); }); });
    if (guard.Test(110, [&] { return !lost && !instances.HasInstance(); })) {
      guard.Run(112, [&] {
        ports.boxes.Show(kNoInstance, title, MessageButtons::kOk, MessageIcon::kNone);
      });
      return ExportEnd::kNoAutoCad;
    }
  }

  step(114, [&] { instances.Application().Put(L"WindowState", AutomationArgument::Short(kMaximized)); });
  step(116, [&] {
    document = instances.Application().GetProperty(L"Documents")->CallForObject(
        L"Open", {AutomationArgument::StringByRef(drawingPath)});
  });
  // Shown only now that the drawing is open.
  step(118, [&] {
    instances.Application().GetProperty(L"Application")->Put(L"Visible", AutomationArgument::Boolean(true));
  });
  step(120, [&] {
    selectionSet = Required(document).GetProperty(L"SelectionSets")->CallForObject(
        L"add", {AutomationArgument::String(L"NEWSS")});
  });
  step(122, [&] { Required(selectionSet).Call(L"Select", {AutomationArgument::Short(kSelectAll)}); });
  step(124, [&] {
    AutomationObject& selection = Required(selectionSet);
    Required(document).Call(L"Export", {AutomationArgument::StringByRef(bitmapStem),
                                        AutomationArgument::String(L"BMP"),
                                        AutomationArgument::ObjectByRef(selection)});
  });
  // Without saving: a drawing that changed on opening (fields, proxies)
  // would otherwise be asked about, and the question waits for a person.
  step(126, [&] { Required(document).Call(L"Close", {AutomationArgument::Boolean(false)}); });
  // The program's own instance is quit and gone before the next drawing; a
  // user's keeps running with its own drawings.
  step(128, [&] { instances.Finish(); });
  guard.Run(130, [&] { document.reset(); });
  guard.Run(132, [&] { instances.Release(); });
  // The selection set goes last, and all of them before the quit AutoCAD's
  // process ends (which is waited for here, before the next drawing).
  selectionSet.reset();
  instances.WaitUntilQuitGone();
  return lost.value_or(ExportEnd::kFinished);
}

}  // namespace pellacore
