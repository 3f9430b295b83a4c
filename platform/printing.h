#pragma once
// Port: the printers, as the conversion run prints a bitmap to one of them.
// Every operation raises a pellacore::Failure when the platform refuses it.

#include <memory>
#include <string>
#include <vector>

namespace pellacore {

// A width and a height: a picture's in pixels, a page's in the printer's
// device units.
struct PixelSize {
  int width = 0;
  int height = 0;
  bool operator==(const PixelSize&) const = default;
};

// A place on the page in the printer's device units, from the top left
// corner of the printable area.
struct PageRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PageRect&) const = default;
};

enum class PageOrientation { kPortrait, kLandscape };

// A picture loaded from a file, ready to be drawn on a page.
class Picture {
 public:
  virtual ~Picture() = default;
  virtual PixelSize Size() const = 0;
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

  // Starts the print document and its page on the current printer, the
  // page turned as asked, unless a page is open already (it keeps its
  // orientation); answers the page's printable width and height.
  virtual PixelSize OpenPage(PageOrientation orientation) = 0;

  // Draws the picture stretched into `place` on the current printer's page;
  // with no page open it first opens one the way the printer is set up.
  virtual void PaintPicture(const Picture& picture, const PageRect& place) = 0;

  // Ends the print document, releasing the job to the printer.
  virtual void EndDoc() = 0;

  // Abandons the print document, if one is open: nothing of it reaches the
  // printer. Never raises.
  virtual void AbortDoc() = 0;
};

}  // namespace pellacore
