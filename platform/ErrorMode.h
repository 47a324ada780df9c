// The process's error mode for the length of a scope: what Windows does on its own when a file call
// meets a missing disk or a module it cannot open.
#pragma once

#include "platform/Kernel.h"

namespace platform {

// Sets `mode` and puts the one before back at the end of the scope. SetErrorMode leaves the thread's
// last error as it is, so a failure inside the scope can still be told after it.
class ScopedErrorMode {
public:
    explicit ScopedErrorMode(UINT mode) : before_(SetErrorMode(mode)) {}
    ~ScopedErrorMode() { SetErrorMode(before_); }
    ScopedErrorMode(const ScopedErrorMode&) = delete;
    ScopedErrorMode& operator=(const ScopedErrorMode&) = delete;

private:
    UINT before_;
};

}  // namespace platform
