#include "win32/fatal_failure.h"

#include <windows.h>

#include <exception>

#include "util/failure.h"
#include "util/product.h"
#include "util/text.h"

namespace pellacore::win32 {

std::wstring DescribeCurrentFailure() {
  try {
    throw;
  } catch (const Failure& failure) {
    return failure.description();
  } catch (const std::exception& error) {
    return WidenAscii(error.what());
  } catch (...) {
    return L"Unexpected failure";
  }
}

std::wstring FatalFailureTitle(const std::wstring& applicationTitle) {
  return applicationTitle.empty() ? std::wstring(kProductName) : applicationTitle;
}

int TellFatalFailure(const std::wstring& applicationTitle) noexcept {
  try {
    const std::wstring text = DescribeCurrentFailure();
    ::MessageBoxW(nullptr, text.c_str(), FatalFailureTitle(applicationTitle).c_str(),
                  MB_OK | MB_ICONERROR | MB_TASKMODAL);
  } catch (...) {
    // Out of memory for the text: the exit code still says it.
  }
  return 1;
}

}  // namespace pellacore::win32
