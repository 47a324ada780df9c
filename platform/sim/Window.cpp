// The window manager's default answers in the in-memory Windows, as Windows gives them: a window lets
// the session end, and answers 0 to any other message that nobody handles; and the user32.dll of the
// system folder, with the entry point that only Windows XP has.
#include "platform/Window.h"

#include "platform/sim/World.h"

namespace platform {

LRESULT DefWindowProcA(HWND /*window*/, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return message == WM_QUERYENDSESSION ? 1 : 0;
}

namespace user32_dll {

void CV_WINAPI DisableProcessWindowsGhosting() {
    sim::TheWorld().Trace("DisableProcessWindowsGhosting");
    sim::TheWorld().windowsGhosted = false;
}

}  // namespace user32_dll

void sim::World::InstallUser32() {
    Module user32;
    user32.Add("DisableProcessWindowsGhosting", &user32_dll::DisableProcessWindowsGhosting);
    modules[SystemPath("user32.dll")] = std::move(user32);
}

}  // namespace platform
