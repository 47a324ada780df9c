#include "platform/Files.h"

#include "platform/HandleOwners.h"
#include "platform/Kernel.h"

namespace platform {

bool ReadWholeFile(LPCSTR path, std::string& bytes) {
    bytes.clear();
    const HANDLE opened = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return false;
    }
    const OwnedHandle file(opened);
    char block[4096];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), block, sizeof block, &read, nullptr)) {
            return false;
        }
        if (read == 0) {
            return true;  // the end of the file
        }
        bytes.append(block, read);
    }
}

bool SameFileBytes(LPCSTR first, LPCSTR second) {
    std::string firstBytes;
    std::string secondBytes;
    return ReadWholeFile(first, firstBytes) && ReadWholeFile(second, secondBytes) &&
           firstBytes == secondBytes;
}

BOOL DeleteFileOfAnyAttributes(LPCSTR path) {
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path);
}

}  // namespace platform
