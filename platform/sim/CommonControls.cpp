// comctl32.dll of the in-memory Windows: the class registration is only recorded, and no image list is
// ever made here (the folder tree shows the shell's own).
#include "platform/CommonControls.h"
#include "platform/sim/World.h"

namespace platform {

namespace comctl32_dll {

BOOL CV_WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes) {
    if (classes == nullptr || classes->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        return 0;
    }
    sim::TheWorld().Trace("InitCommonControlsEx " + std::to_string(classes->dwICC));
    return 1;
}

void CV_WINAPI InitCommonControls() {
    sim::TheWorld().Trace("InitCommonControls");
}

BOOL CV_WINAPI ImageList_Destroy(HIMAGELIST list) {
    sim::TheWorld().Trace("ImageList_Destroy");
    return list != nullptr;
}

}  // namespace comctl32_dll

void sim::World::InstallCommonControls() {
    Module comctl32;
    comctl32.Add("InitCommonControls", &comctl32_dll::InitCommonControls);
    comctl32.Add("InitCommonControlsEx", &comctl32_dll::InitCommonControlsEx);
    comctl32.Add("ImageList_Destroy", &comctl32_dll::ImageList_Destroy);
    modules[SystemPath("comctl32.dll")] = std::move(comctl32);
}

}  // namespace platform
