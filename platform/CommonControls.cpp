// The common controls, called through the entry points of the system folder's comctl32.dll.
#include "platform/CommonControls.h"

#include "platform/SystemModule.h"

namespace platform {

namespace {

enum Entry : std::size_t { kInitCommonControls, kImageListDestroy };

SystemEntries<2>& CommonControls() {
    static SystemEntries<2> entries("comctl32.dll", {"InitCommonControls", "ImageList_Destroy"});
    return entries;
}

}  // namespace

BOOL LoadCommonControls() {
    return CommonControls().Bind();
}

void InitCommonControls() {
    if (CommonControls().Bind()) {
        CommonControls().CallBound(kInitCommonControls);
    }
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes) {
    static SystemEntries<1> extended("comctl32.dll", {"InitCommonControlsEx"});
    return extended.Call(0, BOOL{0}, classes);
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    return CommonControls().Call(kImageListDestroy, BOOL{0}, list);
}

}  // namespace platform
