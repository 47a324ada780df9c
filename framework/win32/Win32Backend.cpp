// The rest of the Win32 backend: the screen's geometry and cursor, message boxes, and the message loop
// with the keyboard handling that dialogs have (Tab through the tab order, Enter on the focused button).
#include <algorithm>

#include "framework/Screen.h"
#include "framework/win32/Win32Windows.h"

namespace win32 {

namespace {

TCursor screenCursor = crDefault;

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

// Tab and Shift+Tab move the focus along the layout's tab order of the window that has the focus,
// round and round; Enter presses the focused button. Answers whether the key was taken.
bool HandleDialogKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || (message.wParam != VK_TAB && message.wParam != VK_RETURN) ||
        GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    FormWindow* form = FormWindow::Of(GetAncestor(message.hwnd, GA_ROOT));
    if (form == nullptr) {
        return false;
    }
    ControlWindow* focused = form->FindControl(message.hwnd);
    if (message.wParam == VK_RETURN) {
        if (focused == nullptr || dynamic_cast<TBitBtn*>(&focused->Control()) == nullptr) {
            return false;
        }
        SendMessageA(focused->Hwnd(), BM_CLICK, 0, 0);
        return true;
    }
    const auto ring = form->TabRing();
    if (ring.empty()) {
        return true;
    }
    const bool backwards = GetKeyState(VK_SHIFT) < 0;
    const auto count = static_cast<std::ptrdiff_t>(ring.size());
    auto at = std::find(ring.begin(), ring.end(), focused) - ring.begin();
    if (at == count) {
        at = backwards ? 0 : count - 1;  // from outside the ring: to its first stop, or its last
    }
    ControlWindow* next = ring[static_cast<std::size_t>((at + (backwards ? count - 1 : 1)) % count)];
    SetFocus(next->Hwnd());
    next->FocusedByTab();
    return true;
}

}  // namespace

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
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    HWND owner = GetActiveWindow();
    return MessageBoxA(owner, text.c_str(), caption.c_str(), flags | (owner == nullptr ? MB_TASKMODAL : 0));
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
