// How the in-memory Windows makes a path full, as GetFullPathNameA and every file call read a name:
// against the current folder of the drive the name is on, by characters, so that the second byte of a
// double-byte character is never taken for a separator.
#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/AsciiCase.h"
#include "platform/CharacterScan.h"
#include "platform/sim/World.h"

namespace platform::sim {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// "X:" at the start: the drive's letter is ASCII, so neither byte can be part of a double-byte
// character.
bool StartsWithDrive(std::string_view path) {
    const char letter = AsciiLower(path.empty() ? '\0' : path[0]);
    return path.size() >= 2 && path[1] == ':' && letter >= 'a' && letter <= 'z';
}

bool StartsWithTwoSeparators(std::string_view path) {
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

// Where the next separator begins, looking only where characters begin; the text's size when none.
std::size_t NextSeparator(std::string_view text, std::size_t from) {
    while (from < text.size() && !IsSeparator(text[from])) {
        from += CharacterSize(text, from);
    }
    return std::min(from, text.size());
}

// The names between the separators, empty ones (doubled separators) left out, and whether a separator
// ends the text.
struct Names {
    std::vector<std::string_view> names;
    bool endsInSeparator = false;
};

Names SplitNames(std::string_view text) {
    Names split;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t end = NextSeparator(text, begin);
        if (end > begin) {
            split.names.push_back(text.substr(begin, end - begin));
        }
        split.endsInSeparator = end < text.size();
        begin = end + 1;
    }
    return split;
}

// The part of a full path that ".." never climbs out of, and the rest: "X:\" on a drive; on the
// network "\\server\share", with the separator after it when more follows.
struct Rooted {
    std::string root;
    std::string_view rest;
};

Rooted SplitRoot(std::string_view full) {
    if (StartsWithDrive(full)) {
        return {std::string(full.substr(0, 2)) + "\\", full.substr(std::min<std::size_t>(3, full.size()))};
    }
    const std::size_t server = NextSeparator(full, 2);
    const std::size_t share = NextSeparator(full, std::min(server + 1, full.size()));
    std::string root = "\\\\" + std::string(full.substr(2, server - 2));
    if (server < full.size()) {
        root += "\\" + std::string(full.substr(server + 1, share - server - 1));
    }
    if (share < full.size()) {
        root += "\\";
        return {root, full.substr(share + 1)};
    }
    return {root, {}};
}

// The drive a full folder lies on: "X:", or "\\server\share" on the network.
std::string DriveOf(std::string_view folder) {
    if (StartsWithDrive(folder)) {
        return std::string(folder.substr(0, 2));
    }
    std::string root = SplitRoot(folder).root;
    if (EndsWithCharacter(root, '\\')) {
        root.pop_back();
    }
    return root;
}

// A path that names its place from a root, made as short as Windows makes it.
std::string Canonical(std::string_view full) {
    const auto [root, rest] = SplitRoot(full);
    const auto split = SplitNames(rest);
    std::vector<std::string_view> kept;
    for (const auto name : split.names) {
        if (name == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
        } else if (name != ".") {
            kept.push_back(name);
        }
    }
    std::string path = root;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        path.append(i == 0 ? "" : "\\").append(kept[i]);
    }
    if (split.endsInSeparator && !kept.empty()) {
        path += "\\";
    }
    return path;
}

}  // namespace

std::string World::CurrentFolderOf(char drive) const {
    if (StartsWithDrive(currentDirectory) && AsciiUpper(currentDirectory[0]) == AsciiUpper(drive)) {
        return currentDirectory;
    }
    const auto found = driveDirectories.find(AsciiUpper(drive));
    return found != driveDirectories.end() ? found->second : std::string{drive, ':', '\\'};
}

std::string World::Resolve(const std::string& path) const {
    if (StartsWithTwoSeparators(path)) {
        return Canonical(path);
    }
    if (StartsWithDrive(path)) {
        const bool fromRoot = path.size() > 2 && IsSeparator(path[2]);
        return Canonical(fromRoot ? path : CurrentFolderOf(path[0]) + "\\" + path.substr(2));
    }
    if (!path.empty() && IsSeparator(path[0])) {
        return Canonical(DriveOf(currentDirectory) + path);
    }
    return Canonical(currentDirectory + "\\" + path);
}

}  // namespace platform::sim
