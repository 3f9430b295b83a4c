#include "tools/standin-autocad/member_switches.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "tools/standin-autocad/call_log.h"
#include "tools/standin-autocad/member_delays.h"
#include "tools/standin-autocad/modal_question.h"

namespace pellacore::standin {

namespace {

// What AutoCAD asks when a drawing uses fonts it cannot find (FONTALT unset).
constexpr wchar_t kMissingFontQuestion[] =
    L"Missing SHX Files\n\n"
    L"One or more SHX font files used in this drawing are missing.\n\n"
    L"Press OK to ignore the missing files and continue.";

}  // namespace

bool FaultsActHere(const Config& config, const InstanceState& instance) {
  return config.onlyFor.empty() ||
         std::any_of(instance.askedToOpen.begin(), instance.askedToOpen.end(),
                     [&](const std::wstring& path) { return EqualsIgnoringCase(path, config.onlyFor); });
}

void ApplyMemberSwitches(const Config& config, std::wstring_view member, InstanceState& instance) {
  const std::wstring name(member);
  if (!FaultsActHere(config, instance)) return;
  if (EqualsIgnoringCase(config.crashIn, member)) {
    Log(config, L"server crash in " + name);
    ::TerminateProcess(::GetCurrentProcess(), 3);
  }
  if (EqualsIgnoringCase(config.hangIn, member)) {
    Log(config, L"server hang in " + name);
    // The instance's one thread never comes back: nothing else is answered,
    // and its windows stop responding.
    for (;;) ::Sleep(INFINITE);
  }
  // Busy without pumping messages, as a long command is.
  if (const unsigned long delay = MemberDelay(config.delayMs, member); delay > 0) ::Sleep(delay);
  if (EqualsIgnoringCase(config.dialogIn, member)) {
    Log(config, L"dialog shown in " + name);
    AskModal(instance, kMissingFontQuestion, MB_OK | MB_ICONWARNING);
  }
}

}  // namespace pellacore::standin
