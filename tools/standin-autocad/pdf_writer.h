#pragma once
// A small PDF 1.4 writer: pages of stroked vector paths and text in the
// standard Helvetica font (WinAnsi), with a correct cross-reference table.
// Portable, so it is tested natively. Coordinates are PDF points, origin at
// the bottom left.

#include <string>
#include <vector>

namespace pellacore::standin {

struct PdfColour {
  double red = 0;
  double green = 0;
  double blue = 0;
};

// One page: its size and the content stream that draws it.
class PdfPage {
 public:
  PdfPage(double width, double height) : width_(width), height_(height) {}
  double width() const { return width_; }
  double height() const { return height_; }
  const std::string& content() const { return content_; }

  void SetStrokeColour(const PdfColour& colour);
  void SetFillColour(const PdfColour& colour);
  void SetLineWidth(double points);
  void MoveTo(double x, double y);
  void LineTo(double x, double y);
  void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3);
  void ClosePath();
  void Stroke();
  // One line of text, its baseline starting at (x, y), turned by `degrees`
  // counter-clockwise. `utf8` goes out as WinAnsi; what it cannot hold
  // becomes "?".
  void Text(double x, double y, double size, double degrees, const std::string& utf8);

 private:
  double width_;
  double height_;
  std::string content_;
};

// The whole file: catalog, pages, one shared font, xref and trailer.
std::string WritePdf(const std::vector<PdfPage>& pages);

// UTF-8 as Windows-1252 bytes; what the code page lacks becomes "?".
std::string WinAnsiOf(const std::string& utf8);

}  // namespace pellacore::standin
