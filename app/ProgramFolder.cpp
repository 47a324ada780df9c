#include "app/ProgramFolder.h"

#include <cstdio>

#include "platform/PathSplit.h"
#include "platform/Process.h"

bool GetProgramFolder(char (&folder)[kProgramFolderSize]) {
    folder[0] = '\0';
    char path[platform::MAX_PATH];
    const auto length = platform::GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        return false;  // no path, or a cut one
    }
    char drive[100];
    char dir[100];
    if (!platform::SplitPath(path, drive, sizeof drive, dir, sizeof dir)) {
        return false;
    }
    char joined[kProgramFolderSize];
    const int written = std::snprintf(joined, sizeof joined, "%s%s", drive, dir);
    if (written < 0 || static_cast<std::size_t>(written) >= sizeof joined) {
        return false;
    }
    std::snprintf(folder, sizeof folder, "%s", joined);
    return true;
}
