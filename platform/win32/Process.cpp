// The process on the real API: its own file, COM, standard output, its end, and the C run-time's
// reading of setup.dat.
#include <cstdarg>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/CRuntime.h"
#include "platform/Process.h"
#include "platform/RunRecord.h"

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
// the C library's exit, and what was printed up to then must not be lost. The text is formatted once,
// for standard output and for the record of the run alike.
int printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length > 0) {
        std::vector<char> text(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        std::fwrite(text.data(), 1, static_cast<std::size_t>(length), stdout);
        std::fflush(stdout);
        RecordStandardOutput(std::string_view(text.data(), static_cast<std::size_t>(length)));
    }
    va_end(args);
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
    RecordProcessEnding(exitCode);
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
