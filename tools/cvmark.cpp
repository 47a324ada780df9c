// cvmark.dll: a module that leaves a mark when it is loaded, for the scenarios that put it beside
// cvfir.exe under the names of system modules. Loading it writes "FILE.loaded" beside it (FILE being
// the name it was loaded under), with the path of the program that loaded it. It exports nothing, so a
// program that takes anything from it fails: the mark, not the program's fate, tells that it ran.
#include <windows.h>

namespace {

void LeaveMark(HINSTANCE module) {
    char path[MAX_PATH + 8] = "";
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    lstrcatA(path, ".loaded");
    char program[MAX_PATH] = "";
    const DWORD programLength = GetModuleFileNameA(nullptr, program, sizeof program);
    HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (mark != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(mark, program, programLength, &written, nullptr);
        CloseHandle(mark);
    }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        LeaveMark(module);
    }
    return TRUE;
}
