// The log of each run: where it is written, what a run leaves in it, how it is kept small, and that
// writing it changes nothing the program does.

#include "app/DeviceCheck.h"
#include "app/Install.h"
#include "app/Main.h"
#include "app/RunLog.h"
#include "app/StagedDriverFiles.h"
#include "framework/Dialogs.h"
#include "platform/Kernel.h"
#include "platform/Process.h"
#include "tests/unit/CvfirTest.h"

using platform::HKEY_LOCAL_MACHINE;
using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

constexpr const char* kLog = "C:\\WINDOWS\\cvfir.log";
constexpr const char* kOlderLog = "C:\\WINDOWS\\cvfir.old";
constexpr const char* kTemporaryLog = "C:\\WINDOWS\\TEMP\\cvfir.log";
constexpr const char* kInfraredInstance =
    "SYSTEM\\ControlSet001\\Control\\Class\\{6BDD1FC5-810F-11D0-BEC7-08002BE2092F}\\0000";
constexpr const char* kSetupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";

// The lines of the device check that finds the device as the only ID of the only device.
const std::vector<std::string> kDeviceFound{"Search for Device ID: [*CVN0510]",
                                            "Compare device ID: [*CVN0510]", "Found! [*CVN0510]"};

class RunLog : public CvfirTest {
protected:
    // A file's lines, each of which must end in CR LF.
    std::vector<std::string> LinesOf(const std::string& path) const {
        const auto content = world->files.Read(path);
        EXPECT_TRUE(content.has_value()) << path << " is not there";
        std::vector<std::string> lines;
        const std::string text = content.value_or("");
        std::string_view rest = text;
        while (!rest.empty()) {
            const auto end = rest.find("\r\n");
            EXPECT_NE(end, std::string_view::npos) << "the last line has no CR LF: " << rest;
            lines.emplace_back(rest.substr(0, end));
            EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << lines.back();
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
        }
        return lines;
    }
    std::vector<std::string> LogLines() const { return LinesOf(kLog); }
    // Windows 98 with its INF folder, the driver disk beside the program and the wizard made, ready for
    // the install once the driver files are staged.
    void Windows98WithTheDriverDisk() {
        UseRelease(WindowsRelease::Windows98);
        world->files.AddDirectory("C:\\WINDOWS\\INF");
        CreateWindows();
    }
    // The whole run on Windows XP with the device present, from the welcome page to the restart.
    void PostTheWholeRun() {
        headless::Post([] { headless::Click(*Form2->Next); });
        headless::Post([] { headless::Click(*Form2->Next); });
        headless::Post([] { headless::Click(*Form2->Next); });
        headless::Post([] { headless::Click(*Form3->OK); });
        headless::Post([] { headless::EndSession(); });
    }
    void PrepareTheWholeRun() {
        world->AddDevice({"*CVN0510"});
        world->registry.CreateKey(HKEY_LOCAL_MACHINE, kInfraredInstance);
        PostTheWholeRun();
    }
    std::vector<std::string> TheWholeRunsLines(const std::string& header) const {
        std::vector<std::string> lines{
            header,          "step: check that the user may install drivers",
            "outcome: done", "step: get the Windows folder",
            "outcome: done", "step: load newdev.dll",
            "outcome: done", "step: wait for the device installs of Windows in progress",
            "outcome: done", "step: update the driver of *CVN0510 with C:\\cvdisk\\winxp\\cvfirdma.inf"};
        lines.insert(lines.end(), kDeviceFound.begin(), kDeviceFound.end());
        lines.insert(
            lines.end(),
            {"outcome: done",
             "step: write InfraredTransceiverType 0 under \\SYSTEM\\ControlSet001\\Control\\Class\\"
             "{6BDD1FC5-810F-11D0-BEC7-08002BE2092F}\\0000",
             "outcome: done", "step: update the driver of *CVN0510 with C:\\cvdisk\\winxp\\cvfirdma.inf"});
        lines.insert(lines.end(), kDeviceFound.begin(), kDeviceFound.end());
        lines.insert(lines.end(), {"outcome: done", "exit code 0"});
        return lines;
    }
};

constexpr const char* kXpHeader =
    "==== 2002-10-14 09:30:05 C:\\cvdisk\\cvfir.exe, Windows XP (6), code page 1252";

TEST_F(RunLog, AWholeXpRunLeavesItsHeaderStepsOutputAndExitCode) {
    PrepareTheWholeRun();
    EXPECT_EQ(ExitCodeOf([] { CvfirMain(); }), 0u);
    EXPECT_THAT(LogLines(), ElementsAreArray(TheWholeRunsLines(kXpHeader)));
    // One handle for the whole run: a virus scanner that checks each file opened checks the log once.
    EXPECT_EQ(std::count(world->calls.begin(), world->calls.end(), std::string("CreateFileA ") + kLog), 1);
    EXPECT_FALSE(world->files.Exists(kTemporaryLog));
}

// Windows may end the process as soon as the session's end has been answered: the exit code is logged
// then, and not again as the program returns.
TEST_F(RunLog, TheSessionsEndLogsExitCodeZeroAtOnceAndOnlyOnce) {
    TRunLog log;
    StartUp();
    EXPECT_EQ(ExitCodeOf([] { headless::EndSession(); }), 0u);
    EXPECT_THAT(LogLines(), ElementsAre(kXpHeader, "exit code 0"));
    EXPECT_THAT(world->fileHandles, IsEmpty());  // closed at once, before Windows ends the process
    EXPECT_EQ(log.Returning(0), 0);
    EXPECT_THAT(LogLines(), ElementsAre(kXpHeader, "exit code 0"));
}

TEST_F(RunLog, EachRunIsAppendedAfterTheOnesBefore) {
    world->files.AddFile(kLog, "an earlier run\r\n");
    headless::Post([] { headless::Click(*Form2->Cancel); });
    EXPECT_EQ(ExitCodeOf([] { CvfirMain(); }), 1u);
    world->localTime.wDay = 15;
    TRunLog next;
    EXPECT_EQ(next.Returning(0), 0);
    EXPECT_THAT(LogLines(),
                ElementsAre("an earlier run", kXpHeader, "exit code 1",
                            "==== 2002-10-15 09:30:05 C:\\cvdisk\\cvfir.exe, Windows XP (6), code page 1252",
                            "exit code 0"));
}

// The header names the Windows version as the wizard classifies it, also one it refuses, and the code
// page that the log's bytes are in.
TEST_F(RunLog, TheHeaderNamesTheWindowsVersionAsClassifiedAndTheCodePage) {
    const std::pair<WindowsRelease, const char*> releases[] = {
        {WindowsRelease::Windows98, "Windows 98 (1)"},
        {WindowsRelease::WindowsMe, "Windows Me (2)"},
        {WindowsRelease::Windows2000, "Windows 2000 (3)"},
        {WindowsRelease::WindowsNt4, "Windows NT 4.0 (4)"},
        {WindowsRelease::WindowsNt351, "Windows NT 3.51 (5)"},
        {WindowsRelease::Windows7, "not recognised (0)"}};
    for (const auto& [release, named] : releases) {
        world->files.Remove(kLog);
        UseRelease(release);
        const TRunLog log;
        EXPECT_THAT(LogLines(), ElementsAre(std::string("==== 2002-10-14 09:30:05 C:\\cvdisk\\cvfir.exe, ") +
                                            named + ", code page 1252"));
    }
    world->files.Remove(kLog);
    world->UseCodePage(950);
    const TRunLog log;
    EXPECT_THAT(LogLines(), ElementsAre(EndsWith("not recognised (0), code page 950")));
}

TEST_F(RunLog, AStartUpThatFailsLogsItsExceptionBoxAndExitCode) {
    UseRelease(WindowsRelease::Windows98);
    world->registry.SetDword(HKEY_LOCAL_MACHINE, kSetupKey, "SourcePath", 1);
    EXPECT_EQ(CvfirMain(), 1);
    EXPECT_THAT(LogLines(),
                ElementsAre("==== 2002-10-14 09:30:05 C:\\cvdisk\\cvfir.exe, Windows 98 (1), code page 1252",
                            "message box: Invalid data type for 'SourcePath'", "exit code 1"));
}

// A good install logs no failure: a step that finds its work already done says so.
TEST_F(RunLog, AGoodWindows98InstallLogsEachStepAndNoFailure) {
    Windows98WithTheDriverDisk();
    world->AddDevice({"*CVN0510"});
    const TRunLog log;
    StageDriverFiles();
    InstallForWindows98(Form2);
    const auto lines = LogLines();
    const std::vector<std::string> expected{
        "step: load setupapi.dll",
        "outcome: done",
        "step: create the folder C:\\WINDOWS\\inf",
        "outcome: already there",
        "step: copy C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.inf to C:\\WINDOWS\\inf\\cvfirdma.inf",
        "outcome: done",
        "step: delete C:\\WINDOWS\\inf\\cvfirpio.inf",
        "outcome: not there",
        "step: copy C:\\WINDOWS\\TEMP\\cvfir98\\cvfirdma.sys to C:\\WINDOWS\\system\\cvfirdma.sys",
        "outcome: done",
        "step: remove the device's instance",
        "Search for Device ID: [*CVN0510]",
        "Compare device ID: [*CVN0510]",
        "Found! [*CVN0510]",
        "outcome: done"};
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_THAT(std::vector(lines.end() - static_cast<long>(expected.size()), lines.end()),
                ElementsAreArray(expected));
    EXPECT_THAT(lines, Each(Not(HasSubstr("fail"))));
}

// The driver's files are in place when the old device instance is removed: a removal that fails is
// logged, and the install goes on.
TEST_F(RunLog, AWindows98DeviceRemovalThatFailsIsLoggedAndPassedOver) {
    Windows98WithTheDriverDisk();
    world->AddDevice({"*CVN0510"});
    world->removeDeviceFails = true;
    const TRunLog log;
    StageDriverFiles();
    InstallForWindows98(Form2);
    EXPECT_EQ(LogLines().back(), "outcome: failed: Access is denied.");
}

TEST_F(RunLog, AStepLeftByAnExceptionSaysSoBeforeTheExceptionBox) {
    world->registry.CreateKey(HKEY_LOCAL_MACHINE, kInfraredInstance).refuseWrites = true;
    const TRunLog log;
    StartUp();
    WalkToInstallStep();
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_THAT(
        std::vector(lines.end() - 3, lines.end()),
        ElementsAre("step: write InfraredTransceiverType 0 under \\SYSTEM\\ControlSet001\\Control\\Class\\"
                    "{6BDD1FC5-810F-11D0-BEC7-08002BE2092F}\\0000",
                    "outcome: stopped by an error",
                    "message box: Failed to set data for 'InfraredTransceiverType'"));
}

TEST_F(RunLog, WithoutTheDeviceOrItsKeyXpLogsThatNothingWasUpdatedOrWritten) {
    const TRunLog log;
    StartUp();
    WalkToInstallStep();
    EXPECT_THAT(LogLines(), Contains("outcome: device not found, no update"));
    EXPECT_THAT(LogLines(), Contains("outcome: key not found, nothing written"));
}

TEST_F(RunLog, WindowsMeWithoutTheDriversInstanceLogsThatNothingWasWritten) {
    UseRelease(WindowsRelease::WindowsMe);
    const TRunLog log;
    StartUp();
    WalkToInstallStep();
    EXPECT_THAT(LogLines(), Contains("outcome: no instance of the driver with its settings key"));
}

TEST_F(RunLog, WindowsMeLogsTheUpdateWithTheCabinetAsideAndTheInstanceWritten) {
    UseRelease(WindowsRelease::WindowsMe);
    world->AddDevice({"*CVN0510"});
    const std::string instance = "SYSTEM\\CurrentControlSet\\Services\\Class\\Net\\0000";
    world->registry.SetString(HKEY_LOCAL_MACHINE, instance, "DeviceVxDs", "cvfirdma.sys");
    world->registry.CreateKey(HKEY_LOCAL_MACHINE, instance + "\\Ndi\\params\\InfraredTransceiverType");
    const TRunLog log;
    StartUp();
    WalkToInstallStep();
    std::vector<std::string> expected{
        "step: update the driver of *CVN0510 with C:\\cvdisk\\winme\\cvfirdma.inf, the driver cabinet set "
        "aside"};
    expected.insert(expected.end(), kDeviceFound.begin(), kDeviceFound.end());
    expected.insert(expected.end(),
                    {"outcome: done",
                     "step: write InfraredTransceiverType 0 under the driver's instance among "
                     "\\SYSTEM\\CurrentControlSet\\Services\\Class\\Net\\0000 to 0009",
                     "outcome: done, in \\SYSTEM\\CurrentControlSet\\Services\\Class\\Net\\0000"});
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_THAT(std::vector(lines.end() - static_cast<long>(expected.size()), lines.end()),
                ElementsAreArray(expected));
}

TEST_F(RunLog, AFailedUpdateLogsItsLineItsBoxAndExitCodeSix) {
    world->AddDevice({"*CVN0510"});
    world->driverUpdateError = platform::ERROR_ACCESS_DENIED;
    const TRunLog log;
    StartUp();
    Press(Form2->Next);
    EXPECT_EQ(ExitCodeOf([this] { Press(Form2->Next); }), 6u);
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_THAT(std::vector(lines.end() - 5, lines.end()),
                ElementsAre("UpdateDriverForPlugAndPlayDevices FAILURE: Access is denied.", "",
                            "message box: Can't install FIR driver", "             Access is denied.",
                            "exit code 6"));
}

// A user who is not an administrator cannot write the Windows folder: the log goes to the folder for
// temporary files.
TEST_F(RunLog, WhereTheWindowsFolderCannotBeWrittenTheLogIsInTheTemporaryFolder) {
    world->files.Find("C:\\WINDOWS")->refuseWrites = true;
    world->files.AddDirectory("C:\\WINDOWS\\TEMP");
    headless::Post([] { headless::Click(*Form2->Cancel); });
    EXPECT_EQ(ExitCodeOf([] { CvfirMain(); }), 1u);
    EXPECT_FALSE(world->files.Exists(kLog));
    EXPECT_THAT(LinesOf(kTemporaryLog), ElementsAre(kXpHeader, "exit code 1"));
}

// A Windows folder that cannot be had, or is too long for any path: the temporary folder takes the log.
TEST_F(RunLog, AWindowsFolderThatCannotBeHadSendsTheLogToTheTemporaryFolder) {
    world->files.AddDirectory("C:\\WINDOWS\\TEMP");
    for (const std::string& folder : {std::string(), "C:\\" + std::string(platform::MAX_PATH, 'w')}) {
        world->windowsDirectory = folder;
        world->files.Remove(kTemporaryLog);
        const TRunLog log;
        EXPECT_EQ(log.Path(), kTemporaryLog);
        EXPECT_THAT(LinesOf(kTemporaryLog), ElementsAre(kXpHeader));
    }
}

// Nowhere to write: the run is the same as with a log, to its standard output, its boxes, its error mode
// and its last error.
TEST_F(RunLog, ALogThatCannotBeWrittenIsLeftOutWithoutAWord) {
    world->files.Find("C:\\WINDOWS")->refuseWrites = true;
    world->files.Remove("C:\\WINDOWS\\TEMP");  // and no temporary folder
    PrepareTheWholeRun();
    EXPECT_EQ(ExitCodeOf([] { CvfirMain(); }), 0u);
    std::string written;
    for (int search = 0; search < 2; ++search) {
        for (const auto& line : kDeviceFound) {
            written += line + "\n";
        }
    }
    EXPECT_EQ(world->standardOutput, written);
    EXPECT_THAT(MessageBoxTexts(), IsEmpty());
    EXPECT_EQ(world->errorMode, 0u);
    EXPECT_FALSE(world->files.Exists(kLog));
    EXPECT_FALSE(world->files.Exists(kTemporaryLog));
    EXPECT_EQ(world->driverUpdates.size(), 2u);
}

// A temporary folder on a drive whose disk is out is tried for the log without a box of Windows' own.
TEST_F(RunLog, ALogOnADriveWithoutItsDiskIsTriedWithoutWindowsBox) {
    world->files.Find("C:\\WINDOWS")->refuseWrites = true;
    world->files.AddRemovableDrive('E');
    world->environment = {{"TMP", "E:\\TEMP"}};
    world->files.Eject('E');
    const TRunLog log;
    ShowMessage("Shown");
    EXPECT_THAT(world->noDiskBoxes, IsEmpty());
}

TEST_F(RunLog, WritingKeepsTheLastErrorAndTheErrorMode) {
    world->errorMode = platform::SEM_NOOPENFILEERRORBOX;
    const TRunLog log;
    platform::SetLastError(platform::ERROR_ACCESS_DENIED);
    ReportLastError("Step");
    ShowMessage("Shown");
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_ACCESS_DENIED);
    EXPECT_EQ(world->errorMode, platform::SEM_NOOPENFILEERRORBOX);
    EXPECT_THAT(LogLines(),
                ElementsAre(kXpHeader, "Step FAILURE: Access is denied.", "", "message box: Shown"));
}

// A log that would grow past 256 KB becomes the older log, in place of the one before (read-only or
// not), and a new one is begun with what was to be written.
TEST_F(RunLog, AtItsLimitTheLogBecomesTheOlderOneAndANewOneIsBegun) {
    const std::string full(kRunLogLimit - 20, 'x');
    world->files.AddFile(kLog, full);
    world->files.AddFile(kOlderLog, "the run before");
    world->files.Find(kOlderLog)->attributes = platform::FILE_ATTRIBUTE_READONLY;
    {
        TRunLog log;
        EXPECT_EQ(world->files.Read(kOlderLog), full);
        EXPECT_THAT(LogLines(), ElementsAre(kXpHeader));
        // Up to the limit itself, the log grows.
        const std::string line(kRunLogLimit - world->files.Read(kLog)->size() - 2, 'y');
        log.Line(line);
        EXPECT_EQ(world->files.Read(kLog)->size(), kRunLogLimit);
        EXPECT_EQ(world->files.Read(kOlderLog), full);
    }
    const TRunLog next;
    EXPECT_EQ(world->files.Read(kOlderLog)->size(), kRunLogLimit);
    EXPECT_THAT(LogLines(), ElementsAre(kXpHeader));
}

// A text longer than the limit goes whole into a log of its own: an empty log is never set aside.
TEST_F(RunLog, ATextLongerThanTheLimitIsWrittenWholeIntoANewLog) {
    TRunLog log;
    log.Line(std::string(kRunLogLimit, 'z'));
    EXPECT_EQ(world->files.Read(kLog)->size(), kRunLogLimit + 2);
    EXPECT_THAT(LinesOf(kOlderLog), ElementsAre(kXpHeader));
}

// A message box's text of several lines keeps them, each under the first; a message dialog is logged as
// a message box.
TEST_F(RunLog, MessageBoxesAndOutputKeepTheirLines) {
    const TRunLog log;
    ShowMessage("first\nsecond\r\nthird");
    ShowMessage("");
    MessageDlg("a dialog", mtWarning, mbOK, 0);
    platform::printf("one\ntwo");
    EXPECT_THAT(LogLines(),
                ElementsAre(kXpHeader, "message box: first", "             second", "             third",
                            "message box: ", "message box: a dialog", "one", "two"));
}

// Steps made without a run's log, as by a procedure tested on its own, write nothing anywhere.
TEST_F(RunLog, WithoutARunsLogNothingIsWritten) {
    TInstallStep("a step").Result(0);
    platform::printf("a line\n");
    EXPECT_FALSE(world->files.Exists(kLog));
    EXPECT_EQ(world->localAllocations, 0);
}

}  // namespace
