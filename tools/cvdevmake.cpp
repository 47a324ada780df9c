// cvdevmake: makes a present Plug and Play device in a Wine prefix, so that a
// scenario has the FIR controller (or a look-alike) for cvfir to find.
//
//   cvdevmake ID1 [ID2 ...]   one device in the Infrared class whose hardware-ID
//                             list holds the IDs in that order; prints its
//                             device instance ID
//   cvdevmake -r INSTANCE_ID  removes that device and its registry keys
#include "cvtool.h"

#include <setupapi.h>
#include <cfgmgr32.h>

namespace {

using cvtool::FailLastError;

int MakeDevice(const std::vector<std::string>& hardwareIds) {
    GUID infrared = cvtool::kInfraredClassGuid;
    HDEVINFO set = SetupDiCreateDeviceInfoList(&infrared, nullptr);
    if (set == INVALID_HANDLE_VALUE)
        return FailLastError("SetupDiCreateDeviceInfoList");

    int rc = cvtool::kOk;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    const std::string list = cvtool::ToMultiSz(hardwareIds);
    char instanceId[MAX_DEVICE_ID_LEN] = "";
    if (!SetupDiCreateDeviceInfoA(set, "Infrared", &infrared, nullptr, nullptr, DICD_GENERATE_ID, &device)) {
        rc = FailLastError("SetupDiCreateDeviceInfoA");
    } else if (!SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID,
                                                  reinterpret_cast<const BYTE*>(list.data()),
                                                  static_cast<DWORD>(list.size()))) {
        rc = FailLastError("SetupDiSetDeviceRegistryPropertyA(SPDRP_HARDWAREID)");
    } else if (!SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device)) {
        rc = FailLastError("SetupDiCallClassInstaller(DIF_REGISTERDEVICE)");
    } else if (!SetupDiGetDeviceInstanceIdA(set, &device, instanceId, sizeof instanceId, nullptr)) {
        rc = FailLastError("SetupDiGetDeviceInstanceIdA");
    } else {
        std::printf("%s\n", instanceId);
    }
    SetupDiDestroyDeviceInfoList(set);
    return rc;
}

int RemoveDevice(const char* instanceId) {
    HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    if (set == INVALID_HANDLE_VALUE)
        return FailLastError("SetupDiCreateDeviceInfoList");

    int rc = cvtool::kOk;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (!SetupDiOpenDeviceInfoA(set, instanceId, nullptr, 0, &device)) {
        rc = FailLastError("SetupDiOpenDeviceInfoA");
    } else if (!SetupDiRemoveDevice(set, &device)) {
        rc = FailLastError("SetupDiRemoveDevice");
    } else {
        std::printf("removed %s\n", instanceId);
    }
    SetupDiDestroyDeviceInfoList(set);
    return rc;
}

}  // namespace

int main(int argc, char** argv) {
    int rc = cvtool::kUsage;
    if (argc == 3 && std::string(argv[1]) == "-r") {
        rc = RemoveDevice(argv[2]);
    } else if (argc >= 2 && argv[1][0] != '-') {
        rc = MakeDevice(std::vector<std::string>(argv + 1, argv + argc));
    } else {
        std::fprintf(stderr,
                     "usage: cvdevmake HARDWARE_ID [HARDWARE_ID ...]\n       cvdevmake -r INSTANCE_ID\n");
    }
    std::fflush(stdout);
    return rc;
}
