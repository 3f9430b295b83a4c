#pragma once
// Owners of GDI and USER objects: fonts, brushes, icons, cursors and device
// contexts made with CreateDC.

#include <windows.h>

#include "win32/unique_resource.h"

namespace pellacore::win32 {

struct GdiObjectTraits {
  using Type = HGDIOBJ;
  static Type Invalid() { return nullptr; }
  static void Close(Type object) { ::DeleteObject(object); }
};

struct IconTraits {
  using Type = HICON;
  static Type Invalid() { return nullptr; }
  static void Close(Type icon) { ::DestroyIcon(icon); }
};

struct CursorTraits {
  using Type = HCURSOR;
  static Type Invalid() { return nullptr; }
  static void Close(Type cursor) { ::DestroyCursor(cursor); }
};

// A device context of CreateDC (not GetDC's, which is released instead).
struct DcTraits {
  using Type = HDC;
  static Type Invalid() { return nullptr; }
  static void Close(Type dc) { ::DeleteDC(dc); }
};

using UniqueGdiObject = UniqueResource<GdiObjectTraits>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueCursor = UniqueResource<CursorTraits>;
using UniqueDc = UniqueResource<DcTraits>;

}  // namespace pellacore::win32
