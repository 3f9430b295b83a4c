#pragma once
// Reads back what the PDF writer wrote, as a strict reader would: every
// cross-reference offset lands on its object, startxref on the table; and
// hands the file to poppler's tools where they are installed (natively).

#include <optional>
#include <string>
#include <vector>

namespace pellacore::standin::testing {

struct PdfBox {
  double width = 0;
  double height = 0;
};

struct PdfFacts {
  std::string problem;  // empty when the structure reads
  int pageCount = 0;    // the page tree's /Count
  std::vector<PdfBox> mediaBoxes;  // of the page objects, in file order
};

PdfFacts InspectPdf(const std::string& bytes);

struct ToolRun {
  int status = -1;
  std::string output;  // stdout
  std::string errors;  // stderr
};

// Runs a poppler tool ("pdfinfo", "pdftotext -layout", ...) on the bytes,
// the file's path last (pdftotext writes to stdout); none where the tool
// cannot run (Windows, or poppler-utils missing).
std::optional<ToolRun> RunPdfTool(const std::string& command, const std::string& bytes);

}  // namespace pellacore::standin::testing
