#include "platform/SystemModule.h"

#include <algorithm>
#include <cstdio>

#include "platform/Kernel.h"

namespace platform {

HMODULE LoadSystemModule(LPCSTR fileName) {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    char path[MAX_PATH];
    const int written = std::snprintf(path, sizeof path, "%s\\%s", folder, fileName);
    if (written < 0 || static_cast<std::size_t>(written) >= sizeof path) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE BindSystemModule(LPCSTR fileName, const LPCSTR* names, FARPROC* entries, std::size_t count) {
    HMODULE module = LoadSystemModule(fileName);
    bool complete = module != nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        entries[i] = complete ? GetProcAddress(module, names[i]) : nullptr;
        complete = entries[i] != nullptr;
    }
    if (module != nullptr && !complete) {
        FreeLibrary(module);
        std::fill(entries, entries + count, nullptr);
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return module;
}

}  // namespace platform
