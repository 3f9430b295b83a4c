#pragma once
// The optional skin: when the skin file "x\o.cjs" lies beside the program,
// the window takes the button-face colour and the skin component styles it.

#include <string>

namespace pellacore {

class FileSystem;
class MainWindow;
class SkinFramework;

// The skin file of a program folder (given without a trailing "\").
std::wstring SkinFilePath(const std::wstring& programFolder);

void ApplySkin(MainWindow& window, SkinFramework& skin, FileSystem& fs,
               const std::wstring& programFolder);

}  // namespace pellacore
