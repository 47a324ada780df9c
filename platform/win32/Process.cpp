// The process on the real API: its own file, COM, standard output, its end, and the C run-time's
// reading of setup.dat.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "platform/CRuntime.h"
#include "platform/ExitCleanUp.h"
#include "platform/FormattedText.h"
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
    const std::string text = FormattedText(format, args);
    va_end(args);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    RecordStandardOutput(text);
    return static_cast<int>(text.size());
}

ExitCleanUpList& TheExitCleanUpList() {
    static ExitCleanUpList list;
    return list;
}

void ExitProcess(UINT exitCode) {
    RunExitCleanUp();
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
