// What a contract case needs of its side beyond the platform layer: a clean place to work in, and the
// things that the program only ever finds, never makes (keys, devices, hidden folders, a change that the
// shell announces, a window that receives it). The in-memory Windows makes them in its world; the real
// one through the system's own calls.
#pragma once

#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/Types.h"

namespace contract {

// The side's name as the summary line gives it: "in-memory Windows" or "Wine".
const char* SideName();

// Makes the system's ANSI code page this one for the cases that follow, where the side can choose it
// (the in-memory Windows); on the real API, where the user's locale chose it, only answers whether it
// is that one.
bool UseCodePage(platform::UINT codePage);

// Before each case: an empty folder `ScratchFolder()` and an empty key `ScratchKey()` under
// HKEY_CURRENT_USER. After it: everything the case made there, and every device it made, is gone.
void BeginCase();
void EndCase();

// Both without a trailing backslash.
inline constexpr const char* kScratchFolder = "C:\\cvcontract";
inline constexpr const char* kScratchKey = "Software\\cvcontract";

// A key and every missing key above it, with the access a key of that place has.
void MakeKey(platform::HKEY root, const std::string& path);

// A present device of the infrared class whose hardware-ID list holds `ids` in that order.
void MakeDevice(const std::vector<std::string>& ids);

// Gives an existing folder the hidden attribute.
void MakeHidden(const std::string& path);

// Removes an empty folder, as another program might.
void RemoveFolder(const std::string& path);

// A file with these bytes, and the folders on its way.
void MakeFile(const std::string& path, const std::string& content);
// The bytes of a file; "(none)" when it cannot be read.
std::string ReadFile(const std::string& path);

// Makes an existing folder the current folder, and its drive the current drive, for the rest of the case.
void UseCurrentFolder(const std::string& folder);
// Gives another drive a current folder of its own for the rest of the case, as Windows keeps one for
// each drive (a command prompt leaves one for every drive it visited).
void UseDriveFolder(char letter, const std::string& folder);

// A window that receives change notifications as `message`.
platform::HWND NotifyWindow();
inline constexpr platform::UINT kNotifyMessage = 0x0400 + 77;  // WM_USER + 77

// Announces an event about one or two file-system paths, as a program does after changing them.
void AnnounceChange(platform::LONG event, const std::string& path1, const std::string& path2 = {});

// A notification that reached the window: the event without SHCNE_INTERRUPT, and the paths of its two
// item ID lists ("(none)" for a missing list, "(no path)" for one without a file-system path).
struct Notification {
    platform::DWORD event;
    std::string path1;
    std::string path2;
};
// What reached the window since the last call, oldest first.
std::vector<Notification> TakeNotifications();

}  // namespace contract
