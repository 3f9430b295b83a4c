#pragma once
// What Export writes: a 24-bit BMP of 1100 x 850 pixels, black on white.
// A DXF drawing shows its entities fitted to the page; any other file a
// framed page that names the drawing. Every page carries the drawing's
// identity strip along its bottom (identity_mark.h); a DXF page its file
// name in the top margin.

#include <optional>
#include <string>

#include "tools/standin-autocad/dxf.h"

namespace pellacore::standin {

// Throws AutomationError when the file cannot be written.
void WriteExportBitmap(const std::optional<Drawing>& drawing, const std::wstring& drawingPath,
                       const std::wstring& bitmapPath);

// A file under a bitmap's name that no picture loader takes: zeros, as a
// write that never reached the disk leaves a file.
void WriteUnreadableBitmap(const std::wstring& bitmapPath);

}  // namespace pellacore::standin
