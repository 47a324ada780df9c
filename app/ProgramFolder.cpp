#include "app/ProgramFolder.h"

#include <string>

#include "app/FormatPath.h"
#include "platform/Folders.h"
#include "platform/PathSplit.h"

bool GetProgramFolder(char (&folder)[kProgramFolderSize]) {
    folder[0] = '\0';
    const std::string path = platform::ProgramPath();
    char drive[100];
    char dir[100];
    if (path.empty() || !platform::SplitPath(path.c_str(), drive, sizeof drive, dir, sizeof dir)) {
        return false;
    }
    return FormatPath(folder, sizeof folder, "%s%s", drive, dir);
}
