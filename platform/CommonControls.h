// The common controls of comctl32.dll that the framework's tree view uses: the registration of their
// window classes, and image lists. comctl32.dll is not one of Windows' known modules, so it is loaded at
// run time from the system folder (platform/SystemModule.h).
#pragma once

#include "platform/Shell.h"
#include "platform/Types.h"

namespace platform {

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};

inline constexpr DWORD ICC_TREEVIEW_CLASSES = 0x02;

// Loads comctl32.dll and takes from it the entry points that every release of it has (InitCommonControls
// and ImageList_Destroy): FALSE, with the reason as the last error (ERROR_PROC_NOT_FOUND for a missing
// entry point), when they cannot be had. Unbound, each call below fails.
BOOL LoadCommonControls();

void InitCommonControls();
// Taken when it is called: comctl32.dll before 4.70, as Windows 95 and NT 4.0 shipped it, lacks it. FALSE
// with ERROR_PROC_NOT_FOUND there.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes);
BOOL ImageList_Destroy(HIMAGELIST list);

}  // namespace platform
