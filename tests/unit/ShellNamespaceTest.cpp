// The in-memory shell namespace's own levers and accounting, and the files it is built on, which the
// tests of the folder tree rely on.
// How it answers the shell calls is pinned down by the platform contract (tests/contract), which runs
// on the real API too.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

// A file a test puts into the world shows up at once, and what the shell handed out is counted back.
TEST_F(ShellNamespace, TheWorldsFilesShowUpAndEverythingHandedOutIsCounted) {
    std::u16string name(u"C:\\");
    LPITEMIDLIST drive = nullptr;
    ASSERT_EQ(desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &drive, nullptr), S_OK);
    ComPtr<IShellFolder> driveFolder;
    ASSERT_EQ(
        desktop->BindToObject(drive, nullptr, IID_IShellFolder, reinterpret_cast<void**>(driveFolder.put())),
        S_OK);
    world->files.AddFile("C:\\readme.txt", "");
    EXPECT_THAT(Names(*driveFolder, SHCONTF_NONFOLDERS), ::testing::ElementsAre("readme.txt"));
    CoTaskMemFree(drive);
    driveFolder.reset();
    desktop.reset();
    EXPECT_EQ(world->shell.taskAllocator.Live(), 0u);
    EXPECT_EQ(world->shell.liveFolders, 0);
    EXPECT_EQ(world->shell.liveEnumerators, 0);
}

// A folder lists each entry directly inside it once, in name order, whatever lies below its children:
// also where a name sorts between a child and that child's own contents ("a!" between "a" and "a\b").
// An entry removed and made again is found and listed as what it is now.
TEST_F(ShellNamespace, AFolderListsWhatIsDirectlyInsideItOnceInNameOrder) {
    for (const char* folder : {"C:\\Top\\a\\deep\\deeper", "C:\\Top\\a!", "C:\\Top\\a b\\x", "C:\\Top\\B"}) {
        world->files.AddDirectory(folder);
    }
    world->files.AddFile("C:\\Top\\a\\file.txt", "");
    world->files.AddFile("C:\\Top\\c.txt", "");
    auto listing = [this] {
        std::vector<std::string> paths;
        world->files.ForEachChild("c:\\top\\", [&](const sim::FileEntry& entry) {
            paths.push_back(entry.path + (entry.directory ? "\\" : ""));
            return true;
        });
        return paths;
    };
    EXPECT_THAT(listing(), ::testing::ElementsAre("C:\\Top\\a\\", "C:\\Top\\a b\\", "C:\\Top\\a!\\",
                                                  "C:\\Top\\B\\", "C:\\Top\\c.txt"));
    ASSERT_TRUE(world->files.Remove("C:\\TOP\\A!"));
    EXPECT_EQ(world->files.Find("C:\\Top\\a!"), nullptr);
    world->files.AddFile("C:\\Top\\a!", "now a file");
    ASSERT_NE(world->files.Find("c:/top/A!"), nullptr);
    EXPECT_FALSE(world->files.Find("c:/top/A!")->directory);
    EXPECT_THAT(listing(), ::testing::Contains("C:\\Top\\a!"));
    // "a]" sorts right after everything below "a": passing over that folder's contents lands on it.
    world->files.AddFile("C:\\Top\\a]", "");
    EXPECT_THAT(listing(), ::testing::Contains("C:\\Top\\a]"));
}

// A test that keeps an enumerator is told so at its end, like any other handle it keeps.
TEST_F(ShellNamespace, AnEnumeratorNotReleasedIsNamedAmongWhatWasNotGivenBack) {
    const auto keptEnumerator = ::testing::Contains(::testing::HasSubstr("enumerators not released"));
    ComPtr<IEnumIDList> items;
    ASSERT_EQ(desktop->EnumObjects(nullptr, SHCONTF_FOLDERS, items.put()), S_OK);
    EXPECT_THAT(world->Outstanding(), keptEnumerator);
    items.reset();
    EXPECT_THAT(world->Outstanding(), ::testing::Not(keptEnumerator));
}

TEST_F(ShellNamespace, AMissingSpecialFolderFailsAndAStrayFreeIsCounted) {
    world->shell.missingSpecialFolders = {CSIDL_BITBUCKET};
    LPITEMIDLIST bin = nullptr;
    EXPECT_TRUE(FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &bin)));
    EXPECT_EQ(bin, nullptr);
    LPITEMIDLIST drives = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives), S_OK);
    CoTaskMemFree(drives);
    CoTaskMemFree(drives);  // twice: counted, not done
    EXPECT_EQ(world->shell.taskAllocator.StrayFrees(), 1);
    // The double free was this test's own doing: the end-of-test check starts from a clean world.
    desktop.reset();
    sim::ResetWorld();
}

}  // namespace
