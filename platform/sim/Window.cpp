// The window manager's default answers in the in-memory Windows, as Windows gives them: a window lets
// the session end, and answers 0 to any other message that nobody handles.
#include "platform/Window.h"

namespace platform {

LRESULT DefWindowProcA(HWND /*window*/, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return message == WM_QUERYENDSESSION ? 1 : 0;
}

}  // namespace platform
