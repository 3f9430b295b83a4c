#include "tools/standin-autocad/tests/pdf_inspection.h"

#include <cstdio>
#include <cctype>
#include <cstdlib>
#include <iterator>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace pellacore::standin::testing {

namespace {

std::string NumberAfter(const std::string& text, std::size_t at) {
  while (at < text.size() && (text[at] == ' ' || text[at] == '\n' || text[at] == '\r')) ++at;
  std::size_t end = at;
  while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.')) ++end;
  return text.substr(at, end - at);
}

}  // namespace

PdfFacts InspectPdf(const std::string& bytes) {
  PdfFacts facts;
  const auto fail = [&](const std::string& why) {
    facts.problem = why;
    return facts;
  };
  if (bytes.rfind("%PDF-1.4\n", 0) != 0) return fail("no PDF 1.4 header");
  const std::size_t startxref = bytes.rfind("startxref");
  if (startxref == std::string::npos) return fail("no startxref");
  const std::size_t xref = std::stoul(NumberAfter(bytes, startxref + 9));
  if (bytes.compare(xref, 5, "xref\n") != 0) return fail("startxref does not point at the table");
  std::istringstream table(bytes.substr(xref + 5));
  std::size_t first = 0;
  std::size_t count = 0;
  table >> first >> count;
  if (first != 0 || count < 2) return fail("the table does not start at object 0");
  std::string line;
  std::getline(table, line);
  for (std::size_t number = 0; number < count; ++number) {
    std::string entry(20, '\0');
    table.read(entry.data(), 20);
    if (entry.size() != 20 || (entry[18] != '\r' && entry[18] != ' ') || entry[19] != '\n') {
      return fail("xref entry " + std::to_string(number) + " is not 20 bytes");
    }
    if (number == 0) continue;
    const std::size_t offset = std::stoul(entry.substr(0, 10));
    const std::string header = std::to_string(number) + " 0 obj";
    if (bytes.compare(offset, header.size(), header) != 0) {
      return fail("xref entry " + std::to_string(number) + " does not point at its object");
    }
  }
  const std::size_t countAt = bytes.find("/Type /Pages");
  if (countAt == std::string::npos) return fail("no page tree");
  facts.pageCount = std::stoi(NumberAfter(bytes, bytes.find("/Count", countAt) + 6));
  for (std::size_t at = bytes.find("/MediaBox ["); at != std::string::npos; at = bytes.find("/MediaBox [", at + 1)) {
    std::istringstream box(bytes.substr(at + 11, 80));
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    box >> x0 >> y0 >> x1 >> y1;
    facts.mediaBoxes.push_back({x1 - x0, y1 - y0});
  }
  return facts;
}

std::optional<ToolRun> RunPdfTool(const std::string& command, const std::string& bytes) {
#ifdef _WIN32
  (void)command;
  (void)bytes;
  return std::nullopt;
#else
  const std::string tool = command.substr(0, command.find(' '));
  if (std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) != 0) return std::nullopt;
  char folder[] = "/tmp/pdf-inspection-XXXXXX";
  if (!::mkdtemp(folder)) return std::nullopt;
  const std::string base(folder);
  {
    std::ofstream file(base + "/plot.pdf", std::ios::binary);
    file << bytes;
  }
  const std::string out = base + "/out.txt";
  const std::string err = base + "/err.txt";
  ToolRun run;
  const std::string toStdout = tool == "pdftotext" ? " -" : "";
  const int raw = std::system((command + " " + base + "/plot.pdf" + toStdout + " >" + out + " 2>" + err).c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  const auto slurp = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  run.output = slurp(out);
  run.errors = slurp(err);
  std::system(("rm -rf " + base).c_str());
  return run;
#endif
}

}  // namespace pellacore::standin::testing
