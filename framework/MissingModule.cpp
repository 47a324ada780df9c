#include "framework/MissingModule.h"

#include "framework/ExitCodes.h"
#include "framework/Forms.h"
#include "platform/Kernel.h"
#include "platform/Process.h"

void EndIfModuleMissing(platform::BOOL loaded, const std::string& cannotOpen, const std::string& cannotLink) {
    if (loaded) {
        return;
    }
    ShowMessage(platform::GetLastError() == platform::ERROR_PROC_NOT_FOUND ? cannotLink : cannotOpen);
    platform::ExitProcess(kExitFatal);
}

void EndIfModuleMissing(platform::BOOL loaded, const char* fileName) {
    const std::string name(fileName);
    EndIfModuleMissing(loaded, "Can't Open " + name, "Link " + name + " Library error");
}
