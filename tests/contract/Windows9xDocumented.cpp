// Windows 98 and Me where they differ from 2000 and XP, and Wine, which is XP-like, cannot show it: each
// case runs on the in-memory Windows alone, in a world of those releases, and is written against what
// the documentation says. The page each case follows is named above it.
//
// WINDOWS9X_CASE(Windows9x_WhatItShows) { ... } adds one: it runs after the world has become a Windows
// 98 or Me, and checks through the platform calls alone, as every contract case does.
#include <cstring>
#include <string>

#include "platform/Com.h"
#include "platform/Kernel.h"
#include "platform/Registry.h"
#include "platform/Security.h"
#include "platform/Shell.h"
#include "platform/SystemModule.h"
#include "platform/sim/World.h"
#include "tests/contract/Contract.h"
#include "tests/contract/ContractHost.h"

#define WINDOWS9X_CASE(name)                                                                      \
    static void CONTRACT_CONCAT(Windows9xCase_, name)();                                          \
    static void CONTRACT_CONCAT(ContractCase_, name)() {                                          \
        ::platform::sim::TheWorld().UseWindows9x();                                               \
        CONTRACT_CONCAT(Windows9xCase_, name)();                                                  \
    }                                                                                             \
    static const ::contract::Registration CONTRACT_CONCAT(ContractRegistration_, name)(           \
        #name, &CONTRACT_CONCAT(ContractCase_, name), 0, ::contract::Reach::Windows9xDocumented); \
    static void CONTRACT_CONCAT(Windows9xCase_, name)()

using namespace platform;

namespace {

constexpr DWORD ERROR_CALL_NOT_IMPLEMENTED = 120;

std::string Folder(UINT (*call)(LPSTR, UINT)) {
    char path[MAX_PATH];
    const UINT length = call(path, sizeof path);
    REQUIRE(length > 0 && length < sizeof path);
    return path;
}

// A name of `item` in `folder` and the form the folder answered it in.
struct Name {
    UINT form;
    std::string text;
};

Name NameOf(IShellFolder& folder, LPCITEMIDLIST item, SHGDNF flags) {
    STRRET answer{};
    answer.uType = 99;
    REQUIRE(SUCCEEDED(folder.GetDisplayNameOf(item, flags, &answer)));
    switch (answer.uType) {
        case STRRET_CSTR:
            return {answer.uType, answer.cStr};
        case STRRET_OFFSET:
            return {answer.uType, reinterpret_cast<const char*>(item) + answer.uOffset};
        case STRRET_WSTR:
            CoTaskMemFree(answer.pOleStr);
            return {answer.uType, "(wide)"};
        default:
            return {answer.uType, "(no answer)"};
    }
}

}  // namespace

// GetSystemDirectoryA function: on Windows 98 and Me the system folder is SYSTEM below the Windows
// folder, and the system's modules are loaded from there.
WINDOWS9X_CASE(Windows9x_SystemFolderIsSystemBelowTheWindowsFolder) {
    CHECK_EQ(Folder(GetSystemDirectoryA), Folder(GetWindowsDirectoryA) + "\\SYSTEM");
    const HMODULE shell32 = LoadSystemModule("shell32.dll");
    CHECK(shell32 != nullptr);
    FreeLibrary(shell32);
}

// GetTempPath function (Platform SDK of April 2000): on Windows 95 and 98 the folder that TMP names,
// else the one TEMP names, each only when it is there, else the current folder.
WINDOWS9X_CASE(Windows9x_TemporaryFolderIsTmpOrTempWhereThereElseTheCurrentFolder) {
    const auto temporary = [](LPSTR buffer, UINT size) -> UINT { return GetTempPathA(size, buffer); };
    const std::string scratch = std::string(contract::kScratchFolder) + "\\";
    auto& environment = sim::TheWorld().environment;
    environment = {{"TMP", scratch}, {"TEMP", "C:\\WINDOWS"}};
    CHECK_EQ(Folder(temporary), scratch);
    environment["TMP"] = "C:\\gone";
    CHECK_EQ(Folder(temporary), "C:\\WINDOWS\\");
    environment["TEMP"] = "C:\\gone too";
    contract::UseCurrentFolder(contract::kScratchFolder);
    CHECK_EQ(Folder(temporary), scratch);
}

// OpenProcessToken function, LookupPrivilegeValueA function, AdjustTokenPrivileges function: Windows 98
// and Me have no access tokens.
WINDOWS9X_CASE(Windows9x_TokenCallsAreNotImplemented) {
    HANDLE token = nullptr;
    SetLastError(0);
    CHECK(!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    CHECK_EQ(GetLastError(), ERROR_CALL_NOT_IMPLEMENTED);
    CHECK(token == nullptr);
    LUID luid{};
    SetLastError(0);
    CHECK(!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &luid));
    CHECK_EQ(GetLastError(), ERROR_CALL_NOT_IMPLEMENTED);
    TOKEN_PRIVILEGES privileges{1, {{luid, SE_PRIVILEGE_ENABLED}}};
    SetLastError(0);
    CHECK(!AdjustTokenPrivileges(token, 0, &privileges, 0, nullptr, nullptr));
    CHECK_EQ(GetLastError(), ERROR_CALL_NOT_IMPLEMENTED);
}

// ExitWindowsEx function: on Windows 98 and Me a reboot needs no privilege.
WINDOWS9X_CASE(Windows9x_RebootNeedsNoPrivilege) {
    CHECK(ExitWindowsEx(EWX_REBOOT, 0));
}

// CheckTokenMembership function: it came with Windows 2000; the advapi32.dll of 98 and Me lacks it, and
// the group-membership calls cannot be bound.
WINDOWS9X_CASE(Windows9x_AdvapiLacksCheckTokenMembership) {
    const HMODULE advapi32 = LoadSystemModule("advapi32.dll");
    REQUIRE(advapi32 != nullptr);
    CHECK(GetProcAddress(advapi32, "CheckTokenMembership") == nullptr);
    CHECK_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    CHECK(GetProcAddress(advapi32, "AllocateAndInitializeSid") != nullptr);
    FreeLibrary(advapi32);
    CHECK(!LoadGroupMembership());
    CHECK_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
}

// RegOpenKeyExA function: Windows 98 and Me keep no security on keys, so the access asked for is not
// checked, and a key opened for reading takes a value.
WINDOWS9X_CASE(Windows9x_RegistryChecksNoAccess) {
    const std::string path = std::string(contract::kScratchKey) + "\\Locked";
    sim::TheWorld().registry.CreateKey(HKEY_CURRENT_USER, path).refuseFullAccess = true;
    HKEY key = nullptr;
    REQUIRE(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS);
    CHECK_EQ(RegCloseKey(key), ERROR_SUCCESS);
    REQUIRE(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS);
    const BYTE one[] = {'1', 0};
    CHECK_EQ(RegSetValueExA(key, "Value", 0, REG_SZ, one, sizeof one), ERROR_SUCCESS);
    CHECK_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

// STRRET structure, IShellFolder::GetDisplayNameOf: the shell of Windows 98 and Me is ANSI. A folder's
// item answers its own name as an offset into its ID bytes, and a name not kept there (the path, the
// drive's label) as characters; never a wide string.
WINDOWS9X_CASE(Windows9x_ShellAnswersNamesInAnsi) {
    contract::MakeFile(std::string(contract::kScratchFolder) + "\\Sub Folder\\file.txt", "x");
    ComPtr<IShellFolder> desktop;
    REQUIRE(SHGetDesktopFolder(desktop.put()) == S_OK);
    std::u16string scratch(u"C:\\cvcontract\\Sub Folder");
    LPITEMIDLIST sub = nullptr;
    REQUIRE(desktop->ParseDisplayName(nullptr, nullptr, scratch.data(), nullptr, &sub, nullptr) == S_OK);
    const Name inFolder = NameOf(*desktop, sub, SHGDN_INFOLDER);
    CHECK_EQ(inFolder.form, STRRET_OFFSET);
    CHECK_EQ(inFolder.text, "Sub Folder");
    const Name parsing = NameOf(*desktop, sub, SHGDN_FORPARSING);
    CHECK_EQ(parsing.form, STRRET_CSTR);
    CHECK_EQ(parsing.text, "C:\\cvcontract\\Sub Folder");
    CoTaskMemFree(sub);

    LPITEMIDLIST drives = nullptr;
    REQUIRE(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives) == S_OK);
    ComPtr<IShellFolder> myComputer;
    REQUIRE(desktop->BindToObject(drives, nullptr, IID_IShellFolder,
                                  reinterpret_cast<void**>(myComputer.put())) == S_OK);
    CoTaskMemFree(drives);
    std::u16string root(u"C:\\");
    LPITEMIDLIST drive = nullptr;
    REQUIRE(myComputer->ParseDisplayName(nullptr, nullptr, root.data(), nullptr, &drive, nullptr) == S_OK);
    const Name label = NameOf(*myComputer, drive, SHGDN_NORMAL);
    CHECK_EQ(label.form, STRRET_CSTR);
    CHECK(label.text.ends_with("(C:)"));
    CoTaskMemFree(drive);
}

// CreateMutex function, in the Platform SDK of Windows 98 and Me: a name "can contain any character
// except the backslash path-separator character"; those releases have no namespaces.
WINDOWS9X_CASE(Windows9x_AMutexNameHoldsNoBackslash) {
    CHECK(CreateMutexA(nullptr, 0, "Global\\cvcontract mutex") == nullptr);
    CHECK_EQ(GetLastError(), ERROR_INVALID_NAME);
    const HANDLE plain = CreateMutexA(nullptr, 0, "cvcontract mutex");
    CHECK(plain != nullptr);
    CHECK(CloseHandle(plain));
}
