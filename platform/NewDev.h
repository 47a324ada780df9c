// The Plug and Play driver update of newdev.dll. The module is not one of Windows' known modules, so it
// is loaded at run time from the system folder (platform/SystemModule.h).
#pragma once

#include "platform/Types.h"

namespace platform {

inline constexpr DWORD INSTALLFLAG_FORCE = 0x01;

// Loads newdev.dll and takes both driver-update entry points from it: FALSE, with the reason as the
// last error (ERROR_PROC_NOT_FOUND for a missing entry point), when they cannot be had. Unbound, the
// update below fails with that reason.
BOOL LoadNewDev();

BOOL UpdateDriverForPlugAndPlayDevicesA(HWND parent, LPCSTR hardwareId, LPCSTR fullInfPath,
                                        DWORD installFlags, BOOL* rebootRequired);

}  // namespace platform
