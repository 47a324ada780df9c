#include "app/StagedDriverFiles.h"

#include <set>

#include "app/DeviceCheck.h"
#include "app/FormatPath.h"
#include "app/ProgramFolder.h"
#include "app/RunLog.h"
#include "app/Texts.h"
#include "framework/ExitCodes.h"
#include "platform/AsciiCase.h"
#include "platform/ErrorMode.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Kernel.h"
#include "platform/Process.h"

using namespace platform;

namespace {

constexpr const char* kFolderName = "cvfir98";
constexpr const char* kDriverFiles[] = {"cvfirdma.inf", "cvfirdma.sys"};

// The disk's win98 folder. The program folder has at most 99 characters, so the folder and each file in
// it always fit; a program folder that could not be had ends the program as an unreadable file.
std::string DiskFolder() {
    char programFolder[kProgramFolderSize];
    char folder[MAX_PATH];
    if (!GetProgramFolder(programFolder) ||
        !FormatPath(folder, sizeof folder, "%s%s", programFolder, "win98")) {
        EndWithReason(std::string(kCantReadDriverFile) + "win98\\cvfirdma.inf", ERROR_FILENAME_EXCED_RANGE,
                      kExitFatal);
    }
    return folder;
}

// The folder the driver's files are taken into, chosen once for the run as they are taken; empty until
// then, and again once it is removed.
std::string stagedFolder;
// The files this run put in the folder, which go with it. A run removes nothing else: a file of an
// earlier run there may be a kept copy of the user's that its run could not put back.
std::set<std::string> madeByThisRun;
constexpr int kKeptCopyNames = 99;

bool IsProgramFolder(const std::string& folder) {
    char programFolder[kProgramFolderSize];
    return GetProgramFolder(programFolder) && EqualsIgnoringAsciiCase(InFolder(folder, ""), programFolder);
}

// Makes the program's folder in `parent`, or finds it left by a run that was cut off; whether it is there.
bool MakeFolderIn(const std::string& parent, std::string& folder) {
    folder = InFolder(parent, kFolderName);
    return CreateDirectoryA(folder.c_str(), nullptr) || IsFolder(folder.c_str());
}

// In Windows' temporary folder when the program can make its folder there and it is not the program's
// own: Windows 95, 98 and Me fall back on the current folder, which may be the driver disk or a shared
// folder on the network, and a disk cleaner may have taken the folder that TMP or TEMP names. Else in
// the Windows folder's TEMP, made when missing; a folder that cannot be made there is told by the first
// copy into it. Empty when neither folder can be had.
std::string ChooseStagedFolder() {
    const std::string temporary = TemporaryFolder();
    std::string folder;
    if (!temporary.empty() && !IsProgramFolder(temporary) && MakeFolderIn(temporary, folder)) {
        return folder;
    }
    const std::string windows = WindowsFolder();
    if (windows.empty()) {
        return windows;
    }
    const std::string windowsTemp = InFolder(windows, "TEMP");
    CreateDirectoryA(windowsTemp.c_str(), nullptr);
    MakeFolderIn(windowsTemp, folder);
    return folder;
}

}  // namespace

std::string StagedDriverFolder() {
    return stagedFolder;
}

std::string StagedFile(const char* name) {
    return StagedDriverFolder() + "\\" + name;
}

void StageDriverFiles() {
    const std::string disk = DiskFolder();
    // Both files are read whole before the other is copied: a disk that cannot give them both changes
    // nothing. An empty drive gets the program's own words, not the system's box.
    const ScopedErrorMode quiet(SEM_FAILCRITICALERRORS);
    for (const char* name : kDriverFiles) {
        const std::string source = disk + "\\" + name;
        const TInstallStep step("read " + source);
        std::string bytes;
        if (!ReadWholeFile(source.c_str(), bytes)) {
            EndWithReason(kCantReadDriverFile + source, GetLastError(), kExitFatal);
        }
    }
    stagedFolder = ChooseStagedFolder();
    if (stagedFolder.empty()) {
        EndWithReason(kCantCopyDriverFile + disk + "\\" + kDriverFiles[0] + kCopyDestination + kFolderName,
                      ERROR_PATH_NOT_FOUND, kExitFatal);
    }
    AddExitCleanUp(RemoveStagedDriverFiles);
    for (const char* name : kDriverFiles) {
        const std::string source = disk + "\\" + name;
        const std::string staged = StagedFile(name);
        const TInstallStep step("copy " + source + " to " + staged);
        madeByThisRun.insert(staged);
        if (!CopyFileA(source.c_str(), staged.c_str(), 0)) {
            EndWithReason(kCantCopyDriverFile + source + kCopyDestination + staged, GetLastError(),
                          kExitFatal);
        }
        // Files on a CD are read-only, and a copy keeps that: the files installed from these copies
        // must not be, or the next install could not replace them.
        SetFileAttributesA(staged.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

void RemoveStagedDriverFiles() {
    RemoveExitCleanUp(RemoveStagedDriverFiles);
    if (stagedFolder.empty()) {
        return;
    }
    // On the way out, a temporary folder on a drive whose disk is gone gets no box of Windows' own.
    const ScopedErrorMode quiet(SEM_FAILCRITICALERRORS);
    for (const std::string& path : madeByThisRun) {
        DeleteFileOfAnyAttributes(path.c_str());  // a file kept from the Windows folders may be read-only
    }
    RemoveDirectoryA(stagedFolder.c_str());  // not while it holds a file of another run's
    madeByThisRun.clear();
    stagedFolder.clear();
}

std::string KeptCopyName(const char* stem, const char* original) {
    for (int number = 1; number <= kKeptCopyNames; ++number) {
        const std::string path =
            StagedFile((stem + (number == 1 ? std::string() : std::to_string(number)) + ".inf").c_str());
        if (!IsFile(path.c_str()) || SameFileBytes(path.c_str(), original)) {
            madeByThisRun.insert(path);
            return path;
        }
    }
    return {};
}

void KeepForTheUser(const std::string& path) {
    madeByThisRun.erase(path);
}
