#include "win32/skin_component.h"

#include <fstream>
#include <sstream>
#include <string_view>

#include "util/failure.h"
#include "win32/unique_resource.h"
#include "win32/win32_failure.h"

namespace pellacore::win32 {
namespace {

std::wstring Trim(const std::wstring& text) {
  const std::size_t first = text.find_first_not_of(L" \t\r");
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t\r") - first + 1);
}

std::optional<COLORREF> ParseColour(const std::wstring& value) {
  if (value.size() != 7 || value[0] != L'#') return std::nullopt;
  unsigned long rgb = 0;
  for (std::size_t i = 1; i < 7; ++i) {
    const wchar_t c = value[i];
    int digit = -1;
    if (c >= L'0' && c <= L'9') digit = c - L'0';
    if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
    if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
    if (digit < 0) return std::nullopt;
    rgb = rgb * 16 + static_cast<unsigned long>(digit);
  }
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

std::wstring ReadSkinFile(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw FileSystemFailure(::GetLastError());
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
    if (bytes.size() > 65536) break;  // a skin file is a few lines
  }
  // Editors that save UTF-8 may put its byte-order mark first.
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  if (bytes.compare(0, kUtf8Mark.size(), kUtf8Mark) == 0) bytes.erase(0, kUtf8Mark.size());
  return std::wstring(bytes.begin(), bytes.end());
}

UINT ApplySkinMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"Pellacore.ApplySkin");
  return message;
}

SkinColours ParseSkin(const std::wstring& text, const std::wstring& section) {
  SkinColours colours;
  std::wistringstream lines(text);
  std::wstring line;
  std::wstring current;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    line = Trim(line);
    if (line.empty() || line[0] == L';') continue;
    if (line.front() == L'[' && line.back() == L']') {
      current = line.substr(1, line.size() - 2);
      continue;
    }
    if (current != section) continue;
    const std::size_t equals = line.find(L'=');
    const std::optional<COLORREF> colour =
        equals == std::wstring::npos ? std::nullopt : ParseColour(Trim(line.substr(equals + 1)));
    const std::wstring name = equals == std::wstring::npos ? L"" : Trim(line.substr(0, equals));
    if (!colour || (name != L"Face" && name != L"Text" && name != L"Button")) {
      throw Failure(failure_number::kInvalidArgument,
                    L"The skin file has no valid colour on line " + std::to_wstring(number));
    }
    (name == L"Face" ? colours.face : name == L"Text" ? colours.text : colours.button) = colour;
  }
  return colours;
}

void Win32SkinFramework::LoadSkin(const std::wstring& path, const std::wstring& section) {
  SkinColours loaded = ParseSkin(ReadSkinFile(path), section);
  loaded.frames = colours_.frames;
  loaded.buttons = colours_.buttons;
  colours_ = loaded;
}

void Win32SkinFramework::ApplyWindow(std::int32_t windowHandle) {
  HWND window = reinterpret_cast<HWND>(static_cast<std::intptr_t>(windowHandle));
  if (!::IsWindow(window)) throw SystemFailure(ERROR_INVALID_WINDOW_HANDLE);
  SkinColours applied = colours_;
  applied.allControls = (options_ & skin_option::kAllControls) != 0;
  ::SendMessageW(window, ApplySkinMessage(), 0, reinterpret_cast<LPARAM>(&applied));
}

}  // namespace pellacore::win32
