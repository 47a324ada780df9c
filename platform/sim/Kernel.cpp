// The kernel services of the in-memory Windows: last error, message texts, folders, modules, files.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/AsciiCase.h"
#include "platform/CharacterScan.h"
#include "platform/Folders.h"
#include "platform/Kernel.h"
#include "platform/sim/World.h"

namespace platform {

namespace {

sim::World& World() {
    return sim::TheWorld();
}

// A path into the buffer, as the calls that answer one do: its length, or the size needed and nothing
// written.
UINT AnswerPath(const std::string& path, LPSTR buffer, UINT size) {
    const auto length = static_cast<UINT>(path.size());
    if (length >= size) {
        return length + 1;
    }
    std::memcpy(buffer, path.c_str(), length + 1);
    return length;
}

// The folder's path into the buffer, as the Windows folder calls answer.
UINT AnswerFolder(const std::string& folder, LPSTR buffer, UINT size) {
    if (folder.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    return AnswerPath(folder, buffer, size);
}

std::string FolderOf(const std::string& path) {
    const auto slash = FindLastCharacter(path, "\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// A network path is there when it names a share of a computer of the network, as a whole; what lies
// inside a share is not kept.
DWORD NetworkShareAttributes(const std::string& path) {
    const auto rest = std::string_view(path).substr(2);
    const auto slash = FindFirstCharacter(rest, "\\");
    if (slash != std::string_view::npos) {
        auto share = rest.substr(slash + 1);
        if (EndsWithCharacter(std::string(share), '\\')) {
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

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += CharacterSize(text, at)) {
        ++count;
    }
    return count;
}

constexpr DWORD kAttributesKept =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | 0x04 | 0x20;  // and SYSTEM, ARCHIVE
constexpr DWORD ERROR_DIRECTORY = 267;

// The attributes of an entry as GetFileAttributesA and FindFirstFileA answer them: a file without any
// is FILE_ATTRIBUTE_NORMAL.
DWORD AttributesOf(const sim::FileEntry& entry) {
    if (entry.directory) {
        return FILE_ATTRIBUTE_DIRECTORY | entry.attributes;
    }
    return entry.attributes == 0 ? FILE_ATTRIBUTE_NORMAL : entry.attributes;
}

}  // namespace

DWORD sim::World::WhyNotWritable(const std::string& path, const std::string& content) const {
    if (!files.IsDirectory(FileSystem::ParentOf(FileSystem::Normalize(path)))) {
        return ERROR_PATH_NOT_FOUND;
    }
    if (const auto* target = files.Find(path)) {
        if (target->directory ||
            (target->attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)) != 0) {
            return ERROR_ACCESS_DENIED;
        }
        if (target->inUse) {
            return ERROR_SHARING_VIOLATION;
        }
    }
    return !content.empty() && DriveFull(path) ? ERROR_DISK_FULL : 0;
}

DWORD sim::World::MissingEntryError(const std::string& path) const {
    const bool folderThere = files.IsDirectory(FileSystem::ParentOf(FileSystem::Normalize(path)));
    return folderThere ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

bool sim::World::DriveFull(const std::string& path) const {
    return path.size() > 1 && path[1] == ':' && fullDrives.find(AsciiUpper(path[0])) != std::string::npos;
}

// An ANSI name longer than the call takes is refused before it is read. A drive without its medium
// is not ready, and Windows asks the user first in a box of its own, unless the process's error mode
// says not to.
std::optional<std::string> sim::World::PathToReach(LPCSTR fileName, std::size_t longestName) {
    if (CharacterCount(fileName) > longestName) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return std::nullopt;
    }
    auto path = Resolve(fileName);
    if (files.MediumMissing(path)) {
        if ((errorMode & SEM_FAILCRITICALERRORS) == 0) {
            noDiskBoxes.push_back(path.substr(0, 2));
        }
        SetLastError(ERROR_NOT_READY);
        return std::nullopt;
    }
    return path;
}

// The entry points of the system folder's newdev.dll, as the program calls them through the module.
namespace newdev_dll {

constexpr DWORD ERROR_NO_SUCH_DEVINST = 0xE000020B;

// The items of a comma-separated list, without the blanks around them.
std::vector<std::string_view> ListItems(std::string_view list) {
    std::vector<std::string_view> items;
    for (bool more = true; more;) {
        const auto comma = FindFirstCharacter(list, ",");
        auto item = list.substr(0, comma);
        const auto first = item.find_first_not_of(" \t\r");
        item = first == std::string_view::npos ? std::string_view{} : item.substr(first);
        item = item.substr(0, item.find_last_not_of(" \t\r") + 1);
        items.push_back(item);
        more = comma != std::string_view::npos;
        list.remove_prefix(more ? comma + 1 : list.size());
    }
    return items;
}

// Whether a model line of the INF ("description = install section, ID, ID ...") names the hardware ID.
// Windows compares IDs without case; what follows a semicolon is a comment.
bool InfNamesHardwareId(std::string_view inf, std::string_view id) {
    for (bool more = !inf.empty(); more;) {
        const auto lineEnd = FindFirstCharacter(inf, "\n");
        auto line = inf.substr(0, lineEnd);
        line = line.substr(0, FindFirstCharacter(line, ";"));
        const auto equals = FindFirstCharacter(line, "=");
        if (equals != std::string_view::npos) {
            const auto items = ListItems(line.substr(equals + 1));
            if (std::any_of(items.begin() + 1, items.end(),
                            [&](std::string_view item) { return sim::EqualsIgnoreCase(item, id); })) {
                return true;
            }
        }
        more = lineEnd != std::string_view::npos;
        inf.remove_prefix(more ? lineEnd + 1 : inf.size());
    }
    return false;
}

// Whether the device's hardware-ID list holds the ID, compared without case. A zero is never part of a
// double-byte character, so the list splits at its zeros.
bool HoldsHardwareId(const sim::Device& device, std::string_view id) {
    std::string_view list(reinterpret_cast<const char*>(device.hardwareIds.data()),
                          device.hardwareIds.size());
    while (!list.empty() && list.front() != '\0') {
        const auto end = list.find('\0');
        if (sim::EqualsIgnoreCase(list.substr(0, end), id)) {
            return true;
        }
        list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
    }
    return false;
}

// Why the update cannot install the INF's driver for the hardware ID, in the order Windows finds it
// out: its arguments, the INF, a device that matches, and a driver of the INF for that device. Zero
// when nothing stands in the way.
DWORD UpdateRefusal(LPCSTR hardwareId, LPCSTR fullInfPath) {
    auto& world = World();
    if (hardwareId == nullptr || *hardwareId == '\0' || fullInfPath == nullptr || !IsFullPath(fullInfPath)) {
        return ERROR_INVALID_PARAMETER;
    }
    const auto* inf = world.files.Find(fullInfPath);
    if (inf == nullptr || inf->directory) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (inf->readError != 0) {
        return inf->readError;
    }
    const bool matched =
        std::any_of(world.devices.begin(), world.devices.end(), [&](const sim::Device& device) {
            return device.present && !device.removed && HoldsHardwareId(device, hardwareId);
        });
    if (!matched) {
        return ERROR_NO_SUCH_DEVINST;
    }
    return InfNamesHardwareId(inf->content, hardwareId) ? 0 : ERROR_NO_MORE_ITEMS;
}

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
    if (const DWORD refusal = UpdateRefusal(hardwareId, fullInfPath); refusal != 0) {
        SetLastError(refusal);
        return 0;
    }
    for (auto& device : world.devices) {
        if (device.present && !device.removed && HoldsHardwareId(device, hardwareId)) {
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
    if (FindFirstCharacter(name, "\\") == std::string::npos) {
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
    world.Trace(std::string("FindFirstFileA ") + fileName);
    const auto path = world.PathToReach(fileName);
    if (!path) {
        return INVALID_HANDLE_VALUE;
    }
    const auto* entry = world.files.Find(*path);
    if (entry == nullptr) {
        SetLastError(world.MissingEntryError(*path));
        return INVALID_HANDLE_VALUE;
    }
    *findData = WIN32_FIND_DATAA{};
    findData->dwFileAttributes = AttributesOf(*entry);
    findData->nFileSizeLow = static_cast<DWORD>(entry->content.size());
    const auto name = entry->path.substr(FindLastCharacter(entry->path, "\\/") + 1);
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
    world.Trace(std::string("GetFileAttributesA ") + fileName);
    const auto path = world.PathToReach(fileName);
    if (!path) {
        return INVALID_FILE_ATTRIBUTES;
    }
    if (path->starts_with("\\\\")) {
        return NetworkShareAttributes(*path);
    }
    const auto* entry = world.files.Find(*path);
    if (entry == nullptr) {
        SetLastError(world.MissingEntryError(*path));
        return INVALID_FILE_ATTRIBUTES;
    }
    return AttributesOf(*entry);
}

BOOL SetFileAttributesA(LPCSTR fileName, DWORD fileAttributes) {
    auto& world = World();
    world.Trace("SetFileAttributesA " + world.Resolve(fileName) + " " + std::to_string(fileAttributes));
    const auto path = world.PathToReach(fileName);
    if (!path) {
        return 0;
    }
    auto* entry = world.files.Find(*path);
    if (entry == nullptr) {
        SetLastError(world.MissingEntryError(*path));
        return 0;
    }
    entry->attributes = fileAttributes & kAttributesKept;
    return 1;
}

// The full path's length counts against MAX_PATH with its zero, as the name's does.
DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart) {
    auto& world = World();
    world.Trace(std::string("GetFullPathNameA ") + fileName);
    if (fileName[0] == '\0') {
        SetLastError(ERROR_INVALID_NAME);
        return 0;
    }
    const auto full = CharacterCount(fileName) > MAX_PATH ? std::string() : world.Resolve(fileName);
    if (full.empty() || CharacterCount(full) >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    const UINT length = AnswerPath(full, buffer, bufferLength);
    if (filePart != nullptr && length < bufferLength) {
        // A path that ends in a separator names a folder, and has no name part.
        *filePart = EndsWithCharacter(full, '\\') ? nullptr : buffer + FindLastCharacter(full, "\\") + 1;
    }
    return length;
}

namespace {

// The folder that a file to be written lies in must be there and take writing.
DWORD WritingRefusal(const std::string& path) {
    const auto* folder = World().files.Find(sim::FileSystem::ParentOf(sim::FileSystem::Normalize(path)));
    if (folder == nullptr || !folder->directory) {
        return ERROR_PATH_NOT_FOUND;
    }
    return folder->refuseWrites ? ERROR_ACCESS_DENIED : 0;
}

HANDLE NewFileHandle(sim::World::OpenFile open) {
    auto& world = World();
    const auto handle = world.nextFileHandle;
    world.nextFileHandle += 4;
    world.fileHandles[handle] = std::move(open);
    return reinterpret_cast<HANDLE>(handle);
}

// The file that a handle stands for; none, with the last error, for a handle that is not open.
sim::World::OpenFile* OpenFileOf(HANDLE file) {
    auto& handles = World().fileHandles;
    const auto found = handles.find(reinterpret_cast<std::uintptr_t>(file));
    if (found == handles.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &found->second;
}

// The bytes of a file as they are now: as written so far, or as they were when it was opened for reading.
std::string* ContentOf(sim::World::OpenFile& open) {
    if (open.writtenPath.empty()) {
        return &open.content;
    }
    auto* entry = World().files.Find(open.writtenPath);
    return entry != nullptr ? &entry->content : nullptr;
}

}  // namespace

// The remarks of CreateMutex on Windows 98 and Me: a name "can contain any character except the
// backslash path-separator character"; what those releases do with one is not said, and is refused here.
HANDLE CreateMutexA(void* /*mutexAttributes*/, BOOL /*initialOwner*/, LPCSTR name) {
    auto& world = sim::TheWorld();
    const std::string named = name != nullptr ? name : "";
    world.Trace("CreateMutexA " + named);
    if (!world.objectNamespaces && FindFirstCharacter(named, "\\") != std::string::npos) {
        SetLastError(ERROR_INVALID_NAME);
        return nullptr;
    }
    const auto other = world.mutexes.find(named);
    if (other != world.mutexes.end() && other->second.otherUser) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    const bool there =
        !named.empty() && ((other != world.mutexes.end() && other->second.otherHandles > 0) ||
                           std::any_of(world.mutexHandles.begin(), world.mutexHandles.end(),
                                       [&](const auto& held) { return held.second == named; }));
    const std::uintptr_t handle = world.nextMutexHandle;
    world.nextMutexHandle += 4;
    world.mutexHandles[handle] = named;
    SetLastError(there ? ERROR_ALREADY_EXISTS : 0);
    return reinterpret_cast<HANDLE>(handle);
}

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD /*shareMode*/, void* securityAttributes,
                   DWORD creationDisposition, DWORD /*flagsAndAttributes*/, HANDLE templateFile) {
    auto& world = World();
    world.Trace(std::string("CreateFileA ") + fileName);
    const bool reading = desiredAccess == GENERIC_READ && creationDisposition == OPEN_EXISTING;
    const bool writing = desiredAccess == GENERIC_WRITE && creationDisposition == OPEN_ALWAYS;
    if (!(reading || writing) || securityAttributes != nullptr || templateFile != nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);  // the program reads an existing file, or appends to one
        return INVALID_HANDLE_VALUE;
    }
    const auto reached = world.PathToReach(fileName);
    if (!reached) {
        return INVALID_HANDLE_VALUE;
    }
    const std::string& path = *reached;
    const auto* entry = world.files.Find(path);
    // A read-only file cannot be opened for writing, nor a folder at all.
    const bool readOnly = entry != nullptr && (entry->attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (entry != nullptr && (entry->directory || (writing && readOnly))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (reading) {
        if (entry == nullptr) {
            SetLastError(world.MissingEntryError(path));
            return INVALID_HANDLE_VALUE;
        }
        return NewFileHandle(
            sim::World::OpenFile{entry->content, entry->readError, entry->readableBytes, 0, {}});
    }
    if (const DWORD refusal = WritingRefusal(path); refusal != 0) {
        SetLastError(refusal);
        return INVALID_HANDLE_VALUE;
    }
    const bool existed = entry != nullptr;
    if (!existed) {
        world.files.AddFile(path, "");
    }
    const HANDLE handle = NewFileHandle(sim::World::OpenFile{{}, 0, 0, 0, sim::FileSystem::Normalize(path)});
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, void* overlapped) {
    auto* open = OpenFileOf(file);
    if (open == nullptr || overlapped != nullptr || !open->writtenPath.empty()) {
        SetLastError(open == nullptr || overlapped != nullptr ? ERROR_INVALID_HANDLE : ERROR_ACCESS_DENIED);
        return 0;
    }
    *read = 0;
    const auto count = std::min<std::size_t>(size, open->content.size() - open->position);
    if (open->readError != 0 && (count == 0 || open->position + count > open->readableBytes)) {
        SetLastError(open->readError);
        return 0;
    }
    std::memcpy(buffer, open->content.data() + open->position, count);
    open->position += count;
    *read = static_cast<DWORD>(count);
    return 1;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, void* overlapped) {
    auto* open = OpenFileOf(file);
    auto* content = open != nullptr ? ContentOf(*open) : nullptr;
    if (content == nullptr || overlapped != nullptr || open->writtenPath.empty()) {
        SetLastError(content == nullptr || overlapped != nullptr ? ERROR_INVALID_HANDLE
                                                                 : ERROR_ACCESS_DENIED);
        return 0;
    }
    if (content->size() < open->position) {
        content->resize(open->position, '\0');  // a pointer past the end: the gap reads as zeros
    }
    content->replace(open->position, std::min<std::size_t>(size, content->size() - open->position),
                     static_cast<const char*>(buffer), size);
    open->position += size;
    *written = size;
    return 1;
}

DWORD GetFileSize(HANDLE file, DWORD* sizeHigh) {
    auto* open = OpenFileOf(file);
    const auto* content = open != nullptr ? ContentOf(*open) : nullptr;
    if (content == nullptr) {
        return INVALID_FILE_SIZE;
    }
    if (sizeHigh != nullptr) {
        *sizeHigh = 0;
    }
    return static_cast<DWORD>(content->size());
}

// Files in the in-memory Windows stay below 4 GB: a high part of the distance is taken as 0, and answered
// as 0.
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod) {
    auto* open = OpenFileOf(file);
    const auto* content = open != nullptr ? ContentOf(*open) : nullptr;
    if (content == nullptr) {
        return INVALID_SET_FILE_POINTER;
    }
    const long long base = moveMethod == FILE_BEGIN     ? 0
                           : moveMethod == FILE_CURRENT ? static_cast<long long>(open->position)
                           : moveMethod == FILE_END     ? static_cast<long long>(content->size())
                                                        : -1;
    const long long place = base + distance;
    if (base < 0 || place < 0) {
        SetLastError(base < 0 ? ERROR_INVALID_PARAMETER : 131);  // ERROR_NEGATIVE_SEEK
        return INVALID_SET_FILE_POINTER;
    }
    open->position = static_cast<std::size_t>(place);
    if (distanceHigh != nullptr) {
        *distanceHigh = 0;
    }
    return static_cast<DWORD>(place);
}

namespace {

// The two names of a move or a copy as Windows reaches them, and the entry the first one names; nothing,
// with the reason as the last error, when a name cannot be reached or the first names nothing.
struct Transfer {
    std::string from;
    std::string to;
    sim::FileEntry source;
};

std::optional<Transfer> ReachBoth(LPCSTR existingFileName, LPCSTR newFileName) {
    auto& world = World();
    const auto from = world.PathToReach(existingFileName);
    const auto to = from ? world.PathToReach(newFileName) : std::nullopt;
    if (!to) {
        return std::nullopt;
    }
    const auto* source = world.files.Find(*from);
    if (source == nullptr) {
        SetLastError(world.MissingEntryError(*from));
        return std::nullopt;
    }
    return Transfer{*from, *to, *source};
}

// The file at `to` with the bytes and attributes of `source`.
void PlaceFile(const std::string& to, const sim::FileEntry& source) {
    auto& world = World();
    world.files.AddFile(to, source.content);
    world.files.Find(to)->attributes = source.attributes;
}

}  // namespace

BOOL MoveFileA(LPCSTR existingFileName, LPCSTR newFileName) {
    auto& world = World();
    world.Trace(std::string("MoveFileA ") + existingFileName + " " + newFileName);
    const auto transfer = ReachBoth(existingFileName, newFileName);
    if (!transfer) {
        return 0;
    }
    if (world.files.Exists(transfer->to)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return 0;
    }
    if (!world.files.IsDirectory(sim::FileSystem::ParentOf(sim::FileSystem::Normalize(transfer->to)))) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    world.files.Remove(transfer->from);
    PlaceFile(transfer->to, transfer->source);
    return 1;
}

BOOL CopyFileA(LPCSTR existingFileName, LPCSTR newFileName, BOOL failIfExists) {
    auto& world = World();
    world.Trace("CopyFileA " + world.Resolve(existingFileName) + " " + world.Resolve(newFileName) + " " +
                std::to_string(failIfExists));
    const auto transfer = ReachBoth(existingFileName, newFileName);
    if (!transfer) {
        return 0;
    }
    const auto& source = transfer->source;
    const DWORD sourceError = source.directory ? ERROR_ACCESS_DENIED : source.readError;
    const DWORD error = sourceError != 0 ? sourceError
                        : failIfExists && world.files.Exists(transfer->to)
                            ? ERROR_FILE_EXISTS
                            : world.WhyNotWritable(transfer->to, source.content);
    if (error != 0) {
        SetLastError(error);
        return 0;
    }
    PlaceFile(transfer->to, source);
    return 1;
}

BOOL DeleteFileA(LPCSTR fileName) {
    auto& world = World();
    world.Trace(std::string("DeleteFileA ") + fileName);
    const auto path = world.PathToReach(fileName);
    if (!path) {
        return 0;
    }
    const auto* entry = world.files.Find(*path);
    if (entry == nullptr) {
        SetLastError(world.MissingEntryError(*path));
        return 0;
    }
    if (entry->directory || (entry->attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    world.files.Remove(*path);
    return 1;
}

// The ANSI call leaves room in MAX_PATH for a name of eight and three characters inside the new folder.
BOOL CreateDirectoryA(LPCSTR pathName, void* /*securityAttributes*/) {
    auto& world = World();
    world.Trace(std::string("CreateDirectoryA ") + pathName);
    const auto path = world.PathToReach(pathName, MAX_PATH - 12);
    if (!path) {
        return 0;
    }
    if (world.files.Exists(*path)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return 0;
    }
    if (!world.files.IsDirectory(sim::FileSystem::ParentOf(sim::FileSystem::Normalize(*path)))) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    world.files.AddDirectory(*path);
    return 1;
}

BOOL RemoveDirectoryA(LPCSTR pathName) {
    auto& world = World();
    world.Trace("RemoveDirectoryA " + world.Resolve(pathName));
    const auto path = world.PathToReach(pathName);
    if (!path) {
        return 0;
    }
    const auto* entry = world.files.Find(*path);
    if (entry == nullptr) {
        SetLastError(world.MissingEntryError(*path));
        return 0;
    }
    bool empty = true;
    world.files.ForEachChild(*path, [&](const sim::FileEntry&) { return empty = false; });
    const DWORD error = !entry->directory ? ERROR_DIRECTORY : !empty ? ERROR_DIR_NOT_EMPTY : 0;
    if (error != 0) {
        SetLastError(error);
        return 0;
    }
    world.files.Remove(*path);
    return 1;
}

namespace {

// The value of an environment variable; empty when it is not set.
std::string Environment(const char* name) {
    const auto& environment = World().environment;
    const auto found = environment.find(name);
    return found == environment.end() ? std::string() : found->second;
}

// "GetTempPath function" of the Platform SDK of the time, for Windows 95 and 98: the folder that TMP
// names, else the one TEMP names, each only when it is there, else the current folder.
std::string Windows9xTemporaryFolder() {
    for (const char* name : {"TMP", "TEMP"}) {
        const std::string folder = Environment(name);
        if (!folder.empty() && World().files.IsDirectory(World().Resolve(folder))) {
            return folder;
        }
    }
    return World().currentDirectory;
}

// And for Windows 2000 and XP: the first of TMP, TEMP and USERPROFILE that is set, else the Windows
// folder, none of them looked for.
std::string WindowsNtTemporaryFolder() {
    for (const char* name : {"TMP", "TEMP", "USERPROFILE"}) {
        if (const std::string folder = Environment(name); !folder.empty()) {
            return folder;
        }
    }
    return World().windowsDirectory;
}

}  // namespace

DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
    const std::string folder = World().Windows9x() ? Windows9xTemporaryFolder() : WindowsNtTemporaryFolder();
    return AnswerPath(EndsWithCharacter(folder, '\\') ? folder : folder + "\\", buffer, bufferLength);
}

void GetLocalTime(SYSTEMTIME* systemTime) {
    *systemTime = World().localTime;
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
