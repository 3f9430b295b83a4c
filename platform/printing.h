#pragma once
// Port: the printers, as the conversion run prints a bitmap to one of them.
// Every operation raises a pellacore::Failure when the platform refuses it.

#include <memory>
#include <string>
#include <vector>

namespace pellacore {

// A picture loaded from a file, ready to be drawn on a page.
class Picture {
 public:
  virtual ~Picture() = default;
};

class Printing {
 public:
  virtual ~Printing() = default;

  // The device names of the installed printers, in the platform's order.
  virtual std::vector<std::wstring> PrinterNames() = 0;

  // Makes the named printer the one the program prints to (not the system's
  // default printer). Until then the program prints to the default printer.
  virtual void SetCurrentPrinter(const std::wstring& deviceName) = 0;

  // Loads a bitmap file.
  virtual std::unique_ptr<Picture> LoadPicture(const std::wstring& file) = 0;

  // Draws the picture on the current printer's page, from the page's top
  // left corner, stretched to the printable width and height; the first
  // drawing starts the print document and its page.
  virtual void PaintPicture(const Picture& picture) = 0;

  // Ends the print document, releasing the job to the printer.
  virtual void EndDoc() = 0;

  // Abandons the print document, if one is open: nothing of it reaches the
  // printer. Never raises.
  virtual void AbortDoc() = 0;
};

}  // namespace pellacore
