// The access token and shutdown of the in-memory Windows.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/Kernel.h"
#include "platform/Security.h"
#include "platform/sim/World.h"

namespace platform {

namespace {

HANDLE const kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
HANDLE const kToken = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7070));
constexpr DWORD kShutdownLuid = 19;  // the number Windows gives the shutdown privilege
constexpr DWORD ERROR_CALL_NOT_IMPLEMENTED = 120;

// Windows 98 and Me have the token calls, but none of them does anything.
bool TokenCallsMissing() {
    if (sim::TheWorld().tokenCalls) {
        return false;
    }
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return true;
}

}  // namespace

HANDLE GetCurrentProcess() {
    return kCurrentProcess;
}

BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token) {
    auto& world = sim::TheWorld();
    world.Trace("OpenProcessToken " + std::to_string(desiredAccess));
    if (TokenCallsMissing()) {
        return 0;
    }
    if (process != kCurrentProcess || !world.tokenOpens) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    ++world.openTokens;
    world.tokenAccess = desiredAccess;
    *token = kToken;
    return 1;
}

BOOL LookupPrivilegeValueA(LPCSTR systemName, LPCSTR name, LUID* luid) {
    auto& world = sim::TheWorld();
    world.Trace(std::string("LookupPrivilegeValueA ") + (name ? name : ""));
    if (TokenCallsMissing()) {
        return 0;
    }
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
    if (TokenCallsMissing()) {
        return 0;
    }
    if (token != kToken || disableAll || newState == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // "The handle must have TOKEN_ADJUST_PRIVILEGES access", and TOKEN_QUERY for the state before.
    if ((world.tokenAccess & TOKEN_ADJUST_PRIVILEGES) == 0 ||
        (previousState != nullptr && (world.tokenAccess & TOKEN_QUERY) == 0)) {
        SetLastError(ERROR_ACCESS_DENIED);
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

// A file that CreateFileA opened, or the access token.
BOOL CloseHandle(HANDLE handle) {
    auto& world = sim::TheWorld();
    if (world.fileHandles.erase(reinterpret_cast<std::uintptr_t>(handle)) == 1 ||
        world.mutexHandles.erase(reinterpret_cast<std::uintptr_t>(handle)) == 1) {
        return 1;
    }
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
    if (!world.exitWindowsSucceeds || (world.shutdownNeedsPrivilege && !world.shutdownPrivilegeEnabled)) {
        SetLastError(1314);  // ERROR_PRIVILEGE_NOT_HELD, or a refusal
        return 0;
    }
    ++world.restartsBegun;
    return 1;
}

// The group-membership entry points of the system folder's advapi32.dll.
namespace advapi32_dll {

constexpr DWORD ERROR_INVALID_SID = 1337;

BOOL CV_WINAPI AllocateAndInitializeSid(const SID_IDENTIFIER_AUTHORITY* authority, BYTE subAuthorityCount,
                                        DWORD subAuthority0, DWORD subAuthority1, DWORD subAuthority2,
                                        DWORD subAuthority3, DWORD subAuthority4, DWORD subAuthority5,
                                        DWORD subAuthority6, DWORD subAuthority7, PSID* sid) {
    auto& world = sim::TheWorld();
    if (authority == nullptr || sid == nullptr || subAuthorityCount == 0 || subAuthorityCount > 8) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::vector<DWORD> all{subAuthority0, subAuthority1, subAuthority2, subAuthority3,
                                 subAuthority4, subAuthority5, subAuthority6, subAuthority7};
    sim::World::Sid made{};
    std::copy(std::begin(authority->Value), std::end(authority->Value), made.authority.begin());
    made.subAuthorities.assign(all.begin(), all.begin() + subAuthorityCount);
    const auto address = world.nextSid;
    world.nextSid += 0x10;
    world.sids[address] = made;
    *sid = reinterpret_cast<PSID>(address);
    return 1;
}

bool IsAdministrators(const sim::World::Sid& sid) {
    const std::array<BYTE, 6> nt{0, 0, 0, 0, 0, 5};
    return sid.authority == nt &&
           sid.subAuthorities == std::vector<DWORD>{SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS};
}

// The token holds no group but Administrators, and that one only for an administrator.
BOOL CV_WINAPI CheckTokenMembership(HANDLE token, PSID sid, BOOL* isMember) {
    auto& world = sim::TheWorld();
    world.Trace("CheckTokenMembership");
    const auto found = world.sids.find(reinterpret_cast<std::uintptr_t>(sid));
    if (found == world.sids.end()) {
        SetLastError(ERROR_INVALID_SID);
        return 0;
    }
    if ((token != nullptr && token != kToken) || isMember == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (world.tokenMembershipError != 0) {
        SetLastError(world.tokenMembershipError);
        return 0;
    }
    *isMember = world.administrator && IsAdministrators(found->second);
    return 1;
}

PSID CV_WINAPI FreeSid(PSID sid) {
    return sim::TheWorld().sids.erase(reinterpret_cast<std::uintptr_t>(sid)) == 1 ? nullptr : sid;
}

}  // namespace advapi32_dll

void sim::World::InstallAdvapi32(bool withCheckTokenMembership) {
    Module advapi32;
    advapi32.Add("AllocateAndInitializeSid", &advapi32_dll::AllocateAndInitializeSid);
    if (withCheckTokenMembership) {
        advapi32.Add("CheckTokenMembership", &advapi32_dll::CheckTokenMembership);
    }
    advapi32.Add("FreeSid", &advapi32_dll::FreeSid);
    modules[SystemPath("advapi32.dll")] = std::move(advapi32);
}

}  // namespace platform
