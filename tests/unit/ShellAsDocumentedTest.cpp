// What the in-memory shell answers as Windows documents it where Wine shows otherwise or nothing, so the
// platform contract, which runs on both sides, cannot hold these cases. Each names the page it follows.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Kernel.h"
#include "platform/SystemModule.h"
#include "platform/sim/World.h"

using namespace platform;

namespace {

class ShellAsDocumented : public ::testing::Test {
protected:
    void SetUp() override {
        world = &sim::ResetWorld();
        shell32 = LoadSystemModule("shell32.dll");
        reg = reinterpret_cast<PFNSHCHANGENOTIFYREGISTER>(
            GetProcAddress(shell32, MAKEINTRESOURCEA(SHCHANGENOTIFYREGISTER_ORDINAL)));
    }
    void TearDown() override {
        world->shell.posted.clear();
        const auto deregister = reinterpret_cast<PFNSHCHANGENOTIFYDEREGISTER>(
            GetProcAddress(shell32, MAKEINTRESOURCEA(SHCHANGENOTIFYDEREGISTER_ORDINAL)));
        for (const ULONG id : registered) {
            deregister(id);
        }
        FreeLibrary(shell32);
    }

    // The folder of a file-system path, through the desktop.
    ComPtr<IShellFolder> FolderOf(const std::string& path) {
        ComPtr<IShellFolder> desktop;
        SHGetDesktopFolder(desktop.put());
        std::u16string wide(path.begin(), path.end());
        LPITEMIDLIST list = nullptr;
        ComPtr<IShellFolder> folder;
        if (desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &list, nullptr) == S_OK) {
            desktop->BindToObject(list, nullptr, IID_IShellFolder, reinterpret_cast<void**>(folder.put()));
            CoTaskMemFree(list);
        }
        return folder;
    }
    static HWND Owner() { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x0D1A)); }

    // A registration of the whole namespace, recursive, for folders made and merged changes.
    ULONG Register(int sources, HWND window,
                   LONG events = SHCNE_MKDIR | SHCNE_MEDIAINSERTED | SHCNE_UPDATEDIR) {
        SHChangeNotifyEntry entry{nullptr, 1};
        registered.push_back(reg(window, sources, events, 0x0402, 1, &entry));
        return registered.back();
    }
    // The events waiting for a window, in order.
    std::vector<LPARAM> Waiting(HWND window) {
        std::vector<LPARAM> events;
        for (const auto& message : world->shell.posted) {
            if (message.window == window) {
                events.push_back(message.lParam);
            }
        }
        return events;
    }

    sim::World* world = nullptr;
    HMODULE shell32 = nullptr;
    PFNSHCHANGENOTIFYREGISTER reg = nullptr;
    std::vector<ULONG> registered;
};

// "IShellFolder::EnumObjects method (shobjidl_core.h)": with an owner window the folder asks the user for
// a disk it needs; without one it fails without a word. The sim's prompt answers Retry once the disk is
// in, else Cancel.
TEST_F(ShellAsDocumented, EnumObjectsOnADriveWithoutItsDiskAsksTheOwnersUserOnly) {
    world->shell.drives = {'C', 'A'};
    const auto floppy = FolderOf("A:\\");
    ASSERT_TRUE(floppy);
    int seen = 0;
    world->shell.whilePrompting = [&](const sim::ShellNamespace::DiskPrompt& prompt) {
        ++seen;
        EXPECT_EQ(prompt.owner, Owner());
        EXPECT_EQ(prompt.drive, "A:\\");
        if (seen == 2) {
            world->files.AddDirectory("A:\\SETUP");
        }
    };
    IEnumIDList* items = nullptr;
    EXPECT_EQ(floppy->EnumObjects(nullptr, SHCONTF_FOLDERS, &items), static_cast<HRESULT>(0x80070015u));
    EXPECT_EQ(seen, 0);
    EXPECT_EQ(floppy->EnumObjects(Owner(), SHCONTF_FOLDERS, &items), static_cast<HRESULT>(0x800704C7u));
    EXPECT_EQ(items, nullptr);
    ComPtr<IEnumIDList> inserted;
    EXPECT_EQ(floppy->EnumObjects(Owner(), SHCONTF_FOLDERS, inserted.put()), S_OK);
    LPITEMIDLIST item = nullptr;
    EXPECT_EQ(inserted->Next(1, &item, nullptr), S_OK);
    CoTaskMemFree(item);
    EXPECT_EQ(world->shell.diskPrompts.size(), 2u);
    // A folder of that drive needs the disk as much as its root does.
    const auto setup = FolderOf("A:\\SETUP");
    world->files.Remove("A:\\SETUP");
    world->files.Remove("A:\\");
    EXPECT_EQ(setup->EnumObjects(Owner(), SHCONTF_FOLDERS, &items), static_cast<HRESULT>(0x800704C7u));
    EXPECT_EQ(world->shell.diskPrompts.size(), 3u);
}

// "SHChangeNotifyRegister function (shlobj_core.h)": the file system's interrupt events come from the
// whole subtree of a recursive entry only with SHCNRF_RecursiveInterrupt; the shell's own events do
// either way.
TEST_F(ShellAsDocumented, InterruptEventsReachBelowTheEntrysLevelOnlyWithRecursiveInterrupt) {
    const HWND level = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(1));
    const HWND subtree = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(2));
    ASSERT_NE(Register(SHCNRF_InterruptLevel | SHCNRF_ShellLevel, level), 0u);
    ASSERT_NE(Register(SHCNRF_InterruptLevel | SHCNRF_ShellLevel | SHCNRF_RecursiveInterrupt, subtree), 0u);
    world->files.AddDirectory("C:\\Deep\\New");
    const LPARAM interrupt = static_cast<LPARAM>(static_cast<LONG>(SHCNE_MKDIR | SHCNE_INTERRUPT));
    EXPECT_EQ(world->shell.Notify(SHCNE_MKDIR, "C:\\Deep\\New", "", true), 1);
    EXPECT_THAT(Waiting(level), ::testing::IsEmpty());
    EXPECT_THAT(Waiting(subtree), ::testing::ElementsAre(interrupt));
    EXPECT_EQ(world->shell.Notify(SHCNE_MKDIR, "C:\\Deep\\New"), 2);
    // The entry's own level: the desktop itself, and what lies right below it.
    EXPECT_EQ(world->shell.Notify(SHCNE_UPDATEDIR, sim::ShellNamespace::kDesktop, "", true), 2);
    world->shell.posted.clear();  // what follows would join the waiting update of the desktop
    EXPECT_EQ(world->shell.Notify(SHCNE_MKDIR, sim::ShellNamespace::kRecycleBin, "", true), 2);
}

// "SHChangeNotifyRegister function (shlobj_core.h)": many events about the items of one folder may come
// as one SHCNE_UPDATEDIR about the folder, which a registration that does not ask for it never sees.
TEST_F(ShellAsDocumented, ManyWaitingEventsAboutOneFolderBecomeOneUpdateOfTheFolder) {
    const HWND asks = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(1));
    const HWND other = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(2));
    Register(SHCNRF_ShellLevel, asks);
    Register(SHCNRF_ShellLevel, other, SHCNE_MKDIR | SHCNE_MEDIAINSERTED);
    world->shell.mergeFrom = 3;
    for (const char* name : {"C:\\A\\1", "C:\\A\\2", "C:\\B\\1", "C:\\A\\3"}) {
        world->files.AddDirectory(name);
        world->shell.Notify(SHCNE_MKDIR, name);
    }
    EXPECT_EQ(Waiting(asks).size(), 4u);
    world->shell.Notify(SHCNE_MEDIAINSERTED, "C:\\");  // about a drive as such: never merged
    world->files.AddDirectory("C:\\A\\4");
    world->shell.Notify(SHCNE_MKDIR, "C:\\A\\4");
    world->files.AddDirectory("C:\\A\\5");
    world->shell.Notify(SHCNE_MKDIR, "C:\\A\\5");  // joins the merged one
    EXPECT_THAT(Waiting(asks), ::testing::ElementsAre(SHCNE_MKDIR, SHCNE_MEDIAINSERTED, SHCNE_UPDATEDIR));
    // Without the merged event, the merged ones are lost; what comes after is counted afresh.
    EXPECT_THAT(Waiting(other), ::testing::ElementsAre(SHCNE_MKDIR, SHCNE_MEDIAINSERTED, SHCNE_MKDIR));
    char path[MAX_PATH];
    for (const auto& message : world->shell.posted) {
        if (message.lParam == SHCNE_UPDATEDIR) {
            ASSERT_TRUE(SHGetPathFromIDListA((*message.items)[0], path));
            EXPECT_STREQ(path, "C:\\A");
            EXPECT_EQ((*message.items)[1], nullptr);
        }
    }
}

}  // namespace
