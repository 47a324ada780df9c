// The in-memory shell's items: where each lies, its ID bytes, its names, attributes and icons.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/AsciiCase.h"
#include "platform/CharacterScan.h"
#include "platform/ItemIdList.h"
#include "platform/sim/ShellItems.h"

namespace platform::sim {

namespace {

constexpr BYTE kVirtualItem = 0x1F;
constexpr BYTE kDriveItem = 0x2F;
constexpr BYTE kFolderItem = 0x31;
constexpr BYTE kFileItem = 0x32;
constexpr BYTE kComputerItem = 0x41;
constexpr BYTE kShareItem = 0x42;

ShellNamespace& Shell() {
    return TheWorld().shell;
}

struct VirtualItem {
    ItemKind kind;
    std::string_view key;
    std::string_view name;
    std::string_view parsingName;
    int icon;
};

constexpr VirtualItem kVirtualItems[] = {
    {ItemKind::MyComputer, ShellNamespace::kMyComputer, "My Computer",
     "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", 15},
    {ItemKind::ControlPanel, ShellNamespace::kControlPanel, "Control Panel",
     "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\::{21EC2020-3AEA-1069-A2DD-08002B30309D}", 35},
    {ItemKind::RecycleBin, ShellNamespace::kRecycleBin, "Recycle Bin",
     "::{645FF040-5081-101B-9F08-00AA002F954E}", 31},
    {ItemKind::NetworkNeighborhood, ShellNamespace::kNetworkNeighborhood, "Network Neighborhood",
     "::{208D2C60-3AEA-1069-A2D7-08002B30309D}", 17},
};

const VirtualItem* VirtualItemOf(ItemKind kind) {
    for (const auto& item : kVirtualItems) {
        if (item.kind == kind) {
            return &item;
        }
    }
    return nullptr;
}

// The tag that a virtual item's ID bytes carry: its key without the "::".
std::string_view Tag(const VirtualItem& item) {
    return item.key.substr(2);
}

std::string LastComponent(std::string_view path) {
    const auto at = FindLastCharacter(path, "\\");
    return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string Join(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (!EndsWithCharacter(path, '\\')) {
        path.push_back('\\');
    }
    return path.append(name);
}

std::vector<char> ListedDrives() {
    std::vector<char> letters;
    if (!Shell().drives.empty()) {
        for (char letter : Shell().drives) {
            letters.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
        }
        return letters;
    }
    TheWorld().files.ForEachChild("", [&](const FileEntry& drive) {
        letters.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(drive.path[0]))));
        return true;
    });
    return letters;
}

// The file or folder at `path`, keyed by its names as they were written.
std::optional<Location> FileItem(const std::string& folderKey, std::string_view name, bool wantDirectory) {
    const auto* entry = TheWorld().files.Find(Join(folderKey, name));
    if (entry == nullptr || entry->directory != wantDirectory) {
        return std::nullopt;
    }
    return Location{entry->directory ? ItemKind::Folder : ItemKind::File,
                    Join(folderKey, LastComponent(entry->path))};
}

const NetworkComputer* ComputerNamed(std::string_view name) {
    for (const auto& computer : Shell().network) {
        if (EqualsIgnoreCase(computer.name, name)) {
            return &computer;
        }
    }
    return nullptr;
}

std::optional<Location> ChildOf(const Location& folder, BYTE type, std::string_view name) {
    switch (folder.kind) {
        case ItemKind::Desktop:
            if (type == kVirtualItem) {
                for (const auto& item : kVirtualItems) {
                    if (item.kind != ItemKind::ControlPanel && Tag(item) == name) {
                        return Location{item.kind, std::string(item.key)};
                    }
                }
                return std::nullopt;
            }
            if (type == kFolderItem || type == kFileItem) {
                return FileItem(Shell().desktopDirectory, name, type == kFolderItem);
            }
            return std::nullopt;
        case ItemKind::MyComputer:
            if (type == kDriveItem && name.size() == 3 && name.substr(1) == ":\\") {
                const auto letters = ListedDrives();
                const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
                if (std::find(letters.begin(), letters.end(), letter) != letters.end()) {
                    return Location{ItemKind::Drive, std::string{letter, ':', '\\'}};
                }
            } else if (type == kVirtualItem && Shell().controlPanel &&
                       name == Tag(*VirtualItemOf(ItemKind::ControlPanel))) {
                return Location{ItemKind::ControlPanel, std::string(ShellNamespace::kControlPanel)};
            }
            return std::nullopt;
        case ItemKind::Drive:
        case ItemKind::Folder:
            if (type == kFolderItem || type == kFileItem) {
                return FileItem(folder.key, name, type == kFolderItem);
            }
            return std::nullopt;
        case ItemKind::NetworkNeighborhood:
            if (const auto* computer = type == kComputerItem ? ComputerNamed(name) : nullptr) {
                return Location{ItemKind::Computer, "\\\\" + computer->name};
            }
            return std::nullopt;
        case ItemKind::Computer:
            if (const auto* computer = type == kShareItem ? ComputerNamed(folder.key.substr(2)) : nullptr) {
                for (const auto& share : computer->shares) {
                    if (EqualsIgnoreCase(share, name)) {
                        return Location{ItemKind::Share, folder.key + "\\" + share};
                    }
                }
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::vector<Location> FileChildren(const std::string& folderKey) {
    std::vector<Location> children;
    TheWorld().files.ForEachChild(folderKey, [&](const FileEntry& entry) {
        children.push_back(Location{entry.directory ? ItemKind::Folder : ItemKind::File,
                                    Join(folderKey, LastComponent(entry.path))});
        return true;
    });
    if (Shell().reverseOrder) {
        std::reverse(children.begin(), children.end());
    }
    return children;
}

bool HasSubfolder(const std::string& folderKey) {
    bool found = false;
    TheWorld().files.ForEachChild(folderKey, [&](const FileEntry& entry) {
        found = entry.directory;
        return !found;
    });
    return found;
}

void Append(std::vector<BYTE>& list, const Location& item) {
    const auto bytes = ItemBytes(item);
    list.insert(list.end(), bytes.begin(), bytes.end());
}

}  // namespace

std::size_t ShellNamespace::KeyHash::operator()(const std::string& key) const {
    std::size_t hash = 14695981039346656037ull;
    for (char c : AsciiLower(key)) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return hash;
}

bool ShellNamespace::KeyEqual::operator()(const std::string& a, const std::string& b) const {
    return EqualsIgnoreCase(a, b);
}

ItemSettings& ShellNamespace::Item(std::string_view key) {
    return items_[std::string(key)];
}

const ItemSettings* ShellNamespace::FindItem(std::string_view key) const {
    if (items_.empty()) {
        return nullptr;
    }
    auto found = items_.find(std::string(key));
    return found == items_.end() ? nullptr : &found->second;
}

const ItemSettings* SettingsOf(const Location& item) {
    return Shell().FindItem(item.key);
}

Location DesktopLocation() {
    return Location{ItemKind::Desktop, std::string(ShellNamespace::kDesktop)};
}

std::string StoredName(const Location& item) {
    switch (item.kind) {
        case ItemKind::Desktop:
            return {};
        case ItemKind::Drive:
            return item.key;
        case ItemKind::Computer:
            return item.key.substr(2);
        case ItemKind::Folder:
        case ItemKind::File:
        case ItemKind::Share:
            return LastComponent(item.key);
        default:
            return std::string(Tag(*VirtualItemOf(item.kind)));
    }
}

std::vector<BYTE> ItemBytes(const Location& item) {
    if (item.kind == ItemKind::Desktop) {
        return {};
    }
    BYTE type = kVirtualItem;
    switch (item.kind) {
        case ItemKind::Drive:
            type = kDriveItem;
            break;
        case ItemKind::Folder:
            type = kFolderItem;
            break;
        case ItemKind::File:
            type = kFileItem;
            break;
        case ItemKind::Computer:
            type = kComputerItem;
            break;
        case ItemKind::Share:
            type = kShareItem;
            break;
        default:
            break;
    }
    const std::string name = StoredName(item);
    const auto cb = static_cast<WORD>(kItemNameOffset + name.size() + 1);
    std::vector<BYTE> bytes{static_cast<BYTE>(cb & 0xFF), static_cast<BYTE>(cb >> 8), type};
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
    return bytes;
}

std::optional<Location> Resolve(const Location& folder, LPCITEMIDLIST relative) {
    Location at = folder;
    for (; FirstItemSize(relative) != 0; relative = NextItem(relative)) {
        const WORD cb = FirstItemSize(relative);
        if (cb <= kItemNameOffset) {
            return std::nullopt;
        }
        const auto* bytes = reinterpret_cast<const char*>(relative);
        const std::string_view stored(bytes + kItemNameOffset, cb - kItemNameOffset);
        const auto child = ChildOf(at, static_cast<BYTE>(bytes[2]), stored.substr(0, stored.find('\0')));
        if (!child) {
            return std::nullopt;
        }
        at = *child;
    }
    return at;
}

std::vector<Location> Children(const Location& folder) {
    std::vector<Location> children;
    switch (folder.kind) {
        case ItemKind::Desktop:
            for (auto kind : {ItemKind::MyComputer, ItemKind::NetworkNeighborhood, ItemKind::RecycleBin}) {
                children.push_back(Location{kind, std::string(VirtualItemOf(kind)->key)});
            }
            for (auto& child : FileChildren(Shell().desktopDirectory)) {
                children.push_back(std::move(child));
            }
            break;
        case ItemKind::MyComputer:
            for (char letter : ListedDrives()) {
                children.push_back(Location{ItemKind::Drive, std::string{letter, ':', '\\'}});
            }
            if (Shell().controlPanel) {
                children.push_back(
                    Location{ItemKind::ControlPanel, std::string(ShellNamespace::kControlPanel)});
            }
            break;
        case ItemKind::Drive:
        case ItemKind::Folder:
            children = FileChildren(folder.key);
            break;
        case ItemKind::NetworkNeighborhood:
            for (const auto& computer : Shell().network) {
                children.push_back(Location{ItemKind::Computer, "\\\\" + computer.name});
            }
            break;
        case ItemKind::Computer:
            if (const auto* computer = ComputerNamed(folder.key.substr(2))) {
                for (const auto& share : computer->shares) {
                    children.push_back(Location{ItemKind::Share, folder.key + "\\" + share});
                }
            }
            break;
        default:
            break;
    }
    return children;
}

SFGAOF Attributes(const Location& item) {
    SFGAOF attributes = 0;
    switch (item.kind) {
        case ItemKind::Desktop:
        case ItemKind::MyComputer:
        case ItemKind::NetworkNeighborhood:
            attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
            break;
        case ItemKind::ControlPanel:
        case ItemKind::RecycleBin:
            attributes = SFGAO_FOLDER;
            break;
        case ItemKind::Drive:
        case ItemKind::Folder:
            attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM | (HasSubfolder(item.key) ? SFGAO_HASSUBFOLDER : 0);
            break;
        case ItemKind::File:
            attributes = SFGAO_FILESYSTEM;
            break;
        case ItemKind::Computer: {
            const auto* computer = ComputerNamed(item.key.substr(2));
            attributes = SFGAO_FOLDER | (computer && !computer->shares.empty() ? SFGAO_HASSUBFOLDER : 0);
            break;
        }
        case ItemKind::Share:
            attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM;
            break;
    }
    if (const auto* settings = SettingsOf(item)) {
        attributes = (attributes | settings->addAttributes) & ~settings->removeAttributes;
    }
    return attributes;
}

std::string DefaultName(const Location& item, NameKind kind) {
    switch (item.kind) {
        case ItemKind::Desktop:
            return kind == NameKind::Parsing ? Shell().desktopDirectory : "Desktop";
        case ItemKind::Drive: {
            if (kind == NameKind::Parsing) {
                return item.key;
            }
            const auto* settings = SettingsOf(item);
            const std::string label = settings && !settings->label.empty() ? settings->label : "Local Disk";
            return label + " (" + item.key.substr(0, 2) + ")";
        }
        case ItemKind::Folder:
        case ItemKind::File:
        case ItemKind::Computer:
        case ItemKind::Share:
            return kind == NameKind::Parsing ? item.key : StoredName(item);
        default: {
            const auto* virtualItem = VirtualItemOf(item.kind);
            return std::string(kind == NameKind::Parsing ? virtualItem->parsingName : virtualItem->name);
        }
    }
}

std::optional<std::string> FileSystemPath(const Location& item) {
    switch (item.kind) {
        case ItemKind::Desktop:
            return Shell().desktopDirectory;
        case ItemKind::Drive:
        case ItemKind::Folder:
        case ItemKind::File:
        case ItemKind::Share:
            return item.key;
        default:
            return std::nullopt;
    }
}

int IconIndex(const Location& item, bool open) {
    if (const auto* settings = SettingsOf(item)) {
        if (const auto& chosen = open ? settings->openIcon : settings->icon) {
            return *chosen;
        }
    }
    switch (item.kind) {
        case ItemKind::Desktop:
            return 34;
        case ItemKind::Drive:
            return 8;
        case ItemKind::Folder:
            return open ? 4 : 3;
        case ItemKind::File:
            return 0;
        case ItemKind::Computer:
            return 16;
        case ItemKind::Share:
            return open ? 10 : 9;
        default:
            return VirtualItemOf(item.kind)->icon;
    }
}

std::optional<Location> LocationOfPath(std::string_view path) {
    if (path.starts_with("\\\\")) {
        const auto rest = path.substr(2);
        const auto slash = FindFirstCharacter(rest, "\\");
        std::optional<Location> at = ChildOf(
            Location{ItemKind::NetworkNeighborhood, std::string(ShellNamespace::kNetworkNeighborhood)},
            kComputerItem, rest.substr(0, slash));
        if (at && slash != std::string_view::npos) {
            at = ChildOf(*at, kShareItem, rest.substr(slash + 1));
        }
        return at;
    }
    if (path.size() < 2 || path[1] != ':' || (path.size() > 2 && path[2] != '\\')) {
        return std::nullopt;
    }
    std::optional<Location> at =
        ChildOf(Location{ItemKind::MyComputer, std::string(ShellNamespace::kMyComputer)}, kDriveItem,
                std::string{path[0], ':', '\\'});
    auto rest = path.size() > 3 ? path.substr(3) : std::string_view{};
    while (at && !rest.empty()) {
        const auto slash = FindFirstCharacter(rest, "\\");
        const auto name = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
        if (name.empty()) {
            continue;
        }
        auto folder = FileItem(at->key, name, true);
        at = folder ? folder : FileItem(at->key, name, false);
    }
    return at;
}

std::optional<std::vector<BYTE>> AbsoluteList(const Location& item) {
    std::vector<BYTE> list;
    switch (item.kind) {
        case ItemKind::Desktop:
            return list;
        case ItemKind::MyComputer:
        case ItemKind::RecycleBin:
        case ItemKind::NetworkNeighborhood:
            Append(list, item);
            return list;
        case ItemKind::ControlPanel:
        case ItemKind::Drive:
            Append(list, Location{ItemKind::MyComputer, std::string(ShellNamespace::kMyComputer)});
            Append(list, item);
            return list;
        case ItemKind::Computer:
        case ItemKind::Share: {
            Append(list, Location{ItemKind::NetworkNeighborhood,
                                  std::string(ShellNamespace::kNetworkNeighborhood)});
            const auto slash = FindFirstCharacter(std::string_view(item.key).substr(2), "\\");
            const auto computerEnd = slash == std::string_view::npos ? item.key.size() : slash + 2;
            Append(list, Location{ItemKind::Computer, item.key.substr(0, computerEnd)});
            if (item.kind == ItemKind::Share) {
                Append(list, item);
            }
            return list;
        }
        case ItemKind::Folder:
        case ItemKind::File: {
            Append(list, Location{ItemKind::MyComputer, std::string(ShellNamespace::kMyComputer)});
            std::optional<Location> at = LocationOfPath(item.key.substr(0, 3));
            if (!at) {
                return std::nullopt;
            }
            Append(list, *at);
            auto rest = std::string_view(item.key).substr(3);
            while (!rest.empty()) {
                const auto slash = FindFirstCharacter(rest, "\\");
                const auto name = rest.substr(0, slash);
                rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
                auto next = FileItem(at->key, name, true);
                at = next ? next : FileItem(at->key, name, false);
                if (!at) {
                    return std::nullopt;
                }
                Append(list, *at);
            }
            return list;
        }
    }
    return std::nullopt;
}

namespace {

struct StoredItem {
    BYTE type;
    std::string_view name;
};

// The first item of a list as its bytes hold it; none for the terminator or an item too short to hold
// a name.
std::optional<StoredItem> ReadItem(LPCITEMIDLIST list) {
    const WORD cb = FirstItemSize(list);
    if (cb <= kItemNameOffset) {
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const char*>(list);
    const std::string_view stored(bytes + kItemNameOffset, cb - kItemNameOffset);
    return StoredItem{static_cast<BYTE>(bytes[2]), stored.substr(0, stored.find('\0'))};
}

bool IsFileItem(const StoredItem& item) {
    return item.type == kFolderItem || item.type == kFileItem;
}

}  // namespace

std::optional<std::string> PathOfStoredNames(LPCITEMIDLIST absolute) {
    const auto first = ReadItem(absolute);
    if (!first) {
        return std::nullopt;
    }
    LPCITEMIDLIST at = NextItem(absolute);
    std::string path;
    if (first->type == kVirtualItem && first->name == Tag(*VirtualItemOf(ItemKind::MyComputer))) {
        const auto drive = ReadItem(at);
        if (!drive || drive->type != kDriveItem) {
            return std::nullopt;
        }
        path = std::string(drive->name);
        at = NextItem(at);
    } else if (IsFileItem(*first)) {
        path = Join(Shell().desktopDirectory, first->name);
    } else {
        return std::nullopt;
    }
    for (; FirstItemSize(at) != 0; at = NextItem(at)) {
        const auto item = ReadItem(at);
        if (!item || !IsFileItem(*item)) {
            return std::nullopt;
        }
        path = Join(path, item->name);
    }
    return path;
}

std::optional<std::vector<BYTE>> NotifiedList(std::string_view key) {
    if (key == ShellNamespace::kDesktop) {
        return AbsoluteList(DesktopLocation());
    }
    for (const auto& item : kVirtualItems) {
        if (item.key == key) {
            return AbsoluteList(Location{item.kind, std::string(item.key)});
        }
    }
    if (const auto item = LocationOfPath(key)) {
        if (auto list = AbsoluteList(*item)) {
            return list;
        }
    }
    if (key.size() < 3 || key[1] != ':' || key[2] != '\\') {
        return std::nullopt;
    }
    std::vector<BYTE> list;
    Append(list, Location{ItemKind::MyComputer, std::string(ShellNamespace::kMyComputer)});
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
    Append(list, Location{ItemKind::Drive, std::string{letter, ':', '\\'}});
    for (auto rest = key.substr(3); !rest.empty();) {
        const auto slash = FindFirstCharacter(rest, "\\");
        const auto name = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
        if (!name.empty()) {
            Append(list, Location{ItemKind::Folder, std::string(name)});
        }
    }
    return list;
}

LPITEMIDLIST AllocateList(const std::vector<BYTE>& bytes) {
    auto* block = static_cast<BYTE*>(Shell().taskAllocator.Alloc(bytes.size() + 2));
    if (!bytes.empty()) {
        std::memcpy(block, bytes.data(), bytes.size());
    }
    block[bytes.size()] = 0;
    block[bytes.size() + 1] = 0;
    return reinterpret_cast<LPITEMIDLIST>(block);
}

}  // namespace platform::sim
