// The window manager's default answer in the in-memory Windows: a message nobody handles answers 0.
#include "platform/Window.h"

namespace platform {

LRESULT DefWindowProcA(HWND /*window*/, UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return 0;
}

}  // namespace platform
