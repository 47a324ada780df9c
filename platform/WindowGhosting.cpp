// The window ghosting of Windows XP, turned off through user32.dll of the system folder: the program
// must run on releases whose user32.dll lacks the entry point, so it is taken at run time.
#include "platform/SystemModule.h"
#include "platform/Window.h"

namespace platform {

void DisableProcessWindowsGhosting() {
    static SystemEntries<1> user32("user32.dll", {"DisableProcessWindowsGhosting"});
    user32.CallIfThere(0);
}

}  // namespace platform
