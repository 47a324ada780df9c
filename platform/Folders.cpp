#include "platform/Folders.h"

#include <algorithm>
#include <cstring>

#include "platform/AsciiCase.h"
#include "platform/CharacterScan.h"
#include "platform/Kernel.h"
#include "platform/Process.h"

namespace platform {

namespace {

// A folder as a folder call answers it into a buffer of MAX_PATH; empty when it fails or does not fit.
template <class Call>
std::string Folder(Call call) {
    char folder[MAX_PATH];
    const DWORD length = call(folder);
    return PathFits(length, sizeof folder) ? std::string(folder, length) : std::string();
}

}  // namespace

// Windows 2000 and XP cut a path that does not fit the buffer to the buffer's size, without a terminating
// zero, and Windows 98 to one less, with one: a buffer that comes back full is made larger and asked
// again, up to the longest path Windows has.
std::string ProgramPath() {
    constexpr DWORD kLongestPath = 32768;
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const auto size = static_cast<DWORD>(path.size());
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), size);
        if (length + 1 < size || size >= kLongestPath) {
            path.resize(strnlen(path.data(), std::min(length, size)));
            return path;
        }
        path.resize(2 * path.size());
    }
}

std::string WindowsFolder() {
    return Folder([](char(&buffer)[MAX_PATH]) { return GetWindowsDirectoryA(buffer, sizeof buffer); });
}

std::string TemporaryFolder() {
    return Folder([](char(&buffer)[MAX_PATH]) { return GetTempPathA(sizeof buffer, buffer); });
}

bool IsFolder(LPCSTR path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(LPCSTR path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The first characters of either form are single bytes, so they are looked at by their place alone.
bool IsFullPath(std::string_view path) {
    const bool driveLetter = path.size() >= 3 && AsciiLower(path[0]) >= 'a' && AsciiLower(path[0]) <= 'z';
    return (driveLetter && path[1] == ':' && path[2] == '\\') || path.starts_with("\\\\");
}

std::string InFolder(const std::string& folder, std::string_view name) {
    std::string path = EndsWithCharacter(folder, '\\') ? folder : folder + "\\";
    return path.append(name);
}

}  // namespace platform
