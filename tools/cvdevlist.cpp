// cvdevlist: prints the present devices of a Wine prefix, one line each:
//   INSTANCE_ID class={GUID} hardware=ID1;ID2 driver=DRIVER_KEY
// With an argument, prints only the devices whose hardware-ID list holds that
// ID (compared without regard to case) and exits 1 when there is none, so a
// scenario can check what cvfir did to the device with one call.
#include "cvtool.h"

#include <setupapi.h>
#include <cfgmgr32.h>

namespace {

std::string StringProperty(HDEVINFO set, SP_DEVINFO_DATA* device, DWORD property) {
    char buffer[4096] = "";
    DWORD size = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(set, device, property, nullptr, reinterpret_cast<BYTE*>(buffer),
                                           sizeof buffer - 2, &size)) {
        return "";
    }
    return buffer;
}

std::vector<std::string> HardwareIds(HDEVINFO set, SP_DEVINFO_DATA* device) {
    char buffer[4096] = "";
    DWORD size = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(set, device, SPDRP_HARDWAREID, nullptr,
                                           reinterpret_cast<BYTE*>(buffer), sizeof buffer, &size)) {
        return {};
    }
    return cvtool::FromMultiSz(buffer, size);
}

bool Holds(const std::vector<std::string>& ids, const char* wanted) {
    for (const std::string& id : ids) {
        if (lstrcmpiA(id.c_str(), wanted) == 0)
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2)
        return cvtool::Complain(cvtool::kUsage, "usage: cvdevlist [HARDWARE_ID]");
    const char* wanted = argc == 2 ? argv[1] : nullptr;

    HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE)
        return cvtool::FailLastError("SetupDiGetClassDevsA");

    int shown = 0;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        const std::vector<std::string> ids = HardwareIds(set, &device);
        if (wanted && !Holds(ids, wanted))
            continue;
        char instanceId[MAX_DEVICE_ID_LEN] = "";
        SetupDiGetDeviceInstanceIdA(set, &device, instanceId, sizeof instanceId, nullptr);
        std::printf("%s class=%s hardware=%s driver=%s\n", instanceId,
                    cvtool::GuidText(device.ClassGuid).c_str(), cvtool::Join(ids, ";").c_str(),
                    StringProperty(set, &device, SPDRP_DRIVER).c_str());
        ++shown;
    }
    SetupDiDestroyDeviceInfoList(set);
    std::fflush(stdout);
    return wanted && shown == 0 ? cvtool::kFailed : cvtool::kOk;
}
