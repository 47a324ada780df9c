// The contract's host on the real API: a folder and a key of its own, emptied before each case, and the
// system's calls for what the program never makes itself (devices as a driver's bus would announce them,
// hidden folders, the shell's change announcements and a window that receives them).
#include "tests/contract/ContractHost.h"

#include <cstdint>
#include <utility>

#include <windows.h>
#include <setupapi.h>
#include <cfgmgr32.h>
#include <shlobj.h>

namespace contract {

namespace {

// The Infrared device class.
constexpr ::GUID kInfraredClass{0x6BDD1FC5, 0x810F, 0x11D0, {0xBE, 0xC7, 0x08, 0x00, 0x2B, 0xE2, 0x09, 0x2F}};

std::vector<std::string> madeDevices;   // instance IDs, removed after the case
std::string folderBefore;               // the current folder before a case changed it
std::vector<std::string> driveFolders;  // the names of the drives' folders a case set
std::vector<Notification> received;
::HWND notifyWindow = nullptr;

void RemoveTree(const std::string& folder) {
    ::WIN32_FIND_DATAA entry;
    const ::HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            const std::string path = folder + "\\" + name;
            if (name == "." || name == "..") {
                continue;
            }
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(path);
            } else {
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(find, &entry));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(folder.c_str());
}

void RemoveKey(::HKEY root, const std::string& path) {
    ::HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return;
    }
    char name[256];
    while (::RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS) {
        RemoveKey(key, name);
    }
    ::RegCloseKey(key);
    ::RegDeleteKeyA(root, path.c_str());
}

void RemoveDevice(const std::string& instanceId) {
    const ::HDEVINFO set = ::SetupDiCreateDeviceInfoList(nullptr, nullptr);
    ::SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (::SetupDiOpenDeviceInfoA(set, instanceId.c_str(), nullptr, 0, &device)) {
        ::SetupDiRemoveDevice(set, &device);
    }
    ::SetupDiDestroyDeviceInfoList(set);
}

std::string PathOfList(::LPCITEMIDLIST list) {
    if (list == nullptr) {
        return "(none)";
    }
    char path[MAX_PATH];
    return ::SHGetPathFromIDListA(list, path) ? path : "(no path)";
}

// The lists are the shell's, valid while the message is handled: their paths are read at once.
::LRESULT CALLBACK NotifyProc(::HWND window, ::UINT message, ::WPARAM wParam, ::LPARAM lParam) {
    if (message != kNotifyMessage) {
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    const auto* lists = reinterpret_cast<const ::LPCITEMIDLIST*>(wParam);
    received.push_back(Notification{static_cast<::DWORD>(lParam) & ~static_cast<::DWORD>(SHCNE_INTERRUPT),
                                    PathOfList(lists != nullptr ? lists[0] : nullptr),
                                    PathOfList(lists != nullptr ? lists[1] : nullptr)});
    return 0;
}

void PumpMessages() {
    ::MSG message;
    for (int round = 0; round < 5; ++round) {
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&message);
        }
        ::Sleep(10);
    }
}

}  // namespace

// Wine answers what it is through ntdll; Windows has no such entry point.
const char* SideName() {
    const ::HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr ? "Wine" : "Windows";
}

bool UseCodePage(platform::UINT codePage) {
    return ::GetACP() == codePage;
}

void BeginCase() {
    RemoveTree(kScratchFolder);
    ::CreateDirectoryA(kScratchFolder, nullptr);
    RemoveKey(HKEY_CURRENT_USER, kScratchKey);
    MakeKey(reinterpret_cast<platform::HKEY>(HKEY_CURRENT_USER), kScratchKey);
    ::SetLastError(0);
}

void EndCase() {
    if (!folderBefore.empty()) {
        ::SetCurrentDirectoryA(folderBefore.c_str());
        folderBefore.clear();
    }
    for (const auto& name : driveFolders) {
        ::SetEnvironmentVariableA(name.c_str(), nullptr);
    }
    driveFolders.clear();
    PumpMessages();
    received.clear();
    for (const auto& instanceId : madeDevices) {
        RemoveDevice(instanceId);
    }
    madeDevices.clear();
    RemoveTree(kScratchFolder);
    RemoveKey(HKEY_CURRENT_USER, kScratchKey);
}

void UseCurrentFolder(const std::string& folder) {
    if (folderBefore.empty()) {
        char current[MAX_PATH];
        const ::DWORD length = ::GetCurrentDirectoryA(sizeof current, current);
        folderBefore.assign(current, length < sizeof current ? length : 0);
    }
    ::SetCurrentDirectoryA(folder.c_str());
}

// The system keeps each drive's folder where a command prompt leaves it: in a variable of the process's
// environment named "=D:".
void UseDriveFolder(char letter, const std::string& folder) {
    const std::string name{'=', letter, ':'};
    ::SetEnvironmentVariableA(name.c_str(), folder.c_str());
    driveFolders.push_back(name);
}

void MakeKey(platform::HKEY root, const std::string& path) {
    ::HKEY key = nullptr;
    if (::RegCreateKeyExA(reinterpret_cast<::HKEY>(root), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr) == ERROR_SUCCESS) {
        ::RegCloseKey(key);
    }
}

void MakeDevice(const std::vector<std::string>& ids) {
    std::string list;
    for (const auto& id : ids) {
        list += id;
        list.push_back('\0');
    }
    list.push_back('\0');
    ::GUID infrared = kInfraredClass;
    const ::HDEVINFO set = ::SetupDiCreateDeviceInfoList(&infrared, nullptr);
    ::SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    char instanceId[MAX_DEVICE_ID_LEN] = "";
    if (::SetupDiCreateDeviceInfoA(set, "Infrared", &infrared, nullptr, nullptr, DICD_GENERATE_ID, &device) &&
        ::SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID,
                                            reinterpret_cast<const ::BYTE*>(list.data()),
                                            static_cast<::DWORD>(list.size())) &&
        ::SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device) &&
        ::SetupDiGetDeviceInstanceIdA(set, &device, instanceId, sizeof instanceId, nullptr)) {
        madeDevices.push_back(instanceId);
    }
    ::SetupDiDestroyDeviceInfoList(set);
}

void MakeHidden(const std::string& path) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
}

void RemoveFolder(const std::string& path) {
    ::RemoveDirectoryA(path.c_str());
}

void MakeFile(const std::string& path, const std::string& content) {
    for (auto separator = path.find('\\', 3); separator != std::string::npos;
         separator = path.find('\\', separator + 1)) {
        ::CreateDirectoryA(path.substr(0, separator).c_str(), nullptr);
    }
    const ::HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ::DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<::DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::string ReadFile(const std::string& path) {
    const ::HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "(none)";
    }
    std::string content;
    char buffer[4096];
    ::DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read != 0) {
        content.append(buffer, read);
    }
    ::CloseHandle(file);
    return content;
}

platform::HWND NotifyWindow() {
    if (notifyWindow == nullptr) {
        ::WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = NotifyProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "CvContractNotify";
        ::RegisterClassA(&windowClass);
        notifyWindow = ::CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                         windowClass.hInstance, nullptr);
    }
    return reinterpret_cast<platform::HWND>(notifyWindow);
}

void AnnounceChange(platform::LONG event, const std::string& path1, const std::string& path2) {
    ::SHChangeNotify(event, SHCNF_PATHA | SHCNF_FLUSH, path1.c_str(),
                     path2.empty() ? nullptr : path2.c_str());
}

std::vector<Notification> TakeNotifications() {
    PumpMessages();
    return std::exchange(received, {});
}

}  // namespace contract
