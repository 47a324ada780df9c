#include "framework/UtilWindow.h"

#include "framework/Backend.h"

platform::HWND AllocateHWnd(TWndMethod Method) {
    return backend::AllocateUtilityWindow(std::move(Method));
}

void DeallocateHWnd(platform::HWND Wnd) {
    if (Wnd != nullptr) {
        backend::DestroyUtilityWindow(Wnd);
    }
}
