// The rest of the Win32 backend: the screen's geometry and cursor, message boxes, and the message loop
// with the keys that forms answer themselves (Tab through the tab order, Enter and Space on the focused
// button).
#include "framework/Screen.h"
#include "framework/win32/Win32Windows.h"

namespace win32 {

namespace {

TCursor screenCursor = crDefault;

// The top-level window that holds `window` (itself when it is one), walked up the parents by hand:
// the call that answers it directly came with Windows 98 and 2000, and the program must start on
// Windows 95 and NT 4.0 to tell their users in words that it does not install there.
HWND RootOf(HWND window) {
    HWND parent = nullptr;
    while ((GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0 && (parent = GetParent(window)) != nullptr) {
        window = parent;
    }
    return window;
}

// An entry point of user32.dll that Windows 95 and NT 4.0 lack, taken by its name; null there.
template <class Function>
Function NewerUserEntry(const char* name) {
    const auto entry = reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), name));
    return reinterpret_cast<Function>(entry);
}

LPCSTR SystemCursorFor(TCursor cursor) {
    switch (cursor) {
        case crHourGlass:
            return reinterpret_cast<LPCSTR>(IDC_WAIT);
        case crDrag:
            return reinterpret_cast<LPCSTR>(IDC_UPARROW);
        default:
            return reinterpret_cast<LPCSTR>(IDC_ARROW);
    }
}

// The keys a form answers itself, before the focused control sees them: Tab and Shift+Tab along the
// tab order, Enter and Space on the focused button (see TForm::DialogKey). A held key repeats its key
// presses; a repeated Enter or Space is swallowed, so that holding it down presses one button once and
// not the buttons of the pages or windows that the first press brings up. Answers whether the key was
// taken.
bool HandleDialogKey(const MSG& message) {
    const auto key = static_cast<unsigned>(message.wParam);
    if (message.message != WM_KEYDOWN || (key != VK_TAB && key != VK_RETURN && key != VK_SPACE) ||
        GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    FormWindow* window = FormWindow::Of(RootOf(message.hwnd));
    if (window == nullptr) {
        return false;
    }
    TForm& form = window->Form();
    const bool repeated = (message.lParam & (1L << 30)) != 0;
    if (repeated && key != VK_TAB) {
        return dynamic_cast<TBitBtn*>(form.FocusedControl()) != nullptr;
    }
    bool taken = false;
    Application->Dispatch([&] { taken = form.DialogKey(key, GetKeyState(VK_SHIFT) < 0); });
    if (taken && key == VK_TAB && form.FocusedControl() != nullptr) {
        if (auto* control = dynamic_cast<ControlWindow*>(form.FocusedControl()->Peer())) {
            control->FocusedByTab();
        }
    }
    return taken;
}

}  // namespace

void FollowFocus() {
    static HWND followed = nullptr;
    HWND focus = GetFocus();
    if (focus == followed || focus == nullptr) {
        return;
    }
    followed = focus;
    FormWindow* root = FormWindow::Of(RootOf(focus));
    if (root == nullptr) {
        return;
    }
    if (ControlWindow* control = root->FindControl(focus)) {
        if (auto* focused = dynamic_cast<TWinControl*>(&control->Control())) {
            root->Form().NoteFocus(focused);
        }
    } else if (FormWindow::Of(focus) != nullptr) {
        root->Form().NoteFocus(nullptr);
    }
}

bool ApplyScreenCursor() {
    if (screenCursor == crDefault) {
        return false;
    }
    SetCursor(LoadCursorA(nullptr, SystemCursorFor(screenCursor)));
    return true;
}

}  // namespace win32

namespace backend {

TRect DesktopRect() {
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    if (width == 0) {
        return TRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return TRect{left, top, left + width, top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

TRect WorkArea() {
    RECT area;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
        return DesktopRect();
    }
    return TRect{area.left, area.top, area.right, area.bottom};
}

// Windows 95 and NT 4.0 show one screen and have no monitor calls: there the desktop's work area is
// every window's.
TRect WorkAreaOf(const TRect& window) {
    using MonitorFromRectCall = HMONITOR(WINAPI*)(LPCRECT, DWORD);
    using GetMonitorInfoCall = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
    static const auto monitorFromRect = win32::NewerUserEntry<MonitorFromRectCall>("MonitorFromRect");
    static const auto getMonitorInfo = win32::NewerUserEntry<GetMonitorInfoCall>("GetMonitorInfoA");
    const RECT rect{window.Left, window.Top, window.Right, window.Bottom};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (monitorFromRect == nullptr || getMonitorInfo == nullptr ||
        !getMonitorInfo(monitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return WorkArea();
    }
    return TRect{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
}

// The frame that the system draws around a window of that kind, in the system's current metrics.
FrameMetrics FrameFor(FrameKind kind, bool hasCaption) {
    DWORD style = hasCaption ? WS_CAPTION : 0;
    if (kind == FrameKind::Sizeable) {
        style |= WS_THICKFRAME;
    } else if (kind == FrameKind::Single) {
        style |= WS_BORDER;
    }
    RECT rect{0, 0, 0, 0};
    AdjustWindowRectEx(&rect, style, FALSE, 0);
    return FrameMetrics{-rect.left, rect.bottom, -rect.top - rect.bottom};
}

// The box belongs to the active window, which it disables while it is up; with none, to the program.
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags, int helpContext) {
    MSGBOXPARAMSA box{};
    box.cbSize = sizeof box;
    box.hwndOwner = GetActiveWindow();
    box.lpszText = text.c_str();
    box.lpszCaption = caption.c_str();
    box.dwStyle = flags | (box.hwndOwner == nullptr ? MB_TASKMODAL : 0);
    box.dwContextHelpId = static_cast<DWORD_PTR>(helpContext);
    return MessageBoxIndirectA(&box);
}

void SetScreenCursor(int cursor) {
    win32::screenCursor = cursor;
    SetCursor(LoadCursorA(nullptr, win32::SystemCursorFor(cursor)));
}

bool LockWindowUpdate(platform::HWND window) {
    return ::LockWindowUpdate(reinterpret_cast<HWND>(window)) != FALSE;
}

void RunMessageLoop(TApplication& application) {
    MSG message;
    while (!application.Terminated() && GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (win32::HandleDialogKey(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
        win32::FollowFocus();
    }
    // However the loop ended, the windows now only go down.
    if (!application.Terminated()) {
        application.Terminate();
    }
}

void QuitMessageLoop() {
    PostQuitMessage(0);
}

}  // namespace backend
