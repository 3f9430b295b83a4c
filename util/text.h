#pragma once
// Text helpers shared by the core. The program's rules count positions from 1
// in UTF-16 code units, as Windows strings do; wchar_t is 32 bits wide on
// Linux, so lengths and positions go through these helpers to count the same
// on both platforms.

#include <cstddef>
#include <string>
#include <string_view>

namespace pellacore {

// Number of UTF-16 code units that the text occupies on Windows.
std::size_t Utf16Length(std::wstring_view text);

// 1-based position, in UTF-16 code units, of the character at 0-based index.
std::size_t Utf16Position(std::wstring_view text, std::size_t index);

// The text in UTF-8. A UTF-16 surrogate pair is one character; a surrogate
// without its partner becomes U+FFFD.
std::string Utf8(std::wstring_view text);

// The text with A to Z made a to z (paths compared as Windows does for the
// names the program writes itself).
std::wstring LowerAscii(std::wstring text);

// Widens text from an exception message (ASCII or UTF-8) byte by byte.
std::wstring WidenAscii(std::string_view text);

}  // namespace pellacore
