// The in-memory shell namespace, where the folder tree's tests rely on it behaving as the real one:
// built on the world's files, paths and lists that agree, and what it hands out counted.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ItemIdList.h"
#include "platform/Kernel.h"
#include "platform/sim/World.h"

using namespace platform;

namespace {

class ShellNamespace : public ::testing::Test {
protected:
    void SetUp() override {
        world = &sim::ResetWorld();
        SHGetDesktopFolder(desktop.put());
    }
    LPITEMIDLIST Parse(IShellFolder& folder, const char16_t* name) {
        std::u16string text(name);
        LPITEMIDLIST list = nullptr;
        EXPECT_EQ(folder.ParseDisplayName(nullptr, nullptr, text.data(), nullptr, &list, nullptr), S_OK);
        return list;
    }
    std::vector<std::string> Names(IShellFolder& folder, SHCONTF flags) {
        std::vector<std::string> names;
        ComPtr<IEnumIDList> items;
        if (folder.EnumObjects(nullptr, flags, items.put()) != S_OK) {
            return names;
        }
        LPITEMIDLIST item = nullptr;
        ULONG fetched = 0;
        while (items->Next(1, &item, &fetched) == S_OK) {
            STRRET name{};
            folder.GetDisplayNameOf(item, SHGDN_INFOLDER, &name);
            char text[MAX_PATH] = {};
            WideCharToMultiByte(CP_ACP, 0, name.pOleStr, -1, text, sizeof text, nullptr, nullptr);
            CoTaskMemFree(name.pOleStr);
            CoTaskMemFree(item);
            names.push_back(text);
        }
        return names;
    }

    sim::World* world = nullptr;
    ComPtr<IShellFolder> desktop;
};

TEST_F(ShellNamespace, AFolderMadeThroughThePlatformShowsUpAtOnce) {
    LPITEMIDLIST drive = Parse(*desktop, u"C:\\");
    ComPtr<IShellFolder> driveFolder;
    ASSERT_EQ(
        desktop->BindToObject(drive, nullptr, IID_IShellFolder, reinterpret_cast<void**>(driveFolder.put())),
        S_OK);
    EXPECT_THAT(Names(*driveFolder, SHCONTF_FOLDERS), ::testing::ElementsAre("cvdisk", "WINDOWS"));
    ASSERT_TRUE(CreateDirectoryA("C:\\New Folder", nullptr));
    world->files.AddFile("C:\\readme.txt", "");
    EXPECT_THAT(Names(*driveFolder, SHCONTF_FOLDERS),
                ::testing::ElementsAre("cvdisk", "New Folder", "WINDOWS"));
    EXPECT_THAT(Names(*driveFolder, SHCONTF_NONFOLDERS), ::testing::ElementsAre("readme.txt"));
    CoTaskMemFree(drive);
    driveFolder.reset();
    desktop.reset();
    EXPECT_EQ(world->shell.taskAllocator.Live(), 0u);
    EXPECT_EQ(world->shell.liveFolders, 0);
}

TEST_F(ShellNamespace, SpecialFoldersParsedPathsAndFileSystemPathsAgree) {
    LPITEMIDLIST drives = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives), S_OK);
    char path[MAX_PATH] = "x";
    EXPECT_FALSE(SHGetPathFromIDListA(drives, path));  // My Computer has no path
    EXPECT_STREQ(path, "");
    ComPtr<IShellFolder> myComputer;
    desktop->BindToObject(drives, nullptr, IID_IShellFolder, reinterpret_cast<void**>(myComputer.put()));
    EXPECT_THAT(Names(*myComputer, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
                ::testing::ElementsAre("Local Disk (C:)", "Control Panel"));

    // My Computer parses a drive root into a list relative to itself.
    LPITEMIDLIST drive = Parse(*myComputer, u"C:\\");
    EXPECT_EQ(ItemIdListSize(drive), FirstItemSize(drive));
    LPITEMIDLIST desktopDirectory = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &desktopDirectory), S_OK);
    ASSERT_TRUE(SHGetPathFromIDListA(desktopDirectory, path));
    EXPECT_STREQ(path, "C:\\WINDOWS\\Desktop");
    world->shell.missingSpecialFolders = {CSIDL_BITBUCKET};
    LPITEMIDLIST bin = nullptr;
    EXPECT_TRUE(FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &bin)));
    EXPECT_EQ(bin, nullptr);
    for (LPITEMIDLIST list : {drives, drive, desktopDirectory}) {
        CoTaskMemFree(list);
    }
    CoTaskMemFree(drives);  // twice: counted, not done
    EXPECT_EQ(world->shell.taskAllocator.StrayFrees(), 1);
}

}  // namespace
