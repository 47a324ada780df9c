// The screen as the program uses it: the mouse cursor shown over it, and the suspension of painting of
// one window while a control changes much at once.
#pragma once

#include "platform/Types.h"

using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;

class TScreen {
public:
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

private:
    TCursor cursor_ = crDefault;
};

extern TScreen* const Screen;

// The hourglass over the program's windows while it is busy, for the length of a scope. The cursor
// before it comes back on every way out, so that an hourglass taken inside another ends as the outer
// one is still busy.
class THourGlass {
public:
    THourGlass() : before_(Screen->Cursor()) { Screen->SetCursor(crHourGlass); }
    ~THourGlass() { Screen->SetCursor(before_); }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor before_;
};

// Suspends painting of `window`; a null window resumes it. The system locks one window at a time: a
// second lock fails while one holds, and the first unlock resumes painting. Answers whether it
// succeeded.
bool LockWindowUpdate(platform::HWND window);
