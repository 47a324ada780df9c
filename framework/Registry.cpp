#include "framework/Registry.h"

#include <vector>

using namespace platform;

TRegistry::TRegistry() : rootKey_(HKEY_CURRENT_USER) {}

TRegistry::~TRegistry() {
    CloseKey();
}

void TRegistry::SetRootKey(HKEY rootKey) {
    if (rootKey_ != rootKey) {
        rootKey_ = rootKey;
        CloseKey();
    }
}

bool TRegistry::OpenKey(const std::string& key) {
    const bool relative = key.empty() || key[0] != '\\';
    const std::string path = relative ? key : key.substr(1);
    const HKEY base = relative && currentKey_ != nullptr ? currentKey_ : rootKey_;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(base, path.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) {
        return false;
    }
    CloseKey();
    currentKey_ = opened;
    return true;
}

void TRegistry::CloseKey() {
    if (currentKey_ != nullptr) {
        RegCloseKey(currentKey_);
        currentKey_ = nullptr;
    }
}

std::string TRegistry::ReadString(const std::string& name) {
    DWORD type = 0;
    DWORD size = 0;
    if (currentKey_ == nullptr ||
        RegQueryValueExA(currentKey_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        size == 0) {
        return {};
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        throw ERegistryException(FormatMessageText("Invalid data type for '%s'", name));
    }
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(currentKey_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS) {
        throw ERegistryException(FormatMessageText("Failed to get data for '%s'", name));
    }
    return std::string(data.data());  // up to the first zero
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    const auto size = static_cast<DWORD>(value.size() + 1);
    if (currentKey_ == nullptr ||
        RegSetValueExA(currentKey_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       size) != ERROR_SUCCESS) {
        throw ERegistryException(FormatMessageText("Failed to set data for '%s'", name));
    }
}
