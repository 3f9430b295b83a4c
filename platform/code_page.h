#pragma once
// Port: the system's single-byte (ANSI) code page.

#include <optional>
#include <string>

namespace pellacore {

class CodePage {
 public:
  virtual ~CodePage() = default;

  // The character's code in the system code page, or nullopt when it has no
  // single-byte code there (no mapping, or a double-byte code).
  virtual std::optional<unsigned char> SingleByteCode(wchar_t character) = 0;
  // The text in the system code page by the platform's usual rules (a
  // character without a code becomes its look-alike or the default one).
  virtual std::string ToAnsi(const std::wstring& text) = 0;
};

}  // namespace pellacore
