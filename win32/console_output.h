#pragma once
// Text for the console a command-line start came from: the standard output
// when it goes somewhere (a console, a file, a pipe), else the console of
// the process that started the program. A start from Explorer or a shortcut
// has neither.

#include <string>

namespace pellacore::win32 {

// Whether there is a console or output to write to.
bool HasConsoleOutput();

// Writes the text (UTF-8 to a file or pipe); false when there is nowhere to
// write it.
bool WriteConsoleText(const std::wstring& text);

}  // namespace pellacore::win32
