#include "tools/standin-autocad/pdf_writer.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>

namespace pellacore::standin {

namespace {

// A number as PDF takes it: no exponent, at most 3 decimals, no "-0".
std::string PdfNumber(double value) {
  if (!std::isfinite(value)) value = 0;
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  std::string number(text);
  while (number.back() == '0') number.pop_back();
  if (number.back() == '.') number.pop_back();
  if (number == "-0") number = "0";
  return number;
}

std::string Numbers(std::initializer_list<double> values) {
  std::string line;
  for (double value : values) {
    if (!line.empty()) line += ' ';
    line += PdfNumber(value);
  }
  return line;
}

// Windows-1252's 0x80-0x9F, by Unicode code point.
constexpr struct {
  std::uint32_t unicode;
  unsigned char byte;
} kWinAnsiHigh[] = {
    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
    {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
    {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
    {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
    {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F},
};

char WinAnsiByte(std::uint32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (const auto& entry : kWinAnsiHigh) {
    if (entry.unicode == code) return static_cast<char>(entry.byte);
  }
  return '?';
}

std::string PdfString(const std::string& bytes) {
  std::string escaped = "(";
  for (char c : bytes) {
    if (c == '(' || c == ')' || c == '\\') escaped += '\\';
    if (c == '\r') {
      escaped += "\\r";
      continue;
    }
    escaped += c;
  }
  return escaped + ")";
}

}  // namespace

std::string WinAnsiOf(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > utf8.size()) {
      // Not UTF-8: a byte of the ANSI code page, as DXF files of R12 hold them.
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    bool valid = true;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    out += WinAnsiByte(code);
    i += length;
  }
  return out;
}

void PdfPage::SetStrokeColour(const PdfColour& colour) {
  content_ += Numbers({colour.red, colour.green, colour.blue}) + " RG\n";
}

void PdfPage::SetFillColour(const PdfColour& colour) {
  content_ += Numbers({colour.red, colour.green, colour.blue}) + " rg\n";
}

void PdfPage::SetLineWidth(double points) { content_ += PdfNumber(points) + " w\n"; }

void PdfPage::MoveTo(double x, double y) { content_ += Numbers({x, y}) + " m\n"; }

void PdfPage::LineTo(double x, double y) { content_ += Numbers({x, y}) + " l\n"; }

void PdfPage::CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) {
  content_ += Numbers({x1, y1, x2, y2, x3, y3}) + " c\n";
}

void PdfPage::ClosePath() { content_ += "h\n"; }

void PdfPage::Stroke() { content_ += "S\n"; }

void PdfPage::Text(double x, double y, double size, double degrees, const std::string& utf8) {
  const double radians = degrees * std::numbers::pi / 180;
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  content_ += "BT\n/F1 " + PdfNumber(size) + " Tf\n" + Numbers({c, s, -s, c, x, y}) + " Tm\n" +
              PdfString(WinAnsiOf(utf8)) + " Tj\nET\n";
}

std::string WritePdf(const std::vector<PdfPage>& pages) {
  // Objects: 1 catalog, 2 page tree, 3 font, then a page and its content
  // stream for each page.
  const std::size_t objectCount = 3 + 2 * pages.size();
  std::vector<std::size_t> offsets(objectCount + 1, 0);
  // The binary comment marks the file as binary for transfer programs.
  std::string file = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  const auto begin = [&](std::size_t number) {
    offsets[number] = file.size();
    file += std::to_string(number) + " 0 obj\n";
  };
  const auto pageNumber = [](std::size_t index) { return 4 + 2 * index; };

  begin(1);
  file += "<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
  begin(2);
  file += "<< /Type /Pages /Kids [";
  for (std::size_t i = 0; i < pages.size(); ++i) file += (i ? " " : "") + std::to_string(pageNumber(i)) + " 0 R";
  file += "] /Count " + std::to_string(pages.size()) + " >>\nendobj\n";
  begin(3);
  file += "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>\nendobj\n";
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const PdfPage& page = pages[i];
    begin(pageNumber(i));
    file += "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Numbers({page.width(), page.height()}) +
            "] /Resources << /Font << /F1 3 0 R >> >> /Contents " + std::to_string(pageNumber(i) + 1) +
            " 0 R >>\nendobj\n";
    begin(pageNumber(i) + 1);
    file += "<< /Length " + std::to_string(page.content().size()) + " >>\nstream\n" + page.content() +
            "\nendstream\nendobj\n";
  }
  const std::size_t xref = file.size();
  file += "xref\n0 " + std::to_string(objectCount + 1) + "\n0000000000 65535 f \n";
  for (std::size_t number = 1; number <= objectCount; ++number) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offsets[number]);
    file += entry;
  }
  file += "trailer\n<< /Size " + std::to_string(objectCount + 1) + " /Root 1 0 R >>\nstartxref\n" +
          std::to_string(xref) + "\n%%EOF\n";
  return file;
}

}  // namespace pellacore::standin
