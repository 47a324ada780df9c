// The process itself: its own file, COM on its thread, its standard output, and its end.
#pragma once

#include "platform/Types.h"

namespace platform {

// The running program's own file path, as Windows' GetModuleFileNameA gives it for a null module.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);

HRESULT CoInitialize(void* reserved);
void CoUninitialize();

// Formats like the C library's printf and writes to the process's standard output.
int printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Ends the process with the given exit code; never returns. The clean-up step set last runs first,
// then standard output is flushed.
[[noreturn]] void ExitProcess(UINT exitCode);
// The step that ExitProcess runs first, for what the program must not leave behind on any way out;
// null for none.
void SetExitCleanUp(void (*cleanUp)());

}  // namespace platform
