// The access token and the shutdown request on the real API.
#include "platform/Security.h"

#include <windows.h>

namespace platform {

HANDLE GetCurrentProcess() {
    return reinterpret_cast<HANDLE>(::GetCurrentProcess());
}

BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token) {
    return ::OpenProcessToken(reinterpret_cast<::HANDLE>(process), desiredAccess,
                              reinterpret_cast<::HANDLE*>(token));
}

BOOL LookupPrivilegeValueA(LPCSTR systemName, LPCSTR name, LUID* luid) {
    return ::LookupPrivilegeValueA(systemName, name, reinterpret_cast<::LUID*>(luid));
}

BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* newState, DWORD bufferLength,
                           TOKEN_PRIVILEGES* previousState, DWORD* returnLength) {
    return ::AdjustTokenPrivileges(reinterpret_cast<::HANDLE>(token), disableAll,
                                   reinterpret_cast<::TOKEN_PRIVILEGES*>(newState), bufferLength,
                                   reinterpret_cast<::TOKEN_PRIVILEGES*>(previousState),
                                   reinterpret_cast<::DWORD*>(returnLength));
}

BOOL CloseHandle(HANDLE handle) {
    return ::CloseHandle(reinterpret_cast<::HANDLE>(handle));
}

BOOL ExitWindowsEx(UINT flags, DWORD reason) {
    return ::ExitWindowsEx(flags, reason);
}

}  // namespace platform
