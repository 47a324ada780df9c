#include "platform/PathSplit.h"

#include <cstring>

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
    for (std::size_t i = driveLength; i < length; ++i) {
        if (IsSeparator(path[i])) {
            dirEnd = i + 1;
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
