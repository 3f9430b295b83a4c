#pragma once
// Waiting for the virtual printer: a printer may read its key only some time
// after the print document has ended, so the next drawing's path is handed
// over only once the PDF of this one has appeared.

#include <cstdint>
#include <optional>
#include <string>

namespace pellacore {

class Clock;
class EventPump;
class FileSystem;

// What lay at the PDF's path before the hand-off: nothing, or a file last
// written at that time.
struct PdfBefore {
  std::optional<std::int64_t> lastWriteTime;
};

PdfBefore LookBeforeHandOff(FileSystem& fs, const std::wstring& pdfPath);

struct PdfWaitPorts {
  FileSystem& fs;
  EventPump& pump;
  Clock& clock;
};

// Waits, handling events, until a file written after the hand-off lies at
// `pdfPath` or `boundMilliseconds` have passed; answers whether it appeared.
bool WaitForPdf(PdfWaitPorts ports, const std::wstring& pdfPath, const PdfBefore& before, int boundMilliseconds);

}  // namespace pellacore
