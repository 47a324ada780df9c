// The Windows 98 installation: the old INF deleted, the old device removed, the driver's files copied.
#include "tests/unit/CvfirTest.h"

#include "app/Install.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class Windows98Install : public CvfirTest {
protected:
    void SetUp() override {
        CvfirTest::SetUp();
        UseRelease(*world, WindowsRelease::Windows98);
        world->windowsDirectory = "C:\\WINDOWS";
        world->files.AddDirectory("C:\\WINDOWS\\SYSTEM");
        world->files.AddFile("C:\\WINDOWS\\INF\\cvfirpio.inf", "old");
        world->files.AddFile("C:\\cvdisk\\win98\\cvfirdma.inf", "inf");
        world->files.AddFile("C:\\cvdisk\\win98\\cvfirdma.sys", "sys");
        CreateWindows();
        Form2->OsKind = TOsKind::Windows98;
    }
    std::optional<unsigned> Install() {
        return ExitCodeOf([] { InstallForWindows98(Form2); });
    }
    // The calls that change files or devices, in order, with the device search as one step.
    std::vector<std::string> Steps() const {
        std::vector<std::string> steps;
        for (const auto& call : world->calls) {
            if (call.starts_with("SetupDiGetClassDevsA")) {
                steps.push_back("search");
            } else if (call.starts_with("DeleteFileA") || call.starts_with("CreateDirectoryA") ||
                       call.starts_with("SetupInstallFileA") || call.starts_with("SetupDiRemoveDevice")) {
                steps.push_back(call);
            }
        }
        return steps;
    }
};

TEST_F(Windows98Install, DeletesTheOldInfRemovesTheDeviceAndCopiesBothFiles) {
    world->AddDevice({"*CVN0510"});
    EXPECT_EQ(Install(), std::nullopt);
    EXPECT_THAT(
        Steps(),
        ElementsAre("DeleteFileA C:\\WINDOWS\\inf\\cvfirpio.inf", "search",
                    "SetupDiRemoveDevice ROOT\\INFRARED\\1000", "CreateDirectoryA C:\\WINDOWS\\inf",
                    "SetupInstallFileA C:\\cvdisk\\win98\\cvfirdma.inf C:\\WINDOWS\\inf\\cvfirdma.inf 128",
                    "SetupInstallFileA C:\\cvdisk\\win98\\cvfirdma.sys "
                    "C:\\WINDOWS\\system\\cvfirdma.sys 128"));
    EXPECT_FALSE(world->files.Exists("C:\\WINDOWS\\INF\\cvfirpio.inf"));
    EXPECT_TRUE(world->devices[0].removed);
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "inf");
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys"), "sys");
    EXPECT_THAT(headless::MessageBoxes(), IsEmpty());
}

TEST_F(Windows98Install, WithoutTheDeviceOrTheOldInfTheFilesAreStillCopied) {
    world->files.Remove("C:\\WINDOWS\\INF\\cvfirpio.inf");
    world->files.Remove("C:\\WINDOWS\\INF");
    EXPECT_EQ(Install(), std::nullopt);
    EXPECT_EQ(Steps().front(), "DeleteFileA C:\\WINDOWS\\inf\\cvfirpio.inf");
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "inf");  // the INF folder was made
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys"), "sys");
}

TEST_F(Windows98Install, AMissingSysFileIsNotReported) {
    world->files.Remove("C:\\cvdisk\\win98\\cvfirdma.sys");
    EXPECT_EQ(Install(), std::nullopt);
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "inf");
    EXPECT_FALSE(world->files.Exists("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys"));
    EXPECT_THAT(headless::MessageBoxes(), IsEmpty());
}

TEST_F(Windows98Install, StartedFromTheRootOfADriveTheSourceIsTheRootsWin98Folder) {
    world->programPath = "D:\\CVFIR.EXE";
    world->files.AddFile("D:\\win98\\cvfirdma.inf", "from D");
    EXPECT_EQ(Install(), std::nullopt);
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "from D");
}

// The SYS file's path has 100 bytes and needs 20 characters beyond the Windows folder, which so may
// have 79. A longer folder never leads to a cut path: it ends the program like a missing one,
// before anything is deleted.
TEST_F(Windows98Install, AWindowsFolderTooLongForItsPathsEndsBeforeAnyChange) {
    const std::string fits = "C:\\" + std::string(76, 'w');
    world->windowsDirectory = fits;
    world->files.AddDirectory(fits + "\\system");
    EXPECT_EQ(Install(), std::nullopt);
    EXPECT_EQ(world->files.Read(fits + "\\system\\cvfirdma.sys"), "sys");

    for (const std::string& folder : {fits + "w", "C:\\" + std::string(97, 'w'), std::string()}) {
        world->calls.clear();
        world->windowsDirectory = folder;
        EXPECT_EQ(Install(), 1u) << folder.size();
        EXPECT_EQ(MessageBoxTexts().back(), "Can't get Windows path");
        EXPECT_THAT(Steps(), IsEmpty());
    }
}

}  // namespace
