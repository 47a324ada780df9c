// The process services of the in-memory Windows.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/CRuntime.h"
#include "platform/ExitCleanUp.h"
#include "platform/Kernel.h"
#include "platform/FormattedText.h"
#include "platform/Process.h"
#include "platform/RunRecord.h"
#include "platform/Security.h"
#include "platform/sim/World.h"

namespace platform {

DWORD GetModuleFileNameA(HMODULE /*module*/, LPSTR fileName, DWORD size) {
    const auto& path = sim::TheWorld().programPath;
    // As Windows 2000 and XP do: a path that does not fit is cut to the buffer's size without a
    // terminating zero, the answer is the buffer's size, and the last error stays as it was.
    const auto length = static_cast<DWORD>(path.size());
    if (length >= size) {
        std::memcpy(fileName, path.data(), size);
        return size;
    }
    std::memcpy(fileName, path.c_str(), length + 1);
    return length;
}

HRESULT CoInitialize(void* /*reserved*/) {
    auto& world = sim::TheWorld();
    ++world.coInitializeCalls;
    if (SUCCEEDED(world.coInitializeResult)) {
        ++world.comInitCount;
    }
    return world.coInitializeResult;
}

void CoUninitialize() {
    --sim::TheWorld().comInitCount;
}

int printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormattedText(format, args);
    va_end(args);
    sim::TheWorld().standardOutput += text;
    RecordStandardOutput(text);
    return static_cast<int>(text.size());
}

ExitCleanUpList& TheExitCleanUpList() {
    return sim::TheWorld().exitCleanUp;
}

void ExitProcess(UINT exitCode) {
    RunExitCleanUp();
    RecordProcessEnding(exitCode);
    sim::TheWorld().processEnded = true;
    sim::TheWorld().Trace("ExitProcess " + std::to_string(exitCode));
    throw sim::ProcessExit{exitCode};
}

// As Windows ends a process: nothing of it runs, and nothing it would have written on its way out is
// written.
BOOL TerminateProcess(HANDLE process, UINT exitCode) {
    if (process != GetCurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    sim::TheWorld().processEnded = true;
    sim::TheWorld().Trace("TerminateProcess " + std::to_string(exitCode));
    throw sim::ProcessExit{exitCode};
}

struct FILE {
    std::string content;
    std::size_t position = 0;
};

FILE* fopen(const char* path, const char* mode) {
    auto& world = sim::TheWorld();
    world.Trace(std::string("fopen ") + path);
    // A path without a drive is found from the current directory, as Windows does for every file call.
    auto content = world.files.Read(world.Resolve(path));
    if (!content || mode == nullptr || mode[0] != 'r') {
        return nullptr;
    }
    auto* file = new FILE{};
    const bool textMode = std::strchr(mode, 'b') == nullptr;
    for (std::size_t i = 0; i < content->size(); ++i) {
        const bool lineEnd = (*content)[i] == '\r' && i + 1 < content->size() && (*content)[i + 1] == '\n';
        if (!(textMode && lineEnd)) {
            file->content.push_back((*content)[i]);
        }
    }
    ++world.openFiles;
    return file;
}

char* fgets(char* buffer, int size, FILE* file) {
    if (size <= 0 || file->position >= file->content.size()) {
        return nullptr;
    }
    int count = 0;
    while (count < size - 1 && file->position < file->content.size()) {
        const char c = file->content[file->position++];
        buffer[count++] = c;
        if (c == '\n') {
            break;
        }
    }
    buffer[count] = '\0';
    return buffer;
}

int fclose(FILE* file) {
    delete file;
    --sim::TheWorld().openFiles;
    return 0;
}

}  // namespace platform
