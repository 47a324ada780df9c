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

// Ends the process with the given exit code; never returns. The exit clean-up runs first, then
// standard output is flushed.
[[noreturn]] void ExitProcess(UINT exitCode);

// The exit clean-up: what the program must not leave behind on any way out, one step for each part
// that has something to undo. A part adds its step when there is something, and takes it off once it
// has undone it itself; a step added again is there once.
void AddExitCleanUp(void (*cleanUp)());
void RemoveExitCleanUp(void (*cleanUp)());
// Runs the exit clean-up now, the step added last first, each taken off before it runs: for a way out
// on which Windows may end the process without ExitProcess (the session's end).
void RunExitCleanUp();

// Windows ending the process from outside, as it may once the session has ended: nothing of the
// program runs any more, not even its exit clean-up. The program never calls it on Windows; the
// in-memory Windows has it so that the headless windows can end a test's process as Windows would.
// Only the current process (GetCurrentProcess) can be named.
BOOL TerminateProcess(HANDLE process, UINT exitCode);

}  // namespace platform
