// Utility windows and image lists on the real API.
#include "framework/win32/Win32Windows.h"

#include "platform/CommonControls.h"

namespace win32 {

namespace {

constexpr char kUtilityClass[] = "CvfirUtilityWindow";

// A utility window hands every message to its method once it is made; the messages of its making
// get the system's answers.
LRESULT CALLBACK UtilityProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (method == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    // A failure in the method (a folder refresh, say) is shown as the message loop shows one; it must
    // never cross into the system that called this procedure.
    TMessage forwarded{message, wParam, lParam, 0};
    if (Application != nullptr) {
        Application->Dispatch([&] { (*method)(forwarded); });
    } else {
        try {
            (*method)(forwarded);
        } catch (const Exception&) {
            // With no application there is no exception box to show it in.
        }
    }
    return forwarded.Result;
}

ATOM UtilityClass() {
    static const ATOM atom = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = UtilityProc;
        windowClass.hInstance = ProgramInstance();
        windowClass.lpszClassName = kUtilityClass;
        return RegisterClassA(&windowClass);
    }();
    return atom;
}

}  // namespace

}  // namespace win32

namespace backend {

// A hidden top-level window rather than a message-only one: it must also hear the broadcasts that
// only top-level windows get (the query before the session ends), and Windows 98 has no message-only
// windows.
platform::HWND AllocateUtilityWindow(TWndMethod method) {
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW,
                                  reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(win32::UtilityClass())), "",
                                  WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, win32::ProgramInstance(), nullptr);
    if (window != nullptr) {
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(new TWndMethod(std::move(method))));
    }
    return reinterpret_cast<platform::HWND>(window);
}

void DestroyUtilityWindow(platform::HWND window) {
    HWND real = reinterpret_cast<HWND>(window);
    auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(real, GWLP_USERDATA));
    SetWindowLongPtrA(real, GWLP_USERDATA, 0);
    DestroyWindow(real);
    delete method;
}

void DestroyImageList(platform::HIMAGELIST list) {
    platform::ImageList_Destroy(list);
}

}  // namespace backend
