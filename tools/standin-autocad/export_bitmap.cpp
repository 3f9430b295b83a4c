#include "tools/standin-autocad/export_bitmap.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/standin-autocad/automation_error.h"
#include "tools/standin-autocad/bmp_file.h"
#include "tools/standin-autocad/identity_mark.h"
#include "tools/standin-autocad/sheet.h"
#include "win32/gdi_resource.h"

namespace pellacore::standin {

namespace {

struct MemoryDcTraits {
  using Type = HDC;
  static Type Invalid() { return nullptr; }
  static void Close(Type dc) { ::DeleteDC(dc); }
};
using UniqueMemoryDc = win32::UniqueResource<MemoryDcTraits>;

// Puts an object into the DC for a scope and takes it out again.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;
  ~Selected() { ::SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// DXF text is UTF-8 in newer files and the ANSI code page in older ones.
std::wstring Widened(const std::string& text) {
  for (UINT codePage : {static_cast<UINT>(CP_UTF8), static_cast<UINT>(CP_ACP)}) {
    const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int length = ::MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) continue;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
  }
  return {};
}

win32::UniqueGdiObject Font(int pixels, double rotationDegrees) {
  const int tenths = static_cast<int>(std::lround(rotationDegrees * 10));
  return win32::UniqueGdiObject(::CreateFontW(-pixels, 0, tenths, tenths, FW_NORMAL, FALSE, FALSE, FALSE,
                                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                              ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
}

void DrawSheet(HDC dc, const Sheet& sheet) {
  win32::UniqueGdiObject pen(::CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));
  const Selected withPen(dc, pen.get());
  for (const Stroke& stroke : sheet.strokes) {
    std::vector<POINT> points;
    for (const PixelPoint& point : stroke.points) {
      points.push_back({static_cast<LONG>(std::lround(point.x)), static_cast<LONG>(std::lround(point.y))});
    }
    if (points.size() == 1) points.push_back({points[0].x + 1, points[0].y});
    ::Polyline(dc, points.data(), static_cast<int>(points.size()));
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  for (const SheetText& text : sheet.texts) {
    // Text too small to read is still shown, as AutoCAD's regen would.
    const int pixels = std::max(6, static_cast<int>(std::lround(text.height)));
    win32::UniqueGdiObject font = Font(pixels, text.rotationDegrees);
    const Selected withFont(dc, font.get());
    ::SetTextAlign(dc, text.topAligned ? TA_TOP | TA_LEFT : TA_BASELINE | TA_LEFT);
    const double step = pixels * 1.5;
    const double angle = text.rotationDegrees * 3.14159265358979323846 / 180;
    std::wstring all = Widened(text.text);
    std::size_t start = 0;
    for (int line = 0;; ++line) {
      const std::size_t end = all.find(L'\n', start);
      const std::wstring piece = all.substr(start, end == std::wstring::npos ? end : end - start);
      // Following lines go down the page, across the text's direction.
      const int x = static_cast<int>(std::lround(text.at.x + std::sin(angle) * step * line));
      const int y = static_cast<int>(std::lround(text.at.y + std::cos(angle) * step * line));
      ::TextOutW(dc, x, y, piece.c_str(), static_cast<int>(piece.size()));
      if (end == std::wstring::npos) break;
      start = end + 1;
    }
  }
}

// A page for a drawing the stand-in cannot read: a frame and the name.
void DrawNamedPage(HDC dc, int width, int height, const std::wstring& name) {
  win32::UniqueGdiObject pen(::CreatePen(PS_SOLID, 3, RGB(0, 0, 0)));
  const Selected withPen(dc, pen.get());
  const Selected withBrush(dc, ::GetStockObject(NULL_BRUSH));
  // The frame ends above the identity strip.
  const int bottom = std::min(height - 20, kMarkBandTop - 10);
  ::Rectangle(dc, 20, 20, width - 20, bottom);
  win32::UniqueGdiObject font = Font(40, 0);
  const Selected withFont(dc, font.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  RECT box{40, 40, width - 40, bottom - 20};
  ::DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// The drawing's name in the top margin, at the right, small.
void DrawCaption(HDC dc, int width, const std::wstring& name) {
  win32::UniqueGdiObject font = Font(20, 0);
  const Selected withFont(dc, font.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  RECT box{width / 2, 8, kMarkLeft + kMarkCells * kMarkCellWidth, 34};
  ::DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &box,
              DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// The identity strip on a white band across the bottom of the page.
void DrawMark(HDC dc, int width, int height, const std::wstring& drawingPath) {
  RECT band{0, kMarkBandTop, width, height};
  ::FillRect(dc, &band, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  const std::vector<bool> cells = MarkCells(IdentityHash(drawingPath));
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (!cells[i]) continue;
    const int left = kMarkLeft + kMarkCellWidth * static_cast<int>(i);
    RECT cell{left, kMarkTop, left + kMarkCellWidth, kMarkTop + kMarkHeight};
    ::FillRect(dc, &cell, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  }
}

void WriteFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  win32::UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file || !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    const DWORD error = ::GetLastError();
    file.reset();
    ::DeleteFileW(path.c_str());
    throw AutomationError{HRESULT_FROM_WIN32(error),
                          L"Cannot write the bitmap \"" + path + L"\": " + SystemText(error)};
  }
}

}  // namespace

void WriteExportBitmap(const std::optional<Drawing>& drawing, const std::wstring& drawingPath,
                       const std::wstring& bitmapPath) {
  const std::size_t slash = drawingPath.find_last_of(L"\\/");
  const std::wstring drawingName = slash == std::wstring::npos ? drawingPath : drawingPath.substr(slash + 1);
  const Sheet sheet = drawing ? LayOut(*drawing) : Sheet{};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = sheet.width;
  info.bmiHeader.biHeight = sheet.height;  // bottom-up, as the file stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win32::UniqueGdiObject bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  if (!bitmap || !bits || !dc) throw AutomationError{E_OUTOFMEMORY, L"Cannot make the bitmap in memory."};
  {
    const Selected withBitmap(dc.get(), bitmap.get());
    ::PatBlt(dc.get(), 0, 0, sheet.width, sheet.height, WHITENESS);
    if (sheet.strokes.empty() && sheet.texts.empty()) DrawNamedPage(dc.get(), sheet.width, sheet.height, drawingName);
    else {
      DrawSheet(dc.get(), sheet);
      DrawCaption(dc.get(), sheet.width, drawingName);
    }
    DrawMark(dc.get(), sheet.width, sheet.height, drawingPath);
    ::GdiFlush();
  }
  WriteFileBytes(bitmapPath, EncodeBmp24(sheet.width, sheet.height, static_cast<const std::uint8_t*>(bits)));
}

void WriteUnreadableBitmap(const std::wstring& bitmapPath) { WriteFileBytes(bitmapPath, std::vector<std::uint8_t>(4096)); }

}  // namespace pellacore::standin
