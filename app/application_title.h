#pragma once
// The application title: the name under which the system lists the running
// program, and the caption of every message box without a title of its own.

#include <string>
#include <string_view>

namespace pellacore {

inline constexpr std::size_t kApplicationTitleLimit = 40;

// Cuts the product name at its last blank, once and then until the rest is
// at most 40 characters long, so the title lacks the name's last word. A name
// without a blank has nothing to cut and is kept whole, up to 40 characters.
std::wstring ApplicationTitleFor(std::wstring_view productName);

}  // namespace pellacore
