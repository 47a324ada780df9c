// The device installation services, called through the entry points of the system folder's setupapi.dll.
#include "platform/SetupApi.h"

#include "platform/SystemModule.h"

namespace platform {

namespace {

enum Entry : std::size_t {
    kGetClassDevs,
    kEnumDeviceInfo,
    kGetDeviceRegistryProperty,
    kRemoveDevice,
    kDestroyDeviceInfoList,
    kInstallFile
};

SystemEntries<6>& SetupApi() {
    static SystemEntries<6> entries(
        "setupapi.dll", {"SetupDiGetClassDevsA", "SetupDiEnumDeviceInfo", "SetupDiGetDeviceRegistryPropertyA",
                         "SetupDiRemoveDevice", "SetupDiDestroyDeviceInfoList", "SetupInstallFileA"});
    return entries;
}

SystemEntries<1>& CopyOemInf() {
    static SystemEntries<1> entries("setupapi.dll", {"SetupCopyOEMInfA"});
    return entries;
}

// Only Windows XP and later have it: bound on its own, so that its absence leaves the rest usable.
SystemEntries<1>& InstallEventsWait() {
    static SystemEntries<1> entries("setupapi.dll", {"CMP_WaitNoPendingInstallEvents"});
    return entries;
}

}  // namespace

BOOL LoadSetupApi() {
    return SetupApi().Bind();
}

HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, LPCSTR enumerator, HWND parent, DWORD flags) {
    return SetupApi().Call(kGetClassDevs, INVALID_HANDLE_VALUE, classGuid, enumerator, parent, flags);
}

BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, SP_DEVINFO_DATA* data) {
    return SetupApi().Call(kEnumDeviceInfo, BOOL{0}, set, index, data);
}

BOOL SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, SP_DEVINFO_DATA* data, DWORD property, DWORD* dataType,
                                       BYTE* buffer, DWORD bufferSize, DWORD* requiredSize) {
    return SetupApi().Call(kGetDeviceRegistryProperty, BOOL{0}, set, data, property, dataType, buffer,
                           bufferSize, requiredSize);
}

BOOL SetupDiRemoveDevice(HDEVINFO set, SP_DEVINFO_DATA* data) {
    return SetupApi().Call(kRemoveDevice, BOOL{0}, set, data);
}

BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) {
    return SetupApi().Call(kDestroyDeviceInfoList, BOOL{0}, set);
}

BOOL SetupInstallFileA(void* infHandle, void* infContext, LPCSTR sourceFile, LPCSTR sourcePathRoot,
                       LPCSTR destinationName, DWORD copyStyle, void* copyMsgHandler, void* context) {
    return SetupApi().Call(kInstallFile, BOOL{0}, infHandle, infContext, sourceFile, sourcePathRoot,
                           destinationName, copyStyle, copyMsgHandler, context);
}

BOOL LoadSetupCopyOEMInf() {
    return CopyOemInf().Bind();
}

BOOL SetupCopyOEMInfA(LPCSTR sourceInfFileName, LPCSTR oemSourceMediaLocation, DWORD oemSourceMediaType,
                      DWORD copyStyle, LPSTR destinationInfFileName, DWORD destinationInfFileNameSize,
                      DWORD* requiredSize, LPSTR* destinationInfFileNameComponent) {
    return CopyOemInf().Call(0, BOOL{0}, sourceInfFileName, oemSourceMediaLocation, oemSourceMediaType,
                             copyStyle, destinationInfFileName, destinationInfFileNameSize, requiredSize,
                             destinationInfFileNameComponent);
}

// Taken anew at each call, as the driver update's entry points are at each install.
DWORD CMP_WaitNoPendingInstallEvents(DWORD timeout) {
    auto& wait = InstallEventsWait();
    return wait.Bind() ? wait.Call(0, WAIT_FAILED, timeout) : WAIT_FAILED;
}

}  // namespace platform
