// cvfixture: a small GUI program with known windows, for testing cvuidrv and
// the harness under Wine. It reports what happens to it on stdout, one line
// per event, flushed at once, the way cvfir's scenarios read cvfir.
//
//   cvfixture window                         the window "cvuidrv fixture" (see below)
//   cvfixture msgbox CAPTION TEXT [yesno]    one message box; the exit code is
//                                            the button pressed (IDOK 1, IDNO 7)
//
// The window holds, in this order: a label "Name:", edit boxes "first" and
// "second" (the second has the focus), buttons "&Greet", "Off" (disabled
// until Greet is pressed) and "Ask" (opens a modal message box), a panel with
// a button "Inner", and one second after start a button "Late", since a real
// window's controls appear after the window itself.
#include "cvtool.h"

#include <cstdarg>
#include <cstdlib>

namespace {

constexpr char kTitle[] = "cvuidrv fixture";
constexpr UINT_PTR kLateTimer = 1;

enum ControlId { kName = 100, kFirst, kSecond, kGreet, kOff, kAsk, kPanel, kInner, kLate };

__attribute__((format(printf, 1, 2))) void Report(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

std::string TextOf(HWND control) {
    char text[256] = "";
    GetWindowTextA(control, text, sizeof text);
    return text;
}

HWND AddControl(HWND parent, const char* className, const char* text, DWORD style, int id, int x, int y,
                int w, int h) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                           nullptr);
}

void AddControls(HWND window) {
    AddControl(window, "Static", "Name:", 0, kName, 10, 10, 60, 20);
    AddControl(window, "Edit", "first", WS_BORDER | WS_TABSTOP, kFirst, 10, 35, 200, 22);
    AddControl(window, "Edit", "second", WS_BORDER | WS_TABSTOP, kSecond, 10, 60, 200, 22);
    AddControl(window, "Button", "&Greet", BS_PUSHBUTTON | WS_TABSTOP, kGreet, 10, 90, 80, 25);
    AddControl(window, "Button", "Off", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, kOff, 100, 90, 80, 25);
    AddControl(window, "Button", "Ask", BS_PUSHBUTTON | WS_TABSTOP, kAsk, 190, 90, 80, 25);
    HWND panel = AddControl(window, "Static", "", SS_GRAYFRAME, kPanel, 10, 125, 200, 50);
    AddControl(panel, "Button", "Inner", BS_PUSHBUTTON, kInner, 5, 5, 80, 25);
    SetTimer(window, kLateTimer, 1000, nullptr);
}

void OnCommand(HWND window, int id, int code) {
    switch (id) {
        case kGreet:
            Report("clicked Greet edit2=%s", TextOf(GetDlgItem(window, kSecond)).c_str());
            EnableWindow(GetDlgItem(window, kOff), TRUE);
            break;
        case kOff:
            Report("clicked Off");
            break;
        case kAsk:
            Report("asked %d",
                   MessageBoxA(window, "Proceed?\nSecond line", "Fixture question", MB_OK | MB_ICONQUESTION));
            break;
        case kSecond:
            if (code == EN_CHANGE)
                Report("edit2 changed to %s", TextOf(GetDlgItem(window, kSecond)).c_str());
            break;
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            AddControls(window);
            return 0;
        case WM_TIMER:
            KillTimer(window, kLateTimer);
            AddControl(window, "Button", "Late", BS_PUSHBUTTON, kLate, 100, 180, 80, 25);
            return 0;
        case WM_COMMAND:
            OnCommand(window, LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CLOSE:
            Report("closing");
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int RunWindow(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "CvFixtureWindow";
    if (!RegisterClassA(&windowClass))
        return cvtool::FailLastError("RegisterClassA");
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, kTitle, WS_OVERLAPPEDWINDOW, 40, 30, 320, 260,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        return cvtool::FailLastError("CreateWindowExA");
    ShowWindow(window, SW_SHOW);
    // After showing: activation gives the focus to the window itself.
    SetFocus(GetDlgItem(window, kSecond));
    Report("shown");

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN) {
            Report("key 0x%02X to %d", static_cast<unsigned>(message.wParam), GetDlgCtrlID(message.hwnd));
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    Report("ended");
    return static_cast<int>(message.wParam);
}

int RunMessageBox(const char* caption, const char* text, bool yesNo) {
    const int answer = MessageBoxA(nullptr, text, caption, yesNo ? MB_YESNO | MB_ICONQUESTION : MB_OK);
    Report("answer %d", answer);
    return answer;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const int argc = __argc;
    char** const argv = __argv;
    if (argc == 2 && std::string(argv[1]) == "window")
        return RunWindow(instance);
    if ((argc == 4 || argc == 5) && std::string(argv[1]) == "msgbox") {
        return RunMessageBox(argv[2], argv[3], argc == 5 && std::string(argv[4]) == "yesno");
    }
    return cvtool::Complain(cvtool::kUsage,
                            "usage: cvfixture window | cvfixture msgbox CAPTION TEXT [yesno]");
}
