#include "joblist/snapshot_codec.h"

#include <cstdint>

#include "platform/event_pump.h"

namespace pellacore {
namespace {

// The characters that are rotated: 1-0xD7FF and 0xE000-0xFFFF. NUL,
// surrogates and anything beyond the BMP stay as they are.
constexpr std::uint32_t kLowEnd = 0xD7FF;
constexpr std::uint32_t kRange = kLowEnd + (0xFFFF - 0xE000 + 1);
constexpr std::uint32_t kShift = 0x2F1B;

bool Rotated(std::uint32_t c) { return (c >= 1 && c <= kLowEnd) || (c >= 0xE000 && c <= 0xFFFF); }
std::uint32_t IndexOf(std::uint32_t c) { return c <= kLowEnd ? c - 1 : c - 0xE000 + kLowEnd; }
std::uint32_t CharacterAt(std::uint32_t index) {
  return index < kLowEnd ? index + 1 : index - kLowEnd + 0xE000;
}

std::wstring Rotate(std::wstring_view text, std::uint32_t shift, EventPump& pump) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    pump.HandlePending();
    const auto code = static_cast<std::uint32_t>(c);
    out.push_back(Rotated(code) ? static_cast<wchar_t>(CharacterAt((IndexOf(code) + shift) % kRange)) : c);
  }
  return out;
}

}  // namespace

std::wstring EncodeSnapshot(std::wstring_view plain, EventPump& pump) {
  return Rotate(plain, kShift, pump);
}

std::wstring DecodeSnapshot(std::wstring_view stored, EventPump& pump) {
  return Rotate(stored, kRange - kShift, pump);
}

}  // namespace pellacore
