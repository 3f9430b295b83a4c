#pragma once
// The program's picture files, made from the grids in art.h.

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace pellacore::icons {

inline constexpr std::string_view kAppIconFile = "pellacore.ico";
inline constexpr std::string_view kHandCursorFile = "HAND-M.CUR";
inline constexpr std::string_view kDragIconFile = "drag.ico";

// The contents of each file.
std::vector<std::uint8_t> AppIcon();
std::vector<std::uint8_t> HandCursor();
std::vector<std::uint8_t> DragIcon();

// Writes the three files into the folder, which must exist, replacing them.
// Throws std::runtime_error when a file cannot be written.
void WriteAllIcons(const std::filesystem::path& dir);

}  // namespace pellacore::icons
