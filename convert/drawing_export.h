#pragma once
// The export of one drawing as a bitmap through AutoCAD's automation
// server: an instance attached to or started, the drawing opened, all of it
// selected and exported beside the drawing, the drawing closed without
// saving, and the instance quit when it is the program's own (or kept for
// the next drawing, when the run keeps it).

#include <memory>
#include <string>

#include "convert/autocad_instances.h"
#include "convert/autocad_steps.h"

namespace pellacore {

class AutomationObject;
class MessageBoxes;

struct ExportPorts {
  AutoCadInstances& instances;
  MessageBoxes& boxes;
};

// How the export ended. Whether a bitmap was written is told by the file
// alone; an export given up on may have left part of one.
using ExportEnd = AutoCadWorkEnd;

// Has AutoCAD write the drawing's bitmap at `bitmapStem` + ".bmp", within
// `timeLimitSeconds` for everything it does with AutoCAD. Does nothing when
// `autoCadFound` is false. Guarded: "in Corvanta2021/08/31.Form1.convertDWGtoBMP ";
// once AutoCAD stops answering or dies, one report names the drawing and
// the remaining steps are skipped.
ExportEnd convertDWGtoBMP(ExportPorts ports, bool autoCadFound, int timeLimitSeconds, const std::wstring& title,
                          std::wstring drawingPath, std::wstring bitmapStem);

// An object an earlier step failed to give fails the step that needs it.
AutomationObject& Required(const std::unique_ptr<AutomationObject>& object);

// Closes the drawing without saving; when that fails, the instance is not
// kept for another drawing.
void CloseWithoutSaving(AutoCadInstances& instances, AutomationObject& document);

}  // namespace pellacore
