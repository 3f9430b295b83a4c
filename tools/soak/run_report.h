#pragma once
// The run report as the soak reads it back: a UTF-8 CSV with the header
// drawing,pdf,result,step,message,seconds, and its rows compared with what
// the faults must have made of each drawing.

#include <string>
#include <string_view>
#include <vector>

#include "tools/soak/soak_plan.h"

namespace pellacore::soak {

// UTF-8 to wide text (UTF-16 on Windows); a malformed byte becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view bytes);
std::string Utf8FromWide(std::wstring_view text);

// The records of a CSV text: fields split at commas, quoted fields with
// doubled quotes and line breaks inside, CRLF or LF between records, a
// byte-order mark ignored.
std::vector<std::vector<std::wstring>> ParseCsv(std::wstring_view text);

// Every way the report differs from the plan, one line each; none when the
// header is right and each row names its drawing, its PDF (converted ones
// only) and its result, in run order.
std::vector<std::wstring> CompareReport(const std::vector<std::vector<std::wstring>>& records,
                                        const std::vector<SoakDrawing>& drawings);

}  // namespace pellacore::soak
