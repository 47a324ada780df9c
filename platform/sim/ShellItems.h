// Inside the in-memory shell: where an item lies, what its ID bytes are, and what it answers. The COM
// objects and the shell calls are built on these.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/sim/World.h"

namespace platform::sim {

enum class ItemKind : BYTE {
    Desktop,
    MyComputer,
    ControlPanel,
    RecycleBin,
    NetworkNeighborhood,
    Drive,
    Folder,
    File,
    Computer,
    Share,
};

struct Location {
    ItemKind kind;
    std::string key;  // see ShellNamespace
};

enum class NameKind { Normal, Parsing, InFolder };

// One item's ID as it stands in a list: its byte count, a kind byte, its name and a zero. The name
// sits at byte 3, which is where an offset answer points.
std::vector<BYTE> ItemBytes(const Location& item);
inline constexpr UINT kItemNameOffset = 3;

Location DesktopLocation();
// The item that a list relative to `folder` names; none when any of its items is not there (any more).
std::optional<Location> Resolve(const Location& folder, LPCITEMIDLIST relative);
// The folder's children in the shell's order, hidden ones included.
std::vector<Location> Children(const Location& folder);
SFGAOF Attributes(const Location& item);
std::string DefaultName(const Location& item, NameKind kind);
// The name stored in the item's ID bytes.
std::string StoredName(const Location& item);
std::optional<std::string> FileSystemPath(const Location& item);
int IconIndex(const Location& item, bool open);
// The item's list relative to the desktop; none for a file-system path that is not there.
std::optional<std::vector<BYTE>> AbsoluteList(const Location& item);
// The item of a file-system path ("C:\WINDOWS\SYSTEM"), found through My Computer.
std::optional<Location> LocationOfPath(std::string_view path);

// The file-system path that an absolute list names by its stored names alone, whether or not the item
// is still there: a drive and the folders and files below it, or a folder or file on the desktop.
std::optional<std::string> PathOfStoredNames(LPCITEMIDLIST absolute);
// The list that the shell gives in a change notification for an item named by its key: the item's own
// list, or for a file-system path that is not there (any more) a list of its names alone, as the shell
// keeps them for a folder just removed. None for a key that names nothing the shell could describe.
std::optional<std::vector<BYTE>> NotifiedList(std::string_view key);

// The list's bytes as one block of the task allocator, terminator included.
LPITEMIDLIST AllocateList(const std::vector<BYTE>& bytes);
const ItemSettings* SettingsOf(const Location& item);

}  // namespace platform::sim
