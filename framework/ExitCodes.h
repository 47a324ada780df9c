// The process's exit codes: how each way the program ends is told to whoever started it.
#pragma once

#include "platform/Types.h"

// The message loop ended: Windows shut down or the user logged off, as after the restart.
inline constexpr platform::UINT kExitEnded = 0;
// The user cancelled or closed a window.
inline constexpr platform::UINT kExitCancelled = 1;
// The program could not go on: its windows could not be made, an unsupported Windows, a module missing,
// an install step's own failure.
// It has always ended with the code of a cancel: whoever started it cannot tell the two apart.
inline constexpr platform::UINT kExitFatal = 1;
// The Plug and Play driver update reported failure.
inline constexpr platform::UINT kExitUpdateFailed = 6;
