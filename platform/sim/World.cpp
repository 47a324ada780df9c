#include "platform/sim/World.h"

#include <set>
#include <stdexcept>
#include <utility>

#include "platform/AsciiCase.h"
#include "platform/CharacterScan.h"
#include "platform/Registry.h"

namespace platform::sim {

namespace {

std::vector<std::string_view> SplitKeyPath(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const auto slash = FindFirstCharacter(path, "\\");
        const auto part = path.substr(0, slash);
        if (!part.empty()) {
            parts.push_back(part);
        }
        if (slash == std::string_view::npos) {
            break;
        }
        path.remove_prefix(slash + 1);
    }
    return parts;
}

std::unique_ptr<World>& WorldSlot() {
    static std::unique_ptr<World> world = std::make_unique<World>();
    return world;
}

}  // namespace

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
    return CompareIgnoringAsciiCase(a, b) < 0;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return EqualsIgnoringAsciiCase(a, b);
}

RegistryKey* Registry::Root(HKEY root) {
    if (root == HKEY_LOCAL_MACHINE) {
        return &localMachine_;
    }
    if (root == HKEY_CURRENT_USER) {
        return &currentUser_;
    }
    if (root == HKEY_CLASSES_ROOT) {
        return &classesRoot_;
    }
    if (auto* open = Lookup(root)) {
        return open->key;
    }
    return nullptr;
}

RegistryKey& Registry::CreateKey(HKEY root, std::string_view path) {
    RegistryKey* key = Root(root);
    for (auto part : SplitKeyPath(path)) {
        auto& slot = key->subkeys[std::string(part)];
        if (!slot) {
            slot = std::make_unique<RegistryKey>();
        }
        key = slot.get();
    }
    return *key;
}

RegistryKey* Registry::FindKey(HKEY root, std::string_view path) {
    RegistryKey* key = Root(root);
    for (auto part : SplitKeyPath(path)) {
        if (key == nullptr) {
            return nullptr;
        }
        auto found = key->subkeys.find(part);
        key = found == key->subkeys.end() ? nullptr : found->second.get();
    }
    return key;
}

void Registry::DeleteKey(HKEY root, std::string_view path) {
    auto parts = SplitKeyPath(path);
    if (parts.empty()) {
        return;
    }
    std::string parentPath;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        parentPath.append(parts[i]).push_back('\\');
    }
    if (auto* parent = FindKey(root, parentPath)) {
        auto found = parent->subkeys.find(parts.back());
        if (found != parent->subkeys.end()) {
            parent->subkeys.erase(found);
        }
    }
}

void Registry::SetValue(HKEY root, std::string_view path, std::string_view name, DWORD type,
                        std::vector<BYTE> data) {
    CreateKey(root, path).values[std::string(name)] = RegistryValue{type, std::move(data)};
}

void Registry::SetString(HKEY root, std::string_view path, std::string_view name, std::string_view text,
                         DWORD type) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    SetValue(root, path, name, type, std::move(data));
}

void Registry::SetDword(HKEY root, std::string_view path, std::string_view name, DWORD value) {
    std::vector<BYTE> data(4);
    for (int i = 0; i < 4; ++i) {
        data[i] = static_cast<BYTE>(value >> (8 * i));
    }
    SetValue(root, path, name, REG_DWORD, std::move(data));
}

std::optional<RegistryValue> Registry::GetValue(HKEY root, std::string_view path, std::string_view name) {
    auto* key = FindKey(root, path);
    if (key == nullptr) {
        return std::nullopt;
    }
    auto found = key->values.find(name);
    if (found == key->values.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<std::string> Registry::GetString(HKEY root, std::string_view path, std::string_view name) {
    auto value = GetValue(root, path, name);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::string text(value->data.begin(), value->data.end());
    if (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

HKEY Registry::Open(RegistryKey& key, REGSAM access) {
    const auto id = nextHandle_;
    nextHandle_ += 4;
    handles_[id] = OpenKey{&key, access};
    return reinterpret_cast<HKEY>(id);
}

Registry::OpenKey* Registry::Lookup(HKEY handle) {
    auto found = handles_.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == handles_.end() ? nullptr : &found->second;
}

bool Registry::Close(HKEY handle) {
    return handles_.erase(reinterpret_cast<std::uintptr_t>(handle)) == 1;
}

// By characters: the second byte of a double-byte character is no separator and no letter.
std::string FileSystem::Normalize(std::string_view path) {
    std::string key;
    key.reserve(path.size() + 1);  // the key is never longer, but for a drive's separator
    bool endsInSeparator = false;
    for (std::size_t at = 0; at < path.size();) {
        const std::size_t size = CharacterSize(path, at);
        if (size == 2) {
            key.append(path.substr(at, 2));
            endsInSeparator = false;
        } else {
            const char folded = path[at] == '/' ? '\\' : AsciiLower(path[at]);
            if (folded != '\\' || !endsInSeparator) {  // Windows reads a doubled separator as one
                key.push_back(folded);
            }
            endsInSeparator = folded == '\\';
        }
        at += size;
    }
    const bool isDriveRoot = key.size() == 3 && key[1] == ':';
    if (!isDriveRoot && key.size() > 1 && endsInSeparator) {
        key.pop_back();
    }
    if (key.size() == 2 && key[1] == ':') {
        key.push_back('\\');
    }
    return key;
}

std::string FileSystem::ParentOf(std::string_view normalizedPath) {
    const auto slash = FindLastCharacter(normalizedPath, "\\");
    if (slash == std::string_view::npos || normalizedPath.size() <= 3) {
        return {};
    }
    return Normalize(normalizedPath.substr(0, slash + 1));
}

void FileSystem::Store(std::string key, FileEntry entry) {
    const auto [at, added] = entries_.insert_or_assign(std::move(key), std::move(entry));
    if (added) {
        index_.emplace(at->first, &at->second);
    }
}

void FileSystem::AddDrive(char letter) {
    std::string root{letter, ':', '\\'};
    Store(Normalize(root), FileEntry{.path = root, .directory = true, .content = {}, .attributes = 0});
}

void FileSystem::AddRemovableDrive(char letter) {
    AddDrive(letter);
    removable_.insert(AsciiLower(letter));
}

void FileSystem::Eject(char letter) {
    if (removable_.count(AsciiLower(letter)) == 0) {
        throw std::logic_error(std::string("drive ") + letter + ": has no medium to take out");
    }
    ejected_.insert(AsciiLower(letter));
}

void FileSystem::Insert(char letter) {
    ejected_.erase(AsciiLower(letter));
}

bool FileSystem::MediumMissing(std::string_view path) const {
    return !ejected_.empty() && path.size() >= 2 && path[1] == ':' &&
           ejected_.count(AsciiLower(path[0])) != 0;
}

// Windows' file systems keep names of at most 255 characters; a world with a longer one could not be.
static void RequireNamesThatFit(std::string_view path) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < path.size(); at += CharacterSize(path, at)) {
        characters = path[at] == '\\' || path[at] == '/' ? 0 : characters + 1;
        if (characters > 255) {
            throw std::invalid_argument("a name of more than 255 characters in " + std::string(path));
        }
    }
}

static bool EndsInSeparator(std::string_view path) {
    const std::string text(path);
    return EndsWithCharacter(text, '\\') || EndsWithCharacter(text, '/');
}

// A path as it was written, without the separators that may end it: "C:\New\" makes a folder "New".
static std::string_view WithoutTrailingSeparators(std::string_view path) {
    while (path.size() > 3 && EndsInSeparator(path)) {
        path.remove_suffix(1);
    }
    return path;
}

// The folder part of a path as it was written, so that a folder made on the way keeps the case of its
// name (the shell lists it so).
static std::string_view ParentText(std::string_view path) {
    path = WithoutTrailingSeparators(path);
    const auto separator = FindLastCharacter(path, "\\/");
    return separator == std::string_view::npos ? std::string_view{} : path.substr(0, separator);
}

void FileSystem::AddDirectory(std::string_view path) {
    RequireNamesThatFit(path);
    const auto key = Normalize(path);
    if (key.empty() || index_.count(key) != 0) {
        return;
    }
    if (!ParentOf(key).empty()) {
        AddDirectory(ParentText(path));
    }
    Store(key, FileEntry{.path = std::string(WithoutTrailingSeparators(path)),
                         .directory = true,
                         .content = {},
                         .attributes = 0});
}

void FileSystem::AddFile(std::string_view path, std::string_view content) {
    RequireNamesThatFit(path);
    const auto key = Normalize(path);
    if (!ParentOf(key).empty()) {
        AddDirectory(ParentText(path));
    }
    Store(key, FileEntry{std::string(path), false, std::string(content)});
}

const FileEntry* FileSystem::Find(std::string_view path) const {
    if (MediumMissing(path)) {
        return nullptr;
    }
    auto found = index_.find(Normalize(path));
    return found == index_.end() ? nullptr : found->second;
}

FileEntry* FileSystem::Find(std::string_view path) {
    return const_cast<FileEntry*>(std::as_const(*this).Find(path));
}

void FileSystem::ForEachChild(std::string_view folder,
                              const std::function<bool(const FileEntry&)>& visit) const {
    if (folder.empty()) {
        for (char letter = 'a'; letter <= 'z'; ++letter) {
            auto drive = entries_.find(std::string{letter, ':', '\\'});
            if (drive != entries_.end() && !visit(drive->second)) {
                return;
            }
        }
        return;
    }
    if (MediumMissing(folder)) {
        return;
    }
    std::string prefix = Normalize(folder);
    if (!EndsWithCharacter(prefix, '\\')) {
        prefix.push_back('\\');
    }
    // The entries below the folder sort together after it. Those below a child sort together too, from
    // its name and a backslash up to its name and the next byte after the backslash: they are stepped
    // over in one look-up, so a listing costs the children, not everything beneath them. A lead byte is
    // never a backslash, so no other name falls in that range.
    auto at = entries_.lower_bound(prefix);
    while (at != entries_.end() && at->first.starts_with(prefix)) {
        const std::string_view below = std::string_view(at->first).substr(prefix.size());
        const auto deeper = FindFirstCharacter(below, "\\");
        if (deeper != std::string_view::npos) {
            at = entries_.lower_bound(at->first.substr(0, prefix.size() + deeper) +
                                      static_cast<char>('\\' + 1));
            continue;
        }
        if (!below.empty() && !visit(at->second)) {
            return;
        }
        ++at;
    }
}

bool FileSystem::Exists(std::string_view path) const {
    return Find(path) != nullptr;
}

bool FileSystem::IsDirectory(std::string_view path) const {
    const auto* entry = Find(path);
    return entry != nullptr && entry->directory;
}

std::optional<std::string> FileSystem::Read(std::string_view path) const {
    const auto* entry = Find(path);
    if (entry == nullptr || entry->directory) {
        return std::nullopt;
    }
    return entry->content;
}

bool FileSystem::Remove(std::string_view path) {
    const auto found = entries_.find(Normalize(path));
    if (found == entries_.end()) {
        return false;
    }
    index_.erase(found->first);
    entries_.erase(found);
    return true;
}

std::vector<BYTE> MultiString(const std::vector<std::string>& ids) {
    std::vector<BYTE> bytes;
    for (const auto& id : ids) {
        bytes.insert(bytes.end(), id.begin(), id.end());
        bytes.push_back(0);
    }
    bytes.push_back(0);
    return bytes;
}

Device& World::AddDevice(const std::vector<std::string>& hardwareIds) {
    Device device;
    device.instanceId = "ROOT\\INFRARED\\" + std::to_string(1000 + devices.size());
    device.hardwareIds = MultiString(hardwareIds);
    devices.push_back(std::move(device));
    return devices.back();
}

std::string World::SystemPath(const std::string& fileName) const {
    return FileSystem::Normalize(systemDirectory + "\\" + fileName);
}

void World::MoveSystemFolder(const std::string& folder) {
    const std::string old = FileSystem::Normalize(systemDirectory) + "\\";
    systemDirectory = folder;
    files.AddDirectory(systemDirectory);  // the old one stays: 98 and Me keep their WDM drivers in SYSTEM32
    std::vector<std::pair<std::string, Module>> moved;
    for (auto at = modules.begin(); at != modules.end();) {
        if (at->first.starts_with(old)) {
            moved.emplace_back(SystemPath(at->first.substr(old.size())), std::move(at->second));
            at = modules.erase(at);
        } else {
            ++at;
        }
    }
    for (auto& [path, module] : moved) {
        modules[path] = std::move(module);
    }
}

void World::UseWindows9x() {
    if (windows9x_) {
        return;
    }
    windows9x_ = true;
    MoveSystemFolder(windowsDirectory + "\\SYSTEM");
    if (auto advapi32 = modules.find(SystemPath("advapi32.dll")); advapi32 != modules.end()) {
        advapi32->second.entryPoints.erase("CheckTokenMembership");
    }
    OfferCallsNewInXp(false);
    tokenCalls = false;
    objectNamespaces = false;
    shutdownNeedsPrivilege = false;
    registrySecurity = false;
    shell.ansiNames = true;
}

void World::UseWindowsNt() {
    if (!windows9x_) {
        return;
    }
    windows9x_ = false;
    MoveSystemFolder(windowsDirectory + "\\SYSTEM32");
    if (modules.count(SystemPath("advapi32.dll")) != 0) {
        InstallAdvapi32();  // with CheckTokenMembership again
    }
    tokenCalls = true;
    objectNamespaces = true;
    shutdownNeedsPrivilege = true;
    registrySecurity = true;
    shell.ansiNames = false;
}

void World::OfferCallsNewInXp(bool offered) {
    for (const auto& [module, entryPoint] : {std::pair{"user32.dll", "DisableProcessWindowsGhosting"},
                                             std::pair{"setupapi.dll", "CMP_WaitNoPendingInstallEvents"}}) {
        auto found = modules.find(SystemPath(module));
        if (found == modules.end()) {
            continue;
        }
        auto& entryPoints = found->second.entryPoints;
        if (!offered && entryPoints.count(entryPoint) != 0) {
            takenOut_[entryPoint] = entryPoints[entryPoint];
            entryPoints.erase(entryPoint);
        } else if (offered && takenOut_.count(entryPoint) != 0) {
            entryPoints[entryPoint] = takenOut_[entryPoint];
        }
    }
}

namespace {

void Count(std::vector<std::string>& lines, const char* what, long long count, const char* unit) {
    if (count != 0) {
        lines.push_back(std::string(what) + ": " + std::to_string(count) + " " + unit);
    }
}

}  // namespace

void World::ForgetRecords() {
    calls.clear();
    loadedModules.clear();
    freedModules.clear();
    standardOutput.clear();
    shell.journal.clear();
    shell.parseRequests.clear();
}

std::vector<std::string> World::Outstanding() const {
    std::vector<std::string> lines;
    if (processEnded) {
        return lines;
    }
    Count(lines, "task allocator", static_cast<long long>(shell.taskAllocator.Live()), "blocks not freed");
    Count(lines, "task allocator", shell.taskAllocator.StrayFrees(), "frees of blocks it never handed out");
    Count(lines, "shell", shell.liveFolders, "folder objects not released");
    Count(lines, "shell", shell.liveEnumerators, "enumerators not released");
    Count(lines, "shell", static_cast<long long>(shell.registrations.size()),
          "change-notification registrations left");
    Count(lines, "registry", static_cast<long long>(registry.OpenHandleCount()), "keys left open");
    Count(lines, "device installation", openDeviceSets, "device information sets not destroyed");
    Count(lines, "kernel", openFinds, "find handles not closed");
    Count(lines, "kernel", localAllocations, "message texts not freed with LocalFree");
    Count(lines, "kernel", openTokens, "access tokens not closed");
    Count(lines, "kernel", static_cast<long long>(fileHandles.size()), "file handles not closed");
    Count(lines, "kernel", static_cast<long long>(mutexHandles.size()), "mutex handles not closed");
    Count(lines, "security", static_cast<long long>(sids.size()), "security identifiers not freed");
    Count(lines, "C run-time", openFiles, "files not closed");
    Count(lines, "COM", comInitCount, "initialisations not undone");
    // The modules whose entry points the program binds once and keeps for the rest of its run stay
    // loaded on purpose: the device installation services, the common controls, the driver update, the
    // group membership and the window ghosting.
    const std::set<std::string, CaseInsensitiveLess> kept{
        SystemPath("setupapi.dll"), SystemPath("comctl32.dll"), SystemPath("newdev.dll"),
        SystemPath("advapi32.dll"), SystemPath("user32.dll")};
    std::map<std::string, long long, CaseInsensitiveLess> loads;
    for (const auto& path : loadedModules) {
        ++loads[path];
    }
    for (const auto& path : freedModules) {
        --loads[path];
    }
    for (const auto& [path, count] : loads) {
        if (count < 0 || (count > 0 && kept.count(path) == 0)) {
            Count(lines, path.c_str(), count > 0 ? count : -count,
                  count > 0 ? "loads not freed" : "frees more than loads");
        }
    }
    return lines;
}

World& TheWorld() {
    return *WorldSlot();
}

World& ResetWorld() {
    WorldSlot() = std::make_unique<World>();
    World& world = TheWorld();
    world.files.AddDrive('C');
    world.files.AddFile(world.programPath, "MZ");
    world.files.AddDirectory(world.windowsDirectory);
    world.files.AddDirectory(world.systemDirectory);
    world.files.AddDirectory(world.windowsDirectory + "\\INF");
    world.files.AddDirectory(world.environment["TEMP"]);
    world.InstallNewdev();
    world.InstallShell32();
    world.InstallSetupApi();
    world.InstallCommonControls();
    world.InstallAdvapi32();
    world.InstallUser32();
    world.files.AddDirectory(world.shell.desktopDirectory);
    // The texts of the codes the program meets, in Windows' own words.
    world.messageTexts = {
        {0, "The operation completed successfully.\r\n"},
        {2, "The system cannot find the file specified.\r\n"},
        {3, "The system cannot find the path specified.\r\n"},
        {5, "Access is denied.\r\n"},
        {6, "The handle is invalid.\r\n"},
        {13, "The data is invalid.\r\n"},
        {21, "The device is not ready.\r\n"},
        {23, "Data error (cyclic redundancy check).\r\n"},
        {32, "The process cannot access the file because it is being used by another process.\r\n"},
        {80, "The file exists.\r\n"},
        {87, "The parameter is incorrect.\r\n"},
        {112, "There is not enough space on the disk.\r\n"},
        {122, "The data area passed to a system call is too small.\r\n"},
        {206, "The filename or extension is too long.\r\n"},
        {259, "No more data is available.\r\n"},
        {1300, "Not all privileges or groups referenced are assigned to the caller.\r\n"},
    };
    return world;
}

}  // namespace platform::sim
