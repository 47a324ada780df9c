// Kernel services on the real API: the thread's last error, the system's message texts, the Windows
// folders, modules and files.
#include "platform/Kernel.h"

#include <windows.h>

namespace platform {

// Our find and time records are handed to Windows as they stand: CopiedConstants.cpp checks that they
// are Windows' own.

DWORD GetLastError() {
    return ::GetLastError();
}

void SetLastError(DWORD error) {
    ::SetLastError(error);
}

DWORD FormatMessageA(DWORD flags, const void* source, DWORD messageId, DWORD languageId, LPSTR buffer,
                     DWORD size, void* arguments) {
    return ::FormatMessageA(flags, source, messageId, languageId, buffer, size,
                            static_cast<va_list*>(arguments));
}

void* LocalFree(void* memory) {
    return ::LocalFree(memory);
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    return ::GetWindowsDirectoryA(buffer, size);
}

UINT GetSystemDirectoryA(LPSTR buffer, UINT size) {
    return ::GetSystemDirectoryA(buffer, size);
}

DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
    return ::GetTempPathA(bufferLength, buffer);
}

HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE file, DWORD flags) {
    return reinterpret_cast<HMODULE>(::LoadLibraryExA(fileName, reinterpret_cast<::HANDLE>(file), flags));
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    return reinterpret_cast<FARPROC>(::GetProcAddress(reinterpret_cast<::HMODULE>(module), procName));
}

BOOL FreeLibrary(HMODULE module) {
    return ::FreeLibrary(reinterpret_cast<::HMODULE>(module));
}

UINT SetErrorMode(UINT mode) {
    return ::SetErrorMode(mode);
}

DWORD GetFileAttributesA(LPCSTR fileName) {
    return ::GetFileAttributesA(fileName);
}

int CompareStringA(DWORD locale, DWORD cmpFlags, LPCSTR string1, int count1, LPCSTR string2, int count2) {
    return ::CompareStringA(locale, cmpFlags, string1, count1, string2, count2);
}

HANDLE FindFirstFileA(LPCSTR fileName, WIN32_FIND_DATAA* findData) {
    return reinterpret_cast<HANDLE>(
        ::FindFirstFileA(fileName, reinterpret_cast<::WIN32_FIND_DATAA*>(findData)));
}

BOOL FindClose(HANDLE findFile) {
    return ::FindClose(reinterpret_cast<::HANDLE>(findFile));
}

DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart) {
    return ::GetFullPathNameA(fileName, bufferLength, buffer, filePart);
}

HANDLE CreateMutexA(void* mutexAttributes, BOOL initialOwner, LPCSTR name) {
    return reinterpret_cast<HANDLE>(
        ::CreateMutexA(static_cast<LPSECURITY_ATTRIBUTES>(mutexAttributes), initialOwner, name));
}

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
    return reinterpret_cast<HANDLE>(::CreateFileA(
        fileName, desiredAccess, shareMode, static_cast<::LPSECURITY_ATTRIBUTES>(securityAttributes),
        creationDisposition, flagsAndAttributes, reinterpret_cast<::HANDLE>(templateFile)));
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, void* overlapped) {
    return ::ReadFile(reinterpret_cast<::HANDLE>(file), buffer, size, reinterpret_cast<::DWORD*>(read),
                      static_cast<::LPOVERLAPPED>(overlapped));
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, void* overlapped) {
    return ::WriteFile(reinterpret_cast<::HANDLE>(file), buffer, size, reinterpret_cast<::DWORD*>(written),
                       static_cast<::LPOVERLAPPED>(overlapped));
}

DWORD GetFileSize(HANDLE file, DWORD* sizeHigh) {
    return ::GetFileSize(reinterpret_cast<::HANDLE>(file), reinterpret_cast<::DWORD*>(sizeHigh));
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod) {
    return ::SetFilePointer(reinterpret_cast<::HANDLE>(file), distance,
                            reinterpret_cast<::LONG*>(distanceHigh), moveMethod);
}

BOOL MoveFileA(LPCSTR existingFileName, LPCSTR newFileName) {
    return ::MoveFileA(existingFileName, newFileName);
}

BOOL SetFileAttributesA(LPCSTR fileName, DWORD fileAttributes) {
    return ::SetFileAttributesA(fileName, fileAttributes);
}

BOOL CopyFileA(LPCSTR existingFileName, LPCSTR newFileName, BOOL failIfExists) {
    return ::CopyFileA(existingFileName, newFileName, failIfExists);
}

BOOL RemoveDirectoryA(LPCSTR pathName) {
    return ::RemoveDirectoryA(pathName);
}

BOOL DeleteFileA(LPCSTR fileName) {
    return ::DeleteFileA(fileName);
}

BOOL CreateDirectoryA(LPCSTR pathName, void* securityAttributes) {
    return ::CreateDirectoryA(pathName, static_cast<::LPSECURITY_ATTRIBUTES>(securityAttributes));
}

void GetLocalTime(SYSTEMTIME* systemTime) {
    ::GetLocalTime(reinterpret_cast<::SYSTEMTIME*>(systemTime));
}

}  // namespace platform
