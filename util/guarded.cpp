#include "util/guarded.h"

#include "util/error_report.h"
#include "util/text.h"

namespace pellacore {

std::wstring GuardedProcedure::DescribeStandardException(const std::exception& error) {
  return WidenAscii(error.what());
}

void GuardedProcedure::Report(const std::wstring& description) {
  ShowErrorReport(boxes_, identifier_, step_, description);
}

}  // namespace pellacore
