// Change notification as the folder tree takes it from shell32.dll by ordinal: a registration for the
// whole namespace, the shell's announcement of a folder made, removed or renamed in this process, the
// message that reaches the registered window with its lists and event, and the end of the registration.
#include <string>
#include <vector>

#include "platform/ItemIdList.h"
#include "platform/Kernel.h"
#include "platform/Shell.h"
#include "platform/SystemModule.h"
#include "tests/contract/Contract.h"
#include "tests/contract/ContractHost.h"

using namespace platform;
using contract::Notification;

namespace {

const std::string kScratch = contract::kScratchFolder;
constexpr int kTreeSources = SHCNRF_InterruptLevel | SHCNRF_ShellLevel;
constexpr LONG kTreeEvents = SHCNE_MKDIR | SHCNE_RMDIR | SHCNE_MEDIAINSERTED | SHCNE_MEDIAREMOVED |
                             SHCNE_RENAMEFOLDER | SHCNE_UPDATEDIR;

struct Shell32 {
    Shell32() {
        module = LoadSystemModule("shell32.dll");
        REQUIRE(module != nullptr);
        reg = reinterpret_cast<PFNSHCHANGENOTIFYREGISTER>(
            GetProcAddress(module, MAKEINTRESOURCEA(SHCHANGENOTIFYREGISTER_ORDINAL)));
        deregister = reinterpret_cast<PFNSHCHANGENOTIFYDEREGISTER>(
            GetProcAddress(module, MAKEINTRESOURCEA(SHCHANGENOTIFYDEREGISTER_ORDINAL)));
        REQUIRE(reg != nullptr && deregister != nullptr);
    }
    ~Shell32() { FreeLibrary(module); }

    // A registration of the host's window; `folder` null: the whole namespace.
    ULONG Register(LONG events, LPCITEMIDLIST folder = nullptr, BOOL recursive = 1,
                   int sources = kTreeSources) {
        SHChangeNotifyEntry entry{folder, recursive};
        const ULONG id = reg(contract::NotifyWindow(), sources, events, contract::kNotifyMessage, 1, &entry);
        REQUIRE(id != 0);
        return id;
    }

    HMODULE module = nullptr;
    PFNSHCHANGENOTIFYREGISTER reg = nullptr;
    PFNSHCHANGENOTIFYDEREGISTER deregister = nullptr;
};

std::string Shown(const std::vector<Notification>& notifications) {
    std::string text;
    for (const auto& n : notifications) {
        text += std::to_string(n.event) + " " + n.path1 + " " + n.path2 + ";";
    }
    return text;
}

std::string Expected(DWORD event, const std::string& path1, const std::string& path2 = "(none)") {
    return std::to_string(event) + " " + path1 + " " + path2 + ";";
}

void MakeFolders(const std::vector<std::string>& names) {
    for (const auto& name : names) {
        REQUIRE(CreateDirectoryA((kScratch + name).c_str(), nullptr));
    }
}

}  // namespace

CONTRACT_CASE(Notify_RegistrationAndDeregistration) {
    Shell32 shell;
    const ULONG id = shell.Register(kTreeEvents);
    const ULONG other = shell.Register(kTreeEvents);
    CHECK(other != id);
    CHECK(shell.deregister(id));
    CHECK(!shell.deregister(id));
    CHECK(shell.deregister(other));
}

CONTRACT_CASE(Notify_FolderCreationReachesTheWindow) {
    Shell32 shell;
    const ULONG id = shell.Register(kTreeEvents);
    REQUIRE(CreateDirectoryA((kScratch + "\\New").c_str(), nullptr));
    contract::AnnounceChange(SHCNE_MKDIR, kScratch + "\\New");
    CHECK_EQ(Shown(contract::TakeNotifications()), Expected(SHCNE_MKDIR, kScratch + "\\New"));
    shell.deregister(id);
}

CONTRACT_CASE(Notify_FolderRemovalNamesTheFolderThatIsGone) {
    REQUIRE(CreateDirectoryA((kScratch + "\\Gone").c_str(), nullptr));
    Shell32 shell;
    const ULONG id = shell.Register(kTreeEvents);
    contract::RemoveFolder(kScratch + "\\Gone");
    contract::AnnounceChange(SHCNE_RMDIR, kScratch + "\\Gone");
    CHECK_EQ(Shown(contract::TakeNotifications()), Expected(SHCNE_RMDIR, kScratch + "\\Gone"));
    shell.deregister(id);
}

CONTRACT_CASE(Notify_RenameGivesTheOldAndTheNewName) {
    REQUIRE(CreateDirectoryA((kScratch + "\\Old").c_str(), nullptr));
    Shell32 shell;
    const ULONG id = shell.Register(kTreeEvents);
    contract::RemoveFolder(kScratch + "\\Old");
    REQUIRE(CreateDirectoryA((kScratch + "\\Renamed").c_str(), nullptr));
    contract::AnnounceChange(SHCNE_RENAMEFOLDER, kScratch + "\\Old", kScratch + "\\Renamed");
    CHECK_EQ(Shown(contract::TakeNotifications()),
             Expected(SHCNE_RENAMEFOLDER, kScratch + "\\Old", kScratch + "\\Renamed"));
    shell.deregister(id);
}

CONTRACT_CASE(Notify_OnlyTheEventsAskedFor) {
    Shell32 shell;
    const ULONG id = shell.Register(SHCNE_MKDIR);
    contract::AnnounceChange(SHCNE_RMDIR, kScratch + "\\Never");
    CHECK_EQ(Shown(contract::TakeNotifications()), "");
    shell.deregister(id);
}

CONTRACT_CASE(Notify_NothingAfterDeregistration) {
    Shell32 shell;
    CHECK(shell.deregister(shell.Register(kTreeEvents)));
    REQUIRE(CreateDirectoryA((kScratch + "\\Late").c_str(), nullptr));
    contract::AnnounceChange(SHCNE_MKDIR, kScratch + "\\Late");
    CHECK_EQ(Shown(contract::TakeNotifications()), "");
}

// An entry for one folder: what lies below it, however deep, and nothing beside it.
CONTRACT_CASE(Notify_EntryForOneFolderWatchesWhatLiesBelowIt) {
    REQUIRE(CreateDirectoryA((kScratch + "\\Watched").c_str(), nullptr));
    REQUIRE(CreateDirectoryA((kScratch + "\\Watched\\Deep").c_str(), nullptr));
    LPITEMIDLIST folder = nullptr;
    ComPtr<IShellFolder> desktop;
    REQUIRE(SHGetDesktopFolder(desktop.put()) == S_OK);
    std::u16string name = u"C:\\cvcontract\\Watched";
    REQUIRE(desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &folder, nullptr) == S_OK);
    Shell32 shell;
    const ULONG id = shell.Register(SHCNE_MKDIR, folder);
    REQUIRE(CreateDirectoryA((kScratch + "\\Watched\\Near").c_str(), nullptr));
    REQUIRE(CreateDirectoryA((kScratch + "\\Watched\\Deep\\Far").c_str(), nullptr));
    REQUIRE(CreateDirectoryA((kScratch + "\\Beside").c_str(), nullptr));
    contract::AnnounceChange(SHCNE_MKDIR, kScratch + "\\Watched\\Near");
    contract::AnnounceChange(SHCNE_MKDIR, kScratch + "\\Watched\\Deep\\Far");
    contract::AnnounceChange(SHCNE_MKDIR, kScratch + "\\Beside");
    CHECK_EQ(Shown(contract::TakeNotifications()),
             Expected(SHCNE_MKDIR, kScratch + "\\Watched\\Near") +
                 Expected(SHCNE_MKDIR, kScratch + "\\Watched\\Deep\\Far"));
    shell.deregister(id);
    CoTaskMemFree(folder);
}

// A folder whose contents changed as a whole, as the shell says for many changes in it at once.
CONTRACT_CASE(Notify_FolderUpdateNamesTheFolder) {
    MakeFolders({"\\Updated"});
    Shell32 shell;
    const ULONG id = shell.Register(kTreeEvents);
    contract::AnnounceChange(SHCNE_UPDATEDIR, kScratch + "\\Updated");
    CHECK_EQ(Shown(contract::TakeNotifications()), Expected(SHCNE_UPDATEDIR, kScratch + "\\Updated"));
    shell.deregister(id);
}

// Asking for the file system's interrupts from the whole subtree changes nothing for the shell's own
// announcements.
CONTRACT_CASE(Notify_RecursiveInterruptsTakeTheShellsAnnouncementsToo) {
    Shell32 shell;
    const ULONG id = shell.Register(kTreeEvents, nullptr, 1,
                                    SHCNRF_InterruptLevel | SHCNRF_ShellLevel | SHCNRF_RecursiveInterrupt);
    MakeFolders({"\\Deep", "\\Deep\\Deeper"});
    contract::AnnounceChange(SHCNE_MKDIR, kScratch + "\\Deep\\Deeper");
    CHECK_EQ(Shown(contract::TakeNotifications()), Expected(SHCNE_MKDIR, kScratch + "\\Deep\\Deeper"));
    shell.deregister(id);
}
