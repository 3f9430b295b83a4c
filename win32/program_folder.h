#pragma once
// The folder that holds the running program, without a trailing "\".

#include <string>

namespace pellacore::win32 {

std::wstring ProgramFolder();

}  // namespace pellacore::win32
