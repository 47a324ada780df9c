#include "framework/Screen.h"

#include "framework/Backend.h"

namespace {

TScreen theScreen;

}  // namespace

TScreen* const Screen = &theScreen;

void TScreen::SetCursor(TCursor cursor) {
    if (cursor == cursor_) {
        return;
    }
    cursor_ = cursor;
    backend::SetScreenCursor(cursor);
}

bool LockWindowUpdate(platform::HWND window) {
    return backend::LockWindowUpdate(window);
}
