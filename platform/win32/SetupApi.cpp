// The device installation services on the real API.
#include "platform/SetupApi.h"

#include <windows.h>
#include <setupapi.h>

namespace platform {

// The program sets cbSize itself, to the size Windows checks: 28 bytes in a 32-bit process.
static_assert(sizeof(SP_DEVINFO_DATA) == sizeof(::SP_DEVINFO_DATA));
static_assert(sizeof(void*) != 4 || sizeof(::SP_DEVINFO_DATA) == 28);
static_assert(sizeof(GUID) == sizeof(::GUID));

namespace {

::HDEVINFO Real(HDEVINFO set) {
    return reinterpret_cast<::HDEVINFO>(set);
}

::SP_DEVINFO_DATA* Real(SP_DEVINFO_DATA* data) {
    return reinterpret_cast<::SP_DEVINFO_DATA*>(data);
}

}  // namespace

HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, LPCSTR enumerator, HWND parent, DWORD flags) {
    return reinterpret_cast<HDEVINFO>(::SetupDiGetClassDevsA(
        reinterpret_cast<const ::GUID*>(classGuid), enumerator, reinterpret_cast<::HWND>(parent), flags));
}

BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, SP_DEVINFO_DATA* data) {
    return ::SetupDiEnumDeviceInfo(Real(set), index, Real(data));
}

BOOL SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, SP_DEVINFO_DATA* data, DWORD property, DWORD* dataType,
                                       BYTE* buffer, DWORD bufferSize, DWORD* requiredSize) {
    return ::SetupDiGetDeviceRegistryPropertyA(Real(set), Real(data), property,
                                               reinterpret_cast<::DWORD*>(dataType), buffer, bufferSize,
                                               reinterpret_cast<::DWORD*>(requiredSize));
}

BOOL SetupDiRemoveDevice(HDEVINFO set, SP_DEVINFO_DATA* data) {
    return ::SetupDiRemoveDevice(Real(set), Real(data));
}

BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) {
    return ::SetupDiDestroyDeviceInfoList(Real(set));
}

BOOL SetupInstallFileA(void* infHandle, void* infContext, LPCSTR sourceFile, LPCSTR sourcePathRoot,
                       LPCSTR destinationName, DWORD copyStyle, void* copyMsgHandler, void* context) {
    return ::SetupInstallFileA(static_cast<::HINF>(infHandle), static_cast<::PINFCONTEXT>(infContext),
                               sourceFile, sourcePathRoot, destinationName, copyStyle,
                               reinterpret_cast<::PSP_FILE_CALLBACK_A>(copyMsgHandler), context);
}

}  // namespace platform
