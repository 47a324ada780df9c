// The registry key object: one open key at a time under a root key, with full access, string values
// read and written, and failures raised as the framework's exceptions.
#pragma once

#include <string>

#include "framework/Classes.h"
#include "platform/Registry.h"

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

class TRegistry : public TObject {
public:
    TRegistry();
    ~TRegistry() override;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    platform::HKEY RootKey() const { return rootKey_; }
    // A new root closes the open key; the same root again leaves it open.
    void SetRootKey(platform::HKEY rootKey);
    platform::HKEY CurrentKey() const { return currentKey_; }

    // Opens an existing key, never creating one. A path that begins with a backslash counts from the
    // root key; any other from the open key, or from the root when none is open. On success the new key
    // replaces the open one; on failure the open key stays.
    bool OpenKey(const std::string& key);
    void CloseKey();

    // A missing or empty value reads as empty text; a REG_SZ or REG_EXPAND_SZ value as its text up to the
    // first zero, unexpanded. A value of any other type raises "Invalid data type for '%s'".
    std::string ReadString(const std::string& name);
    // Writes a REG_SZ value with its terminating zero; failure raises "Failed to set data for '%s'".
    void WriteString(const std::string& name, const std::string& value);

private:
    platform::HKEY rootKey_;
    platform::HKEY currentKey_ = nullptr;
};
