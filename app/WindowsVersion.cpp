// The Windows version, told by the version strings in the registry rather than by the system's
// version call.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "app/WindowsVersion.h"
#include "platform/AsciiCase.h"
#include "platform/HandleOwners.h"
#include "platform/Registry.h"

using namespace platform;

namespace {

constexpr std::size_t kValueSize = 100;

// Whether `value` begins with the first `count` characters of `text`, ignoring the case of letters.
bool MatchesOver(const char* value, const char* text, std::size_t count) {
    return StartsWithIgnoringAsciiCase(value, std::string_view(text, count));
}

// Reads a value into the shared buffer, asking for its size first. A missing value reads as empty, so
// that it matches nothing. A value longer than the buffer is cut to the buffer: the comparisons look at
// its first characters only, so a long text that begins with a release's name still names it.
void ReadValue(HKEY key, const char* name, char (&buffer)[kValueSize]) {
    buffer[0] = '\0';
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
        return;
    }
    if (size <= kValueSize) {
        if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS) {
            buffer[0] = '\0';
            return;
        }
        buffer[std::min<std::size_t>(size, kValueSize - 1)] = '\0';
        return;
    }
    std::vector<BYTE> whole(size);
    if (RegQueryValueExA(key, name, nullptr, nullptr, whole.data(), &size) != ERROR_SUCCESS) {
        return;
    }
    std::memcpy(buffer, whole.data(), kValueSize - 1);  // the value is longer than the buffer
    buffer[kValueSize - 1] = '\0';
}

// The key under HKEY_LOCAL_MACHINE; none when it cannot be opened.
OwnedKey OpenMachineKey(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, path, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return OwnedKey(key);
}

// Reads a value of the key under HKEY_LOCAL_MACHINE as ReadValue does; false when the key cannot be
// opened.
bool ReadMachineValue(const char* path, const char* name, char (&buffer)[kValueSize]) {
    const OwnedKey key = OpenMachineKey(path);
    if (!key) {
        return false;
    }
    ReadValue(key.get(), name, buffer);
    return true;
}

// The 9x release that the key's "Version" names; none when it names neither.
std::optional<TOsKind> ClassifyNineX(char (&value)[kValueSize]) {
    if (MatchesOver(value, "Windows 98", 10)) {
        return TOsKind::Windows98;
    }
    if (MatchesOver(value, "Windows Millennium Edition", 25)) {
        return TOsKind::WindowsMe;
    }
    return std::nullopt;
}

TOsKind ClassifyNt(HKEY key, char (&value)[kValueSize]) {
    ReadValue(key, "CurrentVersion", value);
    if (MatchesOver(value, "5.0", 3)) {
        return TOsKind::Windows2000;
    }
    if (MatchesOver(value, "4.0", 3)) {
        return TOsKind::WindowsNt4;
    }
    if (MatchesOver(value, "3.51", 4)) {
        return TOsKind::WindowsNt351;
    }
    // Windows XP's version number (5.1) is none of the above: it is known by its product name only.
    ReadValue(key, "ProductName", value);
    return MatchesOver(value, "Microsoft Windows XP", 20) ? TOsKind::WindowsXp : TOsKind::NotRecognised;
}

}  // namespace

TOsKind ClassifyWindowsVersion() {
    char value[kValueSize];
    if (!ReadMachineValue("Software\\Microsoft\\Windows\\CurrentVersion", "Version", value)) {
        return TOsKind::NotRecognised;
    }
    // The 9x key comes first: a "Version" naming Windows 98 decides, whatever the NT key says.
    if (const auto kind = ClassifyNineX(value)) {
        return *kind;
    }
    const OwnedKey nt = OpenMachineKey("Software\\Microsoft\\Windows NT\\CurrentVersion");
    return nt ? ClassifyNt(nt.get(), value) : TOsKind::NotRecognised;
}
