#pragma once
// The export of one drawing as a bitmap through AutoCAD's automation
// server: an instance attached to or started, the drawing opened, all of it
// selected and exported beside the drawing, the drawing closed, the
// instance quit.

#include <string>

namespace pellacore {

class Automation;
class MessageBoxes;

struct ExportPorts {
  Automation& automation;
  MessageBoxes& boxes;
};

// Has AutoCAD write the drawing's bitmap at `bitmapStem` + ".bmp". Does
// nothing when `autoCadFound` is false. Guarded:
// "in Corvanta2021/08/31.Form1.convertDWGtoBMP "; the caller learns the
// outcome only from the bitmap's presence.
void convertDWGtoBMP(ExportPorts ports, bool autoCadFound, const std::wstring& title,
                     std::wstring drawingPath, std::wstring bitmapStem);

}  // namespace pellacore
