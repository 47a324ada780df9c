// The Windows 98 source location dialog: the path box, the check for NET8.CAB, and the hand-over to
// the installation and the wizard.
#include "app/Main.h"
#include "app/StagedDriverFiles.h"
#include "framework/Backend.h"
#include "framework/Dialogs.h"
#include "framework/Screen.h"
#include "platform/Kernel.h"
#include "platform/Process.h"
#include "tests/unit/CvfirTest.h"
#include "tests/unit/DoubleByteNames.h"

using platform::HKEY_LOCAL_MACHINE;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr const char* kSetupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";
constexpr const char* kStaged = "C:\\WINDOWS\\TEMP\\cvfir98";

class SourceDialog : public CvfirTest {
protected:
    void SetUp() override {
        CvfirTest::SetUp();
        UseRelease(WindowsRelease::Windows98);
    }
    void OpenDialog() {
        StartUp();
        WalkToInstallStep();
        ASSERT_TRUE(Form4->Showing());
    }
    // The dialog again after an install, as the wizard opens it: with the driver's files taken off the
    // disk again, since the install removed them.
    void ShowAgain() {
        StageDriverFiles();
        Form4->Show();
    }
    std::optional<std::string> SourcePath() {
        return world->registry.GetString(HKEY_LOCAL_MACHINE, kSetupKey, "SourcePath");
    }
    void ExpectRefused() {
        EXPECT_THAT(MessageBoxTexts(), ElementsAre("OS source files can not be found!!"));
        EXPECT_EQ(headless::MessageBoxes().back().caption, "Warning");
        EXPECT_EQ(headless::MessageBoxes().back().flags, MB_ICONEXCLAMATION | MB_OK);
        EXPECT_EQ(headless::MessageBoxes().back().helpContext, 0);  // no help topic
        EXPECT_TRUE(Form4->Showing());
        EXPECT_FALSE(Form2->Next->Enabled());
        EXPECT_FALSE(Form2->Back->Enabled());
        EXPECT_FALSE(world->files.Exists("C:\\WINDOWS\\INF\\cvfirdma.inf"));
    }
    TCvFolderTree* Tree() { return Form4->CvFolderTree; }
    void Pick(const std::string& path) {
        TTreeNode* node = Tree()->FindPath(path, false);
        ASSERT_NE(node, nullptr) << path;
        for (TTreeNode* above = node->Parent(); above != nullptr; above = above->Parent()) {
            above->Expand(false);  // as the user opens the levels above it
        }
        ASSERT_TRUE(headless::ClickNode(*node)) << path;
    }
    // The shell announces an event, and the tree takes it up through the message loop.
    void Announce(platform::LONG event, std::string_view item) {
        world->shell.Notify(event, item);
        auto& posted = world->shell.posted;
        while (!posted.empty()) {
            const auto message = std::move(posted.front());
            posted.pop_front();
            headless::SendMessage(message.window, message.message, message.WParam(), message.lParam);
        }
    }
    bool LookedFor(const std::string& path) const {
        return std::find(world->calls.begin(), world->calls.end(), "FindFirstFileA " + path) !=
               world->calls.end();
    }
};

TEST_F(SourceDialog, OkAtOnceInstallsAndFinishesTheWizard) {
    world->AddDevice({"*CVN0510"});
    OpenDialog();
    Press(Form4->Ok);
    EXPECT_FALSE(Form4->Showing());
    EXPECT_EQ(SourcePath(), "D:\\WIN98");
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "inf");
    EXPECT_TRUE(world->devices[0].removed);
    EXPECT_THAT(Form2->Memo1->Lines->Lines(), ElementsAre("Setup complete!"));
    EXPECT_EQ(Form2->Next->Caption(), "Finish");
    EXPECT_TRUE(Form2->Next->Enabled());
    EXPECT_FALSE(Form2->Back->Enabled());
    EXPECT_EQ(Form2->WizardStep, 2);
    EXPECT_THAT(headless::MessageBoxes(), IsEmpty());

    Press(Form2->Next);  // one press of Finish opens the restart prompt
    EXPECT_TRUE(Form3->Showing());
    EXPECT_FALSE(Form2->Showing());
}

TEST_F(SourceDialog, TheTextIsUsedAsItStands) {
    OpenDialog();
    Form4->SourceDiskPath->SetText("D:\\WIN98\\");
    Press(Form4->Ok);
    EXPECT_TRUE(LookedFor("D:\\WIN98\\\\NET8.CAB"));
    EXPECT_EQ(SourcePath(), "D:\\WIN98\\");  // the doubled backslash finds the file; the text is kept

    world->files.AddFile("C:\\NET8.CAB", "root");
    ShowAgain();
    Form4->SourceDiskPath->SetText("");
    Press(Form4->Ok);
    EXPECT_TRUE(LookedFor("\\NET8.CAB"));  // the root of the current drive
    EXPECT_EQ(SourcePath(), "C:\\");       // and so recorded
}

// Windows reads SourcePath later from another current folder: a text that names its folder only from
// ours is recorded as the full path of the folder where the cabinet was found; a full one as it was
// typed. A drive typed alone was checked in its root.
TEST_F(SourceDialog, ATextThatIsNoFullPathIsRecordedAsTheFolderItNamed) {
    world->files.AddFile("C:\\cvdisk\\cd\\NET8.CAB", "relative");
    world->files.AddFile("C:\\W98\\NET8.CAB", "from the drive's root");
    world->files.AddFile("C:\\NET8.CAB", "in the root");
    world->files.AddFile("D:\\NET8.CAB", "in the root of D:");
    world->files.AddFile("D:\\WIN98\\OPTIONS\\NET8.CAB", "in the folder D: keeps");
    world->driveDirectories['D'] = "D:\\WIN98";
    OpenDialog();
    for (const auto& [typed, recorded] :
         std::vector<std::pair<std::string, std::string>>{{"cd", "C:\\cvdisk\\cd"},
                                                          {"\\W98", "C:\\W98"},
                                                          {"d:\\Win98\\", "d:\\Win98\\"},
                                                          {"C:", "C:\\"},
                                                          {"c:", "c:\\"},
                                                          {"C:cd", "C:\\cvdisk\\cd"},
                                                          {".\\cd\\", "C:\\cvdisk\\cd"},
                                                          {"..\\W98", "C:\\W98"},
                                                          {"cd\\..\\..", "C:\\"},
                                                          {"D:OPTIONS", "D:\\WIN98\\OPTIONS"},
                                                          {"D:", "D:\\"}}) {
        ShowAgain();
        Form4->SourceDiskPath->SetText(typed);
        Press(Form4->Ok);
        EXPECT_FALSE(Form4->Showing()) << typed;
        EXPECT_EQ(SourcePath(), recorded) << typed;
    }
}

// Started from a network share, the program's current folder is on it: a relative text is recorded on
// the share, one from the root at the share's root, which ".." never leaves; a network path as typed.
TEST_F(SourceDialog, FromANetworkShareATextIsRecordedOnTheShare) {
    world->currentDirectory = "\\\\SERVER\\share\\cvdisk";
    world->files.AddFile("\\\\SERVER\\share\\cvdisk\\win98\\NET8.CAB", "below the program");
    world->files.AddFile("\\\\SERVER\\share\\W98\\NET8.CAB", "at the share's root");
    world->files.AddFile("\\\\OTHER\\cd\\NET8.CAB", "on another computer");
    OpenDialog();
    for (const auto& [typed, recorded] :
         std::vector<std::pair<std::string, std::string>>{{"win98", "\\\\SERVER\\share\\cvdisk\\win98"},
                                                          {"\\W98", "\\\\SERVER\\share\\W98"},
                                                          {"..\\..\\..\\W98", "\\\\SERVER\\share\\W98"},
                                                          {"\\\\OTHER\\cd", "\\\\OTHER\\cd"},
                                                          {"//OTHER/cd", "\\\\OTHER\\cd"}}) {
        ShowAgain();
        Form4->SourceDiskPath->SetText(typed);
        Press(Form4->Ok);
        EXPECT_FALSE(Form4->Showing()) << typed;
        EXPECT_EQ(SourcePath(), recorded) << typed;
    }
}

TEST_F(SourceDialog, AMissingFileOrAFolderOfItsNameKeepsTheDialogOpen) {
    OpenDialog();
    Form4->SourceDiskPath->SetText("D:\\NOWHERE");
    Press(Form4->Ok);
    ExpectRefused();
    EXPECT_EQ(Form4->SourceDiskPath->Text(), "D:\\NOWHERE");
    EXPECT_EQ(SourcePath(), "D:\\WIN98");

    world->files.AddDirectory("D:\\FOLDER\\NET8.CAB");
    Form4->SourceDiskPath->SetText("D:\\FOLDER");
    headless::Reset();
    Press(Form4->Ok);
    ExpectRefused();
    EXPECT_EQ(world->openFinds, 0);
}

// Windows' ANSI file calls take at most MAX_PATH characters with the zero: a text of 250 characters
// fits together with "\NET8.CAB", a longer one is refused without being looked for.
TEST_F(SourceDialog, ATextTooLongForMaxPathIsRefused) {
    const std::string fits = "D:\\" + std::string(200, 'f') + "\\" + std::string(46, 'g');
    ASSERT_EQ(fits.size(), 250u);
    world->files.AddFile(fits + "\\NET8.CAB", "cabinet");
    world->files.AddFile(fits + "g\\NET8.CAB", "cabinet");
    OpenDialog();
    Form4->SourceDiskPath->SetText(fits + "g");
    Press(Form4->Ok);
    ExpectRefused();
    EXPECT_FALSE(LookedFor(fits + "g\\NET8.CAB"));
    Form4->SourceDiskPath->SetText(fits);
    Press(Form4->Ok);
    EXPECT_FALSE(Form4->Showing());
    EXPECT_EQ(SourcePath(), fits);
}

// A relative text whose cabinet is found, but whose full path Windows cannot answer in MAX_PATH: the
// installation goes on, and nothing that names another folder is recorded.
TEST_F(SourceDialog, AFolderWhoseFullPathDoesNotFitIsNotRecorded) {
    const std::string relative = std::string(200, 'r') + "\\" + std::string(40, 's');
    world->files.AddFile("C:\\cvdisk\\" + relative + "\\NET8.CAB", "cabinet");
    OpenDialog();
    Form4->SourceDiskPath->SetText(relative);
    Press(Form4->Ok);
    EXPECT_FALSE(Form4->Showing());
    EXPECT_EQ(SourcePath(), "D:\\WIN98");
    EXPECT_EQ(Form2->Next->Caption(), "Finish");
}

// The user may name a drive whose disk is out: the program asks Windows for no box of its own and
// gives its own warning; with the disk in, the same text installs.
TEST_F(SourceDialog, ADriveWithoutItsDiskGetsTheProgramsOwnWarning) {
    world->files.AddRemovableDrive('E');
    world->files.AddFile("E:\\WIN98\\NET8.CAB", "cabinet");
    world->files.Eject('E');
    OpenDialog();
    const auto modeBefore = world->errorMode;
    Form4->SourceDiskPath->SetText("E:\\WIN98");
    Press(Form4->Ok);
    ExpectRefused();
    EXPECT_THAT(world->noDiskBoxes, IsEmpty());
    EXPECT_THAT(world->calls, Contains("SetErrorMode 1"));
    EXPECT_EQ(world->errorMode, modeBefore);
    world->files.Insert('E');
    Press(Form4->Ok);
    EXPECT_EQ(SourcePath(), "E:\\WIN98");
    EXPECT_EQ(Form2->Next->Caption(), "Finish");
}

TEST_F(SourceDialog, WithoutTheSetupKeyTheBoxStartsEmptyAndOkRecordsNothing) {
    world->registry.DeleteKey(HKEY_LOCAL_MACHINE, kSetupKey);
    OpenDialog();
    EXPECT_EQ(Form4->SourceDiskPath->Text(), "");
    Form4->SourceDiskPath->SetText("D:\\WIN98");
    Press(Form4->Ok);
    EXPECT_EQ(world->registry.FindKey(HKEY_LOCAL_MACHINE, kSetupKey), nullptr);
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\INF\\cvfirdma.inf"), "inf");
    EXPECT_EQ(Form2->Next->Caption(), "Finish");
}

TEST_F(SourceDialog, APathThatCannotBeRecordedShowsTheExceptionBoxAndTheDialogStays) {
    world->registry.FindKey(HKEY_LOCAL_MACHINE, kSetupKey)->refuseWrites = true;
    OpenDialog();
    Press(Form4->Ok);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre("Failed to set data for 'SourcePath'"));
    EXPECT_TRUE(Form4->Showing());
    EXPECT_FALSE(world->files.Exists("C:\\WINDOWS\\INF\\cvfirdma.inf"));
    EXPECT_EQ(Form2->Next->Caption(), "Next >");
}

class SourceDialogTree : public SourceDialog {
protected:
    void SetUp() override {
        SourceDialog::SetUp();
        world->files.AddDirectory("D:\\WIN98\\OPTIONS");
        OpenDialog();
    }
};

TEST_F(SourceDialogTree, IsFilledAtStartUpWithoutTouchingThePathBox) {
    EXPECT_TRUE(Tree()->Active());
    EXPECT_NE(Tree()->GetMyComputerNode(), nullptr);
    EXPECT_EQ(Tree()->GetBitBucketNode(), nullptr);
    EXPECT_EQ(Tree()->GetNetHoodNode(), nullptr);
    EXPECT_EQ(Tree()->Indent(), 19);
    EXPECT_EQ(Form4->SourceDiskPath->Text(), "D:\\WIN98");
    EXPECT_FALSE(Form4->TreeChangeSeen);
}

TEST_F(SourceDialogTree, TheFirstChangeLeavesTheBoxAndEveryLaterOneOverwritesIt) {
    Pick("D:\\WIN98");
    EXPECT_TRUE(Form4->TreeChangeSeen);
    EXPECT_EQ(Form4->SourceDiskPath->Text(), "D:\\WIN98");
    Pick("C:\\");
    EXPECT_EQ(Form4->SourceDiskPath->Text(), "C:\\");
    EXPECT_EQ(headless::Told().back(), "SourceDiskPath text C:\\");  // the box on the screen too
    Form4->SourceDiskPath->SetText("E:\\TYPED");
    Pick("D:\\WIN98\\OPTIONS");
    EXPECT_EQ(Form4->SourceDiskPath->Text(), "D:\\WIN98\\OPTIONS");
    ASSERT_TRUE(headless::ClickNode(*Tree()->GetMyComputerNode()));
    EXPECT_EQ(Form4->SourceDiskPath->Text(), "");  // My Computer has no folder
}

TEST_F(SourceDialogTree, ASelectionTheTreeMakesOnItsOwnCountsLikeTheUsers) {
    Pick("C:\\");
    Pick("D:\\WIN98\\OPTIONS");
    world->files.Remove("D:\\WIN98\\OPTIONS");
    Announce(platform::SHCNE_RMDIR, "D:\\WIN98\\OPTIONS");
    EXPECT_EQ(Form4->SourceDiskPath->Text(), Tree()->GetDirectory());
    EXPECT_NE(Form4->SourceDiskPath->Text(), "D:\\WIN98\\OPTIONS");
}

TEST_F(SourceDialogTree, APickedFolderWithTheCabinetInstalls) {
    Pick("C:\\");
    Pick("D:\\WIN98");
    Form4->SourceDiskPath->SetText("nowhere");
    Pick("D:\\WIN98");  // picking it again is no change: the box keeps the typed text
    Pick("D:\\WIN98\\OPTIONS");
    Pick("D:\\WIN98");
    Press(Form4->Ok);
    EXPECT_EQ(SourcePath(), "D:\\WIN98");
    EXPECT_EQ(Form2->Next->Caption(), "Finish");
}

// The copy is held back as the driver update is, under the hourglass. A close request or a log-off that
// a message loop running meanwhile delivers (a box of the system's own) ends nothing, and the folder
// tree is not even asked. The user went to another program meanwhile: the background's task-bar button
// flashes, and on the user's return Finish has the keyboard. Afterwards the session may end again, the
// tree asked first.
TEST_F(SourceDialog, NothingEndsTheCopyHalfWayAndItsEndWaitsForTheUser) {
    world->AddDevice({"*CVN0510"});
    OpenDialog();
    int treeAsked = 0;
    Tree()->OnEndSessionQuery = [&treeAsked](TObject*, bool&) { ++treeAsked; };
    std::vector<bool> delivered;
    for (const auto& action : std::vector<std::function<bool()>>{
             [] { return headless::RequestClose(*Form1); }, [] { return headless::RequestClose(*Form2); },
             [] { return headless::EndSession(); },
             [] {
                 headless::ActivateAnotherProgram();
                 return headless::Foreground() == nullptr;
             }}) {
        headless::Post([&delivered, action] { delivered.push_back(action()); });
    }
    std::vector<int> cursors;
    world->onCall = [&cursors](const std::string& call) {
        if (call.starts_with("SetupInstallFileA")) {
            cursors.push_back(headless::ScreenCursor());
            backend::RunMessageLoop(*Application);
        }
    };
    Press(Form4->Ok);
    EXPECT_THAT(delivered, ElementsAre(true, true, false, true));
    EXPECT_EQ(treeAsked, 0);
    EXPECT_THAT(cursors, ElementsAre(crHourGlass, crHourGlass));
    EXPECT_EQ(headless::ScreenCursor(), crDefault);
    EXPECT_EQ(world->files.Read("C:\\WINDOWS\\SYSTEM\\cvfirdma.sys"), "sys");
    EXPECT_TRUE(headless::TaskBarButtonFlashes(*Form1));
    headless::Activate(*Form1);
    EXPECT_EQ(headless::Focus(), Form2->Next);
    EXPECT_EQ(ExitCodeOf([] { headless::EndSession(); }), 0u);
    EXPECT_EQ(treeAsked, 1);
}

// Outside the install the folder tree answers for its dialog, hidden or not: its "no" keeps the session.
TEST_F(SourceDialog, TheFolderTreesNoKeepsTheSessionOutsideTheInstall) {
    OpenDialog();
    Tree()->OnEndSessionQuery = [](TObject*, bool& CanEndSession) { CanEndSession = false; };
    EXPECT_FALSE(headless::EndSession());
    EXPECT_FALSE(Application->Terminated());
    EXPECT_THAT(headless::Journal(), Contains("session end refused by Form4"));
}

// Under Shift-JIS, with the Windows files in a folder whose name ends in 5C: the box shows the picked
// folder, a folder made inside it reloads that folder alone and leaves the pick and the box as they
// were, and Ok records it.
TEST_F(SourceDialog, AShiftJisFolderStaysPickedWhenAFolderIsMadeInsideIt) {
    using namespace doublebyte;
    world->UseCodePage(932);
    const std::string cd = "D:\\" + kSoftware932;
    world->files.AddFile(cd + "\\NET8.CAB", "cabinet");
    world->files.AddDirectory(cd + "\\" + kSetup932);
    OpenDialog();
    Pick("C:\\");
    Pick(cd);
    EXPECT_EQ(Form4->SourceDiskPath->Text(), cd);
    Tree()->Selected()->Expand(false);
    world->files.AddDirectory(cd + "\\" + kTable932);
    Announce(platform::SHCNE_MKDIR, cd + "\\" + kTable932);
    EXPECT_EQ(Tree()->GetDirectory(), cd);
    EXPECT_EQ(Form4->SourceDiskPath->Text(), cd);
    Press(Form4->Ok);
    EXPECT_EQ(SourcePath(), cd);
    EXPECT_EQ(Form2->Next->Caption(), "Finish");
}

// Under Shift-JIS, a relative folder whose name ends in 5C (ソ) is recorded whole, below the current
// folder of the drive typed.
TEST_F(SourceDialog, AShiftJisFolderTypedFromTheDrivesFolderIsRecordedWhole) {
    using namespace doublebyte;
    world->UseCodePage(932);
    world->files.AddFile("C:\\cvdisk\\" + kTable932 + "\\" + kSoftware932 + "\\NET8.CAB", "cabinet");
    OpenDialog();
    Form4->SourceDiskPath->SetText("C:" + kTable932 + "\\" + kSoftware932);
    Press(Form4->Ok);
    EXPECT_EQ(SourcePath(), "C:\\cvdisk\\" + kTable932 + "\\" + kSoftware932);
}

TEST_F(SourceDialog, CancelEndsTheProgramWithOne) {
    OpenDialog();
    EXPECT_EQ(ExitCodeOf([this] { Press(Form4->Cancel); }), 1u);
    EXPECT_EQ(SourcePath(), "D:\\WIN98");
}

// The driver's files taken off the disk for the dialog go on every way out: Cancel, a close request,
// a failure that ends the program, the end of the session.
struct WayOutCase {
    const char* name;
    void (*take)();
    friend std::ostream& operator<<(std::ostream& out, const WayOutCase& c) { return out << c.name; }
};

class WayOut : public SourceDialog, public ::testing::WithParamInterface<WayOutCase> {};

TEST_P(WayOut, TakesTheFilesTakenOffTheDiskAlong) {
    world->files.Find("C:\\cvdisk\\win98\\cvfirdma.sys")->attributes = platform::FILE_ATTRIBUTE_READONLY;
    OpenDialog();
    ASSERT_EQ(world->files.Read(std::string(kStaged) + "\\cvfirdma.sys"), "sys");
    EXPECT_EQ(ExitCodeOf(GetParam().take), 1u);
    EXPECT_FALSE(world->files.Exists(kStaged));
}

INSTANTIATE_TEST_SUITE_P(
    SourceDialog, WayOut,
    ::testing::Values(WayOutCase{"Cancel", [] { headless::Click(*Form4->Cancel); }},
                      WayOutCase{"WizardClosed", [] { headless::RequestClose(*Form2); }},
                      WayOutCase{"BackgroundClosed", [] { headless::RequestClose(*Form1); }},
                      WayOutCase{"FailedCopy", [] {
                                     platform::sim::TheWorld().InstallSetupApi("SetupInstallFileA");
                                     headless::Click(*Form4->Ok);
                                 }}));

TEST_F(SourceDialog, TheFilesTakenOffTheDiskGoAtTheSessionsEnd) {
    headless::Post([] { headless::Click(*Form2->Next); });
    headless::Post([] { headless::Click(*Form2->Next); });
    headless::Post([this] { EXPECT_TRUE(world->files.Exists(kStaged)); });
    headless::Post([] { headless::EndSession(); });
    EXPECT_EQ(ExitCodeOf([] { CvfirMain(); }), 0u);  // Windows ended it: the handler took the folder
    EXPECT_FALSE(world->files.Exists(kStaged));
}

// A loop that ends otherwise (a quit message from outside) leaves nothing behind either.
TEST_F(SourceDialog, TheFilesTakenOffTheDiskGoWhenTheLoopEndsOtherwise) {
    headless::Post([] { headless::Click(*Form2->Next); });
    headless::Post([] { headless::Click(*Form2->Next); });
    headless::Post([] { Application->Terminate(); });
    EXPECT_EQ(CvfirMain(), 0);
    EXPECT_FALSE(world->files.Exists(kStaged));
}

// The failed start-up ends with the code of every other fatal error: no launcher takes it for success.
TEST_F(SourceDialog, ASourcePathThatIsNotAStringEndsTheStartUpWithOne) {
    world->registry.SetDword(HKEY_LOCAL_MACHINE, kSetupKey, "SourcePath", 1);
    headless::Post([] { FAIL() << "the message loop ran"; });
    EXPECT_EQ(CvfirMain(), 1);
    EXPECT_THAT(MessageBoxTexts(), ElementsAre("Invalid data type for 'SourcePath'"));
    EXPECT_EQ(headless::MessageBoxes()[0].flags, MB_OK | MB_ICONSTOP);
    EXPECT_FALSE(Form1->Showing());
    EXPECT_FALSE(Form2->Showing());
}

}  // namespace
