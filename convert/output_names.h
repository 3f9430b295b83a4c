#pragma once
// The names a conversion gives its files: the PDF's file name and the path
// of the bitmap exported beside the drawing.

#include <string>
#include <string_view>
#include <vector>

namespace pellacore {

class FileSystem;

// The pieces of `text` between the separators (one piece when there is none).
std::vector<std::wstring> SplitAt(std::wstring_view text, wchar_t separator);

// Every piece but the last, each followed by "."; the final "." dropped.
// Pieces {"plan", "rev2", "dwg"} give "plan.rev2".
std::wstring JoinAllButLast(const std::vector<std::wstring>& pieces);

// The drawing's file name with its last extension replaced by ".pdf":
// plan.rev2.dwg gives plan.rev2.pdf, A.DWG gives A.pdf, and a name without
// any dot keeps itself: Plan gives Plan.pdf.
std::wstring BaseNameOf(std::wstring_view sourcePath);

// The drawing's path without its last extension, the bitmap's stem:
// D:\My.Projects\Plan.rev.dwg gives D:\My.Projects\Plan.rev. A file name
// without a dot keeps the whole path, so a dot in a folder name is not taken
// for the extension.
std::wstring BitmapStemOf(std::wstring_view sourcePath);

// A stem whose bitmap (stem + ".bmp") names nothing yet: the stem itself, or
// the stem with "~1", "~2", ... appended. A file that lies there already is
// the user's, never the export's, so it must not be printed or deleted.
std::wstring FreeBitmapStem(FileSystem& fs, const std::wstring& stem);

}  // namespace pellacore
