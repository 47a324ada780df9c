// Window messages: the types of their parameters, the message numbers the program uses, and the
// default answer to a message that a window procedure does not handle.
#pragma once

#include <cstdint>

#include "platform/Types.h"

namespace platform {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_QUERYENDSESSION = 0x0011;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_USER = 0x0400;

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// From now until the process ends, Windows leaves the program's windows as they are while they do not
// answer, instead of putting a white frame of its own ("Not Responding") in their place after a few
// seconds. user32.dll has it from Windows XP on, where windows are ghosted; before, it does nothing.
void DisableProcessWindowsGhosting();

}  // namespace platform
