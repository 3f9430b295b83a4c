#include "convert/pdf_wait.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "util/failure.h"
#include "util/files.h"

namespace pellacore {
namespace {

constexpr int kPdfPollMilliseconds = 100;

std::optional<std::int64_t> LastWriteOfFile(FileSystem& fs, const std::wstring& path) {
  if (!FileExists(fs, path)) return std::nullopt;
  try {
    return fs.LastWriteTime(path);
  } catch (const Failure&) {
    return std::nullopt;
  }
}

}  // namespace

PdfBefore LookBeforeHandOff(FileSystem& fs, const std::wstring& pdfPath) {
  return {LastWriteOfFile(fs, pdfPath)};
}

bool WaitForPdf(PdfWaitPorts ports, const std::wstring& pdfPath, const PdfBefore& before, int boundMilliseconds) {
  const std::int64_t start = ports.clock.NowMilliseconds();
  for (;;) {
    // A PDF of an earlier run at the same path counts only once rewritten.
    const std::optional<std::int64_t> now = LastWriteOfFile(ports.fs, pdfPath);
    if (now && now != before.lastWriteTime) return true;
    const std::int64_t elapsed = ports.clock.NowMilliseconds() - start;
    if (elapsed >= boundMilliseconds) return false;
    ports.clock.WaitForEvents(
        static_cast<int>(std::min<std::int64_t>(kPdfPollMilliseconds, boundMilliseconds - elapsed)));
    ports.pump.HandlePending();
  }
}

}  // namespace pellacore
