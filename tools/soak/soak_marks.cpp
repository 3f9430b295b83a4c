// soak-marks LIST: reads the identity strip back from each PDF of a soak run
// and checks that it is its own drawing's. LIST holds one line per PDF,
// "<PDF>\t<drawing>", both Windows paths on drive Z: (the prefix's view of
// /). The page image comes out of the PDF losslessly through pdfimages.
// Prints one line per PDF that does not carry its drawing's mark; exits 0
// when every one does.

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/soak/ppm_image.h"
#include "tools/soak/run_report.h"
#include "tools/standin-autocad/identity_mark.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using pellacore::soak::ReadNetpbm;
using pellacore::soak::WideFromUtf8;

std::string UnixPathOf(const std::string& windowsPath) {
  std::string path = windowsPath;
  if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') path.erase(0, 2);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

bool Run(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The mark of the PDF's largest image, or why there is none.
std::string CheckPdf(const std::string& pdf, const std::string& drawing, const fs::path& scratch) {
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  if (!fs::exists(UnixPathOf(pdf))) return "no PDF";
  if (!Run({"pdfimages", UnixPathOf(pdf), (scratch / "img").string()})) return "pdfimages failed";
  std::optional<pellacore::standin::GreyImage> largest;
  for (const fs::directory_entry& entry : fs::directory_iterator(scratch)) {
    std::optional<pellacore::standin::GreyImage> image = ReadNetpbm(ReadAll(entry.path()));
    if (image && (!largest || image->pixels.size() > largest->pixels.size())) largest = std::move(image);
  }
  if (!largest) return "no image in the PDF";
  const std::optional<std::uint32_t> mark = pellacore::standin::ReadMark(*largest);
  if (!mark) return "no readable mark on its page";
  if (*mark != pellacore::standin::IdentityHash(WideFromUtf8(drawing))) return "the mark of another drawing";
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: soak-marks LIST\n");
    return 2;
  }
  std::ifstream list(argv[1], std::ios::binary);
  if (!list) {
    std::fprintf(stderr, "soak-marks: cannot read %s\n", argv[1]);
    return 2;
  }
  char folder[] = "/tmp/soak-marks.XXXXXX";
  if (!mkdtemp(folder)) return 2;
  const fs::path scratch = fs::path(folder) / "pdf";
  int checked = 0;
  int wrong = 0;
  std::string line;
  while (std::getline(list, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    const std::string pdf = line.substr(0, tab);
    const std::string drawing = line.substr(tab + 1);
    ++checked;
    const std::string why = CheckPdf(pdf, drawing, scratch);
    if (why.empty()) continue;
    ++wrong;
    std::printf("soak-marks: %s: %s (drawing %s)\n", pdf.c_str(), why.c_str(), drawing.c_str());
  }
  fs::remove_all(folder);
  std::printf("soak-marks: %d PDFs read, %d carry their own drawing's mark\n", checked, checked - wrong);
  return wrong == 0 && checked > 0 ? 0 : 1;
}
