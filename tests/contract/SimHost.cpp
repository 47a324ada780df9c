// The contract's host on the in-memory Windows: a fresh world for each case, with what every Windows
// has that the cases read (the CurrentVersion key), and the world's own levers for the rest.
#include "tests/contract/ContractHost.h"

#include <string>

#include "platform/Com.h"
#include "platform/Shell.h"
#include "platform/sim/World.h"
#include "tests/contract/Contract.h"

using namespace platform;

namespace contract {

namespace {

// The path of a notification's list, as the receiving window reads it.
std::string PathOfList(LPCITEMIDLIST list) {
    if (list == nullptr) {
        return "(none)";
    }
    char path[MAX_PATH];
    return SHGetPathFromIDListA(list, path) ? path : "(no path)";
}

}  // namespace

namespace {

UINT codePage = 1252;

}  // namespace

const char* SideName() {
    return "in-memory Windows";
}

bool UseCodePage(UINT number) {
    codePage = number;
    return true;
}

void BeginCase() {
    auto& world = sim::ResetWorld();
    world.UseCodePage(codePage);
    world.files.AddDirectory(kScratchFolder);
    world.registry.CreateKey(HKEY_CURRENT_USER, kScratchKey);
    world.registry.CreateKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion");
    world.registry.CreateKey(HKEY_CLASSES_ROOT, "CLSID");
}

// What a case was handed it gives back, as the program must: the in-memory Windows counts it.
void EndCase() {
    const auto& world = sim::TheWorld();
    const auto check = [](long count, const char* what) {
        if (count != 0) {
            Fail(__FILE__, __LINE__, std::to_string(count) + " " + what);
        }
    };
    const auto& shell = world.shell;
    check(static_cast<long>(shell.taskAllocator.Live()), "blocks of the task allocator not given back");
    check(shell.taskAllocator.StrayFrees(), "frees of blocks not handed out, or freed already");
    check(shell.liveFolders + shell.liveEnumerators, "shell objects not released");
    check(static_cast<long>(world.registry.OpenHandleCount()), "registry keys not closed");
    check(world.openFinds + world.openDeviceSets, "find handles and device sets not closed");
    check(world.localAllocations, "system texts not freed");
}

void MakeKey(HKEY root, const std::string& path) {
    sim::TheWorld().registry.CreateKey(root, path);
}

void MakeDevice(const std::vector<std::string>& ids) {
    sim::TheWorld().AddDevice(ids);
}

void MakeHidden(const std::string& path) {
    sim::TheWorld().shell.Item(path).hidden = true;
}

void RemoveFolder(const std::string& path) {
    sim::TheWorld().files.Remove(path);
}

void MakeFile(const std::string& path, const std::string& content) {
    sim::TheWorld().files.AddFile(path, content);
}

std::string ReadFile(const std::string& path) {
    return sim::TheWorld().files.Read(path).value_or("(none)");
}

void UseCurrentFolder(const std::string& folder) {
    sim::TheWorld().currentDirectory = folder;
}

void UseDriveFolder(char letter, const std::string& folder) {
    sim::TheWorld().driveDirectories[letter] = folder;
}

HWND NotifyWindow() {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x4E07));
}

void AnnounceChange(LONG event, const std::string& path1, const std::string& path2) {
    sim::TheWorld().shell.Notify(event, path1, path2);
}

std::vector<Notification> TakeNotifications() {
    std::vector<Notification> taken;
    auto& posted = sim::TheWorld().shell.posted;
    for (; !posted.empty(); posted.pop_front()) {
        const auto& message = posted.front();
        if (message.window != NotifyWindow() || message.message != kNotifyMessage) {
            continue;
        }
        const auto& items = *message.items;
        taken.push_back(Notification{static_cast<DWORD>(message.lParam) & ~SHCNE_INTERRUPT,
                                     PathOfList(items[0]), PathOfList(items[1])});
    }
    return taken;
}

}  // namespace contract
