// The kernel services of the in-memory Windows: last error, message texts, folders, modules, files.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/Kernel.h"
#include "platform/sim/World.h"

namespace platform {

namespace {

sim::World& World() {
    return sim::TheWorld();
}

// The folder's path into the buffer, as the Windows folder calls answer.
UINT AnswerFolder(const std::string& folder, LPSTR buffer, UINT size) {
    if (folder.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    const auto length = static_cast<UINT>(folder.size());
    if (length >= size) {
        return length + 1;
    }
    std::memcpy(buffer, folder.c_str(), length + 1);
    return length;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// A network path is there when it names a share of a computer of the network, as a whole; what lies
// inside a share is not kept.
DWORD NetworkShareAttributes(const std::string& path) {
    const auto rest = std::string_view(path).substr(2);
    const auto slash = rest.find('\\');
    if (slash != std::string_view::npos) {
        auto share = rest.substr(slash + 1);
        if (share.ends_with('\\')) {
            share.remove_suffix(1);
        }
        for (const auto& computer : World().shell.network) {
            if (sim::EqualsIgnoreCase(computer.name, rest.substr(0, slash))) {
                for (const auto& name : computer.shares) {
                    if (sim::EqualsIgnoreCase(name, share)) {
                        return FILE_ATTRIBUTE_DIRECTORY;
                    }
                }
            }
        }
    }
    SetLastError(ERROR_BAD_NETPATH);
    return INVALID_FILE_ATTRIBUTES;
}

// Why nothing is at a path: its folder is there and the entry is not, or the folder is not there either.
DWORD MissingEntryError(const std::string& path) {
    const bool folderThere =
        World().files.IsDirectory(sim::FileSystem::ParentOf(sim::FileSystem::Normalize(path)));
    return folderThere ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

}  // namespace

// The entry points of the system folder's newdev.dll, as the program calls them through the module.
namespace newdev_dll {

BOOL CV_WINAPI UpdateDriverForPlugAndPlayDevicesA(HWND /*parent*/, LPCSTR hardwareId, LPCSTR fullInfPath,
                                                  DWORD installFlags, BOOL* rebootRequired) {
    auto& world = World();
    world.Trace(std::string("UpdateDriverForPlugAndPlayDevicesA ") + hardwareId + " " + fullInfPath);
    world.driverUpdates.push_back(sim::DriverUpdate{hardwareId, fullInfPath, installFlags});
    if (world.driverUpdateError != 0 &&
        static_cast<int>(world.driverUpdates.size()) > world.driverUpdateFailsAfter) {
        SetLastError(world.driverUpdateError);
        return 0;
    }
    for (auto& device : world.devices) {
        if (device.present && !device.removed) {
            device.installedInf = fullInfPath;
        }
    }
    if (rebootRequired != nullptr) {
        *rebootRequired = 0;
    }
    return 1;
}

// Stands for the wide-character entry point, which the program only ever looks up.
BOOL CV_WINAPI UpdateDriverForPlugAndPlayDevicesW(HWND, const wchar_t*, const wchar_t*, DWORD, BOOL*) {
    std::abort();
}

}  // namespace newdev_dll

DWORD GetLastError() {
    return World().lastError;
}

void SetLastError(DWORD error) {
    World().lastError = error;
}

DWORD FormatMessageA(DWORD flags, const void* /*source*/, DWORD messageId, DWORD /*languageId*/, LPSTR buffer,
                     DWORD /*size*/, void* /*arguments*/) {
    auto& world = World();
    const auto found = world.messageTexts.find(messageId);
    if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) == 0 ||
        found == world.messageTexts.end()) {
        SetLastError(317);  // ERROR_MR_MID_NOT_FOUND
        return 0;
    }
    auto* text = static_cast<char*>(std::malloc(found->second.size() + 1));
    std::memcpy(text, found->second.c_str(), found->second.size() + 1);
    *reinterpret_cast<char**>(buffer) = text;
    ++world.localAllocations;
    return static_cast<DWORD>(found->second.size());
}

void* LocalFree(void* memory) {
    if (memory != nullptr) {
        std::free(memory);
        --World().localAllocations;
    }
    return nullptr;
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    return AnswerFolder(World().windowsDirectory, buffer, size);
}

UINT GetSystemDirectoryA(LPSTR buffer, UINT size) {
    auto& world = World();
    if (world.systemDirectoryFails && world.systemDirectory.size() < size) {
        // What a failed call leaves in the buffer is undefined: here the folder that a caller who went on
        // regardless would then use, so that such a caller is seen to.
        std::memcpy(buffer, world.systemDirectory.c_str(), world.systemDirectory.size() + 1);
    }
    return AnswerFolder(world.systemDirectoryFails ? std::string() : world.systemDirectory, buffer, size);
}

// A bare name is looked for in the program's folder first, as Windows does for every module that is
// not one of its known modules; with a path, only there.
HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE /*file*/, DWORD flags) {
    auto& world = World();
    world.Trace(std::string("LoadLibraryExA ") + fileName + " " + std::to_string(flags));
    std::string name(fileName);
    std::vector<std::string> candidates{name};
    if (name.find('\\') == std::string::npos) {
        candidates = {FolderOf(world.programPath) + "\\" + name, world.systemDirectory + "\\" + name,
                      world.windowsDirectory + "\\" + name};
    }
    for (const auto& candidate : candidates) {
        auto found = world.modules.find(sim::FileSystem::Normalize(candidate));
        if (found != world.modules.end()) {
            world.loadedModules.push_back(found->first);
            return reinterpret_cast<HMODULE>(&found->second);
        }
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    const auto* loaded = reinterpret_cast<const sim::Module*>(module);
    // An entry point taken by ordinal is listed as "#" and its number.
    const std::string name = IS_INTRESOURCE(procName)
                                 ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(procName))
                                 : std::string(procName);
    auto found = loaded->entryPoints.find(name);
    if (found == loaded->entryPoints.end()) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return found->second;
}

BOOL FreeLibrary(HMODULE module) {
    auto& world = World();
    for (auto& [path, loaded] : world.modules) {
        if (reinterpret_cast<HMODULE>(&loaded) == module) {
            world.Trace("FreeLibrary " + path);
            world.freedModules.push_back(path);
            return 1;
        }
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}

UINT SetErrorMode(UINT mode) {
    auto& world = World();
    world.Trace("SetErrorMode " + std::to_string(mode));
    return std::exchange(world.errorMode, mode);
}

HANDLE FindFirstFileA(LPCSTR fileName, WIN32_FIND_DATAA* findData) {
    auto& world = World();
    const auto path = world.Resolve(fileName);
    world.Trace("FindFirstFileA " + path);
    const auto* entry = world.files.Find(path);
    if (entry == nullptr) {
        SetLastError(MissingEntryError(path));
        return INVALID_HANDLE_VALUE;
    }
    *findData = WIN32_FIND_DATAA{};
    findData->dwFileAttributes =
        entry->directory ? FILE_ATTRIBUTE_DIRECTORY : 0x20;  // or FILE_ATTRIBUTE_ARCHIVE
    findData->nFileSizeLow = static_cast<DWORD>(entry->content.size());
    const auto name = entry->path.substr(entry->path.find_last_of("\\/") + 1);
    std::snprintf(findData->cFileName, sizeof findData->cFileName, "%s", name.c_str());
    ++world.openFinds;
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0xF1D0 + world.openFinds));
}

BOOL FindClose(HANDLE findFile) {
    if (findFile == INVALID_HANDLE_VALUE || findFile == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    --World().openFinds;
    return 1;
}

DWORD GetFileAttributesA(LPCSTR fileName) {
    auto& world = World();
    const auto path = world.Resolve(fileName);
    world.Trace("GetFileAttributesA " + path);
    if (path.starts_with("\\\\")) {
        return NetworkShareAttributes(path);
    }
    const auto* entry = world.files.Find(path);
    if (entry == nullptr) {
        SetLastError(MissingEntryError(path));
        return INVALID_FILE_ATTRIBUTES;
    }
    return entry->directory ? FILE_ATTRIBUTE_DIRECTORY : 0x20;  // or FILE_ATTRIBUTE_ARCHIVE
}

BOOL MoveFileA(LPCSTR existingFileName, LPCSTR newFileName) {
    auto& world = World();
    world.Trace(std::string("MoveFileA ") + existingFileName + " " + newFileName);
    const auto* entry = world.files.Find(existingFileName);
    if (entry == nullptr) {
        SetLastError(MissingEntryError(existingFileName));
        return 0;
    }
    if (world.files.Exists(newFileName)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return 0;
    }
    if (!world.files.IsDirectory(sim::FileSystem::ParentOf(sim::FileSystem::Normalize(newFileName)))) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    const auto content = entry->content;
    world.files.Remove(existingFileName);
    world.files.AddFile(newFileName, content);
    return 1;
}

BOOL DeleteFileA(LPCSTR fileName) {
    auto& world = World();
    world.Trace(std::string("DeleteFileA ") + fileName);
    const auto* entry = world.files.Find(fileName);
    if (entry == nullptr) {
        SetLastError(MissingEntryError(fileName));
        return 0;
    }
    if (entry->directory) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    world.files.Remove(fileName);
    return 1;
}

BOOL CreateDirectoryA(LPCSTR pathName, void* /*securityAttributes*/) {
    auto& world = World();
    world.Trace(std::string("CreateDirectoryA ") + pathName);
    if (world.files.Exists(pathName)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return 0;
    }
    if (!world.files.IsDirectory(sim::FileSystem::ParentOf(sim::FileSystem::Normalize(pathName)))) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    world.files.AddDirectory(pathName);
    return 1;
}

void sim::World::InstallNewdev(bool withAnsiEntry, bool withWideEntry) {
    Module newdev;
    if (withAnsiEntry) {
        newdev.entryPoints["UpdateDriverForPlugAndPlayDevicesA"] =
            reinterpret_cast<FARPROC>(&newdev_dll::UpdateDriverForPlugAndPlayDevicesA);
    }
    if (withWideEntry) {
        newdev.entryPoints["UpdateDriverForPlugAndPlayDevicesW"] =
            reinterpret_cast<FARPROC>(&newdev_dll::UpdateDriverForPlugAndPlayDevicesW);
    }
    modules.erase(sim::FileSystem::Normalize(NewdevPath()));
    if (withAnsiEntry || withWideEntry) {
        modules[sim::FileSystem::Normalize(NewdevPath())] = std::move(newdev);
    }
}

}  // namespace platform
