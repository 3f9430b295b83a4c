#pragma once
// What became of each drawing of a run: one record per job-list entry, in
// run order, that the list's Result column, the end-of-run box and the run
// report all read.

#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace pellacore {

enum class DrawingResult { kWaiting, kConverted, kFailed, kTimedOut, kSkipped };

struct DrawingOutcome {
  std::wstring drawing;
  std::vector<std::wstring> files;  // the PDFs written for it
  DrawingResult result = DrawingResult::kWaiting;
  int step = 0;          // the step of its first error report; 0 when none
  std::wstring message;  // why it did not convert, or a remark on a converted one
  double seconds = 0;
};

// The word the report and the Result column use: "converted", "failed",
// "timed out", "skipped"; "" while waiting.
std::wstring ResultWord(DrawingResult result);

// What the list's Result column shows for a drawing, on one line: "waiting";
// "converted: " and the PDF written; "failed", "timed out" or "skipped",
// with the step of its error report and the reason.
std::wstring ResultText(const DrawingOutcome& outcome);

// The run report: UTF-16 text of a CSV file with a header row and one row
// per drawing, fields quoted where they must be.
std::wstring RunReportCsv(const std::vector<DrawingOutcome>& outcomes);

// What the box at the end of a run says. `reportPath` is where the report
// went, or "" when none could be written. A run that converted everything
// says "Done." alone, unless its report is missing.
std::wstring EndOfRunText(const std::vector<DrawingOutcome>& outcomes, const std::wstring& reportPath);

// The PDF paths one run writes: each drawing claims its path, and one that
// an earlier drawing of the run claimed already (compared as Windows
// compares paths, without regard to case) is numbered: "name (2).pdf",
// "name (3).pdf", ... A PDF there from before the run is no claim. The
// lanes of a run that works on several drawings at once claim side by side.
class RunOutputPaths {
 public:
  std::wstring Claim(const std::wstring& path);

 private:
  std::mutex mutex_;
  std::set<std::wstring> taken_;  // folded to lower case
};

}  // namespace pellacore
