#pragma once
// Printing a bitmap through GDI and the spooler: one document of one page,
// turned as asked, the picture stretched into the place given.

#include <optional>

#include "platform/printing.h"

namespace pellacore::win32 {

class PrintDocument;

class Win32Printing : public Printing {
 public:
  Win32Printing();
  Win32Printing(const Win32Printing&) = delete;
  Win32Printing& operator=(const Win32Printing&) = delete;
  // A document still open is abandoned: the printer gets no job.
  ~Win32Printing() override;

  std::vector<std::wstring> PrinterNames() override;
  void SetCurrentPrinter(const std::wstring& deviceName) override;
  std::unique_ptr<Picture> LoadPicture(const std::wstring& file) override;
  PixelSize OpenPage(PageOrientation orientation) override;
  void PaintPicture(const Picture& picture, const PageRect& place) override;
  // Raises when no document is open: the program ends only what it painted.
  void EndDoc() override;
  void AbortDoc() override;

 private:
  std::wstring PrinterToUse() const;
  void OpenDocument(std::optional<PageOrientation> orientation);

  std::wstring currentPrinter_;  // empty: the system's default printer
  std::unique_ptr<PrintDocument> document_;
};

}  // namespace pellacore::win32
