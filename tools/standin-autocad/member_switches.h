#pragma once
// What the switches make a member do once its call has been logged, before
// its own work: end the process (CrashIn), never return (HangIn), take its
// time (DelayMs), or show a modal question first (DialogIn), the ways a
// real AutoCAD fails a batch run.

#include <string_view>

#include "tools/standin-autocad/instance_state.h"
#include "tools/standin-autocad/server_config.h"

namespace pellacore::standin {

// Whether the fault switches act in this instance: always, unless OnlyFor
// names a drawing the instance has not been asked to open.
bool FaultsActHere(const Config& config, const InstanceState& instance);

// `member` is the canonical name. Returns only when the member may go on.
void ApplyMemberSwitches(const Config& config, std::wstring_view member, InstanceState& instance);

}  // namespace pellacore::standin
