#include "convert/drawing_export.h"

#include <memory>

#include "convert/prerequisite_checks.h"
#include "platform/automation.h"
#include "platform/message_boxes.h"
#include "util/failure.h"
#include "util/guarded.h"

namespace pellacore {
namespace {

constexpr wchar_t kConvert[] = L"in Corvanta2021/08/31.Form1.convertDWGtoBMP ";
constexpr wchar_t kNoInstance[] = L"Error opening AutoCAD. Do you have AutoCad installed?";

// AutoCAD's codes: a maximised main window, and the selection mode that
// takes every object of the drawing.
constexpr std::int16_t kMaximized = 3;
constexpr std::int16_t kSelectAll = 5;

// An object an earlier step failed to give fails the step that needs it.
AutomationObject& Required(const std::unique_ptr<AutomationObject>& object) {
  if (!object) throw StandardFailure(failure_number::kObjectNotSet);
  return *object;
}

// Tries one way of obtaining an instance; a failure is the empty answer.
template <class Obtain>
std::unique_ptr<AutomationObject> Quietly(Obtain&& obtain) {
  try {
    return obtain();
  } catch (const Failure&) {
    return nullptr;
  }
}

}  // namespace

void convertDWGtoBMP(ExportPorts ports, bool autoCadFound, const std::wstring& title,
                     std::wstring drawingPath, std::wstring bitmapStem) {
  GuardedProcedure guard(ports.boxes, kConvert);
  if (!guard.Test(100, [&] { return autoCadFound; })) return;

  // Released in this order at the end: the document, the instance, and last
  // the selection set.
  std::unique_ptr<AutomationObject> selectionSet;
  std::unique_ptr<AutomationObject> instance;
  std::unique_ptr<AutomationObject> document;

  guard.Run(102, [&] {
    instance = Quietly([&] { return ports.automation.GetActiveObject(kAutoCadProgId); });
  });
  if (guard.Test(104, [&] { return instance == nullptr; })) {
    guard.Run(106, [] {});  // the attach failure is cleared, never reported
    guard.Run(108, [&] {
      instance = Quietly([&] { return ports.automation.CreateObject(kAutoCadProgId); });
    });
    if (guard.Test(110, [&] { return instance == nullptr; })) {
      guard.Run(112, [&] {
        ports.boxes.Show(kNoInstance, title, MessageButtons::kOk, MessageIcon::kNone);
      });
      return;
    }
  }

  guard.Run(114, [&] { Required(instance).Put(L"WindowState", AutomationArgument::Short(kMaximized)); });
  guard.Run(116, [&] {
    document = Required(instance).GetProperty(L"Documents")->CallForObject(
        L"Open", {AutomationArgument::StringByRef(drawingPath)});
  });
  // Shown only now that the drawing is open.
  guard.Run(118, [&] {
    Required(instance).GetProperty(L"Application")->Put(L"Visible", AutomationArgument::Boolean(true));
  });
  guard.Run(120, [&] {
    selectionSet = Required(document).GetProperty(L"SelectionSets")->CallForObject(
        L"add", {AutomationArgument::String(L"NEWSS")});
  });
  guard.Run(122, [&] { Required(selectionSet).Call(L"Select", {AutomationArgument::Short(kSelectAll)}); });
  guard.Run(124, [&] {
    AutomationObject& selection = Required(selectionSet);
    Required(document).Call(L"Export", {AutomationArgument::StringByRef(bitmapStem),
                                        AutomationArgument::String(L"BMP"),
                                        AutomationArgument::ObjectByRef(selection)});
  });
  guard.Run(126, [&] { Required(document).Call(L"Close", {}); });
  guard.Run(128, [&] { Required(instance).Call(L"Quit", {}); });
  guard.Run(130, [&] { document.reset(); });
  guard.Run(132, [&] { instance.reset(); });
}

}  // namespace pellacore
