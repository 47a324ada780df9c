// The default answer to a window message, on the real API.
#include "platform/Window.h"

#include <windows.h>

namespace platform {

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(reinterpret_cast<::HWND>(window), message, wParam, lParam);
}

}  // namespace platform
