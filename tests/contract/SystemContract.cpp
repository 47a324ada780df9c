// The Windows folders and the program's own path with buffers of every size, the system's texts for the
// errors the program reports, and modules loaded by full path.
#include <cctype>
#include <cstring>
#include <string>
#include <utility>

#include "platform/Kernel.h"
#include "platform/NewDev.h"
#include "platform/Process.h"
#include "platform/Security.h"
#include "platform/Shell.h"
#include "platform/SystemModule.h"
#include "tests/contract/Contract.h"
#include "tests/contract/ContractHost.h"

using namespace platform;

namespace {

using FolderCall = UINT (*)(LPSTR, UINT);

std::string Folder(FolderCall call) {
    char path[MAX_PATH];
    const UINT length = call(path, sizeof path);
    REQUIRE(length > 0 && length < sizeof path);
    CHECK_EQ(std::strlen(path), length);
    return path;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// A buffer too small by one answers the size needed, zero included, and writes nothing; an exact one
// takes the path.
void CheckFolderBuffers(FolderCall call) {
    const std::string path = Folder(call);
    const auto length = static_cast<UINT>(path.size());
    char buffer[MAX_PATH];
    std::memset(buffer, 'x', sizeof buffer);
    CHECK_EQ(call(buffer, length), length + 1);
    CHECK_EQ(buffer[0], 'x');
    CHECK_EQ(call(nullptr, 0), length + 1);
    CHECK_EQ(call(buffer, length + 1), length);
    CHECK_EQ(std::string(buffer), path);
}

std::string ProgramPath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    REQUIRE(length > 0 && length < sizeof path);
    CHECK_EQ(std::strlen(path), length);
    return path;
}

HMODULE LoadFromSystemFolder(const char* name) {
    const std::string path = Folder(GetSystemDirectoryA) + "\\" + name;
    const HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    REQUIRE(module != nullptr);
    return module;
}

constexpr DWORD ERROR_CRC = 23;

// The errors whose system text the program prints after a failed step, or shows for a driver file that
// cannot be read or copied.
constexpr DWORD kReportedErrors[] = {
    ERROR_FILE_NOT_FOUND,      ERROR_PATH_NOT_FOUND,       ERROR_ACCESS_DENIED, ERROR_INVALID_HANDLE,
    ERROR_NOT_READY,           ERROR_INVALID_DATA,         ERROR_CRC,           ERROR_INVALID_PARAMETER,
    ERROR_INSUFFICIENT_BUFFER, ERROR_FILENAME_EXCED_RANGE, ERROR_NO_MORE_ITEMS};

struct SystemText {
    DWORD error;
    std::string text;
};

std::string TextOf(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0x400, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) {
        return "(none)";
    }
    std::string answer(text);
    CHECK_EQ(answer.size(), length);
    CHECK(LocalFree(text) == nullptr);
    return answer;
}

}  // namespace

CONTRACT_CASE(Folders_WindowsAndSystemFoldersAreFoldersOnDriveC) {
    const std::string windows = Folder(GetWindowsDirectoryA);
    const std::string system = Folder(GetSystemDirectoryA);
    CHECK_EQ(Lower(windows.substr(0, 3)), "c:\\");
    CHECK(windows.back() != '\\');
    CHECK_EQ(Lower(system.substr(0, windows.size() + 1)), Lower(windows + "\\"));
    CHECK((GetFileAttributesA(windows.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);
    CHECK((GetFileAttributesA(system.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);
}

CONTRACT_CASE(Folders_WindowsFolderWithShortAndExactBuffers) {
    CheckFolderBuffers(GetWindowsDirectoryA);
}

CONTRACT_CASE(Folders_SystemFolderWithShortAndExactBuffers) {
    CheckFolderBuffers(GetSystemDirectoryA);
}

UINT TemporaryFolder(LPSTR buffer, UINT size) {
    return GetTempPathA(size, buffer);
}

// Where no folder is given to it, the temporary folder is a folder on a drive and ends in a backslash,
// and is answered as the Windows folder is.
CONTRACT_CASE(Folders_TemporaryFolderEndsInABackslash) {
    const std::string temporary = Folder(TemporaryFolder);
    CHECK_EQ(temporary.substr(1, 2), ":\\");
    CHECK_EQ(temporary.back(), '\\');
    const DWORD attributes = GetFileAttributesA(temporary.c_str());
    CHECK(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    CheckFolderBuffers(TemporaryFolder);
}

// A copy of the program finds another by its named mutex: made again, the name opens the mutex that is
// there with ERROR_ALREADY_EXISTS; once every handle to it is closed, the next one is made anew.
CONTRACT_CASE(Mutex_ANameMadeAgainIsThereAlready) {
    constexpr const char* kName = "Global\\cvcontract mutex";
    const HANDLE first = CreateMutexA(nullptr, 0, kName);
    REQUIRE(first != nullptr);
    CHECK_EQ(GetLastError(), 0u);
    const HANDLE second = CreateMutexA(nullptr, 0, kName);
    CHECK(second != nullptr);
    CHECK_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    CHECK(CloseHandle(second));
    CHECK(CloseHandle(first));
    const HANDLE again = CreateMutexA(nullptr, 0, kName);
    CHECK_EQ(GetLastError(), 0u);
    CHECK(CloseHandle(again));
}

CONTRACT_CASE(Module_ProgramPathNamesAnExistingProgram) {
    const std::string path = ProgramPath();
    CHECK_EQ(Lower(path.substr(path.size() - 4)), ".exe");
    CHECK(path.find('\\') != std::string::npos);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    CHECK(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0);
}

// A path that does not fit is cut to the buffer's size without a terminating zero, and the answer is the
// buffer's size: the caller sees the cut by the answer alone.
CONTRACT_CASE(Module_ProgramPathInShortBuffers) {
    const std::string path = ProgramPath();
    const auto length = static_cast<DWORD>(path.size());
    for (const DWORD size : {length, DWORD{5}, DWORD{1}}) {
        char buffer[MAX_PATH];
        std::memset(buffer, 'x', sizeof buffer);
        CHECK_EQ(GetModuleFileNameA(nullptr, buffer, size), size);
        CHECK_EQ(std::string(buffer, size), path.substr(0, size));
        CHECK_EQ(buffer[size], 'x');
    }
    char untouched = 'x';
    CHECK_EQ(GetModuleFileNameA(nullptr, &untouched, 0), 0);
    CHECK_EQ(untouched, 'x');
}

CONTRACT_CASE(Module_ProgramPathInAShortBufferLeavesTheLastError) {
    char buffer[8];
    SetLastError(0);
    CHECK_EQ(GetModuleFileNameA(nullptr, buffer, sizeof buffer), sizeof buffer);
    CHECK_EQ(GetLastError(), 0);
}

CONTRACT_CASE(FormatMessage_ReportedErrorsHaveATextEndingInALineBreak) {
    for (const DWORD error : kReportedErrors) {
        const std::string text = TextOf(error);
        CHECK(text.size() > 2 && text.compare(text.size() - 2, 2, "\r\n") == 0);
    }
}

CONTRACT_CASE(FormatMessage_TextsAreWindowsOwnWords) {
    const SystemText texts[] = {
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
        {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
        {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
        {ERROR_NOT_READY, "The device is not ready.\r\n"},
        {ERROR_INVALID_DATA, "The data is invalid.\r\n"},
        {ERROR_CRC, "Data error (cyclic redundancy check).\r\n"},
        {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
        {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small.\r\n"},
        {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long.\r\n"},
        {ERROR_NO_MORE_ITEMS, "No more data is available.\r\n"},
    };
    for (const auto& expected : texts) {
        CHECK_EQ(TextOf(expected.error), expected.text);
    }
}

CONTRACT_CASE(FormatMessage_UnknownCodeHasNoText) {
    char* text = nullptr;
    CHECK_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, 0x2A0F,
                            0x400, reinterpret_cast<LPSTR>(&text), 0, nullptr),
             0);
    CHECK_EQ(GetLastError(), 317);  // ERROR_MR_MID_NOT_FOUND
}

CONTRACT_CASE(Modules_NewdevByFullPathHasTheDriverUpdate) {
    const HMODULE newdev = LoadFromSystemFolder("newdev.dll");
    CHECK(GetProcAddress(newdev, "UpdateDriverForPlugAndPlayDevicesA") != nullptr);
    CHECK(GetProcAddress(newdev, "UpdateDriverForPlugAndPlayDevicesW") != nullptr);
    CHECK(FreeLibrary(newdev));
}

CONTRACT_CASE(Modules_SystemModuleIsTheSystemFoldersAndHasTheNotificationOrdinals) {
    const HMODULE bySystemModule = LoadSystemModule("shell32.dll");
    REQUIRE(bySystemModule != nullptr);
    const HMODULE byPath = LoadFromSystemFolder("shell32.dll");
    CHECK(bySystemModule == byPath);
    CHECK(GetProcAddress(byPath, MAKEINTRESOURCEA(SHCHANGENOTIFYREGISTER_ORDINAL)) != nullptr);
    CHECK(GetProcAddress(byPath, MAKEINTRESOURCEA(SHCHANGENOTIFYDEREGISTER_ORDINAL)) != nullptr);
    FreeLibrary(byPath);
    FreeLibrary(bySystemModule);
}

CONTRACT_CASE(Modules_MissingModuleAnswersModNotFound) {
    const std::string path = Folder(GetSystemDirectoryA) + "\\cvmissing.dll";
    CHECK(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH) == nullptr);
    CHECK_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    CHECK(LoadSystemModule("cvmissing.dll") == nullptr);
    CHECK_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

CONTRACT_CASE(Modules_MissingEntryPointAnswersProcNotFound) {
    const HMODULE newdev = LoadFromSystemFolder("newdev.dll");
    CHECK(GetProcAddress(newdev, "UpdateDriverForPlugAndPlayDevicesX") == nullptr);
    CHECK_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    CHECK(GetProcAddress(newdev, MAKEINTRESOURCEA(999)) == nullptr);
    CHECK_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    FreeLibrary(newdev);
}

CONTRACT_CASE(Modules_ErrorModeAnswersThePreviousOne) {
    const UINT before = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    CHECK_EQ(SetErrorMode(before), SEM_NOOPENFILEERRORBOX);
}

// The user of each side is an administrator: the token holds the Administrators group, and not a group
// that nobody is put in.
CONTRACT_CASE(Security_TokenHoldsTheAdministratorsGroup) {
    REQUIRE(LoadGroupMembership());
    constexpr DWORD DOMAIN_ALIAS_RID_REPLICATOR = 0x228;
    for (const auto& [alias, held] :
         {std::pair{DOMAIN_ALIAS_RID_ADMINS, 1}, std::pair{DOMAIN_ALIAS_RID_REPLICATOR, 0}}) {
        PSID group = nullptr;
        REQUIRE(AllocateAndInitializeSid(&SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID, alias, 0, 0,
                                         0, 0, 0, 0, &group));
        BOOL member = 7;
        CHECK(CheckTokenMembership(nullptr, group, &member));
        CHECK_EQ(member, held);
        CHECK(FreeSid(group) == nullptr);
    }
}

// "AdjustTokenPrivileges function": the token must have been opened with TOKEN_ADJUST_PRIVILEGES.
CONTRACT_CASE(Security_APrivilegeIsAdjustedOnlyThroughATokenOpenedToAdjustIt) {
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    REQUIRE(LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid));
    for (const auto& [access, adjusted] :
         {std::pair{TOKEN_QUERY, 0}, std::pair{TOKEN_ADJUST_PRIVILEGES, 1}}) {
        HANDLE token = nullptr;
        REQUIRE(OpenProcessToken(GetCurrentProcess(), access, &token));
        CHECK_EQ(AdjustTokenPrivileges(token, 0, &privileges, 0, nullptr, nullptr), adjusted);
        CHECK_EQ(GetLastError(), adjusted ? 0u : ERROR_ACCESS_DENIED);
        CloseHandle(token);
    }
}
