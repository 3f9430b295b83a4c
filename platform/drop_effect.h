#pragma once
// The effects of a drag and drop: what a source allows and what the target
// takes. The values are the platform's own.

#include <cstdint>

namespace pellacore::drop_effect {

inline constexpr std::uint32_t kNone = 0x0;
inline constexpr std::uint32_t kCopy = 0x1;
inline constexpr std::uint32_t kMove = 0x2;
inline constexpr std::uint32_t kLink = 0x4;

}  // namespace pellacore::drop_effect
