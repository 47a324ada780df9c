// cvpnpupdate: asks Plug and Play to install an INF's driver for the present
// devices with a hardware ID, the way cvfir does on Windows Me, 2000 and XP.
// Used to prove that the sample disk's INF files are accepted by Wine.
//
//   cvpnpupdate INF_PATH HARDWARE_ID [FLAGS]
//
// The INF path is made absolute first: Wine silently installs nothing for a
// relative one. Note that under Wine a TRUE result does not mean a driver was
// installed; check the registry.
#include "cvtool.h"

#include <newdev.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4)
        return cvtool::Complain(cvtool::kUsage, "usage: cvpnpupdate INF_PATH HARDWARE_ID [FLAGS]");
    char infPath[MAX_PATH] = "";
    if (!GetFullPathNameA(argv[1], sizeof infPath, infPath, nullptr))
        return cvtool::FailLastError("GetFullPathNameA");
    const DWORD flags = argc == 4 ? std::strtoul(argv[3], nullptr, 0) : 0;

    BOOL rebootRequired = FALSE;
    SetLastError(0);
    const BOOL ok = UpdateDriverForPlugAndPlayDevicesA(nullptr, argv[2], infPath, flags, &rebootRequired);
    const DWORD error = GetLastError();
    std::printf("inf=%s result=%d reboot=%d error=%lu\n", infPath, ok ? 1 : 0, rebootRequired ? 1 : 0,
                static_cast<unsigned long>(error));
    std::fflush(stdout);
    return ok ? cvtool::kOk : cvtool::kFailed;
}
