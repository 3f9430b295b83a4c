#pragma once
// The stored form of the sample list: one stored character per character of
// the plain text, reversible, and never a NUL for a character that is not
// one. Characters are rotated within the BMP's non-surrogate range, so the
// stored text is valid UTF-16 whenever the plain text is.

#include <string>
#include <string_view>

namespace pellacore {

class EventPump;

// Both yield to the event loop once per character.
std::wstring EncodeSnapshot(std::wstring_view plain, EventPump& pump);
std::wstring DecodeSnapshot(std::wstring_view stored, EventPump& pump);

}  // namespace pellacore
