#pragma once
// The call log: one UTF-8 line per call, appended and flushed at once, so a
// test can read it while the server runs and after it has crashed.

#include <string>
#include <vector>

#include "tools/standin-autocad/server_config.h"

namespace pellacore::standin {

// Appends `line` and a line feed to the configured log; nothing when the
// log is off. Several server processes may append to the same file.
void Log(const Config& config, const std::wstring& line);
void Log(const std::wstring& line);

// "server exit", or "server exit (open: A|B)" naming the drawings the
// instance still held open when it ended.
std::wstring ExitLine(const std::vector<std::wstring>& openDrawings);

}  // namespace pellacore::standin
