// The Windows 98 installation: the old INF deleted, the old device removed, the driver's files copied.
#include "tests/unit/CvfirTest.h"

#include "app/Install.h"

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

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
    // The calls that read the driver's files or change files or devices, in order, with the device
    // search as one step.
    std::vector<std::string> Steps() const {
        std::vector<std::string> steps;
        for (const auto& call : world->calls) {
            if (call.starts_with("SetupDiGetClassDevsA")) {
                steps.push_back("search");
            } else if (call.starts_with("CreateFileA") || call.starts_with("DeleteFileA") ||
                       call.starts_with("CreateDirectoryA") || call.starts_with("SetupInstallFileA") ||
                       call.starts_with("SetupDiRemoveDevice")) {
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
        ElementsAre("CreateFileA C:\\cvdisk\\win98\\cvfirdma.inf",
                    "CreateFileA C:\\cvdisk\\win98\\cvfirdma.sys",
                    "DeleteFileA C:\\WINDOWS\\inf\\cvfirpio.inf", "search",
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
    EXPECT_EQ(Steps()[2], "DeleteFileA C:\\WINDOWS\\inf\\cvfirpio.inf");
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "inf");  // the INF folder was made
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys"), "sys");
}

// A driver file that is not on the disk, or cannot be read whole, is found before the old driver goes:
// the user keeps what they had, and is told which file and why.
struct UnreadableSource {
    const char* name;
    std::function<void(platform::sim::World&)> arrange;
    const char* message;
    friend std::ostream& operator<<(std::ostream& out, const UnreadableSource& c) { return out << c.name; }
};

class Windows98UnreadableSource : public Windows98Install,
                                  public ::testing::WithParamInterface<UnreadableSource> {};

TEST_P(Windows98UnreadableSource, IsToldAndEndsWithOneBeforeAnythingChanges) {
    world->AddDevice({"*CVN0510"});
    GetParam().arrange(*world);
    EXPECT_EQ(Install(), 1u);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre(GetParam().message));
    EXPECT_THAT(Steps(), Each(StartsWith("CreateFileA")));
    EXPECT_TRUE(world->files.Exists("C:\\WINDOWS\\INF\\cvfirpio.inf"));
    EXPECT_FALSE(world->devices[0].removed);
    EXPECT_FALSE(world->files.Exists("C:\\WINDOWS\\INF\\cvfirdma.inf"));
}

INSTANTIATE_TEST_SUITE_P(
    Windows98Install, Windows98UnreadableSource,
    ::testing::Values(
        UnreadableSource{"SysFileMissing", [](auto& w) { w.files.Remove("C:\\cvdisk\\win98\\cvfirdma.sys"); },
                         "Can't read driver file C:\\cvdisk\\win98\\cvfirdma.sys\n"
                         "The system cannot find the file specified."},
        UnreadableSource{"InfOnADamagedMedium",
                         [](auto& w) { w.files.Find("C:\\cvdisk\\win98\\cvfirdma.inf")->readError = 23; },
                         "Can't read driver file C:\\cvdisk\\win98\\cvfirdma.inf\n"
                         "Data error (cyclic redundancy check)."},
        UnreadableSource{"NoWin98Folder",
                         [](auto& w) {
                             w.files.Remove("C:\\cvdisk\\win98\\cvfirdma.inf");
                             w.files.Remove("C:\\cvdisk\\win98\\cvfirdma.sys");
                             w.files.Remove("C:\\cvdisk\\win98");
                         },
                         "Can't read driver file C:\\cvdisk\\win98\\cvfirdma.inf\n"
                         "The system cannot find the path specified."},
        UnreadableSource{"AFolderInTheSysFilesPlace",
                         [](auto& w) {
                             w.files.Remove("C:\\cvdisk\\win98\\cvfirdma.sys");
                             w.files.AddDirectory("C:\\cvdisk\\win98\\cvfirdma.sys");
                         },
                         "Can't read driver file C:\\cvdisk\\win98\\cvfirdma.sys\nAccess is denied."},
        // A reason the system has no words for is given by its code, as the diagnostic lines give it.
        UnreadableSource{"ReasonWithoutText",
                         [](auto& w) { w.files.Find("C:\\cvdisk\\win98\\cvfirdma.sys")->readError = 0x4D2; },
                         "Can't read driver file C:\\cvdisk\\win98\\cvfirdma.sys\n(0x000004d2)"},
        UnreadableSource{
            "ProgramFolderTooLong",
            [](auto& w) { w.programPath = "C:\\" + std::string(300, 'p') + "\\cvfir.exe"; },
            "Can't read driver file win98\\cvfirdma.inf\nThe filename or extension is too long."}));

// A copy that fails after the old driver went is told with the file, where it was to go and why.
TEST_F(Windows98Install, ACopyThatFailsIsToldAndEndsWithOne) {
    world->files.AddDirectory("C:\\WINDOWS\\INF\\cvfirdma.inf");
    EXPECT_EQ(Install(), 1u);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre("Can't copy driver file C:\\cvdisk\\win98\\cvfirdma.inf to "
                                               "C:\\WINDOWS\\inf\\cvfirdma.inf\nAccess is denied."));
    EXPECT_FALSE(world->files.Exists("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys"));

    TearDown();
    SetUp();
    world->files.Remove("C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(Install(), 1u);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre("Can't copy driver file C:\\cvdisk\\win98\\cvfirdma.sys to "
                                               "C:\\WINDOWS\\system\\cvfirdma.sys\n"
                                               "The system cannot find the path specified."));
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "inf");
}

TEST_F(Windows98Install, StartedFromTheRootOfADriveTheSourceIsTheRootsWin98Folder) {
    world->programPath = "D:\\CVFIR.EXE";
    world->files.AddFile("D:\\win98\\cvfirdma.inf", "from D");
    world->files.AddFile("D:\\win98\\cvfirdma.sys", "from D");
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
