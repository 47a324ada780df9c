// The access token and shutdown of the in-memory Windows.
#include <cstring>

#include "platform/Kernel.h"
#include "platform/Security.h"
#include "platform/sim/World.h"

namespace platform {

namespace {

HANDLE const kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
HANDLE const kToken = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7070));
constexpr DWORD kShutdownLuid = 19;  // the number Windows gives the shutdown privilege

}  // namespace

HANDLE GetCurrentProcess() {
    return kCurrentProcess;
}

BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token) {
    auto& world = sim::TheWorld();
    world.Trace("OpenProcessToken " + std::to_string(desiredAccess));
    if (process != kCurrentProcess || !world.tokenOpens) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    ++world.openTokens;
    *token = kToken;
    return 1;
}

BOOL LookupPrivilegeValueA(LPCSTR systemName, LPCSTR name, LUID* luid) {
    auto& world = sim::TheWorld();
    world.Trace(std::string("LookupPrivilegeValueA ") + (name ? name : ""));
    if (systemName != nullptr || !world.privilegeKnown || name == nullptr ||
        std::strcmp(name, "SeShutdownPrivilege") != 0) {
        SetLastError(1313);  // ERROR_NO_SUCH_PRIVILEGE
        return 0;
    }
    *luid = LUID{kShutdownLuid, 0};
    return 1;
}

BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* newState, DWORD bufferLength,
                           TOKEN_PRIVILEGES* previousState, DWORD* returnLength) {
    auto& world = sim::TheWorld();
    world.Trace("AdjustTokenPrivileges");
    if (newState != nullptr) {
        const auto& first = newState->Privileges[0];
        world.tokenAdjustments.push_back(
            sim::TokenAdjustment{disableAll, newState->PrivilegeCount, first.Luid.LowPart, first.Attributes,
                                 bufferLength, previousState != nullptr, returnLength != nullptr});
    }
    if (token != kToken || disableAll || newState == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const auto& entry = newState->Privileges[0];
    const bool asksShutdown = newState->PrivilegeCount == 1 && entry.Luid.LowPart == kShutdownLuid &&
                              entry.Attributes == SE_PRIVILEGE_ENABLED;
    if (asksShutdown && world.privilegeAssigned) {
        world.shutdownPrivilegeEnabled = true;
        SetLastError(0);
    } else {
        SetLastError(ERROR_NOT_ALL_ASSIGNED);
    }
    return 1;
}

BOOL CloseHandle(HANDLE handle) {
    auto& world = sim::TheWorld();
    if (handle == kToken && world.openTokens > 0) {
        --world.openTokens;
        return 1;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}

BOOL ExitWindowsEx(UINT flags, DWORD reserved) {
    auto& world = sim::TheWorld();
    world.Trace("ExitWindowsEx " + std::to_string(flags));
    world.exitWindowsRequests.push_back(sim::ShutdownRequest{flags, reserved});
    if (!world.exitWindowsSucceeds || !world.shutdownPrivilegeEnabled) {
        SetLastError(1314);  // ERROR_PRIVILEGE_NOT_HELD, or a refusal
        return 0;
    }
    return 1;
}

}  // namespace platform
