#pragma once
// Resource identifiers of pellacore.exe.

#define IDI_APPLICATION_ICON 1
