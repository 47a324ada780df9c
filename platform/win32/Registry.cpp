// The registry on the real API. Our handles and the predefined roots have the values Windows gives
// them, so a key passes through unchanged.
#include "platform/Registry.h"

#include <windows.h>

namespace platform {

namespace {

::HKEY Real(HKEY key) {
    return reinterpret_cast<::HKEY>(key);
}

}  // namespace

LONG RegOpenKeyA(HKEY key, LPCSTR subKey, HKEY* result) {
    return ::RegOpenKeyA(Real(key), subKey, reinterpret_cast<::HKEY*>(result));
}

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, HKEY* result) {
    return ::RegOpenKeyExA(Real(key), subKey, options, desired, reinterpret_cast<::HKEY*>(result));
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD dataSize) {
    return ::RegQueryValueExA(Real(key), valueName, reinterpret_cast<::LPDWORD>(reserved),
                              reinterpret_cast<::LPDWORD>(type), data, reinterpret_cast<::LPDWORD>(dataSize));
}

LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD dataSize) {
    return ::RegSetValueExA(Real(key), valueName, reserved, type, data, dataSize);
}

LONG RegCloseKey(HKEY key) {
    return ::RegCloseKey(Real(key));
}

}  // namespace platform
