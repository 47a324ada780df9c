// The install procedures: through the Plug and Play driver update on Windows Me, 2000 and XP, by
// copying the driver's files on Windows 98.
#include <initializer_list>
#include <string>

#include "app/DeviceCheck.h"
#include "app/FormatPath.h"
#include "app/Install.h"
#include "app/ProgramFolder.h"
#include "app/RunLog.h"
#include "app/StagedDriverFiles.h"
#include "app/Texts.h"
#include "app/Unit2.h"
#include "framework/ExitCodes.h"
#include "framework/MissingModule.h"
#include "framework/Registry.h"
#include "platform/AsciiCase.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/HandleOwners.h"
#include "platform/Kernel.h"
#include "platform/NewDev.h"
#include "platform/Process.h"
#include "platform/Security.h"
#include "platform/SetupApi.h"
#include "platform/Window.h"

using namespace platform;

namespace {

constexpr const char* kHardwareId = "*CVN0510";
constexpr std::size_t kPathSize = 100;
constexpr std::size_t kCabinetPathSize = 200;
// Instance 0000 of the Infrared device setup class, in control set 001.
constexpr const char* kInfraredInstanceKey =
    "\\SYSTEM\\ControlSet001\\Control\\Class\\{6BDD1FC5-810F-11D0-BEC7-08002BE2092F}\\0000";
constexpr const char* kNetworkInstanceKey = "\\SYSTEM\\CurrentControlSet\\Services\\Class\\Net\\000";
constexpr int kNetworkInstances = 10;
constexpr const char* kNoDeviceNoUpdate = "device not found, no update";
constexpr const char* kAlreadyThere = "already there";
constexpr DWORD kDeviceInstallsWait = 60 * 1000;

[[noreturn]] void Fatal(const char* message) {
    ShowMessage(message);
    ExitProcess(kExitFatal);
}

// The Windows folder, in the buffer of 100 bytes that the paths made from it are sized for. One that
// does not fit ends the program like a missing one, since a path made from it would be cut or unset.
void GetWindowsFolder(char (&folder)[kPathSize]) {
    const TInstallStep step("get the Windows folder");
    const std::string windows = WindowsFolder();
    if (windows.empty() || !FormatPath(folder, kPathSize, "%s", windows.c_str())) {
        Fatal(kNoWindowsPath);
    }
}

// Windows' own device installs in progress (a controller just plugged in, a driver it found by itself)
// are let finish before ours begins, at most a minute: past that the update goes on, and takes its turn.
// Windows before XP cannot be asked.
void WaitForDeviceInstallsOfWindows() {
    TInstallStep step("wait for the device installs of Windows in progress");
    const DWORD waited = CMP_WaitNoPendingInstallEvents(kDeviceInstallsWait);
    if (waited == WAIT_TIMEOUT) {
        step.Outcome("still busy after a minute, the update goes on");
    } else if (waited == WAIT_FAILED && GetLastError() == ERROR_PROC_NOT_FOUND) {
        step.Outcome("not offered by this Windows");
    } else if (waited == WAIT_FAILED) {
        step.Failed(GetLastError());
    }
}

// What the driver update is given: the INF path below the program folder and the hardware ID. An INF
// path too long for its buffer is never cut: the update then fails as Windows fails a path that is too
// long.
struct DriverPackage {
    char infPath[kPathSize] = {};
    bool infPathFits = false;
    char hardwareId[9] = {};
};

// The beginning that the three driver updates share, after the Windows folder.
DriverPackage PrepareDriverUpdate(const char* relativeInf) {
    DriverPackage package;
    char programFolder[kProgramFolderSize];
    package.infPathFits =
        GetProgramFolder(programFolder) &&
        FormatPath(package.infPath, sizeof package.infPath, "%s%s", programFolder, relativeInf);
    std::snprintf(package.hardwareId, sizeof package.hardwareId, "%s", kHardwareId);
    {
        const TInstallStep step("load newdev.dll");
        EndIfModuleMissing(LoadNewDev(), kCannotOpenNewdev, kCannotLinkNewdev);
    }
    // The update holds the program's only thread for up to a minute: on XP the windows would turn into
    // Windows' white "Not Responding" frames after a few seconds, which tempt the user to end it.
    DisableProcessWindowsGhosting();
    WaitForDeviceInstallsOfWindows();
    return package;
}

BOOL UpdateDriver(const DriverPackage& package) {
    if (!package.infPathFits) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    BOOL rebootRequired = 0;  // never read: the wizard asks for a restart in every case
    return UpdateDriverForPlugAndPlayDevicesA(nullptr, package.hardwareId, package.infPath, INSTALLFLAG_FORCE,
                                              &rebootRequired);
}

// The diagnostic line of a failed update; answers the update's error.
DWORD ReportUpdateFailure() {
    const DWORD error = GetLastError();
    ReportLastError("UpdateDriverForPlugAndPlayDevices");
    return error;
}

// A user who started the program from Explorer sees no diagnostic line: the failure is also told in
// words before the program ends.
[[noreturn]] void EndOnUpdateFailure(DWORD error) {
    EndWithReason(kCantInstallFirDriver, error, kExitUpdateFailed);
}

std::string UpdateStepName(const DriverPackage& package) {
    return std::string("update the driver of ") + package.hardwareId + " with " + package.infPath;
}

// Updates the driver of a present device; an absent device is passed over. Answers whether the device
// was there.
bool UpdateStep(TForm2* wizard, const DriverPackage& package) {
    TInstallStep step(UpdateStepName(package));
    if (!FindFirDevice(wizard, package.hardwareId)) {
        step.Outcome(kNoDeviceNoUpdate);
        return false;
    }
    if (!UpdateDriver(package)) {
        EndOnUpdateFailure(ReportUpdateFailure());
    }
    return true;
}

// A controller switched off in the BIOS is not among the devices. The package is stored with Windows,
// which installs it by itself when the controller appears, taking its files from where the INF was.
// Storing it is the install then: one that fails ends the program as any other failed install does.
void StoreDriverPackage(const DriverPackage& package) {
    TInstallStep step(std::string("store ") + package.infPath + " with Windows");
    EndIfModuleMissing(LoadSetupCopyOEMInf(), kCannotOpenSetupApi, kCannotLinkSetupApi);
    if (!package.infPathFits) {
        EndWithReason(kCantInstallFirDriver, ERROR_FILENAME_EXCED_RANGE, kExitFatal);
    }
    char stored[MAX_PATH];
    if (!SetupCopyOEMInfA(package.infPath, nullptr, SPOST_PATH, 0, stored, sizeof stored, nullptr, nullptr)) {
        EndWithReason(kCantInstallFirDriver, GetLastError(), kExitFatal);
    }
    step.Outcome(std::string("done, as ") + stored);
}

// Windows 2000 and XP let only the Administrators group install a driver. A check that cannot be made
// stops nothing: the update then tells its own failure.
bool MayInstallDrivers() {
    PSID group = nullptr;
    if (!LoadGroupMembership() ||
        !AllocateAndInitializeSid(&SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &group)) {
        return true;
    }
    const OwnedSid administrators(group);
    BOOL member = 0;
    const BOOL checked = CheckTokenMembership(nullptr, administrators.get(), &member);
    return !checked || member != 0;
}

// Windows 2000 and XP keep the driver's settings under instance 0000 of the infrared class; a missing
// key is passed over.
void WriteTransceiverType(const std::string& transceiverType) {
    TInstallStep step("write InfraredTransceiverType " + transceiverType + " under " + kInfraredInstanceKey);
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (registry.OpenKey(kInfraredInstanceKey)) {
        registry.WriteString("InfraredTransceiverType", transceiverType);
    } else {
        step.Outcome("key not found, nothing written");
    }
}

void InstallThroughPlugAndPlay(TForm2* wizard, const char* relativeInf) {
    // Before anything is written: a user without the rights would otherwise be stopped half-way, with
    // the transceiver type left unwritten or the driver not updated.
    if (!TInstallStep("check that the user may install drivers")
             .Result(MayInstallDrivers(), "not an administrator")) {
        Fatal(kNotAdministrator);
    }
    char windowsFolder[kPathSize];  // not used on 2000 and XP: asked so that a missing one ends it as on Me
    GetWindowsFolder(windowsFolder);
    const auto package = PrepareDriverUpdate(relativeInf);
    if (!UpdateStep(wizard, package)) {
        StoreDriverPackage(package);
    }
    WriteTransceiverType(wizard->TransceiverType);
    UpdateStep(wizard, package);
}

bool IsFirDriverInstance(const std::string& deviceVxDs) {
    return StartsWithIgnoringAsciiCase(deviceVxDs, "cvfirdma");
}

// Windows Me keeps the driver's settings under its network class instance: the first instance whose
// driver is ours and that has the setting's own key gets the value; the scan ends at the first missing
// instance.
void WriteTransceiverTypeForWindowsMe(const std::string& transceiverType) {
    TInstallStep step("write InfraredTransceiverType " + transceiverType +
                      " under the driver's instance among " + kNetworkInstanceKey + "0 to 0009");
    step.Outcome("no instance of the driver with its settings key");
    TRegistry registry;
    for (int index = 0; index < kNetworkInstances; ++index) {
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        const std::string key = kNetworkInstanceKey + std::to_string(index);
        if (!registry.OpenKey(key)) {
            return;
        }
        if (!IsFirDriverInstance(registry.ReadString("DeviceVxDs"))) {
            continue;
        }
        registry.WriteString("InfraredTransceiverType", transceiverType);
        if (registry.OpenKey(key + "\\Ndi\\params\\InfraredTransceiverType")) {
            registry.WriteString("", transceiverType);
            step.Outcome("done, in " + key);
            return;
        }
    }
}

// A file of the Windows folders as it was before the install, kept beside the staged driver files so
// that a step that fails can put it back: its bytes and attributes, or its absence (a folder of its name
// is no file to keep). One that cannot be kept ends the program before anything changes.
class TKeptFile {
public:
    TKeptFile(const char* original, const char* keptStem) : original_(original), there_(IsFile(original)) {
        if (!there_) {
            return;
        }
        kept_ = KeptCopyName(keptStem, original);
        if (kept_.empty()) {
            EndWithReason(kCantCopyDriverFile + original_ + kCopyDestination + StagedDriverFolder(),
                          ERROR_FILE_EXISTS, kExitFatal);
        }
        const TInstallStep step("keep " + original_ + " as " + kept_);
        SetFileAttributesA(kept_.c_str(), FILE_ATTRIBUTE_NORMAL);  // the same bytes, left read-only
        if (!CopyFileA(original, kept_.c_str(), 0)) {
            EndWithReason(kCantCopyDriverFile + original_ + kCopyDestination + kept_, GetLastError(),
                          kExitFatal);
        }
    }
    // Makes the file as it was again, each change a step of its own. A kept copy that cannot be put back
    // stays where it is for good: answers the line that tells the user where, empty when all is as it was.
    std::string PutBack() const {
        if (there_) {
            return CopyBack();
        }
        TakeAway();
        return {};
    }

private:
    std::string CopyBack() const {
        if (SameFileBytes(kept_.c_str(), original_.c_str())) {
            return {};  // the step that failed left it as it was
        }
        TInstallStep step("put back " + original_ + " from " + kept_);
        SetFileAttributesA(original_.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (step.Result(CopyFileA(kept_.c_str(), original_.c_str(), 0))) {
            return {};
        }
        KeepForTheUser(kept_);
        return kEarlierFileNotPutBack + original_ + kKeptAs + kept_;
    }
    // A new file where there was none goes again. One that stays is logged: nothing of the user's is lost
    // by it.
    void TakeAway() const {
        if (IsFile(original_.c_str())) {
            TInstallStep("take away " + original_).Result(DeleteFileOfAnyAttributes(original_.c_str()));
        }
    }

    std::string original_;
    bool there_;
    std::string kept_;
};

// Puts back the files a failed step leaves changed, then ends the program with the step's failure, its
// reason, and where each kept copy lies that could not be put back.
[[noreturn]] void EndPuttingBack(std::initializer_list<const TKeptFile*> changed, const std::string& what,
                                 const std::string& reason) {
    std::string message = what + "\n" + reason;
    for (const TKeptFile* file : changed) {
        if (const std::string kept = file->PutBack(); !kept.empty()) {
            message += "\n" + kept;
        }
    }
    ShowMessage(message);
    ExitProcess(kExitFatal);
}

// Copies a staged driver file into a Windows folder; answers why it failed, empty when it is copied. A
// copy that Windows queues for the restart, the file being in use, it answers as done. FALSE with
// NO_ERROR is a copy that Windows did not complete, for reasons its documentation leaves open: it counts
// as done only when the destination holds the new bytes.
std::string CopyDriverFile(const char* fileName, const char* destination) {
    const std::string staged = StagedFile(fileName);
    TInstallStep step("copy " + staged + " to " + destination);
    if (SetupInstallFileA(nullptr, nullptr, fileName, StagedDriverFolder().c_str(), destination,
                          SP_COPY_SOURCEPATH_ABSOLUTE, nullptr, nullptr)) {
        return {};
    }
    if (const DWORD error = GetLastError(); error != ERROR_SUCCESS) {
        step.Failed(error);
        return ReasonText(error);
    }
    if (SameFileBytes(staged.c_str(), destination)) {
        step.Outcome("done: Windows did not complete the copy, and the file holds the new bytes");
        return {};
    }
    step.Outcome(std::string("failed: ") + kCopyNotCompleted);
    return kCopyNotCompleted;
}

std::string CopyFailure(const char* fileName, const char* destination) {
    return kCantCopyDriverFile + StagedFile(fileName) + kCopyDestination + destination;
}

// The old INF goes whatever its attributes, since Windows might take the old driver again after the
// restart. Answers why it failed; empty when it is gone or was never there.
std::string DeleteOldInf(const char* path) {
    TInstallStep step(std::string("delete ") + path);
    if (DeleteFileOfAnyAttributes(path)) {
        return {};
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        step.Outcome("not there");
        return {};
    }
    step.Failed(error);
    return ReasonText(error);
}

// On Windows 98 the search removes the device instance it finds, and the last error then gives the
// removal's answer. The files are in place by then: a removal that fails is logged and passed over.
void RemoveDeviceInstance(TForm2* wizard) {
    TInstallStep step("remove the device's instance");
    if (!FindFirDevice(wizard, kHardwareId)) {
        step.Outcome("device not found");
    } else if (const DWORD error = GetLastError(); error != ERROR_SUCCESS) {
        step.Failed(error);
    }
}

// Windows 98 has its INF folder from the start; one that is missing is made. A file in its place is
// left to the copy, which then tells that it cannot be made.
void CreateInfFolder(const char* path) {
    TInstallStep step(std::string("create the folder ") + path);
    if (CreateDirectoryA(path, nullptr)) {
        return;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS && IsFolder(path)) {
        step.Outcome(kAlreadyThere);
    } else {
        step.Failed(error);
    }
}

// The driver cabinet of Windows Me, and where the update parks it, below the Windows folder. Both fit:
// the folder has at most 99 characters.
struct DriverCabinet {
    char cached[kCabinetPathSize];
    char parked[kCabinetPathSize];
};

DriverCabinet DriverCabinetBelow(const char* windowsFolder) {
    DriverCabinet cabinet;
    FormatPath(cabinet.cached, sizeof cabinet.cached, "%s\\Driver Cache\\i386\\driver.cab", windowsFolder);
    FormatPath(cabinet.parked, sizeof cabinet.parked, "%s\\Driver Cache\\driver.cab", windowsFolder);
    return cabinet;
}

// The update step of Windows Me. The cabinet is moved aside for the update, so that Windows takes the
// driver from our INF rather than from its cache, and put back whichever way the update ends: from
// here on, the process's end puts it back too.
void UpdateWithCabinetAside(TForm2* wizard, const DriverPackage& package, const DriverCabinet& cabinet) {
    TInstallStep step(UpdateStepName(package) + ", the driver cabinet set aside");
    if (!FindFirDevice(wizard, package.hardwareId)) {
        step.Outcome(kNoDeviceNoUpdate);
        return;
    }
    MoveFileA(cabinet.cached, cabinet.parked);
    AddExitCleanUp(PutBackParkedDriverCabinet);
    const bool updated = UpdateDriver(package);
    const DWORD error = updated ? ERROR_SUCCESS : ReportUpdateFailure();
    PutBackParkedDriverCabinet();
    if (!updated) {
        EndOnUpdateFailure(error);
    }
}

}  // namespace

void InstallForWindows2000(TForm2* wizard) {
    InstallThroughPlugAndPlay(wizard, "win2000\\cvfirdma.inf");
}

void InstallForWindowsXp(TForm2* wizard) {
    InstallThroughPlugAndPlay(wizard, "winxp\\cvfirdma.inf");
}

void InstallForWindowsMe(TForm2* wizard) {
    char windowsFolder[kPathSize];
    GetWindowsFolder(windowsFolder);
    const DriverCabinet cabinet = DriverCabinetBelow(windowsFolder);
    const auto package = PrepareDriverUpdate("winme\\cvfirdma.inf");
    // An absent controller gets no stored package here, as it does on 2000 and XP: Windows Me has no
    // supported way for a program to store one, and its hardware wizard asks for the driver disk when
    // the controller appears.
    UpdateWithCabinetAside(wizard, package, cabinet);
    WriteTransceiverTypeForWindowsMe(wizard->TransceiverType);
}

// Windows looks for its drivers in the cabinet's place, so one that a run cut off left parked goes back
// whether or not the device is there. A cabinet that Windows has made anew meanwhile is not replaced.
void PutBackParkedDriverCabinet() {
    RemoveExitCleanUp(PutBackParkedDriverCabinet);
    char windowsFolder[kPathSize];
    if (!PathFits(GetWindowsDirectoryA(windowsFolder, kPathSize), kPathSize)) {
        return;
    }
    const DriverCabinet cabinet = DriverCabinetBelow(windowsFolder);
    if (GetFileAttributesA(cabinet.parked) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    TInstallStep(std::string("put the driver cabinet back: move ") + cabinet.parked + " to " + cabinet.cached)
        .Result(MoveFileA(cabinet.parked, cabinet.cached));
}

void InstallForWindows98(TForm2* wizard) {
    char windowsFolder[kPathSize];
    GetWindowsFolder(windowsFolder);
    // Every path made from the Windows folder has 100 bytes; the longest, the SYS file's, leaves the
    // folder 79 characters. A longer folder ends the program like a missing one: a cut path would name
    // another file.
    char oldInf[kPathSize];
    char infFolder[kPathSize];
    char infDestination[kPathSize];
    char sysDestination[kPathSize];
    if (!FormatPath(oldInf, sizeof oldInf, "%s\\inf\\cvfirpio.inf", windowsFolder) ||
        !FormatPath(infFolder, sizeof infFolder, "%s\\inf", windowsFolder) ||
        !FormatPath(infDestination, sizeof infDestination, "%s\\inf\\cvfirdma.inf", windowsFolder) ||
        !FormatPath(sysDestination, sizeof sysDestination, "%s\\system\\cvfirdma.sys", windowsFolder)) {
        Fatal(kNoWindowsPath);
    }
    // Every entry point of setupapi.dll is had before anything changes: one found missing half-way would
    // leave the old driver half taken away.
    {
        const TInstallStep step("load setupapi.dll");
        EndIfModuleMissing(LoadSetupApi(), kCannotOpenSetupApi, kCannotLinkSetupApi);
    }
    CreateInfFolder(infFolder);
    // Nothing the user had is lost to a step that fails. The INF files are kept and put back; the SYS
    // file goes last of the steps that can fail, so it never has to be put back: the file of a loaded
    // driver may be held until the restart, and then its copy waits for the restart too. The device
    // instance goes last of all: removed, it would come back only when Windows next detects it.
    const TKeptFile earlierInf(infDestination, kKeptEarlierInf);
    const TKeptFile oldInfKept(oldInf, kKeptOldInf);
    if (const auto failure = CopyDriverFile("cvfirdma.inf", infDestination); !failure.empty()) {
        EndPuttingBack({&earlierInf}, CopyFailure("cvfirdma.inf", infDestination), failure);
    }
    if (const auto failure = DeleteOldInf(oldInf); !failure.empty()) {
        EndPuttingBack({&earlierInf, &oldInfKept}, kCantDeleteOldDriverFile + std::string(oldInf), failure);
    }
    if (const auto failure = CopyDriverFile("cvfirdma.sys", sysDestination); !failure.empty()) {
        EndPuttingBack({&earlierInf, &oldInfKept}, CopyFailure("cvfirdma.sys", sysDestination), failure);
    }
    RemoveDeviceInstance(wizard);
    RemoveStagedDriverFiles();
}
