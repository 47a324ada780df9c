#include "app/ProgramFolder.h"

#include "app/FormatPath.h"
#include "platform/Kernel.h"
#include "platform/PathSplit.h"
#include "platform/Process.h"

bool GetProgramFolder(char (&folder)[kProgramFolderSize]) {
    folder[0] = '\0';
    char path[platform::MAX_PATH];
    const auto length = platform::GetModuleFileNameA(nullptr, path, sizeof path);
    if (!platform::PathFits(length, sizeof path)) {
        return false;  // no path, or a cut one
    }
    char drive[100];
    char dir[100];
    if (!platform::SplitPath(path, drive, sizeof drive, dir, sizeof dir)) {
        return false;
    }
    return FormatPath(folder, sizeof folder, "%s%s", drive, dir);
}
