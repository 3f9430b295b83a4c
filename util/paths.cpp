#include "util/paths.h"

#include "util/failure.h"
#include "util/text.h"

namespace pellacore {
namespace {

constexpr std::size_t kLargestKeptPosition = 32767;

std::wstring CollapseDoubledSeparators(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    out.push_back(text[i]);
    if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'\\') ++i;
  }
  return out;
}

}  // namespace

std::wstring FolderOfPath(std::wstring_view path) {
  const std::size_t last = path.rfind(L'\\');
  if (last == std::wstring_view::npos) return {};
  if (Utf16Position(path, last) > kLargestKeptPosition) {
    throw StandardFailure(failure_number::kOverflow);
  }
  return std::wstring(path.substr(0, last + 1));
}

std::wstring FileNameOfPath(std::wstring_view path) {
  const std::size_t last = path.rfind(L'\\');
  if (last == std::wstring_view::npos) return std::wstring(path);
  return std::wstring(path.substr(last + 1));
}

std::wstring NormalizeFolderPath(std::wstring_view path) {
  if (path.empty() || path.front() != L'\\') return CollapseDoubledSeparators(path);
  const std::size_t rest = path.find_first_not_of(L'\\');
  const std::wstring_view tail =
      rest == std::wstring_view::npos ? std::wstring_view{} : path.substr(rest);
  return L"\\\\" + CollapseDoubledSeparators(tail);
}

bool IsRootPath(std::wstring_view path) {
  if (path.size() == 3 && path[1] == L':' && path[2] == L'\\') {
    const wchar_t letter = path[0];
    return (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
  }
  if (!path.starts_with(L"\\\\")) return false;
  std::wstring_view rest = path.substr(2);
  if (rest.ends_with(L'\\')) rest.remove_suffix(1);
  const std::size_t separator = rest.find(L'\\');
  if (separator == std::wstring_view::npos) return false;
  const std::wstring_view server = rest.substr(0, separator);
  const std::wstring_view share = rest.substr(separator + 1);
  // "\\?\" and "\\.\" open the system's own name spaces, not a server.
  return !server.empty() && server != L"?" && server != L"." && !share.empty() &&
         share.find(L'\\') == std::wstring_view::npos;
}

}  // namespace pellacore
