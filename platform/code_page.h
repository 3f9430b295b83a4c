#pragma once
// Port: the system's single-byte (ANSI) code page.

#include <optional>

namespace pellacore {

class CodePage {
 public:
  virtual ~CodePage() = default;

  // The character's code in the system code page, or nullopt when it has no
  // single-byte code there (no mapping, or a double-byte code).
  virtual std::optional<unsigned char> SingleByteCode(wchar_t character) = 0;
};

}  // namespace pellacore
