#include "tools/soak/file_snapshot.h"

#include "util/text.h"

namespace pellacore::soak {

std::vector<std::wstring> ChangedFiles(const FileSnapshot& before, const FileSnapshot& after,
                                       const std::vector<std::wstring>& allowed) {
  std::set<std::wstring> expected;
  for (const std::wstring& path : allowed) expected.insert(LowerAscii(path));
  std::vector<std::wstring> changes;
  for (const auto& [path, state] : after) {
    if (expected.count(LowerAscii(path))) continue;
    const auto old = before.find(path);
    if (old == before.end()) changes.push_back(L"new: " + path);
    else if (!(old->second == state)) changes.push_back(L"changed: " + path);
  }
  for (const auto& [path, state] : before) {
    if (!after.count(path) && !expected.count(LowerAscii(path))) changes.push_back(L"gone: " + path);
  }
  return changes;
}

}  // namespace pellacore::soak
