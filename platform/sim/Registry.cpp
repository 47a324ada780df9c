// The registry calls of the in-memory Windows.
#include <cstring>

#include "platform/Registry.h"
#include "platform/sim/World.h"

namespace platform {

namespace {

sim::Registry& Reg() {
    return sim::TheWorld().registry;
}

bool WantsWrite(REGSAM access) {
    return (access & KEY_SET_VALUE) != 0;
}

LONG OpenKey(HKEY key, LPCSTR subKey, REGSAM desired, HKEY* result, const char* callName) {
    *result = nullptr;
    sim::TheWorld().Trace(std::string(callName) + " " + (subKey ? subKey : ""));
    if (Reg().Root(key) == nullptr) {
        return static_cast<LONG>(ERROR_INVALID_HANDLE);
    }
    if (subKey != nullptr && subKey[0] == '\\') {
        return static_cast<LONG>(ERROR_BAD_PATHNAME);  // Windows refuses a key path from the root
    }
    auto* found = Reg().FindKey(key, subKey ? subKey : "");
    if (found == nullptr) {
        return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    }
    if (found->refuseFullAccess && desired == KEY_ALL_ACCESS && sim::TheWorld().registrySecurity) {
        return static_cast<LONG>(ERROR_ACCESS_DENIED);
    }
    *result = Reg().Open(*found, desired);
    return ERROR_SUCCESS;
}

}  // namespace

// RegOpenKeyA asks for all the access the caller may have: full access, or reading alone where full
// access is refused.
LONG RegOpenKeyA(HKEY key, LPCSTR subKey, HKEY* result) {
    const auto* found = Reg().Root(key) != nullptr ? Reg().FindKey(key, subKey ? subKey : "") : nullptr;
    const bool refused = found != nullptr && found->refuseFullAccess && sim::TheWorld().registrySecurity;
    const REGSAM access = refused ? KEY_READ : KEY_ALL_ACCESS;
    return OpenKey(key, subKey, access, result, "RegOpenKeyA");
}

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD /*options*/, REGSAM desired, HKEY* result) {
    return OpenKey(key, subKey, desired, result, "RegOpenKeyExA");
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD /*reserved*/, LPDWORD type, LPBYTE data,
                      LPDWORD dataSize) {
    auto* open = Reg().Lookup(key);
    if (open == nullptr) {
        return static_cast<LONG>(ERROR_INVALID_HANDLE);
    }
    auto found = open->key->values.find(valueName ? valueName : "");
    if (found == open->key->values.end()) {
        return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    }
    const auto& value = found->second;
    const auto size = static_cast<DWORD>(value.data.size());
    if (type != nullptr) {
        *type = value.type;
    }
    if (data == nullptr) {
        if (dataSize != nullptr) {
            *dataSize = size;
        }
        return ERROR_SUCCESS;
    }
    if (dataSize == nullptr) {
        return static_cast<LONG>(ERROR_INVALID_PARAMETER);
    }
    if (*dataSize < size) {
        // What Windows leaves in a too-small buffer is undefined: make any use of it visible.
        std::memset(data, 0xCC, *dataSize);
        *dataSize = size;
        return static_cast<LONG>(ERROR_MORE_DATA);
    }
    if (size != 0) {
        std::memcpy(data, value.data.data(), size);
    }
    *dataSize = size;
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD /*reserved*/, DWORD type, const BYTE* data,
                    DWORD dataSize) {
    auto* open = Reg().Lookup(key);
    sim::TheWorld().Trace(std::string("RegSetValueExA ") + (valueName ? valueName : ""));
    if (open == nullptr) {
        return static_cast<LONG>(ERROR_INVALID_HANDLE);
    }
    // Windows 98 and Me check no access: a key opened for reading is written all the same.
    const bool accessRefused = !WantsWrite(open->access) && sim::TheWorld().registrySecurity;
    if (accessRefused || open->key->refuseWrites) {
        return static_cast<LONG>(ERROR_ACCESS_DENIED);
    }
    open->key->values[valueName ? valueName : ""] =
        sim::RegistryValue{type, std::vector<BYTE>(data, data + dataSize)};
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    return Reg().Close(key) ? ERROR_SUCCESS : static_cast<LONG>(ERROR_INVALID_HANDLE);
}

}  // namespace platform
