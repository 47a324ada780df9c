// Any bytes as the devices' hardware-ID properties, of any sizes: the device search never reads or
// writes past its buffer, and finds the controller only when an entry within the answered bytes is it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "app/DeviceCheck.h"
#include "app/Unit2.h"
#include "framework/headless/Headless.h"
#include "platform/sim/World.h"

namespace {

TForm2* TheWizard() {
    static TForm2* wizard = [] {
        platform::sim::ResetWorld();
        new TApplication;
        return new TForm2(Application);
    }();
    return wizard;
}

// Whether a list of `size` bytes holds the ID as a whole entry before its first empty one.
bool ListHolds(const std::uint8_t* list, std::size_t size) {
    const char* at = reinterpret_cast<const char*>(list);
    const char* end = at + size;
    while (at < end && *at != '\0') {
        const std::size_t length = strnlen(at, static_cast<std::size_t>(end - at));
        if (length == 8 && strncasecmp(at, "*CVN0510", 8) == 0) {
            return true;
        }
        at += length + 1;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TForm2* wizard = TheWizard();
    auto& world = platform::sim::TheWorld();
    // Each device: two bytes of length, then that many bytes of property. The devices of earlier inputs
    // are used again, and those this input does not name are absent.
    bool expected = false;
    std::size_t named = 0;
    while (size >= 2) {
        const std::size_t length = std::min<std::size_t>(size - 2, (data[0] | data[1] << 8) & 0x7FF);
        auto& device = named < world.devices.size() ? world.devices[named] : world.AddDevice({});
        ++named;
        device.present = true;
        device.hardwareIds.assign(data + 2, data + 2 + length);
        device.hasHardwareIds = length != 0;
        expected = expected || (length <= 800 && ListHolds(data + 2, length));
        data += 2 + length;
        size -= 2 + length;
    }
    for (std::size_t i = named; i < world.devices.size(); ++i) {
        world.devices[i].present = false;
    }
    wizard->OsKind = TOsKind::WindowsXp;
    if (FindFirDevice(wizard, "*CVN0510") != expected || world.openDeviceSets != 0) {
        std::abort();
    }
    world.ForgetRecords();
    return 0;
}
