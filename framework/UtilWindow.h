// Utility windows: hidden windows whose messages go to a method of an object, for messages that the
// system posts to a window rather than to a control (the shell's change notifications).
#pragma once

#include "framework/Messages.h"

// Each message reaches `Method` with a result of 0; what the method leaves there is the answer.
platform::HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(platform::HWND Wnd);
