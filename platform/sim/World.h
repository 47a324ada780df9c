// The in-memory Windows: everything the program can see of the system it runs on, set up by a test,
// changed by the program through the platform calls, and read back by the test.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ExitCleanUp.h"
#include "platform/Kernel.h"
#include "platform/Types.h"
#include "platform/sim/AnsiCodePage.h"
#include "platform/sim/ShellNamespace.h"

namespace platform::sim {

// Thrown by ExitProcess. It derives from nothing that the system catches, so it unwinds straight to
// the test, which sees the exit code and the world as it was at that moment.
struct ProcessExit {
    UINT code;
};

// Orders names the way Windows compares registry and file names: ignoring the case of ASCII letters.
struct CaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

struct RegistryValue {
    DWORD type = 0;
    std::vector<BYTE> data;
};

struct RegistryKey {
    std::map<std::string, std::unique_ptr<RegistryKey>, CaseInsensitiveLess> subkeys;
    std::map<std::string, RegistryValue, CaseInsensitiveLess> values;
    bool refuseFullAccess = false;  // opening with KEY_ALL_ACCESS fails with ERROR_ACCESS_DENIED
    bool refuseWrites = false;      // the key opens, but every RegSetValueExA on it fails
};

class Registry {
public:
    RegistryKey& CreateKey(HKEY root, std::string_view path);
    RegistryKey* FindKey(HKEY root, std::string_view path);
    void DeleteKey(HKEY root, std::string_view path);

    void SetValue(HKEY root, std::string_view path, std::string_view name, DWORD type,
                  std::vector<BYTE> data);
    // Stores the text with its terminating zero, as RegSetValueExA of a string does.
    void SetString(HKEY root, std::string_view path, std::string_view name, std::string_view text,
                   DWORD type = 1 /* REG_SZ */);
    void SetDword(HKEY root, std::string_view path, std::string_view name, DWORD value);

    std::optional<RegistryValue> GetValue(HKEY root, std::string_view path, std::string_view name);
    // The text of a string value, without its terminating zero; nothing when missing or not a string.
    std::optional<std::string> GetString(HKEY root, std::string_view path, std::string_view name);

    // Handles of opened keys, as the platform calls hand them out.
    HKEY Open(RegistryKey& key, REGSAM access);
    struct OpenKey {
        RegistryKey* key;
        REGSAM access;
    };
    OpenKey* Lookup(HKEY handle);
    bool Close(HKEY handle);
    std::size_t OpenHandleCount() const { return handles_.size(); }

    RegistryKey* Root(HKEY root);

private:
    RegistryKey localMachine_;
    RegistryKey currentUser_;
    RegistryKey classesRoot_;
    std::map<std::uintptr_t, OpenKey> handles_;
    std::uintptr_t nextHandle_ = 0x1000;
};

struct FileEntry {
    std::string path;  // as it was first written, for listing
    bool directory = false;
    std::string content;
    // Reading its bytes fails with this error, as on a damaged medium, once a read reaches past the first
    // `readableBytes` (the part before the damage, which reads well).
    DWORD readError = 0;
    std::size_t readableBytes = 0;
    // FILE_ATTRIBUTE_READONLY, _HIDDEN, _ARCHIVE as SetFileAttributesA left them (a file is made
    // with the archive bit, as Windows makes it; a folder with none).
    DWORD attributes = 0x20;
    // Held open by the system, as the file of a loaded driver may be: SetupInstallFileA onto it keeps
    // the bytes for the restart (in `contentAtRestart`) and answers TRUE.
    bool inUse = false;
    std::optional<std::string> contentAtRestart = std::nullopt;
    // A folder in which no file can be made or opened for writing (ERROR_ACCESS_DENIED), as the Windows
    // folder is to a user who is not an administrator.
    bool refuseWrites = false;
};

// Files and folders with Windows' path rules: drive letters, backslashes (slashes accepted), doubled
// separators collapsed, names compared ignoring case, no name longer than 255 characters (adding one
// throws std::invalid_argument: no Windows file system holds it).
class FileSystem {
public:
    FileSystem() = default;
    FileSystem(const FileSystem&) = delete;  // the hashed index points into the ordered entries
    FileSystem& operator=(const FileSystem&) = delete;

    void AddDrive(char letter);
    // A drive whose medium can be taken out (a floppy disk, a CD), with its medium in. While the medium
    // is out nothing on the drive is found, not even its root folder, and what was on the medium comes
    // back with it.
    void AddRemovableDrive(char letter);
    void Eject(char letter);
    void Insert(char letter);
    // Whether `path` names a place on a drive whose medium is out.
    bool MediumMissing(std::string_view path) const;
    void AddFile(std::string_view path, std::string_view content);
    void AddDirectory(std::string_view path);  // and every missing parent
    bool Exists(std::string_view path) const;
    bool IsDirectory(std::string_view path) const;
    std::optional<std::string> Read(std::string_view path) const;
    bool Remove(std::string_view path);

    const FileEntry* Find(std::string_view path) const;
    FileEntry* Find(std::string_view path);
    // Visits each entry directly inside `folder`, in name order, until `visit` answers false; with an
    // empty `folder`, each drive's root.
    void ForEachChild(std::string_view folder, const std::function<bool(const FileEntry&)>& visit) const;
    static std::string Normalize(std::string_view path);  // the lookup key of a path
    static std::string ParentOf(std::string_view normalizedPath);

private:
    void Store(std::string key, FileEntry entry);

    // By lookup key: in order for listings, and hashed (over the same keys) for finding one entry.
    std::map<std::string, FileEntry> entries_;
    std::unordered_map<std::string_view, FileEntry*> index_;
    // By small letter: the drives whose medium can be taken out, and those whose medium is out.
    std::set<char> removable_;
    std::set<char> ejected_;
};

// The device setup classes the tests use: infrared devices, and network adapters.
inline constexpr GUID kInfraredClass{
    0x6BDD1FC5, 0x810F, 0x11D0, {0xBE, 0xC7, 0x08, 0x00, 0x2B, 0xE2, 0x09, 0x2F}};
inline constexpr GUID kNetClass{0x4D36E972, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

// A Plug and Play device as the device installation services see it.
struct Device {
    std::string instanceId;
    // The hardware-ID property's bytes exactly as the system answers them: a multi-string, or anything.
    std::vector<BYTE> hardwareIds;
    bool hasHardwareIds = true;       // without: reading the property fails with ERROR_INVALID_DATA
    DWORD propertyError = 0;          // reading the property fails with this error instead
    GUID classGuid = kInfraredClass;  // its device setup class
    bool present = true;
    bool removed = false;
    std::string installedInf;  // the INF whose driver the last successful update installed
};

// The hardware-ID multi-string of a list of IDs: each with its zero, and one more zero at the end.
std::vector<BYTE> MultiString(const std::vector<std::string>& ids);

// One AdjustTokenPrivileges call as it was made.
struct TokenAdjustment {
    BOOL disableAll;
    DWORD privilegeCount;
    DWORD luid;  // of the first privilege
    DWORD attributes;
    DWORD bufferLength;  // of the previous-state buffer
    bool previousState;  // a previous-state buffer was given
    bool returnLength;   // a place for the returned length was given
    bool operator==(const TokenAdjustment&) const = default;
};

// One ExitWindowsEx call as it was made.
struct ShutdownRequest {
    UINT flags;
    DWORD reserved;
    bool operator==(const ShutdownRequest&) const = default;
};

struct DriverUpdate {
    std::string hardwareId;
    std::string infPath;
    DWORD installFlags;
};

// A module that LoadLibraryExA can load. Entry points taken by ordinal are listed as "#" and the number.
struct Module {
    std::map<std::string, FARPROC> entryPoints;
    template <class Proc>
    void Add(const std::string& name, Proc* proc) {
        entryPoints[name] = reinterpret_cast<FARPROC>(proc);
    }
};

class World {
public:
    // The system's ANSI code page: Windows-1252 unless a test chooses 932, 936, 949 or 950 (any other
    // number throws std::invalid_argument). Names are kept by their characters in the code page of the
    // moment, so a test chooses it before it names anything with characters beyond ASCII.
    void UseCodePage(UINT number) { codePage_ = &AnsiCodePage::Of(number); }
    const AnsiCodePage& CodePage() const { return *codePage_; }

    Registry registry;
    FileSystem files;
    ShellNamespace shell;

    std::string programPath = "C:\\cvdisk\\cvfir.exe";
    // The current folder, on the current drive. Windows keeps one folder for each other drive too: by
    // the drive's capital letter; a drive not named here is at its root.
    std::string currentDirectory = "C:\\cvdisk";
    std::map<char, std::string> driveDirectories;
    // A path made full as GetFullPathNameA makes it: "\x" on the current drive, "x" in the current
    // folder, "D:x" in the current folder of drive D:, "/" read as "\", doubled separators as one, "."
    // left out and ".." taking out the name before it.
    std::string Resolve(const std::string& path) const;
    // The current folder of a drive, by its letter.
    std::string CurrentFolderOf(char drive) const;
    // The drives ("D:") whose missing medium made Windows show its own box, which it does unless the
    // process's error mode has SEM_FAILCRITICALERRORS, one for each call that met the drive so.
    std::vector<std::string> noDiskBoxes;
    // The full path that a file call reaches by an ANSI name, or nothing with the reason as the last
    // error: ERROR_FILENAME_EXCED_RANGE for a name of more characters than the call takes (MAX_PATH for
    // most), ERROR_NOT_READY (and a box, as above) on a drive without its medium.
    std::optional<std::string> PathToReach(const char* fileName, std::size_t longestName = MAX_PATH);
    int openFinds = 0;
    DWORD lastError = 0;

    // Files opened with CreateFileA, by their handle: for reading, the bytes as they were at the opening;
    // for writing, the file's path, whose bytes change as they are written. And where the file pointer is.
    struct OpenFile {
        std::string content;
        DWORD readError = 0;
        std::size_t readableBytes = 0;
        std::size_t position = 0;
        std::string writtenPath;  // empty for a file opened for reading
    };
    std::map<std::uintptr_t, OpenFile> fileHandles;
    std::uintptr_t nextFileHandle = 0xF1100;

    // Named mutexes, by name: how many handles other processes hold to each (a test makes one there as
    // another process would), and whether it was made in another user's session, whose mutex this one
    // may not open. The process's own handles name their mutex.
    struct NamedMutex {
        int otherHandles = 0;
        bool otherUser = false;
    };
    std::map<std::string, NamedMutex> mutexes;
    std::map<std::uintptr_t, std::string> mutexHandles;
    std::uintptr_t nextMutexHandle = 0xA1100;
    // Windows 98 and Me: one namespace for named objects, whose names take no backslash.
    bool objectNamespaces = true;

    // The Windows folders; an empty text makes the call fail.
    std::string windowsDirectory = "C:\\WINDOWS";
    // The process's environment, names compared without case, as GetTempPathA reads it: TMP and TEMP
    // name the Windows folder's TEMP unless a test says otherwise.
    std::map<std::string, std::string, CaseInsensitiveLess> environment{{"TMP", "C:\\WINDOWS\\TEMP"},
                                                                        {"TEMP", "C:\\WINDOWS\\TEMP"}};
    // The letters (upper case) of drives without free space: a write of any bytes there fails with
    // ERROR_DISK_FULL.
    std::string fullDrives;
    bool DriveFull(const std::string& path) const;
    // Why `content` cannot be written as the file `path`, or 0 when it can: no such folder, a folder or
    // a read-only or hidden file in its place (as CopyFile's documentation has it), a file the system
    // holds open, a full drive.
    DWORD WhyNotWritable(const std::string& path, const std::string& content) const;
    // Why nothing is at a path: ERROR_FILE_NOT_FOUND when its folder is there, else ERROR_PATH_NOT_FOUND.
    DWORD MissingEntryError(const std::string& path) const;
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM32";
    bool systemDirectoryFails = false;  // GetSystemDirectoryA answers 0; modules are still found there
    SYSTEMTIME localTime{2002, 10, 1, 14, 9, 30, 5, 0};  // Monday 14 October 2002, 09:30:05

    // The system's message texts, by code, as FormatMessageA gives them (with their line break).
    std::map<DWORD, std::string> messageTexts;
    int localAllocations = 0;  // texts that FormatMessageA allocated and LocalFree has not freed

    std::vector<Device> devices;
    Device& AddDevice(const std::vector<std::string>& hardwareIds);
    DWORD classDevsError = 0;  // SetupDiGetClassDevsA fails with this error
    bool removeDeviceFails = false;
    // SetupInstallFileA answers a copy it could make with FALSE and NO_ERROR and copies nothing: its
    // documentation says only that "the file copy operation was not completed".
    bool installFileNotCompleted = false;
    int openDeviceSets = 0;

    // Modules by their full path; LoadLibraryExA of a bare name looks in the program's folder, then
    // the system folder, then the Windows folder, as Windows does for a module it does not protect.
    std::map<std::string, Module, CaseInsensitiveLess> modules;
    // The lookup key of a module of the system folder.
    std::string SystemPath(const std::string& fileName) const;
    // setupapi.dll and comctl32.dll in the system folder, with the entry points the program takes;
    // setupapi.dll without the one named `leftOut`, as an older or damaged one may be.
    void InstallSetupApi(std::string_view leftOut = {});
    void InstallCommonControls();
    // newdev.dll in the system folder, with either entry point left out on request; none when both are.
    void InstallNewdev(bool withAnsiEntry = true, bool withWideEntry = true);
    std::string NewdevPath() const { return systemDirectory + "\\newdev.dll"; }
    std::vector<std::string> loadedModules;  // the lookup key of each module loaded, in order
    std::vector<std::string> freedModules;   // the lookup key of each module freed, in order
    UINT errorMode = 0;                      // the process's error mode, as SetErrorMode sets it
    // shell32.dll in the system folder, with the change-notification entry points by ordinal.
    void InstallShell32();

    // user32.dll in the system folder, with the entry point the program takes from it at run time.
    void InstallUser32();
    // Windows XP's own calls, taken out for the releases before it and offered again after: the
    // DisableProcessWindowsGhosting of user32.dll and the CMP_WaitNoPendingInstallEvents of setupapi.dll.
    // Windows 98 and Me are without them.
    void OfferCallsNewInXp(bool offered);
    // Whether Windows puts its own frame in place of the program's windows when they do not answer, as
    // XP does until DisableProcessWindowsGhosting.
    bool windowsGhosted = true;
    // What CMP_WaitNoPendingInstallEvents answers: WAIT_OBJECT_0, or WAIT_TIMEOUT for Plug and Play
    // still busy with an installation of its own.
    DWORD installEventsWait = 0;

    // What UpdateDriverForPlugAndPlayDevicesA does: succeed, or fail with this error once it has
    // succeeded `driverUpdateFailsAfter` times.
    DWORD driverUpdateError = 0;
    int driverUpdateFailsAfter = 0;
    std::vector<DriverUpdate> driverUpdates;

    HRESULT coInitializeResult = S_OK;
    int comInitCount = 0;  // CoInitialize calls that succeeded, less CoUninitialize calls
    int coInitializeCalls = 0;

    // The access token and the shutdown request. Without token calls (Windows 98 and Me), every call
    // about the token fails with ERROR_CALL_NOT_IMPLEMENTED; a reboot then needs no privilege.
    bool tokenCalls = true;
    bool shutdownNeedsPrivilege = true;
    bool tokenOpens = true;
    bool privilegeKnown = true;     // LookupPrivilegeValueA finds "SeShutdownPrivilege"
    bool privilegeAssigned = true;  // the user holds the shutdown privilege
    bool shutdownPrivilegeEnabled = false;
    int openTokens = 0;
    DWORD tokenAccess = 0;  // as the token was last opened
    std::vector<TokenAdjustment> tokenAdjustments;
    bool exitWindowsSucceeds = true;
    std::vector<ShutdownRequest> exitWindowsRequests;
    int restartsBegun = 0;  // requests that Windows took: the session then ends

    // The groups of the token: whether it holds the Administrators group, and the security identifiers
    // AllocateAndInitializeSid made that FreeSid has not freed, by the address handed out.
    bool administrator = true;
    DWORD tokenMembershipError = 0;  // CheckTokenMembership fails with this error
    struct Sid {
        std::array<BYTE, 6> authority;
        std::vector<DWORD> subAuthorities;
    };
    std::map<std::uintptr_t, Sid> sids;
    std::uintptr_t nextSid = 0x51D00;
    // advapi32.dll in the system folder with the group-membership entry points, CheckTokenMembership
    // left out on request, as Windows 98 and Me lack it.
    void InstallAdvapi32(bool withCheckTokenMembership = true);

    // What ExitProcess runs before the process ends, as the program's parts added it.
    ExitCleanUpList exitCleanUp;

    // Makes this world the Windows 98 or Me that its test names, where it differs from 2000 and XP: the
    // system folder is SYSTEM (the modules found in the old one move there), no call about the access
    // token is implemented and a reboot needs no privilege, advapi32.dll has no CheckTokenMembership,
    // registry keys have no security, and the shell answers names in ANSI.
    void UseWindows9x();
    // Makes a Windows 98 or Me world 2000- and XP-like again, as a fresh world is.
    void UseWindowsNt();
    bool Windows9x() const { return windows9x_; }
    bool registrySecurity = true;  // without: a key opens with any access asked for

    std::string standardOutput;  // everything the program printed
    int openFiles = 0;           // C run-time files the program has open

    // Every platform call that changes or probes the system, in order, one line each, for tests
    // that pin down the order of steps.
    std::vector<std::string> calls;
    // Runs at each call as it is traced, before the call acts: what a test makes happen meanwhile, as
    // the system's own dialogs do when their message loops deliver the user's clicks.
    std::function<void(const std::string& call)> onCall;
    void Trace(std::string line) {
        calls.push_back(line);
        if (onCall) {
            onCall(line);
        }
    }

    // Forgets what the world recorded so far (the calls, the modules loaded and freed, standard output,
    // the shell's journal and its parse requests) and nothing else, for runs too long to keep all of it.
    void ForgetRecords();

    // What the program was handed and has not given back, one line each ("registry: 1 open key").
    // Empty once a test has torn its windows down, and once the process has ended: Windows then takes
    // back everything the process held.
    std::vector<std::string> Outstanding() const;
    bool processEnded = false;

private:
    // Makes `folder` the system folder and moves the modules of the one before into it.
    void MoveSystemFolder(const std::string& folder);
    bool windows9x_ = false;
    std::map<std::string, FARPROC> takenOut_;  // the calls new in XP while they are taken out
    const AnsiCodePage* codePage_ = &AnsiCodePage::Of(1252);
};

World& TheWorld();
// Replaces the world with a fresh one: drive C: and the program at C:\cvdisk\cvfir.exe, the Windows
// folders (its INF folder and TEMP among them) with newdev.dll, shell32.dll, setupapi.dll and
// comctl32.dll, and the desktop folder.
World& ResetWorld();

}  // namespace platform::sim
