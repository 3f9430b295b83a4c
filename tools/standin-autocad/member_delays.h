#pragma once
// The DelayMs switch: how long a member waits before doing its work. The
// setting is a number for every member ("400"), or entries per member
// ("Open=1500,Export=300", names in any case); a bare number among the
// entries applies to the members not named. Portable, so it is tested
// natively.

#include <string_view>

namespace pellacore::standin {

// Milliseconds `member` (its canonical name) waits; 0 when the setting
// names no delay for it or cannot be read.
unsigned long MemberDelay(std::wstring_view setting, std::wstring_view member);

}  // namespace pellacore::standin
