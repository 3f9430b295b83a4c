#pragma once
// The .reg files that switch the stand-in on and off: the ProgID
// "AutoCAD.Application", its CLSID and the LocalServer32 path. Portable text
// building, so the escaping is tested natively.

#include <string>
#include <string_view>

namespace pellacore::standin {

inline constexpr std::wstring_view kProgId = L"AutoCAD.Application";
inline constexpr std::wstring_view kClsidText = L"{5930968D-5F19-415D-8DC4-4439AB19D80F}";

// "Windows Registry Editor Version 5.00" text, lines ending in CR LF.
// `exePath` is the server's Windows path; LocalServer32 gets it quoted.
std::wstring RegistrationText(std::wstring_view exePath);
std::wstring UnregistrationText();

// A string as a .reg file writes it: quoted, with \ and " escaped.
std::wstring RegString(std::wstring_view value);

}  // namespace pellacore::standin
