#pragma once
// Who the program is: the names that messages and reports show.

#include <string_view>

namespace pellacore {

inline constexpr std::wstring_view kProductName = L"Pellacore";

// Where the error report asks users to send a screenshot of a failure.
inline constexpr std::wstring_view kSupportAddress = L"support@pellacore.com";

}  // namespace pellacore
