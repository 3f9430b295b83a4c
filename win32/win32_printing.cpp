#include "win32/win32_printing.h"

#include <windows.h>

#include <winspool.h>

#include <cstdlib>
#include <optional>
#include <vector>

#include "win32/gdi_resource.h"
#include "win32/long_paths.h"
#include "win32/unique_resource.h"
#include "win32/win32_failure.h"

namespace pellacore::win32 {
namespace {

constexpr long kInvalidPicture = 481;

struct PrinterHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static void Close(Type printer) { ::ClosePrinter(printer); }
};
using UniquePrinterHandle = UniqueResource<PrinterHandleTraits>;

class Win32Picture : public Picture {
 public:
  Win32Picture(UniqueGdiObject bitmap, PixelSize size) : bitmap_(std::move(bitmap)), size_(size) {}
  HBITMAP bitmap() const { return static_cast<HBITMAP>(bitmap_.get()); }
  PixelSize Size() const override { return size_; }

 private:
  UniqueGdiObject bitmap_;
  PixelSize size_;
};

Failure InvalidPicture() { return Failure(kInvalidPicture, L"Invalid picture"); }

// A refused GDI or spooler call: its last error, or a text naming the call
// when it set none.
Failure PrinterFailure(const wchar_t* call) {
  const DWORD code = ::GetLastError();
  if (code != ERROR_SUCCESS) return SystemFailure(code);
  return Failure(static_cast<long>(E_FAIL), std::wstring(L"The printer refused ") + call);
}

// CreateDC's own error for a printer that does not exist is a poor guide
// (Wine: "Module not found"); the spooler says what is wrong with the name.
Failure CreateDcFailure(const std::wstring& printer) {
  const Failure failure = PrinterFailure(L"CreateDC");
  UniquePrinterHandle handle;
  if (::OpenPrinterW(const_cast<wchar_t*>(printer.c_str()), handle.put(), nullptr)) return failure;
  const DWORD code = ::GetLastError();
  return code != ERROR_SUCCESS ? SystemFailure(code) : failure;
}

// Fills `names` from one level of EnumPrinters; false when that level fails.
bool EnumeratePrinters(DWORD level, std::vector<std::wstring>& names) {
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  std::vector<BYTE> buffer;
  // A printer may be added between the two calls; ask until it fits.
  for (;;) {
    DWORD needed = 0;
    DWORD count = 0;
    if (::EnumPrintersW(flags, nullptr, level, buffer.empty() ? nullptr : buffer.data(),
                        static_cast<DWORD>(buffer.size()), &needed, &count)) {
      names.clear();
      for (DWORD i = 0; i < count; ++i) {
        const wchar_t* name = level == 4
                                  ? reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data())[i].pPrinterName
                                  : reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data())[i].pPrinterName;
        if (name) names.emplace_back(name);
      }
      return true;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) return false;
    buffer.resize(needed);
  }
}

// The bitmap's width and height; raises for a bitmap GDI does not know.
PixelSize BitmapSize(HBITMAP bitmap) {
  BITMAP shape{};
  if (!::GetObjectW(bitmap, sizeof(shape), &shape) || shape.bmWidth <= 0 || shape.bmHeight == 0) {
    throw InvalidPicture();
  }
  return {static_cast<int>(shape.bmWidth), static_cast<int>(std::labs(shape.bmHeight))};
}

// Draws the whole bitmap stretched into `place`. The bits go to the printer
// as a 24-bit DIB, which every driver takes, whatever the file held.
void DrawStretched(HDC printer, HBITMAP bitmap, const PageRect& place) {
  const PixelSize size = BitmapSize(bitmap);
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(format.bmiHeader);
  format.bmiHeader.biWidth = size.width;
  format.bmiHeader.biHeight = size.height;  // bottom-up, as GetDIBits answers
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  const std::size_t stride = (static_cast<std::size_t>(size.width) * 3 + 3) & ~std::size_t{3};
  std::vector<BYTE> bits(stride * static_cast<std::size_t>(size.height));
  const UniqueDc memory(::CreateCompatibleDC(nullptr));
  if (!memory) throw PrinterFailure(L"CreateCompatibleDC");
  if (::GetDIBits(memory.get(), bitmap, 0, static_cast<UINT>(size.height), bits.data(), &format,
                  DIB_RGB_COLORS) != size.height) {
    throw PrinterFailure(L"GetDIBits");
  }

  if (!::SetStretchBltMode(printer, HALFTONE)) throw PrinterFailure(L"SetStretchBltMode");
  // HALFTONE needs the brush origin set again.
  ::SetBrushOrgEx(printer, 0, 0, nullptr);
  // 0 or GDI_ERROR (-1) when it fails.
  const int lines = ::StretchDIBits(printer, place.left, place.top, place.width, place.height, 0, 0, size.width,
                                    size.height, bits.data(), &format, DIB_RGB_COLORS, SRCCOPY);
  if (lines <= 0) throw PrinterFailure(L"StretchDIBits");
}

// The printer's own settings with the page turned as asked, for CreateDC;
// empty when the spooler does not know the printer (CreateDC then says why).
std::vector<BYTE> TurnedDevMode(const std::wstring& printer, PageOrientation orientation) {
  UniquePrinterHandle handle;
  auto* name = const_cast<wchar_t*>(printer.c_str());
  if (!::OpenPrinterW(name, handle.put(), nullptr)) return {};
  const LONG bytes = ::DocumentPropertiesW(nullptr, handle.get(), name, nullptr, nullptr, 0);
  if (bytes <= 0) throw PrinterFailure(L"DocumentProperties");
  std::vector<BYTE> own(static_cast<std::size_t>(bytes));
  auto* mode = reinterpret_cast<DEVMODEW*>(own.data());
  if (::DocumentPropertiesW(nullptr, handle.get(), name, mode, nullptr, DM_OUT_BUFFER) != IDOK) {
    throw PrinterFailure(L"DocumentProperties");
  }
  mode->dmFields = DM_ORIENTATION;
  mode->dmOrientation = orientation == PageOrientation::kLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  // The driver merges the change into its settings, as a print dialog would.
  std::vector<BYTE> turned(own.size());
  if (::DocumentPropertiesW(nullptr, handle.get(), name, reinterpret_cast<DEVMODEW*>(turned.data()), mode,
                            DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK) {
    throw PrinterFailure(L"DocumentProperties");
  }
  return turned;
}

}  // namespace

// The printer's device context with its document and page open. Until End,
// destroying it abandons the document.
class PrintDocument {
 public:
  // Without an orientation the page is as the printer is set up.
  PrintDocument(const std::wstring& printer, std::optional<PageOrientation> orientation) {
    const std::vector<BYTE> mode = orientation ? TurnedDevMode(printer, *orientation) : std::vector<BYTE>{};
    dc_.reset(::CreateDCW(L"WINSPOOL", printer.c_str(), nullptr,
                          mode.empty() ? nullptr : reinterpret_cast<const DEVMODEW*>(mode.data())));
    if (!dc_) throw CreateDcFailure(printer);
  }
  PrintDocument(const PrintDocument&) = delete;
  PrintDocument& operator=(const PrintDocument&) = delete;
  ~PrintDocument() {
    if (open_) ::AbortDoc(dc_.get());
  }

  HDC dc() const { return dc_.get(); }

  // The printable area, in device units.
  PixelSize Area() const {
    const PixelSize area{::GetDeviceCaps(dc_.get(), HORZRES), ::GetDeviceCaps(dc_.get(), VERTRES)};
    if (area.width <= 0 || area.height <= 0) throw PrinterFailure(L"GetDeviceCaps");
    return area;
  }

  void Start() {
    DOCINFOW info{};
    info.cbSize = sizeof(info);
    info.lpszDocName = L"Pellacore";
    if (::StartDocW(dc_.get(), &info) <= 0) throw PrinterFailure(L"StartDoc");
    open_ = true;
    if (::StartPage(dc_.get()) <= 0) throw PrinterFailure(L"StartPage");
  }

  void End() {
    if (::EndPage(dc_.get()) <= 0) throw PrinterFailure(L"EndPage");
    // After EndDoc the document is the spooler's, failed or not.
    open_ = false;
    if (::EndDoc(dc_.get()) <= 0) throw PrinterFailure(L"EndDoc");
  }

 private:
  UniqueDc dc_;
  bool open_ = false;
};

Win32Printing::Win32Printing() = default;
Win32Printing::~Win32Printing() = default;

std::vector<std::wstring> Win32Printing::PrinterNames() {
  // Level 4 answers from the spooler's own list without asking each printer
  // (an unreachable network printer cannot stall it); where the system does
  // not offer that level, level 2 has the names too.
  std::vector<std::wstring> names;
  if (EnumeratePrinters(4, names) || EnumeratePrinters(2, names)) return names;
  throw SystemFailure(::GetLastError());
}

void Win32Printing::SetCurrentPrinter(const std::wstring& deviceName) { currentPrinter_ = deviceName; }

std::unique_ptr<Picture> Win32Printing::LoadPicture(const std::wstring& file) {
  UniqueGdiObject bitmap(::LoadImageW(nullptr, PlatformPath(file).c_str(), IMAGE_BITMAP, 0, 0,
                                      LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!bitmap) throw InvalidPicture();
  const PixelSize size = BitmapSize(static_cast<HBITMAP>(bitmap.get()));
  return std::make_unique<Win32Picture>(std::move(bitmap), size);
}

PixelSize Win32Printing::OpenPage(PageOrientation orientation) {
  OpenDocument(orientation);
  return document_->Area();
}

void Win32Printing::PaintPicture(const Picture& picture, const PageRect& place) {
  const auto* bitmap = dynamic_cast<const Win32Picture*>(&picture);
  if (!bitmap) throw InvalidPicture();
  OpenDocument(std::nullopt);
  DrawStretched(document_->dc(), bitmap->bitmap(), place);
}

void Win32Printing::OpenDocument(std::optional<PageOrientation> orientation) {
  if (document_) return;
  auto document = std::make_unique<PrintDocument>(PrinterToUse(), orientation);
  document->Start();
  document_ = std::move(document);
}

void Win32Printing::EndDoc() {
  if (!document_) {
    throw Failure(failure_number::kInvalidArgument,
                  L"No print document is open: nothing has been painted since it last ended");
  }
  // Whatever End answers, the document is over for the program.
  const std::unique_ptr<PrintDocument> document = std::move(document_);
  document->End();
}

// The document's destructor abandons it at the spooler.
void Win32Printing::AbortDoc() { document_.reset(); }

std::wstring Win32Printing::PrinterToUse() const {
  if (!currentPrinter_.empty()) return currentPrinter_;
  std::wstring name;
  DWORD size = 0;
  DWORD code = ERROR_INSUFFICIENT_BUFFER;
  // The default may change between the calls; ask again until it fits.
  for (int attempt = 0; attempt < 4 && code == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
    name.assign(size, L'\0');
    code = ::GetDefaultPrinterW(size ? name.data() : nullptr, &size) ? ERROR_SUCCESS : ::GetLastError();
  }
  if (code == ERROR_FILE_NOT_FOUND) {
    throw Failure(static_cast<long>(HRESULT_FROM_WIN32(code)), L"There is no default printer");
  }
  if (code != ERROR_SUCCESS) throw SystemFailure(code);
  name.resize(size > 0 ? size - 1 : 0);  // the answer counts the NUL
  return name;
}

}  // namespace pellacore::win32
