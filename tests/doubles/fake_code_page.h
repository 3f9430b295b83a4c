#pragma once
// A single-byte code page like Latin-1: every character below 256 is its own
// code, none above has one. Tests take codes away from characters below 256
// and give codes to characters above.

#include <map>
#include <optional>
#include <set>

#include "platform/code_page.h"

namespace pellacore::testing {

class FakeCodePage : public CodePage {
 public:
  std::set<wchar_t> withoutCode;                // characters below 256 that have none
  std::map<wchar_t, unsigned char> extraCodes;  // characters from 256 up that have one

  std::optional<unsigned char> SingleByteCode(wchar_t character) override {
    if (static_cast<unsigned long>(character) < 256) {
      if (withoutCode.count(character)) return std::nullopt;
      return static_cast<unsigned char>(character);
    }
    auto code = extraCodes.find(character);
    if (code == extraCodes.end()) return std::nullopt;
    return code->second;
  }
  // Double-byte characters: tests give these a two-byte code.
  std::map<wchar_t, std::string> doubleByteCodes;
  std::string ToAnsi(const std::wstring& text) override {
    std::string bytes;
    for (const wchar_t character : text) {
      if (auto wide = doubleByteCodes.find(character); wide != doubleByteCodes.end()) {
        bytes += wide->second;
      } else if (auto code = SingleByteCode(character)) {
        bytes += static_cast<char>(*code);
      } else {
        bytes += '?';
      }
    }
    return bytes;
  }
};

}  // namespace pellacore::testing
