// The driver update through newdev.dll on Windows Me, 2000 and XP, and the transceiver type written
// into the driver's settings.
#include "tests/unit/CvfirTest.h"

#include "app/Main.h"
#include "framework/Backend.h"
#include "framework/Dialogs.h"
#include "framework/Screen.h"

using platform::HKEY_LOCAL_MACHINE;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

constexpr const char* kInfraredInstance =
    "SYSTEM\\ControlSet001\\Control\\Class\\{6BDD1FC5-810F-11D0-BEC7-08002BE2092F}\\0000";
constexpr const char* kNetClass = "SYSTEM\\CurrentControlSet\\Services\\Class\\Net\\";

class DriverUpdate : public CvfirTest {
protected:
    void SetUp() override {
        CvfirTest::SetUp();
        WriteSetupDat("3\r\n");
        world->registry.CreateKey(HKEY_LOCAL_MACHINE, kInfraredInstance);
    }
    // Runs the setup from start-up to the end of the install step; answers the exit code, if any.
    std::optional<unsigned> Install(WindowsRelease release) {
        UseRelease(release);
        StartUp();
        Press(Form2->Next);
        return ExitCodeOf([this] { Press(Form2->Next); });
    }
    std::vector<std::string> UpdatedInfs() const {
        std::vector<std::string> infs;
        for (const auto& update : world->driverUpdates) {
            EXPECT_EQ(update.hardwareId, "*CVN0510");
            EXPECT_EQ(update.installFlags, 1u);
            infs.push_back(update.infPath);
        }
        return infs;
    }
    std::optional<std::string> InfraredTransceiverType() {
        return world->registry.GetString(HKEY_LOCAL_MACHINE, kInfraredInstance, "InfraredTransceiverType");
    }
    // The platform calls from the first device search on, with the searches and updates named only.
    std::vector<std::string> Steps() const {
        std::vector<std::string> steps;
        for (const auto& call : world->calls) {
            if (call.starts_with("SetupDiGetClassDevsA")) {
                steps.push_back("search");
            } else if (call.starts_with("UpdateDriverForPlugAndPlayDevicesA")) {
                steps.push_back("update");
            } else if (call.starts_with("RegSetValueExA") || call.starts_with("MoveFileA") ||
                       call.starts_with("ExitProcess") || call.starts_with("CheckTokenMembership")) {
                steps.push_back(call);
            }
        }
        return steps;
    }
    void ExpectFinished() {
        EXPECT_EQ(Form2->Next->Caption(), "Finish");
        EXPECT_TRUE(Form2->Next->Enabled());
    }
    // The user's clicks and close requests, queued, delivered while the update runs by the message
    // loop of a dialog that the system shows meanwhile; what each was answered goes to `delivered`.
    void QueueDuringTheUpdate(std::vector<std::function<bool()>> actions) {
        for (auto& action : actions) {
            headless::Post([this, action] { delivered.push_back(action()); });
        }
        world->onCall = [](const std::string& call) {
            if (call.starts_with("UpdateDriverForPlugAndPlayDevicesA")) {
                backend::RunMessageLoop(*Application);
            }
        };
    }
    std::vector<bool> delivered;
    // Cancel, a close request on the background and on the wizard, and a log-off. Windows delivers
    // the close requests to the disabled windows (End Task does) and answers the log-off's query
    // with what the windows say: `delivered` holds false, true, true, and whether the session ended.
    static std::vector<std::function<bool()>> Interruptions() {
        return {[] { return headless::Click(*Form2->Cancel); }, [] { return headless::RequestClose(*Form1); },
                [] { return headless::RequestClose(*Form2); }, [] { return headless::EndSession(); }};
    }
    // The screen cursor at each platform call that begins with `call`, from now on.
    void NoteCursorAt(std::string call) {
        world->onCall = [this, call](const std::string& made) {
            if (made.starts_with(call)) {
                cursors.push_back(headless::ScreenCursor());
            }
        };
    }
    std::vector<int> cursors;
    // The program and its driver disk, the device present, in a folder of `length` characters with its
    // backslash.
    void ProgramInAFolderOf(std::size_t length) {
        const std::string folder = "C:\\" + std::string(length - 4, 'p') + "\\";
        world->programPath = folder + "cvfir.exe";
        world->files.AddFile(folder + "setup.dat", "1");
        WriteDriverInfs(folder);
        world->AddDevice({"*CVN0510"});
    }
    void ExpectStuckAtTheInstallStep() {
        EXPECT_EQ(Form2->Next->Caption(), "Next >");
        EXPECT_FALSE(Form2->Next->Enabled());
        EXPECT_FALSE(Form2->Back->Enabled());
        EXPECT_EQ(Form2->WizardStep, 2);
    }
};

// The hourglass shows over the windows while the install runs, which Windows does not ghost; the cursor
// before it comes back after.
TEST_F(DriverUpdate, OnWindowsXpAPresentDeviceIsUpdatedTheValueWrittenAndTheDeviceUpdatedAgain) {
    world->AddDevice({"*CVN0510"});
    NoteCursorAt("UpdateDriverForPlugAndPlayDevicesA");
    EXPECT_EQ(Install(WindowsRelease::WindowsXp), std::nullopt);
    EXPECT_THAT(cursors, ElementsAre(crHourGlass, crHourGlass));
    EXPECT_EQ(headless::ScreenCursor(), crDefault);
    EXPECT_FALSE(world->windowsGhosted);
    EXPECT_THAT(UpdatedInfs(),
                ElementsAre("C:\\cvdisk\\winxp\\cvfirdma.inf", "C:\\cvdisk\\winxp\\cvfirdma.inf"));
    EXPECT_EQ(InfraredTransceiverType(), "3");
    EXPECT_THAT(Steps(), ElementsAre("CheckTokenMembership", "search", "update",
                                     "RegSetValueExA InfraredTransceiverType", "search", "update"));
    EXPECT_EQ(world->devices[0].installedInf, "C:\\cvdisk\\winxp\\cvfirdma.inf");
    EXPECT_FALSE(world->devices[0].removed);
    EXPECT_THAT(world->loadedModules, Contains("c:\\windows\\system32\\newdev.dll"));
    ExpectFinished();
}

TEST_F(DriverUpdate, OnWindows2000TheInfComesFromItsOwnFolder) {
    world->AddDevice({"*CVN0510"});
    EXPECT_EQ(Install(WindowsRelease::Windows2000), std::nullopt);
    EXPECT_THAT(UpdatedInfs(),
                ElementsAre("C:\\cvdisk\\win2000\\cvfirdma.inf", "C:\\cvdisk\\win2000\\cvfirdma.inf"));
    ExpectFinished();
}

// A controller switched off in the BIOS: its package is stored with Windows, which installs it when the
// controller appears.
TEST_F(DriverUpdate, AnAbsentDevicesPackageIsStoredWithWindowsAndTheValueStillWritten) {
    world->files.AddFile("C:\\WINDOWS\\INF\\oem0.inf", "another driver's");
    EXPECT_EQ(Install(WindowsRelease::WindowsXp), std::nullopt);
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\oem1.inf"),
              world->files.Read("C:\\cvdisk\\winxp\\cvfirdma.inf"));
    EXPECT_THAT(world->driverUpdates, IsEmpty());
    EXPECT_EQ(InfraredTransceiverType(), "3");
    EXPECT_THAT(Steps(), ElementsAre("CheckTokenMembership", "search",
                                     "RegSetValueExA InfraredTransceiverType", "search"));
    EXPECT_THAT(world->standardOutput, HasSubstr("EnumDeviceInfo FAILURE: No more data is available."));
    ExpectFinished();
    EXPECT_THAT(headless::MessageBoxes(), IsEmpty());
}

// A package that cannot be stored leaves nothing installed: that is told, and the program ends with 1.
TEST_F(DriverUpdate, AnAbsentDevicesPackageThatCannotBeStoredIsToldAndEndsWithOne) {
    world->fullDrives = "C";
    EXPECT_EQ(Install(WindowsRelease::Windows2000), 1u);
    EXPECT_THAT(MessageBoxTexts(),
                ElementsAre("Can't install FIR driver\nThere is not enough space on the disk."));
    EXPECT_FALSE(world->files.Exists("C:\\WINDOWS\\INF\\oem0.inf"));
}

TEST_F(DriverUpdate, AnInfraredInstanceKeyThatCannotBeOpenedIsSkippedSilently) {
    world->registry.FindKey(HKEY_LOCAL_MACHINE, kInfraredInstance)->refuseFullAccess = true;
    EXPECT_EQ(Install(WindowsRelease::WindowsXp), std::nullopt);
    world->registry.DeleteKey(HKEY_LOCAL_MACHINE, kInfraredInstance);
    EXPECT_EQ(InfraredTransceiverType(), std::nullopt);
    ExpectFinished();
    EXPECT_THAT(headless::MessageBoxes(), IsEmpty());
}

TEST_F(DriverUpdate, AValueThatCannotBeWrittenShowsTheExceptionBoxAndTheWizardStays) {
    world->registry.FindKey(HKEY_LOCAL_MACHINE, kInfraredInstance)->refuseWrites = true;
    NoteCursorAt("RegSetValueExA");
    EXPECT_EQ(Install(WindowsRelease::WindowsXp), std::nullopt);
    EXPECT_THAT(cursors, ElementsAre(crHourGlass));
    EXPECT_EQ(headless::ScreenCursor(), crDefault);  // the step failed: the hourglass went with it
    ASSERT_THAT(MessageBoxTexts(), ElementsAre("Failed to set data for 'InfraredTransceiverType'"));
    EXPECT_EQ(headless::MessageBoxes()[0].flags, MB_OK | MB_ICONSTOP);
    ExpectStuckAtTheInstallStep();
    // The windows take input again once the procedure is left, by an error too.
    EXPECT_TRUE(Form1->Enabled());
    EXPECT_TRUE(Form2->Enabled());
    // The hold on the program ends with the procedure, by an error too.
    EXPECT_EQ(ExitCodeOf([] { headless::RequestClose(*Form1); }), 1u);
}

// The diagnostic line, then the same failure in words for a user who never sees standard output.
TEST_F(DriverUpdate, AFailedUpdateIsPrintedThenToldAndEndsWithSix) {
    world->AddDevice({"*CVN0510"});
    world->driverUpdateError = 0xE000020Bu;
    EXPECT_EQ(Install(WindowsRelease::WindowsXp), 6u);
    EXPECT_THAT(world->standardOutput,
                HasSubstr("UpdateDriverForPlugAndPlayDevices FAILURE: (0xe000020b)\n"));
    EXPECT_THAT(MessageBoxTexts(), ElementsAre("Can't install FIR driver\n(0xe000020b)"));
    EXPECT_EQ(InfraredTransceiverType(), std::nullopt);
}

// Windows refuses a disk whose INF is missing, or names another device, with its own reason.
TEST_F(DriverUpdate, ADiskWithoutTheInfIsRefusedWithTheSystemsReason) {
    world->AddDevice({"*CVN0510"});
    world->files.Remove("C:\\cvdisk\\winxp\\cvfirdma.inf");
    EXPECT_EQ(Install(WindowsRelease::WindowsXp), 6u);
    EXPECT_THAT(MessageBoxTexts(),
                ElementsAre("Can't install FIR driver\nThe system cannot find the file specified."));
    EXPECT_EQ(world->devices[0].installedInf, "");
}

TEST_F(DriverUpdate, AnInfForAnotherDeviceIsRefusedWithTheSystemsReason) {
    world->AddDevice({"*CVN0510"});
    world->files.AddFile("C:\\cvdisk\\win2000\\cvfirdma.inf", "[Models]\r\n%Other%=Install,*CVN0511\r\n");
    EXPECT_EQ(Install(WindowsRelease::Windows2000), 6u);
    EXPECT_THAT(world->standardOutput,
                HasSubstr("UpdateDriverForPlugAndPlayDevices FAILURE: No more data is available.\r\n\n"));
    EXPECT_EQ(InfraredTransceiverType(), std::nullopt);
}

// The device's list may give the ID in small letters: Windows matches it all the same.
TEST_F(DriverUpdate, ADeviceWhoseIdIsInSmallLettersGetsTheDriver) {
    world->AddDevice({"PNP0510"});
    world->AddDevice({"ACPI\\CVN0510", "*cvn0510"});
    EXPECT_EQ(Install(WindowsRelease::WindowsXp), std::nullopt);
    EXPECT_EQ(world->devices[0].installedInf, "");
    EXPECT_EQ(world->devices[1].installedInf, "C:\\cvdisk\\winxp\\cvfirdma.inf");
    ExpectFinished();
}

TEST_F(DriverUpdate, ASecondUpdateThatFailsComesAfterTheValueWasWritten) {
    world->AddDevice({"*CVN0510"});
    world->driverUpdateError = platform::ERROR_ACCESS_DENIED;
    world->driverUpdateFailsAfter = 1;
    EXPECT_EQ(Install(WindowsRelease::Windows2000), 6u);
    EXPECT_EQ(InfraredTransceiverType(), "3");
    EXPECT_THAT(world->standardOutput,
                HasSubstr("UpdateDriverForPlugAndPlayDevices FAILURE: Access is denied.\r\n\n"));
    EXPECT_THAT(MessageBoxTexts(), ElementsAre("Can't install FIR driver\nAccess is denied."));
}

// Windows 2000 and XP install drivers for administrators only: anyone else is told so before anything
// is searched, updated or written.
class NotAnAdministrator : public DriverUpdate, public ::testing::WithParamInterface<WindowsRelease> {};

TEST_P(NotAnAdministrator, IsToldBeforeAnythingIsSearchedUpdatedOrWritten) {
    world->AddDevice({"*CVN0510"});
    world->administrator = false;
    EXPECT_EQ(Install(GetParam()), 1u);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre("Only an administrator can install FIR driver.\n"
                                               "Please log on as an administrator and run Setup again."));
    EXPECT_EQ(world->standardOutput, "");  // no search
    EXPECT_THAT(world->driverUpdates, IsEmpty());
    EXPECT_EQ(InfraredTransceiverType(), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(DriverUpdate, NotAnAdministrator,
                         ::testing::Values(WindowsRelease::Windows2000, WindowsRelease::WindowsXp));

// Windows 98 and Me have no such rights, and nothing to ask them with.
TEST_F(DriverUpdate, OnWindowsMeTheRightsAreNotAsked) {
    world->AddDevice({"*CVN0510"});
    world->administrator = false;
    world->InstallAdvapi32(false);
    EXPECT_EQ(Install(WindowsRelease::WindowsMe), std::nullopt);
    EXPECT_EQ(world->driverUpdates.size(), 1u);
}

// A check that cannot be made, or a Windows 2000 without the call to make it, does not stop the
// installation: the update tells its own failure.
TEST_F(DriverUpdate, RightsThatCannotBeCheckedStopNothing) {
    world->AddDevice({"*CVN0510"});
    world->administrator = false;
    world->tokenMembershipError = platform::ERROR_ACCESS_DENIED;
    EXPECT_EQ(Install(WindowsRelease::WindowsXp), std::nullopt);
    EXPECT_EQ(world->driverUpdates.size(), 2u);
}

TEST_F(DriverUpdate, AWindows2000WithoutTheMembershipCallInstallsAllTheSame) {
    world->AddDevice({"*CVN0510"});
    world->administrator = false;
    world->InstallAdvapi32(false);
    EXPECT_EQ(Install(WindowsRelease::Windows2000), std::nullopt);
    EXPECT_EQ(world->driverUpdates.size(), 2u);
    ExpectFinished();
}

// The system's dialogs that the update may show deliver the user's clicks to the windows they reach:
// none of ours, until the update has returned. The windows refuse the close requests that reach them,
// and say "not now" to a log-off.
TEST_F(DriverUpdate, NoClickCloseRequestOrLogOffWhileTheUpdateRunsEndsTheProgram) {
    world->AddDevice({"*CVN0510"});
    QueueDuringTheUpdate(Interruptions());
    EXPECT_EQ(Install(WindowsRelease::WindowsXp), std::nullopt);
    EXPECT_THAT(delivered, ElementsAre(false, true, true, false));
    EXPECT_EQ(world->driverUpdates.size(), 2u);
    ExpectFinished();
    EXPECT_TRUE(Form1->Enabled());
    EXPECT_TRUE(Form2->Enabled());
    EXPECT_THAT(headless::Journal(), Contains("session end refused by Form1"));
    // Once the update is over, each of them ends the program again.
    EXPECT_EQ(ExitCodeOf([] { headless::RequestClose(*Form1); }), 1u);
    EXPECT_EQ(ExitCodeOf([] { headless::RequestClose(*Form2); }), 1u);
    EXPECT_EQ(ExitCodeOf([this] { Press(Form2->Cancel); }), 1u);
    EXPECT_EQ(ExitCodeOf([] { headless::EndSession(); }), 0u);
}

// The update's own dialogs have no owner: as one closes while our windows are disabled, Windows
// activates another program's window, and then refuses the front to a program the user has left. The
// background's task-bar button flashes instead, and Finish keeps the keyboard for the user's return.
TEST_F(DriverUpdate, ARefusedFrontFlashesTheBackgroundAndFinishWaitsForTheUsersReturn) {
    world->AddDevice({"*CVN0510"});
    QueueDuringTheUpdate({[] {
        headless::ActivateAnotherProgram();
        return headless::PressKey(VK_RETURN);  // the other program's key
    }});
    EXPECT_EQ(Install(WindowsRelease::WindowsXp), std::nullopt);
    EXPECT_THAT(delivered, ElementsAre(false));
    EXPECT_EQ(headless::Foreground(), nullptr);
    EXPECT_TRUE(headless::TaskBarButtonFlashes(*Form1));
    headless::Activate(*Form1);
    EXPECT_EQ(headless::Focus(), Form2->Next);
    EXPECT_TRUE(headless::PressKey(VK_RETURN));
    EXPECT_TRUE(Form3->Showing());
}

struct FatalCase {
    const char* name;
    std::function<void(platform::sim::World&)> arrange;
    const char* message;
    friend std::ostream& operator<<(std::ostream& out, const FatalCase& c) { return out << c.name; }
};

class FatalBeginnings : public DriverUpdate,
                        public ::testing::WithParamInterface<std::tuple<FatalCase, WindowsRelease>> {};

TEST_P(FatalBeginnings, ShowTheirMessageAndEndWithOne) {
    const auto& [fatal, release] = GetParam();
    world->AddDevice({"*CVN0510"});
    fatal.arrange(*world);
    EXPECT_EQ(Install(release), 1u);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre(fatal.message));
    EXPECT_THAT(world->driverUpdates, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    DriverUpdate, FatalBeginnings,
    ::testing::Combine(
        ::testing::Values(FatalCase{"NoWindowsFolder", [](auto& w) { w.windowsDirectory.clear(); },
                                    "Can't get Windows path"},
                          // 100 characters: Windows answers the size it needs and writes nothing
                          FatalCase{"WindowsFolderTooLong",
                                    [](auto& w) { w.windowsDirectory = "C:\\" + std::string(97, 'w'); },
                                    "Can't get Windows path"},
                          FatalCase{"NoNewdev", [](auto& w) { w.InstallNewdev(false, false); },
                                    "Cant't Open newdev.dll"},
                          FatalCase{"WithoutTheAnsiEntry", [](auto& w) { w.InstallNewdev(false, true); },
                                    "Link newdev.dll Library error"},
                          FatalCase{"WithoutTheWideEntry", [](auto& w) { w.InstallNewdev(true, false); },
                                    "Link newdev.dll Library error"}),
        ::testing::Values(WindowsRelease::WindowsMe, WindowsRelease::Windows2000,
                          WindowsRelease::WindowsXp)));

TEST_F(DriverUpdate, ANewdevOnTheDriverDiskIsNeverLoaded) {
    world->modules["c:\\cvdisk\\newdev.dll"] = world->modules.begin()->second;
    world->InstallNewdev(false, false);
    EXPECT_EQ(Install(WindowsRelease::WindowsXp), 1u);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre("Cant't Open newdev.dll"));
    EXPECT_THAT(world->loadedModules, ::testing::Not(Contains(::testing::EndsWith("newdev.dll"))));
}

// The INF path has 100 bytes: "winxp\cvfirdma.inf" leaves the program folder 81 characters (with its
// backslash). A longer folder is never cut: the update fails as Windows fails a path that is too long.
TEST_F(DriverUpdate, AProgramFolderOf81CharactersFitsTheInfPath) {
    ProgramInAFolderOf(81);
    EXPECT_EQ(Install(WindowsRelease::WindowsXp), std::nullopt);
    ASSERT_EQ(world->driverUpdates.size(), 2u);
    EXPECT_EQ(world->driverUpdates[0].infPath.size(), 99u);
}

TEST_F(DriverUpdate, AProgramFolderOf82CharactersFailsTheUpdate) {
    ProgramInAFolderOf(82);
    EXPECT_EQ(Install(WindowsRelease::WindowsXp), 6u);
    EXPECT_THAT(world->driverUpdates, IsEmpty());
    EXPECT_THAT(
        world->standardOutput,
        HasSubstr("UpdateDriverForPlugAndPlayDevices FAILURE: The filename or extension is too long.\r\n"));
}

constexpr const char* kCachedCabinet = "C:\\WINDOWS\\Driver Cache\\i386\\driver.cab";
constexpr const char* kParkedCabinet = "C:\\WINDOWS\\Driver Cache\\driver.cab";

class WindowsMe : public DriverUpdate {
protected:
    void SetUp() override {
        DriverUpdate::SetUp();
        world->files.AddFile(kCachedCabinet, "cabinet");
    }
    void NetInstance(int index, const char* deviceVxDs, bool withParamsKey) {
        const std::string key = kNetClass + std::string("000") + std::to_string(index);
        world->registry.CreateKey(HKEY_LOCAL_MACHINE, key);
        if (deviceVxDs != nullptr) {
            world->registry.SetString(HKEY_LOCAL_MACHINE, key, "DeviceVxDs", deviceVxDs);
        }
        if (withParamsKey) {
            world->registry.CreateKey(HKEY_LOCAL_MACHINE, key + "\\Ndi\\params\\InfraredTransceiverType");
        }
    }
    std::optional<std::string> InstanceValue(int index) {
        return world->registry.GetString(HKEY_LOCAL_MACHINE,
                                         kNetClass + std::string("000") + std::to_string(index),
                                         "InfraredTransceiverType");
    }
    std::optional<std::string> ParamsDefault(int index) {
        return world->registry.GetString(
            HKEY_LOCAL_MACHINE,
            kNetClass + std::string("000") + std::to_string(index) + "\\Ndi\\params\\InfraredTransceiverType",
            "");
    }
    bool Opened(int index) const {
        const auto call =
            "RegOpenKeyExA SYSTEM\\CurrentControlSet\\Services\\Class\\Net\\000" + std::to_string(index);
        return std::find(world->calls.begin(), world->calls.end(), call) != world->calls.end();
    }
};

TEST_F(WindowsMe, TheCabinetIsMovedAsideForTheUpdateAndBack) {
    world->AddDevice({"*CVN0510"});
    EXPECT_EQ(Install(WindowsRelease::WindowsMe), std::nullopt);
    EXPECT_THAT(UpdatedInfs(), ElementsAre("C:\\cvdisk\\winme\\cvfirdma.inf"));
    EXPECT_THAT(Steps(), ElementsAre("search",
                                     "MoveFileA C:\\WINDOWS\\Driver Cache\\i386\\driver.cab "
                                     "C:\\WINDOWS\\Driver Cache\\driver.cab",
                                     "update",
                                     "MoveFileA C:\\WINDOWS\\Driver Cache\\driver.cab "
                                     "C:\\WINDOWS\\Driver Cache\\i386\\driver.cab"));
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\Driver Cache\\i386\\driver.cab"), "cabinet");
    ExpectFinished();
}

// Windows looks for its drivers in the cabinet's place: one that a run cut off during its update left
// parked goes back as the next run starts, before the windows and whether or not the device is there.
TEST_F(WindowsMe, ACabinetLeftParkedGoesBackAtTheStartWithoutTheDevice) {
    UseRelease(WindowsRelease::WindowsMe);
    world->files.Remove(kCachedCabinet);
    world->files.AddFile(kParkedCabinet, "cabinet");
    headless::Post([this] { EXPECT_EQ(world->files.Read(kCachedCabinet), "cabinet"); });
    headless::Post([] { headless::Click(*Form2->Cancel); });
    EXPECT_EQ(ExitCodeOf([] { CvfirMain(); }), 1u);
    EXPECT_FALSE(world->files.Exists(kParkedCabinet));
}

// Windows may end the session without waiting for the update (a forced log-off): as it says so, the
// parked cabinet goes back before the program answers, since Windows may end the process after it.
TEST_F(WindowsMe, TheSessionsEndDuringTheUpdatePutsTheCabinetBackBeforeItIsAnswered) {
    world->AddDevice({"*CVN0510"});
    std::optional<std::string> cachedAtTheAnswer;
    world->onCall = [this, &cachedAtTheAnswer](const std::string& call) {
        if (call.starts_with("UpdateDriverForPlugAndPlayDevicesA")) {
            Application->SessionEnding();  // what WM_ENDSESSION with TRUE runs
            cachedAtTheAnswer = world->files.Read(kCachedCabinet);
        }
    };
    Install(WindowsRelease::WindowsMe);
    EXPECT_EQ(cachedAtTheAnswer, "cabinet");
}

TEST_F(WindowsMe, AFailedUpdatePutsTheCabinetBackThenTellsAndEndsWithSix) {
    world->AddDevice({"*CVN0510"});
    world->driverUpdateError = platform::ERROR_ACCESS_DENIED;
    NetInstance(0, "cvfirdma.vxd", true);
    EXPECT_EQ(Install(WindowsRelease::WindowsMe), 6u);
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\Driver Cache\\i386\\driver.cab"), "cabinet");
    EXPECT_EQ(InstanceValue(0), std::nullopt);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre("Can't install FIR driver\nAccess is denied."));
    EXPECT_THAT(world->standardOutput,
                HasSubstr("UpdateDriverForPlugAndPlayDevices FAILURE: Access is denied."));
}

TEST_F(WindowsMe, TheBoxGivesTheUpdatesReasonNotThatOfTheCabinetsMove) {
    world->files.Remove("C:\\WINDOWS\\Driver Cache\\i386\\driver.cab");
    world->AddDevice({"*CVN0510"});
    world->driverUpdateError = platform::ERROR_ACCESS_DENIED;
    EXPECT_EQ(Install(WindowsRelease::WindowsMe), 6u);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre("Can't install FIR driver\nAccess is denied."));
}

// The background and the wizard take no input from the cabinet's parking to its return, so that
// nothing ends the program while driver.cab is away from its place.
TEST_F(WindowsMe, NoInputReachesTheWindowsWhileTheCabinetIsParked) {
    world->AddDevice({"*CVN0510"});
    QueueDuringTheUpdate(Interruptions());
    std::vector<std::string> seen;
    auto deliver = world->onCall;
    world->onCall = [&seen, deliver](const std::string& call) {
        if (call.starts_with("MoveFileA") || call.starts_with("UpdateDriver")) {
            seen.push_back(std::string(Form1->Enabled() || Form2->Enabled() ? "input " : "none ") +
                           call.substr(0, call.find(' ')));
        }
        deliver(call);
    };
    EXPECT_EQ(Install(WindowsRelease::WindowsMe), std::nullopt);
    EXPECT_THAT(seen,
                ElementsAre("none MoveFileA", "none UpdateDriverForPlugAndPlayDevicesA", "none MoveFileA"));
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\Driver Cache\\i386\\driver.cab"), "cabinet");
    ExpectFinished();
}

TEST_F(WindowsMe, AFailedUpdateWithClicksQueuedEndsWithSixAndTheCabinetBack) {
    world->AddDevice({"*CVN0510"});
    world->driverUpdateError = platform::ERROR_ACCESS_DENIED;
    QueueDuringTheUpdate(Interruptions());
    EXPECT_EQ(Install(WindowsRelease::WindowsMe), 6u);  // the queued Cancel ended nothing
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\Driver Cache\\i386\\driver.cab"), "cabinet");
}

TEST_F(WindowsMe, WithoutTheDeviceNothingMovesButTheScanRuns) {
    world->files.Remove("C:\\WINDOWS\\Driver Cache\\i386\\driver.cab");  // a missing cabinet is no failure
    NetInstance(0, "cvfirdma.vxd", true);
    EXPECT_EQ(Install(WindowsRelease::WindowsMe), std::nullopt);
    EXPECT_THAT(world->driverUpdates, IsEmpty());
    EXPECT_EQ(InstanceValue(0), "3");
    EXPECT_EQ(ParamsDefault(0), "3");
}

TEST_F(WindowsMe, TheFirstMatchingInstanceWithItsParamsKeyGetsBothValuesAndEndsTheScan) {
    NetInstance(0, "ndiswan.vxd", true);
    NetInstance(1, nullptr, false);
    NetInstance(2, "CVFIRDMA.VXD", true);
    NetInstance(3, "cvfirdma.vxd", true);
    EXPECT_EQ(Install(WindowsRelease::WindowsMe), std::nullopt);
    EXPECT_EQ(InstanceValue(0), std::nullopt);
    EXPECT_EQ(InstanceValue(2), "3");
    EXPECT_EQ(ParamsDefault(2), "3");
    EXPECT_TRUE(Opened(1));
    EXPECT_FALSE(Opened(3));
    EXPECT_EQ(InstanceValue(3), std::nullopt);
}

TEST_F(WindowsMe, AMissingInstanceEndsTheScan) {
    NetInstance(0, "ndiswan.vxd", false);
    NetInstance(2, "cvfirdma.vxd", true);
    EXPECT_EQ(Install(WindowsRelease::WindowsMe), std::nullopt);
    EXPECT_EQ(InstanceValue(2), std::nullopt);
    EXPECT_FALSE(Opened(2));
}

TEST_F(WindowsMe, WithoutInstanceZeroNothingIsWritten) {
    NetInstance(1, "cvfirdma.vxd", true);
    EXPECT_EQ(Install(WindowsRelease::WindowsMe), std::nullopt);
    EXPECT_EQ(InstanceValue(1), std::nullopt);
    EXPECT_THAT(world->calls, ::testing::Not(Contains(::testing::StartsWith("RegSetValueExA"))));
}

TEST_F(WindowsMe, AMatchWithoutItsParamsKeyIsWrittenAndTheScanGoesOn) {
    NetInstance(0, "cvfirdma", false);
    NetInstance(1, "cvfir", true);  // five letters of the name do not match
    NetInstance(2, "cvfirdma.vxd", true);
    EXPECT_EQ(Install(WindowsRelease::WindowsMe), std::nullopt);
    EXPECT_EQ(InstanceValue(0), "3");
    EXPECT_EQ(InstanceValue(1), std::nullopt);
    EXPECT_EQ(InstanceValue(2), "3");
    EXPECT_EQ(ParamsDefault(2), "3");
}

TEST_F(WindowsMe, EveryOneOfTheEightLettersCountsAndTheScanStopsAfterInstanceNine) {
    NetInstance(0, "cvfirdmX.vxd", true);
    NetInstance(1, "cXXXXXXX.vxd", true);
    NetInstance(2, "xvfirdma.vxd", true);
    for (int index = 3; index < 10; ++index) {
        NetInstance(index, "ndiswan.vxd", true);
    }
    // "0010" would be the eleventh instance: there are ten at most.
    world->registry.CreateKey(HKEY_LOCAL_MACHINE, kNetClass + std::string("00010"));
    world->registry.SetString(HKEY_LOCAL_MACHINE, kNetClass + std::string("00010"), "DeviceVxDs", "cvfirdma");
    EXPECT_EQ(Install(WindowsRelease::WindowsMe), std::nullopt);
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(InstanceValue(index), std::nullopt) << index;
    }
    EXPECT_TRUE(Opened(9));
    EXPECT_FALSE(Opened(10));
    EXPECT_THAT(world->calls, ::testing::Not(Contains(::testing::StartsWith("RegSetValueExA"))));
}

TEST_F(WindowsMe, ADeviceVxDsThatIsNotAStringShowsTheExceptionBox) {
    NetInstance(0, nullptr, true);
    world->registry.SetDword(HKEY_LOCAL_MACHINE, kNetClass + std::string("0000"), "DeviceVxDs", 7);
    EXPECT_EQ(Install(WindowsRelease::WindowsMe), std::nullopt);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre("Invalid data type for 'DeviceVxDs'"));
    ExpectStuckAtTheInstallStep();
}

}  // namespace
