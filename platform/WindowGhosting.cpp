// The window ghosting of Windows XP, turned off through user32.dll of the system folder: the program
// must run on releases whose user32.dll lacks the entry point, so it is taken at run time.
#include "platform/SystemModule.h"
#include "platform/Window.h"

namespace platform {

// Taken anew at each call, as the driver update's entry points are at each install.
void DisableProcessWindowsGhosting() {
    static SystemEntries<1> user32("user32.dll", {"DisableProcessWindowsGhosting"});
    if (user32.Bind()) {
        user32.CallBound(0);
    }
}

}  // namespace platform
