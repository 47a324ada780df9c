// The process on the real API: its own file, COM, standard output, its end, and the C run-time's
// reading of setup.dat.
#include <cstdarg>
#include <cstdio>
#include <utility>

#include "platform/CRuntime.h"
#include "platform/Process.h"

#include <windows.h>

namespace platform {

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    return ::GetModuleFileNameA(reinterpret_cast<::HMODULE>(module), fileName, size);
}

HRESULT CoInitialize(void* reserved) {
    return ::CoInitialize(reserved);
}

void CoUninitialize() {
    ::CoUninitialize();
}

// Each line is flushed at once: a session that ends (the restart) may take the process down without
// the C library's exit, and what was printed up to then must not be lost.
int printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int length = std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
    return length;
}

namespace {

void (*exitCleanUp)() = nullptr;

}  // namespace

void SetExitCleanUp(void (*cleanUp)()) {
    exitCleanUp = cleanUp;
}

void ExitProcess(UINT exitCode) {
    if (const auto cleanUp = std::exchange(exitCleanUp, nullptr)) {
        cleanUp();
    }
    std::fflush(stdout);
    ::ExitProcess(exitCode);
}

FILE* fopen(const char* path, const char* mode) {
    return reinterpret_cast<FILE*>(std::fopen(path, mode));
}

char* fgets(char* buffer, int size, FILE* file) {
    return std::fgets(buffer, size, reinterpret_cast<std::FILE*>(file));
}

int fclose(FILE* file) {
    return std::fclose(reinterpret_cast<std::FILE*>(file));
}

}  // namespace platform
