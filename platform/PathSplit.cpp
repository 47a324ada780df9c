#include "platform/PathSplit.h"

#include <cstring>

#include "platform/CodePage.h"

namespace platform {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool CopyPart(const char* from, std::size_t length, char* to, std::size_t size) {
    if (length >= size) {
        return false;
    }
    std::memcpy(to, from, length);
    to[length] = '\0';
    return true;
}

}  // namespace

bool SplitPath(const char* path, char* drive, std::size_t driveSize, char* dir, std::size_t dirSize) {
    if (driveSize > 0) {
        drive[0] = '\0';
    }
    if (dirSize > 0) {
        dir[0] = '\0';
    }
    const std::size_t length = std::strlen(path);
    const std::size_t driveLength = (length >= 2 && path[1] == ':') ? 2 : 0;
    std::size_t dirEnd = driveLength;
    // By characters: the second byte of a double-byte character may be a backslash.
    for (const char* at = path + driveLength; *at != '\0'; at = CharNextA(at)) {
        if (IsSeparator(*at)) {
            dirEnd = static_cast<std::size_t>(at - path) + 1;
        }
    }
    if (!CopyPart(path, driveLength, drive, driveSize) ||
        !CopyPart(path + driveLength, dirEnd - driveLength, dir, dirSize)) {
        if (driveSize > 0) {
            drive[0] = '\0';
        }
        return false;
    }
    return true;
}

}  // namespace platform
