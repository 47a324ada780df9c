// Kernel services: the thread's last error.
#pragma once

#include "platform/Types.h"

namespace platform {

DWORD GetLastError();
void SetLastError(DWORD error);

}  // namespace platform
