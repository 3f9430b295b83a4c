#include "convert/run_report_file.h"

#include <cwchar>
#include <optional>

#include "platform/file_system.h"
#include "platform/special_folders.h"
#include "util/failure.h"
#include "util/product.h"
#include "util/text.h"

namespace pellacore {
namespace {

// More runs than this within one second are not told apart.
constexpr int kNamesPerSecond = 100;

}  // namespace

std::wstring RunReportFileName(const LocalTime& started, int n) {
  wchar_t name[64];
  std::swprintf(name, 64, L"Run %04d-%02d-%02d %02d-%02d-%02d", started.year, started.month, started.day,
                started.hour, started.minute, started.second);
  return name + (n > 1 ? L" (" + std::to_wstring(n) + L")" : L"") + L".csv";
}

std::string RunReportBytes(const std::vector<DrawingOutcome>& outcomes) {
  return "\xEF\xBB\xBF" + Utf8(RunReportCsv(outcomes));
}

std::wstring WriteRunReport(RunReportFilePorts ports, const std::vector<DrawingOutcome>& outcomes,
                            const LocalTime& started) {
  try {
    const std::optional<std::wstring> local = ports.folders.FolderPath(csidl::kLocalAppData);
    if (!local || local->empty()) return L"";
    std::wstring folder = *local;
    if (folder.back() != L'\\') folder += L'\\';
    folder += std::wstring(kProductName);
    ports.fs.CreateFolder(folder);
    folder += L"\\Reports\\";
    ports.fs.CreateFolder(folder);
    const std::string bytes = RunReportBytes(outcomes);
    for (int n = 1; n <= kNamesPerSecond; ++n) {
      const std::wstring path = folder + RunReportFileName(started, n);
      try {
        ports.fs.WriteNewFile(path, bytes);
        return path;
      } catch (const Failure& failure) {
        // An earlier report of the same second: the next name.
        if (failure.number() != failure_number::kFileExists) throw;
      }
    }
  } catch (const Failure&) {
    // The end of the run says that no report was written.
  }
  return L"";
}

std::wstring WriteRunReportTo(FileSystem& fs, const std::wstring& path, const std::vector<DrawingOutcome>& outcomes) {
  try {
    const std::string bytes = RunReportBytes(outcomes);
    try {
      fs.RemoveFile(path);
    } catch (const Failure&) {
      // None there, or one that cannot go: writing tells.
    }
    fs.WriteNewFile(path, bytes);
    return path;
  } catch (const Failure&) {
    return L"";
  }
}

}  // namespace pellacore
