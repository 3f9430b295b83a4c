#include "convert/output_names.h"

#include "platform/file_system.h"
#include "util/failure.h"

namespace pellacore {
namespace {

// Whether anything at all, file or folder, has this name.
bool NameTaken(FileSystem& fs, const std::wstring& path) {
  try {
    fs.Attributes(path);
    return true;
  } catch (const Failure&) {
    return false;
  }
}

}  // namespace

std::vector<std::wstring> SplitAt(std::wstring_view text, wchar_t separator) {
  std::vector<std::wstring> pieces;
  std::size_t start = 0;
  for (std::size_t at = text.find(separator); at != std::wstring_view::npos;
       at = text.find(separator, start)) {
    pieces.emplace_back(text.substr(start, at - start));
    start = at + 1;
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
}

std::wstring JoinAllButLast(const std::vector<std::wstring>& pieces) {
  std::wstring joined;
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) joined += pieces[i] + L".";
  if (!joined.empty()) joined.pop_back();
  return joined;
}

std::wstring BaseNameOf(std::wstring_view sourcePath) {
  const std::wstring fileName = SplitAt(sourcePath, L'\\').back();
  const std::vector<std::wstring> pieces = SplitAt(fileName, L'.');
  return (pieces.size() > 1 ? JoinAllButLast(pieces) : fileName) + L".pdf";
}

std::wstring BitmapStemOf(std::wstring_view sourcePath) {
  const std::wstring fileName = SplitAt(sourcePath, L'\\').back();
  if (fileName.find(L'.') == std::wstring::npos) return std::wstring(sourcePath);
  return JoinAllButLast(SplitAt(sourcePath, L'.'));
}

std::wstring FreeBitmapStem(FileSystem& fs, const std::wstring& stem) {
  if (!NameTaken(fs, stem + L".bmp")) return stem;
  for (int suffix = 1;; ++suffix) {
    const std::wstring candidate = stem + L"~" + std::to_wstring(suffix);
    if (!NameTaken(fs, candidate + L".bmp")) return candidate;
  }
}

}  // namespace pellacore
