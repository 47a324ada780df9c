// The in-memory Windows: everything the program can see of the system it runs on, set up by a test,
// changed by the program through the platform calls, and read back by the test.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"
#include "platform/sim/Shell.h"

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
};

// Files and folders with Windows' path rules: drive letters, backslashes (slashes accepted), doubled
// separators collapsed, names compared ignoring case.
class FileSystem {
  public:
    void AddDrive(char letter);
    void AddFile(std::string_view path, std::string_view content);
    void AddDirectory(std::string_view path);  // and every missing parent
    bool Exists(std::string_view path) const;
    bool IsDirectory(std::string_view path) const;
    std::optional<std::string> Read(std::string_view path) const;
    bool Remove(std::string_view path);

    const FileEntry* Find(std::string_view path) const;
    static std::string Normalize(std::string_view path);  // the lookup key of a path
    static std::string ParentOf(std::string_view normalizedPath);

  private:
    std::map<std::string, FileEntry> entries_;
};

class World {
  public:
    Registry registry;
    FileSystem files;
    ShellNamespace shell;

    std::string programPath = "C:\\cvdisk\\cvfir.exe";
    DWORD lastError = 0;

    HRESULT coInitializeResult = S_OK;
    int comInitCount = 0;  // CoInitialize calls that succeeded, less CoUninitialize calls
    int coInitializeCalls = 0;

    // The access token and the shutdown request.
    bool tokenOpens = true;
    bool privilegeKnown = true;     // LookupPrivilegeValueA finds "SeShutdownPrivilege"
    bool privilegeAssigned = true;  // the user holds the shutdown privilege
    bool shutdownPrivilegeEnabled = false;
    int openTokens = 0;
    bool exitWindowsSucceeds = true;
    std::vector<UINT> exitWindowsRequests;  // the flags of every ExitWindowsEx call

    std::string standardOutput;  // everything the program printed
    int openFiles = 0;           // C run-time files the program has open

    // Every platform call that changes or probes the system, in order, one line each, for tests
    // that pin down the order of steps.
    std::vector<std::string> calls;
    void Trace(std::string line) { calls.push_back(std::move(line)); }
};

World& TheWorld();
// Replaces the world with a fresh one: drive C: and the program at C:\cvdisk\cvfir.exe.
World& ResetWorld();

}  // namespace platform::sim
