// The device installation services: the set of present devices, their properties, removal, and the
// copying of driver files. They live in setupapi.dll, which is not one of Windows' known modules, so it
// is loaded at run time from the system folder (platform/SystemModule.h).
#pragma once

#include "platform/Kernel.h"
#include "platform/Types.h"

namespace platform {

// One device of a device information set. cbSize must hold the structure's size: 28 bytes in the
// 32-bit program.
struct SP_DEVINFO_DATA {
    DWORD cbSize;
    GUID ClassGuid;
    DWORD DevInst;
    std::uintptr_t Reserved;
};

using HDEVINFO = HANDLE;

inline constexpr DWORD DIGCF_PRESENT = 0x02;
inline constexpr DWORD DIGCF_ALLCLASSES = 0x04;
inline constexpr DWORD SPDRP_HARDWAREID = 0x01;
inline constexpr DWORD SPDRP_DRIVER = 0x09;  // the driver's key below the class key: what an update installed
inline constexpr DWORD SP_COPY_SOURCEPATH_ABSOLUTE = 0x80;

// Loads setupapi.dll and takes every entry point below from it. A procedure calls it before its first
// use of them: FALSE, with the reason as the last error (ERROR_PROC_NOT_FOUND for a missing entry
// point), when they cannot be had. Unbound, each call below fails with that reason.
BOOL LoadSetupApi();

HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, LPCSTR enumerator, HWND parent, DWORD flags);
BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, SP_DEVINFO_DATA* data);
BOOL SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, SP_DEVINFO_DATA* data, DWORD property, DWORD* dataType,
                                       BYTE* buffer, DWORD bufferSize, DWORD* requiredSize);
BOOL SetupDiRemoveDevice(HDEVINFO set, SP_DEVINFO_DATA* data);
BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set);

// Waits until Plug and Play has no device installation of its own left to do (a device just plugged
// in, a driver Windows found by itself), at most `timeout` milliseconds: WAIT_OBJECT_0 when none is
// left, WAIT_TIMEOUT when one still is. setupapi.dll has it from Windows XP on and LoadSetupApi does not
// bind it; without it, and on any failure, WAIT_FAILED with the reason as the last error:
// ERROR_PROC_NOT_FOUND from a setupapi.dll of an older Windows.
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
DWORD CMP_WaitNoPendingInstallEvents(DWORD timeout);

BOOL SetupInstallFileA(void* infHandle, void* infContext, LPCSTR sourceFile, LPCSTR sourcePathRoot,
                       LPCSTR destinationName, DWORD copyStyle, void* copyMsgHandler, void* context);

// Storing a driver package with Windows, which only Windows 2000 and XP are asked to do: its entry point
// is bound on its own, so that the other releases' setupapi.dll need not have it. FALSE, with the reason
// as the last error, when it cannot be had; unbound, the call below fails with that reason.
BOOL LoadSetupCopyOEMInf();
// Copies an INF into Windows' INF folder as oemN.inf (or finds it there already) and answers that
// file's path. With SPOST_PATH and no location, the folder the INF came from is where Windows looks for
// the package's files.
inline constexpr DWORD SPOST_PATH = 1;
BOOL SetupCopyOEMInfA(LPCSTR sourceInfFileName, LPCSTR oemSourceMediaLocation, DWORD oemSourceMediaType,
                      DWORD copyStyle, LPSTR destinationInfFileName, DWORD destinationInfFileNameSize,
                      DWORD* requiredSize, LPSTR* destinationInfFileNameComponent);

}  // namespace platform
