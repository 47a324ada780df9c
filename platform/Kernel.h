// Kernel services: the thread's last error and the system's texts for it, the Windows folders,
// loadable modules, and files.
#pragma once

#include <cstddef>

#include "platform/Types.h"

namespace platform {

inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

DWORD GetLastError();
void SetLastError(DWORD error);

inline constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER = 0x0100;
inline constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x0200;
inline constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x1000;

// With FORMAT_MESSAGE_ALLOCATE_BUFFER, `buffer` is really a char** that receives a text allocated by the
// system, to be freed with LocalFree. Answers the text's length, 0 when the system has no text.
DWORD FormatMessageA(DWORD flags, const void* source, DWORD messageId, DWORD languageId, LPSTR buffer,
                     DWORD size, void* arguments);
void* LocalFree(void* memory);

// Both answer the length of the folder's path; when the buffer is too small, the size needed
// (terminating zero included) and nothing written; 0 on failure.
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);
UINT GetSystemDirectoryA(LPSTR buffer, UINT size);
// Windows' folder for temporary files, ending in a backslash. Answers as the two calls above, but for
// the order of the arguments, which is Windows' own.
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer);

// Whether a path call's answer is a whole path in its buffer of `size` bytes: 0 is a failure, and a
// path that does not fit answers the size it needs (GetModuleFileNameA answers `size` itself, cut).
constexpr bool PathFits(DWORD length, std::size_t size) {
    return length != 0 && length < size;
}

// With LOAD_WITH_ALTERED_SEARCH_PATH and a full path, the module's own imports are looked for in its
// folder first instead of the program's. `file` must be null.
inline constexpr DWORD LOAD_WITH_ALTERED_SEARCH_PATH = 0x08;
HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE file, DWORD flags);
// `procName` is a name, or an ordinal made into a pointer by MAKEINTRESOURCEA.
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);

inline LPCSTR MAKEINTRESOURCEA(WORD ordinal) {
    return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(ordinal));
}
inline bool IS_INTRESOURCE(LPCSTR name) {
    return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0;
}

// The process's error mode; answers the one before. SEM_FAILCRITICALERRORS keeps Windows from showing
// its own box for a drive without a disk (the call fails with ERROR_NOT_READY instead);
// SEM_NOOPENFILEERRORBOX keeps it from asking the user about a file it cannot open (a module on a
// missing disk, say).
inline constexpr UINT SEM_FAILCRITICALERRORS = 0x0001;
inline constexpr UINT SEM_NOOPENFILEERRORBOX = 0x8000;
UINT SetErrorMode(UINT mode);

inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    char cFileName[MAX_PATH];
    char cAlternateFileName[14];
};

// The file calls that take a name (FindFirstFileA, GetFileAttributesA, CreateFileA) refuse one of more
// than MAX_PATH characters with ERROR_FILENAME_EXCED_RANGE, and fail with ERROR_NOT_READY on a drive
// without its disk, after Windows' own box unless the error mode has SEM_FAILCRITICALERRORS.

// The first directory entry that matches `fileName`; INVALID_HANDLE_VALUE when none does.
HANDLE FindFirstFileA(LPCSTR fileName, WIN32_FIND_DATAA* findData);
BOOL FindClose(HANDLE findFile);

// The entry's attributes (FILE_ATTRIBUTE_DIRECTORY, ...); INVALID_FILE_ATTRIBUTES when the path is not
// there or cannot be reached, with the reason as the last error.
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
DWORD GetFileAttributesA(LPCSTR fileName);

// Compares two texts by the rules of a locale. A length of -1 means "up to the terminating zero".
// Answers CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN; 0 on failure, with the reason as the last
// error. NORM_IGNORECASE compares letters without their case, as the locale pairs them.
using LCID = DWORD;
inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
inline constexpr DWORD NORM_IGNORECASE = 0x00000001;
inline constexpr int CSTR_LESS_THAN = 1;
inline constexpr int CSTR_EQUAL = 2;
inline constexpr int CSTR_GREATER_THAN = 3;
int CompareStringA(LCID locale, DWORD cmpFlags, LPCSTR string1, int count1, LPCSTR string2, int count2);

// A path made full against the current folder of its drive (a drive alone, "D:", is that folder), "/"
// read as "\", doubled separators as one, "." and ".." taken out. Answers the length of the full path;
// when the buffer is too small, the size needed (terminating zero included) and nothing written; 0 on
// failure, with the reason as the last error: ERROR_FILENAME_EXCED_RANGE for a name, or a full path,
// that does not fit MAX_PATH. `filePart`, when given, receives where the last name begins in `buffer`,
// or null for a path that ends in a separator.
DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart);

// A file opened, no security attributes and no template: an existing one for reading (GENERIC_READ,
// OPEN_EXISTING), or one for writing that is made when it is not there (GENERIC_WRITE, OPEN_ALWAYS; the
// last error is then ERROR_ALREADY_EXISTS when it was there, 0 when it was made). INVALID_HANDLE_VALUE on
// failure, with the reason as the last error; a folder is refused with ERROR_ACCESS_DENIED.
inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;
inline constexpr DWORD FILE_SHARE_READ = 0x00000001;
inline constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
// Reads at most `size` bytes from where the last read ended; at the end of the file, TRUE with `*read`
// 0. `overlapped` is null.
BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, void* overlapped);
// Writes `size` bytes where the file pointer is, and moves it past them. `overlapped` is null.
BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, void* overlapped);
// The file's size: the low 32 bits, the high ones into `sizeHigh` when it is not null.
// INVALID_FILE_SIZE on failure, with the reason as the last error.
inline constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);
// Moves the file pointer by `distance` from the start, where it is, or the end; answers its new place
// (the low 32 bits). INVALID_SET_FILE_POINTER on failure, with the reason as the last error.
inline constexpr DWORD FILE_BEGIN = 0;
inline constexpr DWORD FILE_CURRENT = 1;
inline constexpr DWORD FILE_END = 2;
inline constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod);
// Closes an open file, access token or mutex.
BOOL CloseHandle(HANDLE handle);

// Makes the mutex of that name, or opens it when it is there already: then the last error is
// ERROR_ALREADY_EXISTS, and ownership is not taken. No security attributes. The name is compared with
// its case. Windows 98 and Me have one namespace for every program, and their documentation allows no
// backslash in a name; 2000 and XP give each session (fast user switching) a namespace of its own and
// share the one of "Global\" names among all, where a mutex made by another user may be refused with
// ERROR_ACCESS_DENIED. Null on failure, with the reason as the last error.
HANDLE CreateMutexA(void* mutexAttributes, BOOL initialOwner, LPCSTR name);

// Sets the read-only and hidden attributes (FILE_ATTRIBUTE_NORMAL for none); a folder stays one.
BOOL SetFileAttributesA(LPCSTR fileName, DWORD fileAttributes);

// Refuses an existing target with ERROR_ALREADY_EXISTS.
BOOL MoveFileA(LPCSTR existingFileName, LPCSTR newFileName);
// Copies a file's bytes and its attributes: a copy of a read-only file is read-only. With `failIfExists`
// an existing target is refused with ERROR_FILE_EXISTS; without, it is replaced unless it is read-only
// (ERROR_ACCESS_DENIED).
BOOL CopyFileA(LPCSTR existingFileName, LPCSTR newFileName, BOOL failIfExists);
// A read-only file is refused with ERROR_ACCESS_DENIED.
BOOL DeleteFileA(LPCSTR fileName);
BOOL CreateDirectoryA(LPCSTR pathName, void* securityAttributes);
// Removes an empty folder.
BOOL RemoveDirectoryA(LPCSTR pathName);

// The date and the time of day in the computer's own time zone.
struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
void GetLocalTime(SYSTEMTIME* systemTime);

}  // namespace platform
