#pragma once
// What the soak compares before and after a run: every file under the
// folders the run could touch, with its size and time of last change.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace pellacore::soak {

struct FileState {
  std::uint64_t size = 0;
  std::uint64_t written = 0;  // time of last change, in the system's units
  bool operator==(const FileState&) const = default;
};

// Paths (any case) to their state.
using FileSnapshot = std::map<std::wstring, FileState>;

// One line per file that appeared, went or changed, except those in
// `allowed` (compared without regard to ASCII case).
std::vector<std::wstring> ChangedFiles(const FileSnapshot& before, const FileSnapshot& after,
                                       const std::vector<std::wstring>& allowed);

}  // namespace pellacore::soak
