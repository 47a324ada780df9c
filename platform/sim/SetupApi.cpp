// The device installation services of the in-memory Windows. Like Windows, each call leaves the
// last error 0 when it succeeds.
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "platform/CharacterScan.h"
#include "platform/Com.h"
#include "platform/Kernel.h"
#include "platform/Registry.h"
#include "platform/SetupApi.h"
#include "platform/sim/World.h"

namespace platform {

namespace {

constexpr DWORD ERROR_INVALID_USER_BUFFER = 1784;
constexpr DWORD NO_ERROR = 0;

// A device information set: the devices that were present when it was made.
struct DeviceSet {
    std::vector<std::size_t> devices;
};

sim::World& World() {
    return sim::TheWorld();
}

DeviceSet* SetOf(HDEVINFO set) {
    return reinterpret_cast<DeviceSet*>(set);
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

BOOL Succeed() {
    SetLastError(0);
    return 1;
}

sim::Device* DeviceOf(HDEVINFO set, const SP_DEVINFO_DATA* data) {
    if (set == nullptr || set == INVALID_HANDLE_VALUE || data == nullptr ||
        data->cbSize != sizeof(SP_DEVINFO_DATA)) {
        return nullptr;
    }
    const auto& devices = SetOf(set)->devices;
    if (data->DevInst >= devices.size()) {
        return nullptr;
    }
    return &World().devices[devices[data->DevInst]];
}

// The key that a device's installed driver has below the class key, "{class}\\0000" for the first device
// of the world, with its terminating zero.
std::vector<BYTE> DriverKey(const sim::Device& device) {
    const GUID& c = device.classGuid;
    char key[64];
    const auto index = static_cast<unsigned>(&device - World().devices.data());
    const int length =
        std::snprintf(key, sizeof key, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}\\%04u",
                      static_cast<unsigned>(c.Data1), c.Data2, c.Data3, c.Data4[0], c.Data4[1], c.Data4[2],
                      c.Data4[3], c.Data4[4], c.Data4[5], c.Data4[6], c.Data4[7], index);
    return std::vector<BYTE>(key, key + length + 1);
}

std::string SourcePath(LPCSTR root, LPCSTR file) {
    std::string path(root ? root : "");
    if (!path.empty() && !EndsWithCharacter(path, '\\')) {
        path += '\\';
    }
    return path + file;
}

}  // namespace

// The entry points of the system folder's setupapi.dll, as the program calls them through the module.
namespace setupapi_dll {

// Whether a device belongs in a set made with this class and these flags: every class with
// DIGCF_ALLCLASSES, else the class given; only present devices with DIGCF_PRESENT.
bool Selected(const sim::Device& device, const GUID* classGuid, DWORD flags) {
    const bool ofClass = (flags & DIGCF_ALLCLASSES) != 0 || device.classGuid == *classGuid;
    const bool presence = device.present || (flags & DIGCF_PRESENT) == 0;
    return !device.removed && ofClass && presence;
}

HDEVINFO CV_WINAPI SetupDiGetClassDevsA(const GUID* classGuid, LPCSTR /*enumerator*/, HWND /*parent*/,
                                        DWORD flags) {
    auto& world = World();
    world.Trace("SetupDiGetClassDevsA " + std::to_string(flags));
    if (world.classDevsError != 0) {
        SetLastError(world.classDevsError);
        return INVALID_HANDLE_VALUE;
    }
    if (classGuid == nullptr && (flags & DIGCF_ALLCLASSES) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);  // no class to take the devices of
        return INVALID_HANDLE_VALUE;
    }
    auto set = std::make_unique<DeviceSet>();
    for (std::size_t i = 0; i < world.devices.size(); ++i) {
        if (Selected(world.devices[i], classGuid, flags)) {
            set->devices.push_back(i);
        }
    }
    ++world.openDeviceSets;
    SetLastError(0);
    return reinterpret_cast<HDEVINFO>(set.release());
}

BOOL CV_WINAPI SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, SP_DEVINFO_DATA* data) {
    if (data == nullptr || data->cbSize != sizeof(SP_DEVINFO_DATA)) {
        return Fail(ERROR_INVALID_USER_BUFFER);
    }
    if (index >= SetOf(set)->devices.size()) {
        return Fail(ERROR_NO_MORE_ITEMS);
    }
    data->DevInst = index;
    data->ClassGuid = World().devices[SetOf(set)->devices[index]].classGuid;
    return Succeed();
}

BOOL CV_WINAPI SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, SP_DEVINFO_DATA* data, DWORD property,
                                                 DWORD* dataType, BYTE* buffer, DWORD bufferSize,
                                                 DWORD* requiredSize) {
    auto* device = DeviceOf(set, data);
    if (device == nullptr || (property != SPDRP_HARDWAREID && property != SPDRP_DRIVER)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (device->propertyError != 0) {
        return Fail(device->propertyError);
    }
    const bool hardwareIds = property == SPDRP_HARDWAREID;
    if (hardwareIds ? !device->hasHardwareIds : device->installedInf.empty()) {
        return Fail(ERROR_INVALID_DATA);
    }
    const std::vector<BYTE> value = hardwareIds ? device->hardwareIds : DriverKey(*device);
    // The size and the type are answered whether or not the buffer holds the value.
    const auto size = static_cast<DWORD>(value.size());
    if (requiredSize != nullptr) {
        *requiredSize = size;
    }
    if (dataType != nullptr) {
        *dataType = hardwareIds ? REG_MULTI_SZ : REG_SZ;
    }
    if (bufferSize < size || buffer == nullptr) {
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, value.data(), size);
    return Succeed();
}

BOOL CV_WINAPI SetupDiRemoveDevice(HDEVINFO set, SP_DEVINFO_DATA* data) {
    auto& world = World();
    auto* device = DeviceOf(set, data);
    world.Trace("SetupDiRemoveDevice " + (device ? device->instanceId : std::string("?")));
    if (device == nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (world.removeDeviceFails) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    device->removed = true;
    return Succeed();
}

BOOL CV_WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO set) {
    if (set == nullptr || set == INVALID_HANDLE_VALUE) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    delete SetOf(set);
    --World().openDeviceSets;
    return Succeed();
}

BOOL CV_WINAPI SetupInstallFileA(void* /*infHandle*/, void* /*infContext*/, LPCSTR sourceFile,
                                 LPCSTR sourcePathRoot, LPCSTR destinationName, DWORD copyStyle,
                                 void* /*copyMsgHandler*/, void* /*context*/) {
    auto& world = World();
    const auto source = SourcePath(sourcePathRoot, sourceFile);
    world.Trace("SetupInstallFileA " + source + " " + destinationName + " " + std::to_string(copyStyle));
    // setupapi.dll reaches both names by wide characters, which MAX_PATH does not hold (as Wine shows),
    // and only on a drive with its medium.
    constexpr auto kAnyLength = std::numeric_limits<std::size_t>::max();
    const auto from = world.PathToReach(source.c_str(), kAnyLength);
    const auto to = from ? world.PathToReach(destinationName, kAnyLength) : std::nullopt;
    if (!to) {
        return 0;
    }
    const auto* entry = world.files.Find(*from);
    if (entry == nullptr || entry->directory) {
        return Fail(entry == nullptr ? world.MissingEntryError(*from) : ERROR_FILE_NOT_FOUND);
    }
    if (entry->readError != 0) {
        return Fail(entry->readError);
    }
    if (world.installFileNotCompleted) {
        return Fail(NO_ERROR);
    }
    auto* target = world.files.Find(*to);
    const std::string content = entry->content;
    if (target != nullptr && target->inUse && !target->directory) {
        // A file the system holds open is replaced when Windows starts again.
        target->contentAtRestart = content;
        return Succeed();
    }
    if (const DWORD error = world.WhyNotWritable(*to, content)) {
        return Fail(error);
    }
    // The copy keeps the source's attributes, as Wine shows.
    const DWORD attributes = entry->attributes;
    world.files.AddFile(*to, content);
    world.files.Find(*to)->attributes = attributes;
    return Succeed();
}

// "SetupCopyOEMInfA function (setupapi.h)": the INF copied into the Windows folder's INF folder as
// oemN.inf, N the first number free, or found there already as an oemN.inf of the same bytes; the path of
// that file answered. The INF is read, and its copy written, as a file copy is.
BOOL CV_WINAPI SetupCopyOEMInfA(LPCSTR sourceInfFileName, LPCSTR /*oemSourceMediaLocation*/,
                                DWORD oemSourceMediaType, DWORD copyStyle, LPSTR destinationInfFileName,
                                DWORD destinationInfFileNameSize, DWORD* requiredSize,
                                LPSTR* destinationInfFileNameComponent) {
    auto& world = World();
    world.Trace(std::string("SetupCopyOEMInfA ") + sourceInfFileName + " " +
                std::to_string(oemSourceMediaType));
    if (copyStyle != 0) {
        return Fail(ERROR_INVALID_PARAMETER);  // the styles (deleting the source, ...) are not kept here
    }
    const auto from = world.PathToReach(sourceInfFileName);
    if (!from) {
        return 0;
    }
    const auto* inf = world.files.Find(*from);
    if (inf == nullptr || inf->directory) {
        return Fail(inf == nullptr ? world.MissingEntryError(*from) : ERROR_ACCESS_DENIED);
    }
    if (inf->readError != 0) {
        return Fail(inf->readError);
    }
    std::string stored;
    for (int number = 0; stored.empty(); ++number) {
        const std::string name = world.windowsDirectory + "\\inf\\oem" + std::to_string(number) + ".inf";
        const auto* there = world.files.Find(name);
        if (there == nullptr || (!there->directory && there->content == inf->content)) {
            stored = name;
        }
    }
    if (!world.files.Exists(stored)) {
        if (const DWORD error = world.WhyNotWritable(stored, inf->content)) {
            return Fail(error);
        }
        world.files.AddFile(stored, inf->content);
    }
    const auto size = static_cast<DWORD>(stored.size() + 1);
    if (requiredSize != nullptr) {
        *requiredSize = size;
    }
    if (destinationInfFileName == nullptr || destinationInfFileNameSize < size) {
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(destinationInfFileName, stored.c_str(), size);
    if (destinationInfFileNameComponent != nullptr) {
        *destinationInfFileNameComponent = destinationInfFileName + FindLastCharacter(stored, "\\") + 1;
    }
    return Succeed();
}

// Waits for nothing: the world's answer stands for what Plug and Play had left to do meanwhile.
DWORD CV_WINAPI CMP_WaitNoPendingInstallEvents(DWORD timeout) {
    auto& world = World();
    world.Trace("CMP_WaitNoPendingInstallEvents " + std::to_string(timeout));
    return world.installEventsWait;
}

}  // namespace setupapi_dll

void sim::World::InstallSetupApi(std::string_view leftOut) {
    Module setupapi;
    setupapi.Add("SetupDiGetClassDevsA", &setupapi_dll::SetupDiGetClassDevsA);
    setupapi.Add("SetupDiEnumDeviceInfo", &setupapi_dll::SetupDiEnumDeviceInfo);
    setupapi.Add("SetupDiGetDeviceRegistryPropertyA", &setupapi_dll::SetupDiGetDeviceRegistryPropertyA);
    setupapi.Add("SetupDiRemoveDevice", &setupapi_dll::SetupDiRemoveDevice);
    setupapi.Add("SetupDiDestroyDeviceInfoList", &setupapi_dll::SetupDiDestroyDeviceInfoList);
    setupapi.Add("SetupInstallFileA", &setupapi_dll::SetupInstallFileA);
    setupapi.Add("SetupCopyOEMInfA", &setupapi_dll::SetupCopyOEMInfA);
    setupapi.Add("CMP_WaitNoPendingInstallEvents", &setupapi_dll::CMP_WaitNoPendingInstallEvents);
    setupapi.entryPoints.erase(std::string(leftOut));
    modules[SystemPath("setupapi.dll")] = std::move(setupapi);
}

}  // namespace platform
