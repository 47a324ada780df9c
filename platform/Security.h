// The process's access token, its privileges, and the request to shut Windows down.
#pragma once

#include "platform/Kernel.h"
#include "platform/Types.h"

namespace platform {

struct LUID {
    DWORD LowPart;
    LONG HighPart;
};

struct LUID_AND_ATTRIBUTES {
    LUID Luid;
    DWORD Attributes;
};

struct TOKEN_PRIVILEGES {
    DWORD PrivilegeCount;
    LUID_AND_ATTRIBUTES Privileges[1];
};

inline constexpr DWORD TOKEN_QUERY = 0x0008;
inline constexpr DWORD TOKEN_ADJUST_PRIVILEGES = 0x0020;
inline constexpr DWORD SE_PRIVILEGE_ENABLED = 0x00000002;
inline constexpr DWORD ERROR_NOT_ALL_ASSIGNED = 1300;
inline constexpr UINT EWX_REBOOT = 0x00000002;

HANDLE GetCurrentProcess();
BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token);
BOOL LookupPrivilegeValueA(LPCSTR systemName, LPCSTR name, LUID* luid);
BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* newState, DWORD bufferLength,
                           TOKEN_PRIVILEGES* previousState, DWORD* returnLength);
BOOL ExitWindowsEx(UINT flags, DWORD reason);

// Whether the process's token holds a group, on Windows 2000 and later: installing a driver there is
// for the Administrators group. Windows 98 and Me lack CheckTokenMembership, so the three calls are
// taken from the system folder's advapi32.dll at run time (platform/SystemModule.h).
using PSID = void*;

struct SID_IDENTIFIER_AUTHORITY {
    BYTE Value[6];
};

inline constexpr SID_IDENTIFIER_AUTHORITY SECURITY_NT_AUTHORITY{{0, 0, 0, 0, 0, 5}};
inline constexpr DWORD SECURITY_BUILTIN_DOMAIN_RID = 0x20;
inline constexpr DWORD DOMAIN_ALIAS_RID_ADMINS = 0x220;

// Loads advapi32.dll and takes the three calls below from it: FALSE, with the reason as the last error
// (ERROR_PROC_NOT_FOUND for a missing entry point), when they cannot be had. Unbound, each call fails
// with that reason.
BOOL LoadGroupMembership();

// A group's security identifier, made of up to eight relative identifiers; freed with FreeSid.
BOOL AllocateAndInitializeSid(const SID_IDENTIFIER_AUTHORITY* authority, BYTE subAuthorityCount,
                              DWORD subAuthority0, DWORD subAuthority1, DWORD subAuthority2,
                              DWORD subAuthority3, DWORD subAuthority4, DWORD subAuthority5,
                              DWORD subAuthority6, DWORD subAuthority7, PSID* sid);
// Whether the token (the calling thread's own when null) holds the group enabled, not merely for
// denying access.
BOOL CheckTokenMembership(HANDLE token, PSID sid, BOOL* isMember);
PSID FreeSid(PSID sid);

}  // namespace platform
