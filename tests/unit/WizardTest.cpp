// The wizard's pages, its step counter, setup.dat and the choice of install procedure.
#include "app/Main.h"
#include "tests/unit/CvfirTest.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class Wizard : public CvfirTest {
protected:
    void ExpectPage(const char* title, const char* body, const char* instruction) {
        EXPECT_EQ(Form2->Memo1->Lines->Lines(), std::vector<std::string>{title});
        EXPECT_EQ(Form2->Memo2->Lines->Lines(), std::vector<std::string>{body});
        EXPECT_EQ(Form2->Memo3->Lines->Lines(), std::vector<std::string>{instruction});
    }
    void ExpectWelcomePage() {
        ExpectPage(
            "Welcome!",
            "Welcome to the Corvane FIR driver setup program. This program will install Corvane FIR driver "
            "on your computer. It is strongly recommand you exit all Windows programs before running this "
            "setup program.",
            "Click Cancel to quit Setup and then close any program you have running. Click Next to "
            "continue with the Setup program.");
        EXPECT_FALSE(Form2->Back->Enabled());
    }
    void ExpectReadyPage() {
        ExpectPage("Start to Setup!", "The setup program is ready to copying files on your computer.",
                   "Click Back to return previous step. Click Next to begin copying files.");
        EXPECT_TRUE(Form2->Back->Enabled());
    }
    void ExpectFinishedPage() {
        ExpectPage("Setup complete!", "The setup program has finished copying files to your computer.",
                   "Click Finish to complete setup.Please restart your computer.");
        EXPECT_FALSE(Form2->Back->Enabled());
        EXPECT_EQ(Form2->Next->Caption(), "Finish");
    }
};

TEST_F(Wizard, NextAndBackWalkTheWelcomeAndReadyPages) {
    StartUp();
    ExpectWelcomePage();
    EXPECT_EQ(Form2->Next->Caption(), "Next >");
    Press(Form2->Next);
    ExpectReadyPage();
    EXPECT_EQ(Form2->WizardStep, 1);
    headless::ForgetRecords();
    Press(Form2->Back);
    ExpectWelcomePage();
    EXPECT_EQ(Form2->WizardStep, 0);
    EXPECT_THAT(headless::Journal(), ElementsAre("repaint Form2"));
    EXPECT_FALSE(headless::Click(*Form2->Back));
    Press(Form2->Next);
    ExpectReadyPage();
}

TEST_F(Wizard, TheInstallStepReachesTheFinishedPageAndFinishOpensTheRestartPrompt) {
    StartUp();
    Press(Form2->Next);
    Press(Form2->Next);
    ExpectFinishedPage();
    EXPECT_TRUE(Form2->Next->Enabled());
    EXPECT_EQ(Form2->WizardStep, 2);
    EXPECT_EQ(headless::Journal().back(), "repaint Form2");

    headless::ForgetRecords();
    Press(Form2->Next);
    EXPECT_EQ(headless::Journal().front(), "conceal Form2");  // its window goes before the prompt's comes
    EXPECT_EQ(Form2->WizardStep, 3);
    EXPECT_FALSE(Form2->Showing());
    EXPECT_TRUE(Form3->Showing());
    EXPECT_TRUE(Form1->Showing());
}

// Neither button can be pressed while the install runs: an install that ends the program leaves both off.
TEST_F(Wizard, TheInstallRunsWithBothButtonsOff) {
    world->AddDevice({"*CVN0510"});
    world->driverUpdateError = platform::ERROR_ACCESS_DENIED;
    StartUp();
    Press(Form2->Next);
    EXPECT_EQ(ExitCodeOf([this] { Press(Form2->Next); }), 6u);
    EXPECT_FALSE(Form2->Next->Enabled());
    EXPECT_FALSE(Form2->Back->Enabled());
}

TEST_F(Wizard, BackOntoTheFinishedPageLeavesNextAsItIs) {
    StartUp();
    Form2->WizardStep = 3;
    Form2->Next->SetEnabled(false);
    Form2->BackClick(Form2->Back);
    ExpectFinishedPage();
    EXPECT_FALSE(Form2->Next->Enabled());
    Form2->WizardStep = 6;
    Form2->BackClick(Form2->Back);  // no page for step 5
    ExpectFinishedPage();
}

TEST_F(Wizard, CancelEndsTheProgramWithOneOnEveryPage) {
    StartUp();
    EXPECT_EQ(ExitCodeOf([this] { Press(Form2->Cancel); }), 1u);
    Press(Form2->Next);
    EXPECT_EQ(ExitCodeOf([this] { Press(Form2->Cancel); }), 1u);
    Press(Form2->Next);
    EXPECT_EQ(ExitCodeOf([this] { Press(Form2->Cancel); }), 1u);
}

struct SetupDatCase {
    const char* content;
    const char* transceiverType;
    friend std::ostream& operator<<(std::ostream& out, const SetupDatCase& c) {
        return out << ::testing::PrintToString(std::string(c.content)) << " -> " << c.transceiverType;
    }
};

class SetupDat : public Wizard, public ::testing::WithParamInterface<SetupDatCase> {};

TEST_P(SetupDat, TheFirstLineSelectsTheTransceiverType) {
    WriteSetupDat(GetParam().content);
    StartUp();
    WalkToInstallStep();
    EXPECT_EQ(Form2->TransceiverType, GetParam().transceiverType);
    EXPECT_THAT(headless::MessageBoxes(), IsEmpty());
    EXPECT_EQ(world->openFiles, 0);
    ExpectFinishedPage();
}

INSTANTIATE_TEST_SUITE_P(Lines, SetupDat,
                         ::testing::Values(SetupDatCase{"3\r\n", "3"}, SetupDatCase{"  4abc\r\n", "4"},
                                           SetupDatCase{"5", "5"}, SetupDatCase{"0\r\n2\r\n", "0"},
                                           SetupDatCase{"12\r\n", "0"}, SetupDatCase{"6\r\n", "0"},
                                           SetupDatCase{"-1\r\n", "0"}, SetupDatCase{"+2\r\n", "2"},
                                           // cut to its first eight characters: 12345678
                                           SetupDatCase{"123456789\r\n", "0"},
                                           SetupDatCase{"00000001234\r\n", "1"},
                                           // eight blanks: no number is left after the cut
                                           SetupDatCase{"        5\r\n", "0"}, SetupDatCase{"", "0"},
                                           SetupDatCase{"abc\r\n", "0"}, SetupDatCase{"\r\n3\r\n", "0"}));

TEST_F(Wizard, OnlyTheFirstSeventyNineCharactersOfALineAreRead) {
    WriteSetupDat(std::string(100, '7') + "\r\n");
    StartUp();
    WalkToInstallStep();
    EXPECT_EQ(Form2->TransceiverType, "0");  // 77777777
}

TEST_F(Wizard, SetupDatIsReadFromTheProgramFolderWithADoubledBackslash) {
    StartUp();
    WalkToInstallStep();
    EXPECT_THAT(world->calls, ::testing::Contains("fopen C:\\cvdisk\\\\setup.dat"));
}

TEST_F(Wizard, StartedFromTheRootOfADrive) {
    world->programPath = "D:\\CVFIR.EXE";
    world->files.AddDrive('D');
    world->files.AddFile("D:\\setup.dat", "2\r\n");
    WriteDriverInfs("D:\\");
    StartUp();
    WalkToInstallStep();
    EXPECT_EQ(Form2->TransceiverType, "2");
}

class SetupDatMissing : public Wizard {
protected:
    void ExpectStuckAtTheInstallStep() {
        EXPECT_THAT(MessageBoxTexts(), ElementsAre("File Setup.dat Open Error!!"));
        EXPECT_EQ(headless::MessageBoxes()[0].caption, "cvfir");
        EXPECT_FALSE(Form2->Next->Enabled());
        EXPECT_FALSE(Form2->Back->Enabled());
        EXPECT_EQ(Form2->WizardStep, 2);
        ExpectReadyPage_TextsOnly();
        EXPECT_EQ(ExitCodeOf([this] { Press(Form2->Cancel); }), 1u);
    }
    void ExpectReadyPage_TextsOnly() {
        ExpectPage("Start to Setup!", "The setup program is ready to copying files on your computer.",
                   "Click Back to return previous step. Click Next to begin copying files.");
    }
};

TEST_F(SetupDatMissing, LeavesBothButtonsDisabled) {
    world->files.Remove("C:\\cvdisk\\setup.dat");
    StartUp();
    WalkToInstallStep();
    ExpectStuckAtTheInstallStep();
}

TEST_F(SetupDatMissing, IsReportedBeforeAnUnsupportedVersion) {
    world->files.Remove("C:\\cvdisk\\setup.dat");
    UseRelease(WindowsRelease::Windows7);
    StartUp();
    EXPECT_EQ(ExitCodeOf([this] { WalkToInstallStep(); }), std::nullopt);
    ExpectStuckAtTheInstallStep();
}

TEST_F(SetupDatMissing, AFolderNamedSetupDatCannotBeRead) {
    world->files.Remove("C:\\cvdisk\\setup.dat");
    world->files.AddDirectory("C:\\cvdisk\\setup.dat");
    StartUp();
    WalkToInstallStep();
    ExpectStuckAtTheInstallStep();
}

// A program folder of 99 characters fits its 100-byte buffer; the path of setup.dat then needs 110
// bytes of its 200. One character more and the folder does not fit: it is never cut, and setup.dat
// counts as not found.
TEST_F(SetupDatMissing, AProgramFolderTooLongForItsBufferIsNeverCut) {
    const std::string fits = "C:\\" + std::string(95, 'f') + "\\";
    ASSERT_EQ(fits.size(), 99u);
    world->programPath = fits + "cvfir.exe";
    world->files.AddFile(fits + "setup.dat", "4");
    StartUp();
    ExitCodeOf([this] { WalkToInstallStep(); });  // the install stops there: no INF path fits after it
    EXPECT_EQ(Form2->TransceiverType, "4");

    // One character too many for the folder's buffer, and one too many for the run-time splitter's.
    world->files.AddFile("C:\\setup.dat", "2");  // what an empty folder would open
    for (std::size_t length : {96u, 99u}) {
        const std::string tooLong = "C:\\" + std::string(length, 'f') + "\\";
        world->programPath = tooLong + "cvfir.exe";
        world->files.AddFile(tooLong + "setup.dat", "4");
        world->files.AddFile(tooLong.substr(0, 99) + "\\setup.dat", "3");  // what a cut path would open
        headless::Reset();
        Form2->WizardStep = 1;
        Form2->TransceiverType.clear();
        Form2->NextClick(Form2->Next);
        EXPECT_EQ(Form2->TransceiverType, "") << length;
        EXPECT_THAT(MessageBoxTexts(), ElementsAre("File Setup.dat Open Error!!")) << length;
    }
}

// Windows answers a path longer than its buffer cut: the program's path is read whole, so a long name of
// the program's own never cuts its folder; no path at all is never taken for a folder.
TEST_F(SetupDatMissing, AProgramPathLongerThanItsFirstBufferIsReadWholeAndNoneIsNeverUsed) {
    world->programPath = "C:\\cvdisk\\" + std::string(250, 'x') + ".exe";
    world->files.AddFile("C:\\cvdisk\\setup.dat", "4");
    StartUp();
    WalkToInstallStep();
    EXPECT_EQ(Form2->TransceiverType, "4");

    world->programPath.clear();                  // Windows gives no path at all
    world->files.AddFile("C:\\setup.dat", "2");  // what a path made of nothing would find
    Form2->WizardStep = 1;
    Form2->TransceiverType.clear();
    headless::Reset();
    Form2->NextClick(Form2->Next);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre("File Setup.dat Open Error!!"));
    EXPECT_EQ(Form2->TransceiverType, "");
}

class UnsupportedRelease : public Wizard, public ::testing::WithParamInterface<WindowsRelease> {};

// From the program's start: on Windows 95, whose names take no backslash, the mark of the running copy
// cannot be had, which stops nothing.
TEST_P(UnsupportedRelease, IsRefusedWithOne) {
    UseRelease(GetParam());
    if (GetParam() == WindowsRelease::Windows95 || GetParam() == WindowsRelease::WindowsNt4) {
        // Their comctl32.dll as they shipped it, from before InitCommonControlsEx.
        world->modules[world->SystemPath("comctl32.dll")].entryPoints.erase("InitCommonControlsEx");
    }
    headless::Post([] { headless::Click(*Form2->Next); });
    headless::Post([] { headless::Click(*Form2->Next); });
    EXPECT_EQ(ExitCodeOf([] { CvfirMain(); }), 1u);
    EXPECT_THAT(MessageBoxTexts(),
                ElementsAre("Corvane FIR driver setup program does't suport this Windows Version"));
}

INSTANTIATE_TEST_SUITE_P(Wizard, UnsupportedRelease,
                         ::testing::Values(WindowsRelease::Windows95, WindowsRelease::WindowsNt4,
                                           WindowsRelease::WindowsNt351, WindowsRelease::Windows7));

TEST_F(Wizard, OnWindows98TheSourceDialogOpensAndTheWizardWaits) {
    UseRelease(WindowsRelease::Windows98);
    StartUp();
    WalkToInstallStep();
    EXPECT_TRUE(Form4->Showing());
    EXPECT_FALSE(Form2->Next->Enabled());
    EXPECT_FALSE(Form2->Back->Enabled());
    EXPECT_EQ(Form2->Next->Caption(), "Next >");
    EXPECT_EQ(Form2->Memo1->Lines->Lines(), std::vector<std::string>{"Start to Setup!"});
    EXPECT_EQ(Form2->WizardStep, 2);
    EXPECT_EQ(Form2->TransceiverType, "0");
}

}  // namespace
