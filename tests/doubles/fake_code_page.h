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
};

}  // namespace pellacore::testing
