#include "foldertree/ShellNames.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "foldertree/Cvfoldertree.h"
#include "platform/ItemIdList.h"

using namespace platform;

namespace {

// A name that is not ASCII alone, in the system's code page: in one call when it fits a buffer of two
// paths' length, as nearly every name does; a longer one is measured first.
std::string Converted(LPCWSTR wide) {
    char buffer[2 * MAX_PATH];
    const int written = WideCharToMultiByte(CP_ACP, 0, wide, -1, buffer, sizeof buffer, nullptr, nullptr);
    if (written > 0) {
        return std::string(buffer, strnlen(buffer, static_cast<std::size_t>(written)));
    }
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return {};
    }
    std::vector<char> text(static_cast<std::size_t>(size));  // the size just asked for: the text fits
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
    return std::string(text.data(), strnlen(text.data(), text.size()));
}

// The name in the system's code page. Every ANSI code page that Windows has keeps the ASCII characters
// as they are, so a name of those alone, as most names are, is copied as it stands: a level of thousands
// of folders asks three names of each.
std::string ToAnsi(LPCWSTR wide) {
    std::size_t length = 0;
    while (wide[length] != 0 && wide[length] < 0x80) {
        ++length;
    }
    if (wide[length] != 0) {
        return Converted(wide);
    }
    std::string text(length, '\0');
    std::transform(wide, wide + length, text.begin(), [](WCHAR c) { return static_cast<char>(c); });
    return text;
}

}  // namespace

std::optional<std::string> StrRetText(STRRET& answer, LPCITEMIDLIST item) {
    switch (answer.uType) {
        case STRRET_OFFSET: {
            if (item == nullptr) {
                return std::string();
            }
            const UINT extent = ItemIdListSize(item) + 2;  // the terminator bounds the text at the latest
            if (answer.uOffset >= extent) {
                return std::string();
            }
            const char* text = reinterpret_cast<const char*>(item) + answer.uOffset;
            return std::string(text, strnlen(text, extent - answer.uOffset));
        }
        case STRRET_CSTR:
            return std::string(answer.cStr, strnlen(answer.cStr, sizeof answer.cStr));
        case STRRET_WSTR: {
            if (answer.pOleStr == nullptr) {
                return std::nullopt;
            }
            std::string text = ToAnsi(answer.pOleStr);
            CoTaskMemFree(answer.pOleStr);  // the caller's to release, with the task allocator
            answer.pOleStr = nullptr;
            return text;
        }
        default:
            return std::string();
    }
}

std::string ShellItemName(IShellFolder& folder, LPCITEMIDLIST item, DWORD flags) {
    for (;;) {
        STRRET answer;
        std::memset(&answer, 0, sizeof answer);
        // The result code is not looked at: a failed call leaves the zeroed answer, which reads as a
        // wide answer without a string.
        folder.GetDisplayNameOf(item, flags, &answer);
        if (auto text = StrRetText(answer, item)) {
            return *text;
        }
        if (flags != SHGDN_NORMAL) {
            return {};
        }
        flags = SHGDN_FORPARSING;
    }
}

std::string TCvFolderTree::GetPathName(LPCITEMIDLIST ItemIdList, DWORD Flags, IShellFolder* Folder) {
    if (Folder == nullptr) {
        return {};
    }
    return ShellItemName(*Folder, ItemIdList, Flags);
}

TFilePathList TCvFolderTree::GetLongFilePath(LPCITEMIDLIST ItemIdList, IShellFolder* Folder) {
    ComPtr<IShellFolder> desktop;
    if (Folder == nullptr) {
        SHGetDesktopFolder(desktop.put());
        Folder = desktop.get();
    }
    TFilePathList names;
    names.DisplayName = GetPathName(ItemIdList, SHGDN_NORMAL, Folder);
    names.ParsingName = GetPathName(ItemIdList, SHGDN_FORPARSING, Folder);
    names.InFolderName = GetPathName(ItemIdList, SHGDN_INFOLDER, Folder);
    return names;
}
