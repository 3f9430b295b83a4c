#pragma once
// The run report as a file: one per run, under the user's local application
// data, named after the run's start so that the reports sort by time and
// none replaces another.

#include <string>
#include <vector>

#include "convert/drawing_outcome.h"
#include "platform/clock.h"

namespace pellacore {

class FileSystem;
class SpecialFolders;

struct RunReportFilePorts {
  FileSystem& fs;
  SpecialFolders& folders;
};

// The report's name for a run started at `started`: "Run 2026-12-08
// 20-15-30.csv"; `n` from 2 on numbers the later runs of one second:
// "Run 2026-12-08 20-15-30 (2).csv".
std::wstring RunReportFileName(const LocalTime& started, int n = 1);

// The file's bytes: RunReportCsv in UTF-8 after a byte-order mark, which
// spreadsheet programs need to read UTF-8 rather than the ANSI code page.
std::string RunReportBytes(const std::vector<DrawingOutcome>& outcomes);

// Writes the report into "<local application data>\Pellacore\Reports\",
// creating the folders as needed, under the first of the start's names that
// is free. Answers the file's full path, or "" when it could not be written;
// never raises.
std::wstring WriteRunReport(RunReportFilePorts ports, const std::vector<DrawingOutcome>& outcomes,
                            const LocalTime& started);

// Writes the report to the file the user named, replacing one there from
// before (a scheduled run writes the same file night after night). Answers
// the path, or "" when it could not be written; never raises.
std::wstring WriteRunReportTo(FileSystem& fs, const std::wstring& path, const std::vector<DrawingOutcome>& outcomes);

}  // namespace pellacore
