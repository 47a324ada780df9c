// The driver update, called through the entry points of the system folder's newdev.dll.
#include "platform/NewDev.h"

#include "platform/SystemModule.h"

namespace platform {

namespace {

// The wide entry point is never called: it is bound so that a newdev.dll without it is refused, as always.
enum Entry : std::size_t { kUpdateDriverA, kUpdateDriverW };

SystemEntries<2>& NewDev() {
    static SystemEntries<2> entries(
        "newdev.dll", {"UpdateDriverForPlugAndPlayDevicesA", "UpdateDriverForPlugAndPlayDevicesW"});
    return entries;
}

}  // namespace

BOOL LoadNewDev() {
    return NewDev().Bind();
}

BOOL UpdateDriverForPlugAndPlayDevicesA(HWND parent, LPCSTR hardwareId, LPCSTR fullInfPath,
                                        DWORD installFlags, BOOL* rebootRequired) {
    return NewDev().Call(kUpdateDriverA, BOOL{0}, parent, hardwareId, fullInfPath, installFlags,
                         rebootRequired);
}

}  // namespace platform
