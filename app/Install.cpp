// The install procedures: through the Plug and Play driver update on Windows Me, 2000 and XP, by
// copying the driver's files on Windows 98.
#include <string>

#include "app/DeviceCheck.h"
#include "app/FormatPath.h"
#include "app/Install.h"
#include "app/ProgramFolder.h"
#include "app/RunLog.h"
#include "app/Texts.h"
#include "app/Unit2.h"
#include "framework/ExitCodes.h"
#include "framework/MissingModule.h"
#include "framework/Registry.h"
#include "platform/AsciiCase.h"
#include "platform/HandleOwners.h"
#include "platform/Kernel.h"
#include "platform/NewDev.h"
#include "platform/Process.h"
#include "platform/Security.h"
#include "platform/SetupApi.h"

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

[[noreturn]] void Fatal(const char* message) {
    ShowMessage(message);
    ExitProcess(kExitFatal);
}

// The failure's text, then the system's reason on a line of its own.
[[noreturn]] void FatalWithReason(const std::string& what, DWORD error, UINT exitCode) {
    ShowMessage(what + "\n" + ReasonText(error));
    ExitProcess(exitCode);
}

// The Windows folder. One that does not fit the buffer comes back as its needed size with nothing
// written: it ends the program like a missing one, since a path made from it would be cut or unset.
void GetWindowsFolder(char (&folder)[kPathSize]) {
    const TInstallStep step("get the Windows folder");
    const UINT length = GetWindowsDirectoryA(folder, kPathSize);
    if (length == 0 || length >= kPathSize) {
        Fatal(kNoWindowsPath);
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
    const TInstallStep step("load newdev.dll");
    EndIfModuleMissing(LoadNewDev(), kCannotOpenNewdev, kCannotLinkNewdev);
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
    FatalWithReason(kCantInstallFirDriver, error, kExitUpdateFailed);
}

std::string UpdateStepName(const DriverPackage& package) {
    return std::string("update the driver of ") + package.hardwareId + " with " + package.infPath;
}

// Updates the driver of a present device; an absent device is passed over silently.
void UpdateStep(TForm2* wizard, const DriverPackage& package) {
    TInstallStep step(UpdateStepName(package));
    if (!FindFirDevice(wizard, package.hardwareId)) {
        step.Outcome(kNoDeviceNoUpdate);
        return;
    }
    if (!UpdateDriver(package)) {
        EndOnUpdateFailure(ReportUpdateFailure());
    }
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
    UpdateStep(wizard, package);
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

// The disk's win98 folder. The program folder has at most 99 characters, so the folder and each file
// in it always fit; a program folder that could not be had ends the program as an unreadable file.
void GetWindows98SourceFolder(char (&sourceFolder)[MAX_PATH]) {
    char programFolder[kProgramFolderSize];
    if (!GetProgramFolder(programFolder) ||
        !FormatPath(sourceFolder, sizeof sourceFolder, "%s%s", programFolder, "win98")) {
        FatalWithReason(std::string(kCantReadDriverFile) + "win98\\cvfirdma.inf", ERROR_FILENAME_EXCED_RANGE,
                        kExitFatal);
    }
}

// Whether the whole of a file can be read; the reason as the last error when not.
bool CanReadWhole(const char* path) {
    const HANDLE opened = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return false;
    }
    const OwnedHandle file(opened);
    char block[4096];
    DWORD read = 0;
    BOOL ok = 0;
    do {
        ok = ReadFile(file.get(), block, sizeof block, &read, nullptr);
    } while (ok && read != 0);
    return ok != 0;
}

std::string SourceFile(const char* sourceFolder, const char* fileName) {
    return std::string(sourceFolder) + "\\" + fileName;
}

void RequireReadableSource(const char* sourceFolder, const char* fileName) {
    const std::string path = SourceFile(sourceFolder, fileName);
    const TInstallStep step("read " + path);
    if (!CanReadWhole(path.c_str())) {
        FatalWithReason(kCantReadDriverFile + path, GetLastError(), kExitFatal);
    }
}

// A copy that fails ends the program: the wizard must never say it finished copying.
void CopyDriverFile(const char* sourceFolder, const char* fileName, const char* destination) {
    const TInstallStep step("copy " + SourceFile(sourceFolder, fileName) + " to " + destination);
    if (!SetupInstallFileA(nullptr, nullptr, fileName, sourceFolder, destination, SP_COPY_SOURCEPATH_ABSOLUTE,
                           nullptr, nullptr)) {
        FatalWithReason(
            kCantCopyDriverFile + SourceFile(sourceFolder, fileName) + kCopyDestination + destination,
            GetLastError(), kExitFatal);
    }
}

// The update step of Windows Me: the cabinet is put back whichever way the update ends.
void UpdateWithCabinetAside(TForm2* wizard, const DriverPackage& package, const char* cachedCabinet,
                            const char* parkedCabinet) {
    TInstallStep step(UpdateStepName(package) + ", the driver cabinet set aside");
    if (!FindFirDevice(wizard, package.hardwareId)) {
        step.Outcome(kNoDeviceNoUpdate);
        return;
    }
    MoveFileA(cachedCabinet, parkedCabinet);
    if (!UpdateDriver(package)) {
        const DWORD error = ReportUpdateFailure();
        MoveFileA(parkedCabinet, cachedCabinet);
        EndOnUpdateFailure(error);
    }
    MoveFileA(parkedCabinet, cachedCabinet);
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
    // The driver cabinet is moved aside for the update, so that Windows takes the driver from our INF
    // rather than from its cache, and put back afterwards. Both paths fit: the folder has at most 99
    // characters.
    char cachedCabinet[kCabinetPathSize];
    char parkedCabinet[kCabinetPathSize];
    FormatPath(cachedCabinet, sizeof cachedCabinet, "%s\\Driver Cache\\i386\\driver.cab", windowsFolder);
    FormatPath(parkedCabinet, sizeof parkedCabinet, "%s\\Driver Cache\\driver.cab", windowsFolder);
    const auto package = PrepareDriverUpdate("winme\\cvfirdma.inf");
    UpdateWithCabinetAside(wizard, package, cachedCabinet, parkedCabinet);
    WriteTransceiverTypeForWindowsMe(wizard->TransceiverType);
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
    char sourceFolder[MAX_PATH];
    GetWindows98SourceFolder(sourceFolder);
    // The old driver goes only once the new one is known to be on the disk, whole: a disk that lacks
    // a file, or cannot be read, must not take away what the user had.
    RequireReadableSource(sourceFolder, "cvfirdma.inf");
    RequireReadableSource(sourceFolder, "cvfirdma.sys");
    TInstallStep(std::string("delete ") + oldInf).Result(DeleteFileA(oldInf));
    // On Windows 98 the search removes the device instance it finds.
    TInstallStep("remove the device's instance")
        .Result(FindFirDevice(wizard, kHardwareId), "device not found");
    TInstallStep(std::string("create the folder ") + infFolder).Result(CreateDirectoryA(infFolder, nullptr));
    CopyDriverFile(sourceFolder, "cvfirdma.inf", infDestination);
    CopyDriverFile(sourceFolder, "cvfirdma.sys", sysDestination);
}
