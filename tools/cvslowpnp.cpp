// cvslowpnp.dll: a driver update made slow on purpose, for the scenario that asks the program to end
// while its install runs. The scenario puts it in the system folder as newdev.dll, with the system's
// own module moved aside there as cvrealpnp.dll. Its UpdateDriverForPlugAndPlayDevicesA marks that it
// runs ("cvslowpnp.running" in the system folder), then takes and dispatches the calling thread's
// messages, as the dialogs that the system shows during an update do, until the scenario leaves
// "cvslowpnp.go" there (or a minute has passed); then it hands the call to the system's own module.
#include <windows.h>

namespace {

constexpr DWORD kLongestWaitMilliseconds = 60000;
constexpr DWORD kPollMilliseconds = 50;

// A file of that name in the system folder.
bool InSystemFolder(const char* name, char (&path)[MAX_PATH]) {
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenA(name) >= MAX_PATH) {
        return false;
    }
    lstrcatA(path, "\\");
    lstrcatA(path, name);
    return true;
}

void MarkRunning() {
    char path[MAX_PATH];
    if (InSystemFolder("cvslowpnp.running", path)) {
        CloseHandle(
            CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
}

bool ToldToGoOn() {
    char path[MAX_PATH];
    return InSystemFolder("cvslowpnp.go", path) && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

void PumpMessagesUntilToldToGoOn() {
    const DWORD start = GetTickCount();
    while (!ToldToGoOn() && GetTickCount() - start < kLongestWaitMilliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMilliseconds, QS_ALLINPUT);
    }
}

// An entry point of the system's own module, moved aside.
FARPROC RealEntry(const char* name) {
    char path[MAX_PATH];
    HMODULE real = InSystemFolder("cvrealpnp.dll", path) ? LoadLibraryA(path) : nullptr;
    return real != nullptr ? GetProcAddress(real, name) : nullptr;
}

template <class Entry, class... Args>
BOOL CallReal(const char* name, Args... args) {
    auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(RealEntry(name)));
    if (entry == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    return entry(args...);
}

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI
    UpdateDriverForPlugAndPlayDevicesA(HWND parent, LPCSTR hardwareId, LPCSTR infPath, DWORD flags,
                                       PBOOL rebootRequired) {
    MarkRunning();
    PumpMessagesUntilToldToGoOn();
    return CallReal<BOOL(WINAPI*)(HWND, LPCSTR, LPCSTR, DWORD, PBOOL)>(
        "UpdateDriverForPlugAndPlayDevicesA", parent, hardwareId, infPath, flags, rebootRequired);
}

// The wide entry point as the system's module has it: a program may ask that the module have both.
extern "C" __declspec(dllexport) BOOL WINAPI
    UpdateDriverForPlugAndPlayDevicesW(HWND parent, LPCWSTR hardwareId, LPCWSTR infPath, DWORD flags,
                                       PBOOL rebootRequired) {
    return CallReal<BOOL(WINAPI*)(HWND, LPCWSTR, LPCWSTR, DWORD, PBOOL)>(
        "UpdateDriverForPlugAndPlayDevicesW", parent, hardwareId, infPath, flags, rebootRequired);
}
