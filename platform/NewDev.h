// The Plug and Play driver update of newdev.dll, taken from the module at run time.
#pragma once

#include "platform/Types.h"

namespace platform {

inline constexpr DWORD INSTALLFLAG_FORCE = 0x01;

using UpdateDriverForPlugAndPlayDevicesAProc = BOOL(CV_WINAPI*)(HWND parent, LPCSTR hardwareId,
                                                                LPCSTR fullInfPath, DWORD installFlags,
                                                                BOOL* rebootRequired);

}  // namespace platform
