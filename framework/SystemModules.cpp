#include "framework/SystemModules.h"

#include <string>

#include "framework/Forms.h"
#include "platform/Kernel.h"
#include "platform/Process.h"

void RequireSystemModule(platform::BOOL loaded, const char* fileName) {
    if (loaded) {
        return;
    }
    const std::string name(fileName);
    ShowMessage(platform::GetLastError() == platform::ERROR_PROC_NOT_FOUND ? "Link " + name + " Library error"
                                                                           : "Can't Open " + name);
    platform::ExitProcess(1);
}
