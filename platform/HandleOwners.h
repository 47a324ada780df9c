// One owner for each kind of handle, and for the security identifier, that the program must give back:
// the owner gives it back when it goes, on every way out of the function that took it.
#pragma once

#include <memory>
#include <type_traits>

#include "platform/Kernel.h"
#include "platform/Registry.h"
#include "platform/Security.h"
#include "platform/SetupApi.h"

namespace platform {

// Closes a handle with `Close`, leaving the last error as it was: a function reports the error of its
// own last step, never one of the clean-up after it.
template <auto Close>
struct CloseKeepingLastError {
    template <class Handle>
    void operator()(Handle handle) const {
        const DWORD error = GetLastError();
        Close(handle);
        SetLastError(error);
    }
};

template <class Handle, auto Close>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, CloseKeepingLastError<Close>>;

using OwnedKey = Owned<HKEY, &RegCloseKey>;
using OwnedDeviceInfoSet = Owned<HDEVINFO, &SetupDiDestroyDeviceInfoList>;
using OwnedHandle = Owned<HANDLE, &CloseHandle>;
using OwnedSid = Owned<PSID, &FreeSid>;

}  // namespace platform
