// The Windows 98 installation: the driver's files taken off the disk into a folder of the program's own,
// then copied into the Windows folders, the old INF deleted and the old device removed, in an order that
// leaves the user's driver as it was when a step fails.
#include "tests/unit/CvfirTest.h"

#include "app/Install.h"
#include "app/RunLog.h"
#include "app/StagedDriverFiles.h"
#include "platform/AsciiCase.h"
#include "platform/Kernel.h"
#include "platform/Process.h"

using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

constexpr const char* kStaged = "C:\\WINDOWS\\TEMP\\cvfir98";
// The log's lines before the box of a failure.
constexpr const char* kReadInf = "step: read C:\\cvdisk\\win98\\cvfirdma.inf";
constexpr const char* kReadSys = "step: read C:\\cvdisk\\win98\\cvfirdma.sys";
constexpr const char* kLoadSetupApi = "step: load setupapi.dll";
constexpr const char* kDenied = "outcome: failed: Access is denied.";
constexpr const char* kPutBack = "outcome: done";  // the last of the put-backs after the failed step

// Everything in one folder, as a restart would find it: each file's name (whatever its case), bytes and
// attributes, and the bytes waiting to replace it at the restart.
std::vector<std::string> FolderState(const platform::sim::World& world, const std::string& folder) {
    std::vector<std::string> state;
    world.files.ForEachChild(folder, [&](const platform::sim::FileEntry& entry) {
        state.push_back(platform::AsciiLower(entry.path) + " [" + entry.content + "] " +
                        std::to_string(entry.attributes) +
                        (entry.contentAtRestart ? " then [" + *entry.contentAtRestart + "]" : ""));
        return true;
    });
    return state;
}

class Windows98Install : public CvfirTest {
protected:
    void SetUp() override {
        CvfirTest::SetUp();
        UseRelease(WindowsRelease::Windows98);
        world->files.AddFile("C:\\WINDOWS\\INF\\cvfirpio.inf", "old");
        CreateWindows();
    }
    // Takes the files off the disk, as the wizard does before the source dialog opens; answers the exit
    // code when that ended the program.
    std::optional<unsigned> Stage() {
        return ExitCodeOf([] { StageDriverFiles(); });
    }
    std::optional<unsigned> Install() {
        return ExitCodeOf([] { InstallForWindows98(Form2); });
    }
    std::optional<unsigned> StageAndInstall() {
        const auto staged = Stage();
        return staged ? staged : Install();
    }
    // The calls that read the driver's files or change files or devices, in order, with the device
    // search as one step.
    std::vector<std::string> Steps() const {
        std::vector<std::string> steps;
        for (const auto& call : world->calls) {
            if (call.starts_with("SetupDiGetClassDevsA")) {
                steps.push_back("search");
            } else if (call.starts_with("CreateFileA") || call.starts_with("DeleteFileA") ||
                       call.starts_with("CopyFileA") || call.starts_with("SetupInstallFileA") ||
                       call.starts_with("SetupDiRemoveDevice") || call.starts_with("RemoveDirectoryA")) {
                steps.push_back(call);
            }
        }
        return steps;
    }
    // The log ends with the line `before` (none: the line is not looked at), then the box of `message`
    // and exit code 1.
    void ExpectLogEnd(const char* before, std::string message) const {
        for (auto at = message.find('\n'); at != std::string::npos; at = message.find('\n', at + 2)) {
            message.replace(at, 1, "\r\n             ");
        }
        const std::string end = "message box: " + message + "\r\nexit code 1\r\n";
        EXPECT_THAT(world->files.Read("C:\\WINDOWS\\cvfir.log").value_or(""),
                    EndsWith(before + std::string("\r\n") + end));
    }
    std::vector<std::string> WindowsFolders() const {
        auto state = FolderState(*world, "C:\\WINDOWS\\INF");
        const auto system = FolderState(*world, "C:\\WINDOWS\\SYSTEM");
        state.insert(state.end(), system.begin(), system.end());
        return state;
    }
};

TEST_F(Windows98Install, TakesTheFilesOffTheDiskThenCopiesThemKeepingTheOldUntilTheNewIsThere) {
    world->AddDevice({"*CVN0510"});
    EXPECT_EQ(StageAndInstall(), std::nullopt);
    EXPECT_THAT(
        Steps(),
        ElementsAre(
            "CreateFileA C:\\cvdisk\\win98\\cvfirdma.inf", "CreateFileA C:\\cvdisk\\win98\\cvfirdma.sys",
            "CopyFileA C:\\cvdisk\\win98\\cvfirdma.inf C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.inf 0",
            "CopyFileA C:\\cvdisk\\win98\\cvfirdma.sys C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.sys 0",
            "CopyFileA C:\\WINDOWS\\inf\\cvfirpio.inf C:\\WINDOWS\\TEMP\\cvfir98\\cvfirpio.inf 0",
            "SetupInstallFileA C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.inf C:\\WINDOWS\\inf\\cvfirdma.inf 128",
            "DeleteFileA C:\\WINDOWS\\inf\\cvfirpio.inf",
            "SetupInstallFileA C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.sys C:\\WINDOWS\\system\\cvfirdma.sys "
            "128",
            "search", "SetupDiRemoveDevice ROOT\\INFRARED\\1000",
            "DeleteFileA C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.inf",
            "DeleteFileA C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.sys",
            "DeleteFileA C:\\WINDOWS\\TEMP\\cvfir98\\cvfirpio.inf",
            "RemoveDirectoryA " + std::string(kStaged)));
    EXPECT_FALSE(world->files.Exists("C:\\WINDOWS\\INF\\cvfirpio.inf"));
    EXPECT_TRUE(world->devices[0].removed);
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "inf");
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys"), "sys");
    EXPECT_FALSE(world->files.Exists(kStaged));
    EXPECT_THAT(headless::MessageBoxes(), IsEmpty());
    EXPECT_EQ(world->errorMode, 0u);  // as it was before the disk was read
}

// Gone with the install, the files are not looked for again at the exit: what another run has put in
// the folder since stays.
TEST_F(Windows98Install, AfterTheInstallTheExitLeavesAnotherRunsFiles) {
    ASSERT_EQ(StageAndInstall(), std::nullopt);
    world->files.AddFile(std::string(kStaged) + "\\cvfirdma.sys", "another run's");
    EXPECT_EQ(ExitCodeOf([] { platform::ExitProcess(0); }), 0u);
    EXPECT_TRUE(world->files.Exists(std::string(kStaged) + "\\cvfirdma.sys"));
}

// With one CD drive the driver disk is out by the time the files are copied: they come from the copy.
TEST_F(Windows98Install, CopiesFromTheFilesTakenOffTheDiskAfterTheDiskIsGone) {
    world->programPath = "D:\\CVFIR.EXE";
    world->files.Remove("D:\\WIN98\\NET8.CAB");  // the driver CD is in the drive
    world->files.AddFile("D:\\win98\\cvfirdma.inf", "driver CD inf");
    world->files.AddFile("D:\\win98\\cvfirdma.sys", "driver CD sys");
    ASSERT_EQ(Stage(), std::nullopt);
    world->files.Remove("D:\\win98\\cvfirdma.inf");  // then the Windows 98 CD
    world->files.Remove("D:\\win98\\cvfirdma.sys");
    world->files.AddFile("D:\\WIN98\\NET8.CAB", "the Windows 98 CD");
    EXPECT_EQ(Install(), std::nullopt);
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "driver CD inf");
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys"), "driver CD sys");
}

// Files copied from a CD are read-only: the old INF goes all the same, and the driver's files are
// installed writable, so that a later install can replace them.
TEST_F(Windows98Install, ReadOnlyFilesFromACdAreNoHindrance) {
    world->files.Find("C:\\WINDOWS\\INF\\cvfirpio.inf")->attributes = platform::FILE_ATTRIBUTE_READONLY;
    world->files.Find("C:\\cvdisk\\win98\\cvfirdma.inf")->attributes = platform::FILE_ATTRIBUTE_READONLY;
    world->files.Find("C:\\cvdisk\\win98\\cvfirdma.sys")->attributes = platform::FILE_ATTRIBUTE_READONLY;
    EXPECT_EQ(StageAndInstall(), std::nullopt);
    EXPECT_FALSE(world->files.Exists("C:\\WINDOWS\\INF\\cvfirpio.inf"));
    for (const char* installed : {"C:\\WINDOWS\\INF\\cvfirdma.inf", "C:\\WINDOWS\\SYSTEM\\cvfirdma.sys"}) {
        EXPECT_EQ(world->files.Find(installed)->attributes & platform::FILE_ATTRIBUTE_READONLY, 0u)
            << installed;
    }
    EXPECT_FALSE(world->files.Exists(kStaged));
}

TEST_F(Windows98Install, WithoutTheDeviceOrTheOldInfTheFilesAreStillCopied) {
    world->files.Remove("C:\\WINDOWS\\INF\\cvfirpio.inf");
    world->files.Remove("C:\\WINDOWS\\INF");
    EXPECT_EQ(StageAndInstall(), std::nullopt);
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "inf");  // the INF folder was made
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys"), "sys");
}

// A second run, or an upgrade, while the driver is loaded: the system holds the SYS file, and its new
// bytes wait for the restart.
TEST_F(Windows98Install, AHeldSysFileIsNoFailure) {
    world->AddDevice({"*CVN0510"});
    world->files.AddFile("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys", "loaded");
    world->files.Find("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys")->inUse = true;
    EXPECT_EQ(StageAndInstall(), std::nullopt);
    EXPECT_THAT(MessageBoxTexts(), IsEmpty());
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys"), "loaded");
    EXPECT_EQ(world->files.Find("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys")->contentAtRestart, "sys");
    EXPECT_FALSE(world->files.Exists("C:\\WINDOWS\\INF\\cvfirpio.inf"));
    EXPECT_TRUE(world->devices[0].removed);
}

// A copy that Windows answers as not completed counts only when the file holds the new bytes, as on a
// second run over the same driver. With nothing copied it is told, and the old INF stays.
TEST_F(Windows98Install, ACopyWindowsDidNotCompleteCountsOnlyWhenTheFileHoldsTheNewBytes) {
    world->installFileNotCompleted = true;
    world->files.AddFile("C:\\WINDOWS\\INF\\cvfirdma.inf", "earlier inf");
    {
        const TRunLog log;
        EXPECT_EQ(StageAndInstall(), 1u);
    }
    const std::string message =
        "Can't copy driver file C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.inf to C:\\WINDOWS\\inf\\cvfirdma.inf\n"
        "Windows did not complete the copy.";
    EXPECT_THAT(MessageBoxTexts(), ElementsAre(message));
    ExpectLogEnd("outcome: failed: Windows did not complete the copy.", message);
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirpio.inf"), "old");

    world->files.AddFile("C:\\WINDOWS\\INF\\cvfirdma.inf", "inf");
    world->files.AddFile("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys", "sys");
    const TRunLog log;
    EXPECT_EQ(StageAndInstall(), std::nullopt);
    EXPECT_FALSE(world->files.Exists("C:\\WINDOWS\\INF\\cvfirpio.inf"));
    EXPECT_THAT(
        world->files.Read("C:\\WINDOWS\\cvfir.log").value_or(""),
        HasSubstr("outcome: done: Windows did not complete the copy, and the file holds the new bytes"));
}

// The disk fills up as the SYS file is copied, and the old INF cannot be put back either: its kept copy
// stays when the program ends, and the box says where it lies.
TEST_F(Windows98Install, AnOldInfThatCannotBePutBackIsKeptAndTheBoxSaysWhere) {
    world->onCall = [this](const std::string& call) {
        if (call.starts_with("SetupInstallFileA " + std::string(kStaged) + "\\cvfirdma.sys")) {
            world->fullDrives = "C";
        }
    };
    EXPECT_EQ(StageAndInstall(), 1u);
    EXPECT_THAT(
        MessageBoxTexts(),
        ElementsAre("Can't copy driver file C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.sys to "
                    "C:\\WINDOWS\\system\\cvfirdma.sys\nThere is not enough space on the disk.\n"
                    "Your earlier driver file C:\\WINDOWS\\inf\\cvfirpio.inf could not be put back. It is "
                    "kept as C:\\WINDOWS\\TEMP\\cvfir98\\cvfirpio.inf"));
    EXPECT_EQ(world->files.Read(std::string(kStaged) + "\\cvfirpio.inf"), "old");
    EXPECT_FALSE(world->files.Exists(std::string(kStaged) + "\\cvfirdma.inf"));
    EXPECT_FALSE(world->files.Exists("C:\\WINDOWS\\INF\\cvfirdma.inf"));  // the new INF went again
}

// The copy the box named stays through a later run, one that keeps an old INF of other bytes too.
TEST_F(Windows98Install, AKeptCopyTheUserWasToldOfOutlivesTheNextRun) {
    world->onCall = [this](const std::string& call) {
        if (call.starts_with("SetupInstallFileA " + std::string(kStaged) + "\\cvfirdma.sys")) {
            world->fullDrives = "C";
        }
    };
    ASSERT_EQ(StageAndInstall(), 1u);
    world->onCall = nullptr;
    world->fullDrives.clear();
    world->files.AddFile("C:\\WINDOWS\\INF\\cvfirpio.inf", "older");
    EXPECT_EQ(StageAndInstall(), std::nullopt);
    EXPECT_EQ(world->files.Read(std::string(kStaged) + "\\cvfirpio.inf"), "old");
    EXPECT_FALSE(world->files.Exists(std::string(kStaged) + "\\cvfirpio2.inf"));
}

// A driver file that is not on the disk, or cannot be read whole, is found before the source dialog
// opens and before anything changes: the user is told which file and why.
struct UnreadableSource {
    const char* name;
    std::function<void(platform::sim::World&)> arrange;
    const char* message;
    const char* loggedBefore;  // the log's line before the box: the step that ended the program
    friend std::ostream& operator<<(std::ostream& out, const UnreadableSource& c) { return out << c.name; }
};

class Windows98UnreadableSource : public Windows98Install,
                                  public ::testing::WithParamInterface<UnreadableSource> {};

TEST_P(Windows98UnreadableSource, IsToldAndLoggedAndEndsWithOneBeforeAnythingChanges) {
    const TRunLog log;
    world->AddDevice({"*CVN0510"});
    GetParam().arrange(*world);
    const auto before = WindowsFolders();
    EXPECT_EQ(Stage(), 1u);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre(GetParam().message));
    EXPECT_THAT(Steps(), Each(StartsWith("CreateFileA")));
    EXPECT_EQ(WindowsFolders(), before);
    EXPECT_FALSE(world->devices[0].removed);
    EXPECT_FALSE(world->files.Exists(kStaged));
    ExpectLogEnd(GetParam().loggedBefore, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Windows98Install, Windows98UnreadableSource,
    ::testing::Values(
        UnreadableSource{"SysFileMissing", [](auto& w) { w.files.Remove("C:\\cvdisk\\win98\\cvfirdma.sys"); },
                         "Can't read driver file C:\\cvdisk\\win98\\cvfirdma.sys\n"
                         "The system cannot find the file specified.",
                         kReadSys},
        UnreadableSource{"InfOnADamagedMedium",
                         [](auto& w) { w.files.Find("C:\\cvdisk\\win98\\cvfirdma.inf")->readError = 23; },
                         "Can't read driver file C:\\cvdisk\\win98\\cvfirdma.inf\n"
                         "Data error (cyclic redundancy check).",
                         kReadInf},
        // Damaged after its first block: only a read to the end finds it.
        UnreadableSource{"SysDamagedPastItsFirstBlock",
                         [](auto& w) {
                             auto* sys = w.files.Find("C:\\cvdisk\\win98\\cvfirdma.sys");
                             sys->content = std::string(10000, 's');
                             sys->readError = 23;
                             sys->readableBytes = 8192;
                         },
                         "Can't read driver file C:\\cvdisk\\win98\\cvfirdma.sys\n"
                         "Data error (cyclic redundancy check).",
                         kReadSys},
        UnreadableSource{"NoWin98Folder",
                         [](auto& w) {
                             w.files.Remove("C:\\cvdisk\\win98\\cvfirdma.inf");
                             w.files.Remove("C:\\cvdisk\\win98\\cvfirdma.sys");
                             w.files.Remove("C:\\cvdisk\\win98");
                         },
                         "Can't read driver file C:\\cvdisk\\win98\\cvfirdma.inf\n"
                         "The system cannot find the path specified.",
                         kReadInf},
        UnreadableSource{"AFolderInTheSysFilesPlace",
                         [](auto& w) {
                             w.files.Remove("C:\\cvdisk\\win98\\cvfirdma.sys");
                             w.files.AddDirectory("C:\\cvdisk\\win98\\cvfirdma.sys");
                         },
                         "Can't read driver file C:\\cvdisk\\win98\\cvfirdma.sys\nAccess is denied.",
                         kReadSys},
        // A reason the system has no words for is given by its code, as the diagnostic lines give it.
        UnreadableSource{"ReasonWithoutText",
                         [](auto& w) { w.files.Find("C:\\cvdisk\\win98\\cvfirdma.sys")->readError = 0x4D2; },
                         "Can't read driver file C:\\cvdisk\\win98\\cvfirdma.sys\n(0x000004d2)", kReadSys},
        UnreadableSource{"ProgramFolderTooLong",
                         [](auto& w) { w.programPath = "C:\\" + std::string(300, 'p') + "\\cvfir.exe"; },
                         "Can't read driver file win98\\cvfirdma.inf\nThe filename or extension is too long.",
                         "Windows 98 (1), code page 1252"}));  // the header: no step began

// The staged files on a drive whose disk came out meanwhile: the way out asks for no disk.
TEST_F(Windows98Install, TheWayOutShowsNoBoxForATemporaryFolderWhoseDiskIsOut) {
    world->files.AddRemovableDrive('E');
    world->environment = {{"TMP", "E:\\TEMP"}};
    world->files.AddDirectory("E:\\TEMP");
    ASSERT_EQ(Stage(), std::nullopt);
    world->files.Eject('E');
    RemoveStagedDriverFiles();
    EXPECT_THAT(world->noDiskBoxes, IsEmpty());
}

// The disk is read and copied with the system's own "no disk" box held back, so that an empty drive
// gets the program's words, whether it was empty from the start or the disk came out meanwhile.
class Windows98FromACd : public Windows98Install {
protected:
    void SetUp() override {
        Windows98Install::SetUp();
        world->files.AddRemovableDrive('E');
        world->programPath = "E:\\CVFIR.EXE";
        UseRelease(WindowsRelease::Windows98);  // the driver disk's win98 folder beside it
    }
    void ExpectTheProgramsWords(const std::string& message) {
        EXPECT_EQ(Stage(), 1u);
        EXPECT_THAT(world->noDiskBoxes, IsEmpty());
        EXPECT_THAT(MessageBoxTexts(), ElementsAre(message + "\nThe device is not ready."));
    }
};

TEST_F(Windows98FromACd, AnEmptyDriveIsToldInTheProgramsWords) {
    world->files.Eject('E');
    ExpectTheProgramsWords("Can't read driver file E:\\win98\\cvfirdma.inf");
}

TEST_F(Windows98FromACd, ADiskTakenOutDuringTheCopyIsToldInTheProgramsWords) {
    world->onCall = [this](const std::string& call) {
        if (call.starts_with("CopyFileA")) {
            world->files.Eject('E');
        }
    };
    ExpectTheProgramsWords(
        "Can't copy driver file E:\\win98\\cvfirdma.inf to C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.inf");
}

// A copy into the temporary folder that fails is told with both paths; nothing of it stays behind.
TEST_F(Windows98Install, ATemporaryFolderThatTakesNoCopyIsToldAndLeftAsItWas) {
    world->files.AddDirectory(std::string(kStaged) + "\\cvfirdma.sys");
    EXPECT_EQ(Stage(), 1u);
    EXPECT_THAT(MessageBoxTexts(),
                ElementsAre("Can't copy driver file C:\\cvdisk\\win98\\cvfirdma.sys to "
                            "C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.sys\nAccess is denied."));
    EXPECT_FALSE(world->files.Exists(std::string(kStaged) + "\\cvfirdma.inf"));
}

// Windows 98 finds no folder that TMP or TEMP names when a disk cleaner took it, and answers the
// current folder, here the program's own. The files then go into the Windows folder's TEMP, made when
// missing; nothing is left beside the program.
TEST_F(Windows98Install, ATemporaryFolderThatIsGoneGivesWayToTheWindowsFoldersTemp) {
    world->environment = {{"TMP", "C:\\gone"}, {"TEMP", "C:\\gone"}};
    world->files.Remove("C:\\WINDOWS\\TEMP");
    const auto besideTheProgram = FolderState(*world, "C:\\cvdisk");
    EXPECT_EQ(StageAndInstall(), std::nullopt);
    EXPECT_THAT(world->calls, Contains("CopyFileA C:\\cvdisk\\win98\\cvfirdma.sys " + std::string(kStaged) +
                                       "\\cvfirdma.sys 0"));
    EXPECT_FALSE(world->files.Exists(kStaged));
    EXPECT_EQ(FolderState(*world, "C:\\cvdisk"), besideTheProgram);
}

// Without the Windows folder as well, nothing is copied anywhere else, least of all beside the program.
TEST_F(Windows98Install, WithoutAFolderToTakeThemToNothingIsTakenOffTheDisk) {
    world->environment.clear();  // the temporary folder is then the current one, the program's own
    world->windowsDirectory.clear();
    EXPECT_EQ(Stage(), 1u);
    EXPECT_THAT(MessageBoxTexts(),
                ElementsAre("Can't copy driver file C:\\cvdisk\\win98\\cvfirdma.inf to cvfir98\n"
                            "The system cannot find the path specified."));
    EXPECT_THAT(world->calls, Not(Contains(StartsWith("CreateDirectoryA"))));
    EXPECT_THAT(world->calls, Not(Contains(StartsWith("CopyFileA"))));
}

// Each step that can fail leaves the INF folder, the system folder and the recorded device as a
// restart would have found them before the run: an earlier driver's files (one of them read-only, as
// copied from a CD) and the old INF are put back, a new file is taken away again.
struct FailurePoint {
    const char* name;
    std::function<void(platform::sim::World&)> arrange;  // after the files were taken off the disk
    const char* message;
    const char* loggedBefore;  // the log's line before the box: the failed step or its outcome
    friend std::ostream& operator<<(std::ostream& out, const FailurePoint& c) { return out << c.name; }
};

class Windows98FailurePoint : public Windows98Install, public ::testing::WithParamInterface<FailurePoint> {
protected:
    void SetUp() override {
        Windows98Install::SetUp();
        world->AddDevice({"*CVN0510"});
        world->files.Find("C:\\WINDOWS\\INF\\cvfirpio.inf")->attributes = platform::FILE_ATTRIBUTE_READONLY;
        world->files.AddFile("C:\\WINDOWS\\INF\\cvfirdma.inf", "earlier inf");
        world->files.AddFile("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys", "earlier sys");
    }
};

TEST_P(Windows98FailurePoint, LeavesTheWindowsFoldersAndTheDeviceAsTheyWereAndIsLogged) {
    const TRunLog log;
    ASSERT_EQ(Stage(), std::nullopt);
    GetParam().arrange(*world);
    const auto before = WindowsFolders();
    EXPECT_EQ(Install(), 1u);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre(GetParam().message));
    EXPECT_EQ(WindowsFolders(), before);
    EXPECT_FALSE(world->devices[0].removed);
    EXPECT_THAT(world->calls, Not(Contains(StartsWith("SetupDiGetClassDevsA"))));
    EXPECT_FALSE(world->files.Exists(kStaged));
    ExpectLogEnd(GetParam().loggedBefore, GetParam().message);
}

TEST_P(Windows98FailurePoint, WithoutAnEarlierDriverLeavesNoNewFile) {
    world->files.Remove("C:\\WINDOWS\\INF\\cvfirdma.inf");
    world->files.Remove("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys");
    ASSERT_EQ(Stage(), std::nullopt);
    GetParam().arrange(*world);
    const auto before = WindowsFolders();
    EXPECT_EQ(Install(), 1u);
    EXPECT_EQ(WindowsFolders(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Windows98Install, Windows98FailurePoint,
    ::testing::Values(
        FailurePoint{"NoSetupApi", [](auto& w) { w.modules.erase(w.SystemPath("setupapi.dll")); },
                     "Can't Open setupapi.dll", kLoadSetupApi},
        FailurePoint{"SetupApiWithoutRemoveDevice", [](auto& w) { w.InstallSetupApi("SetupDiRemoveDevice"); },
                     "Link setupapi.dll Library error", kLoadSetupApi},
        FailurePoint{"InfDestinationReadOnly",
                     [](auto& w) {
                         w.files.AddFile("C:\\WINDOWS\\INF\\cvfirdma.inf", "earlier inf");
                         w.files.Find("C:\\WINDOWS\\INF\\cvfirdma.inf")->attributes =
                             platform::FILE_ATTRIBUTE_READONLY;
                     },
                     "Can't copy driver file C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.inf to "
                     "C:\\WINDOWS\\inf\\cvfirdma.inf\nAccess is denied.",
                     kDenied},
        FailurePoint{"OldInfCannotGo",
                     [](auto& w) {
                         w.files.Remove("C:\\WINDOWS\\INF\\cvfirpio.inf");
                         w.files.AddDirectory("C:\\WINDOWS\\INF\\cvfirpio.inf");
                     },
                     "Can't delete old driver file C:\\WINDOWS\\inf\\cvfirpio.inf\nAccess is denied.",
                     kPutBack},
        FailurePoint{"SysDestinationAFolder",
                     [](auto& w) {
                         w.files.Remove("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys");
                         w.files.AddDirectory("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys");
                     },
                     "Can't copy driver file C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.sys to "
                     "C:\\WINDOWS\\system\\cvfirdma.sys\nAccess is denied.",
                     kPutBack},
        FailurePoint{"SysDestinationReadOnly",
                     [](auto& w) {
                         w.files.AddFile("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys", "earlier sys");
                         w.files.Find("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys")->attributes =
                             platform::FILE_ATTRIBUTE_READONLY;
                     },
                     "Can't copy driver file C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.sys to "
                     "C:\\WINDOWS\\system\\cvfirdma.sys\nAccess is denied.",
                     kPutBack},
        FailurePoint{"NoSystemFolder", [](auto& w) { w.files.Remove("C:\\WINDOWS\\SYSTEM"); },
                     "Can't copy driver file C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.sys to "
                     "C:\\WINDOWS\\system\\cvfirdma.sys\nThe system cannot find the path specified.",
                     kPutBack},
        // The earlier driver's INF cannot even be kept then.
        FailurePoint{
            "DiskFull", [](auto& w) { w.fullDrives = "C"; },
            "Can't copy driver file C:\\WINDOWS\\inf\\cvfirdma.inf to "
            "C:\\WINDOWS\\TEMP\\cvfir98\\earlier.inf\nThere is not enough space on the disk.",
            "step: keep C:\\WINDOWS\\inf\\cvfirdma.inf as C:\\WINDOWS\\TEMP\\cvfir98\\earlier.inf"}));

TEST_F(Windows98Install, StartedFromTheRootOfADriveTheSourceIsTheRootsWin98Folder) {
    world->programPath = "D:\\CVFIR.EXE";
    world->files.AddFile("D:\\win98\\cvfirdma.inf", "from D");
    world->files.AddFile("D:\\win98\\cvfirdma.sys", "from D");
    EXPECT_EQ(StageAndInstall(), std::nullopt);
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "from D");
}

// The SYS file's path has 100 bytes and needs 20 characters beyond the Windows folder, which so may
// have 79. A longer folder never leads to a cut path: it ends the program like a missing one,
// before anything is changed.
TEST_F(Windows98Install, AWindowsFolderTooLongForItsPathsEndsBeforeAnyChange) {
    const std::string fits = "C:\\" + std::string(76, 'w');
    world->windowsDirectory = fits;
    world->files.AddDirectory(fits + "\\system");
    EXPECT_EQ(StageAndInstall(), std::nullopt);
    EXPECT_EQ(world->files.Read(fits + "\\system\\cvfirdma.sys"), "sys");

    for (const std::string& folder : {fits + "w", "C:\\" + std::string(97, 'w'), std::string()}) {
        ASSERT_EQ(Stage(), std::nullopt);
        world->calls.clear();
        world->windowsDirectory = folder;
        EXPECT_EQ(Install(), 1u) << folder.size();
        EXPECT_EQ(MessageBoxTexts().back(), "Can't get Windows path");
        EXPECT_THAT(Steps(), Each(HasSubstr("TEMP\\cvfir98")));  // only the temporary folder goes
    }
}

}  // namespace
