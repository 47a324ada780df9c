// Any bytes as the registry values that tell the Windows version ("Version", "CurrentVersion",
// "ProductName"), each of any type and size or missing, under keys that may be missing: the
// classification never reads or writes beyond its buffer, closes every key it opened, and answers what
// the first characters of the values name, as far as the buffer holds them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/WindowsVersion.h"
#include "platform/AsciiCase.h"
#include "platform/Registry.h"
#include "platform/sim/World.h"
#include "tests/fuzz/FuzzBytes.h"

using namespace platform;

namespace {

constexpr std::string_view kNineXKey = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr std::string_view kNtKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr DWORD kTypes[] = {REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, REG_NONE};
// The classification's buffer, less the byte that its terminating zero takes.
constexpr std::size_t kTextRoom = 99;

struct Value {
    bool present = false;
    DWORD type = REG_SZ;
    std::vector<BYTE> data;
};

// A control byte (present, type, a long length), the length, then the data.
Value ReadValue(FuzzBytes& bytes) {
    const std::uint8_t control = bytes.Byte();
    Value value;
    value.present = (control & 1) != 0;
    value.type = kTypes[(control >> 1) % std::size(kTypes)];
    std::size_t length = bytes.Byte();
    if ((control & 0x80) != 0) {
        length += 256;  // longer than the buffer
    }
    const std::string data = bytes.Text(length);
    value.data.assign(data.begin(), data.end());
    return value;
}

void Store(std::string_view key, std::string_view name, const Value& value) {
    if (value.present) {
        sim::TheWorld().registry.SetValue(HKEY_LOCAL_MACHINE, key, name, value.type, value.data);
    }
}

// What the classification can see of a value: its bytes up to the first zero, as far as its buffer
// holds them; nothing when it is missing.
std::string Seen(const Value& value) {
    if (!value.present || value.data.empty()) {
        return {};
    }
    const auto* text = reinterpret_cast<const char*>(value.data.data());
    return std::string(text, strnlen(text, std::min(value.data.size(), kTextRoom)));
}

bool Names(const Value& value, std::string_view release, std::size_t count) {
    const std::string seen = Seen(value);
    return seen.size() >= count &&
           EqualsIgnoringAsciiCase(std::string_view(seen).substr(0, count), release.substr(0, count));
}

struct Case {
    bool nineXKey;
    bool ntKey;
    Value version;
    Value currentVersion;
    Value productName;
};

TOsKind Expected(const Case& c) {
    if (!c.nineXKey) {
        return TOsKind::NotRecognised;
    }
    if (Names(c.version, "Windows 98", 10)) {
        return TOsKind::Windows98;
    }
    if (Names(c.version, "Windows Millennium Edition", 25)) {
        return TOsKind::WindowsMe;
    }
    if (!c.ntKey) {
        return TOsKind::NotRecognised;
    }
    if (Names(c.currentVersion, "5.0", 3)) {
        return TOsKind::Windows2000;
    }
    if (Names(c.currentVersion, "4.0", 3)) {
        return TOsKind::WindowsNt4;
    }
    if (Names(c.currentVersion, "3.51", 4)) {
        return TOsKind::WindowsNt351;
    }
    return Names(c.productName, "Microsoft Windows XP", 20) ? TOsKind::WindowsXp : TOsKind::NotRecognised;
}

// Only the two keys change from one input to the next.
void SetUpKeys(const Case& c) {
    auto& registry = sim::TheWorld().registry;
    registry.DeleteKey(HKEY_LOCAL_MACHINE, kNineXKey);
    registry.DeleteKey(HKEY_LOCAL_MACHINE, kNtKey);
    if (c.nineXKey) {
        registry.CreateKey(HKEY_LOCAL_MACHINE, kNineXKey);
        Store(kNineXKey, "Version", c.version);
    }
    if (c.ntKey) {
        registry.CreateKey(HKEY_LOCAL_MACHINE, kNtKey);
        Store(kNtKey, "CurrentVersion", c.currentVersion);
        Store(kNtKey, "ProductName", c.productName);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto& world = sim::ResetWorld();
    FuzzBytes bytes(data, size);
    const std::uint8_t keys = bytes.Byte();
    Case c{(keys & 1) == 0, (keys & 2) == 0, {}, {}, {}};
    c.version = ReadValue(bytes);
    c.currentVersion = ReadValue(bytes);
    c.productName = ReadValue(bytes);
    SetUpKeys(c);
    if (ClassifyWindowsVersion() != Expected(c) || world.registry.OpenHandleCount() != 0) {
        std::abort();
    }
    world.ForgetRecords();
    return 0;
}
