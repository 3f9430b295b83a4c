#pragma once
// The files under a run's folders, read under Windows.

#include <string>
#include <vector>

#include "tools/soak/file_snapshot.h"

namespace pellacore::soak {

// Every file under each folder, recursively (a folder that is not there adds nothing).
FileSnapshot SnapshotOf(const std::vector<std::wstring>& folders);

}  // namespace pellacore::soak
