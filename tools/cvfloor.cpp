// cvfloor: the floor of the start-up benchmark. The least a Win32 program does to show a window: one
// class, one window with one button, shown, and a message loop. `make bench` sets cvfir's start-up
// against it.
#include "cvtool.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "CvFloorWindow";
    if (!RegisterClassA(&windowClass))
        return cvtool::FailLastError("RegisterClassA");
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "cvfloor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
    if (!window)
        return cvtool::FailLastError("CreateWindowExA");
    CreateWindowExA(0, "Button", "Next >", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 96, 32, window,
                    nullptr, instance, nullptr);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
