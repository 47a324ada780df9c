// A window message as the framework hands it to a control's window procedure or to a utility
// window's method.
#pragma once

#include <functional>

#include "platform/Window.h"

struct TMessage {
    platform::UINT Msg;
    platform::WPARAM WParam;
    platform::LPARAM LParam;
    platform::LRESULT Result;
};

using TWndMethod = std::function<void(TMessage& Message)>;
