// Keeping up with the shell: the registration that activation makes, folders created, removed and
// renamed, media inserted and removed, the lists of each notification given back, and the answer to
// Windows' question before the session ends.
#include "framework/Forms.h"
#include "tests/unit/DoubleByteNames.h"
#include "tests/unit/FolderTreeTest.h"

using namespace platform;
using ::testing::ElementsAre;

namespace {

class FolderTreeNotify : public FolderTreeTest {
protected:
    void SetUp() override {
        FolderTreeTest::SetUp();
        world->files.AddDirectory("C:\\Data\\B");
        world->files.AddDirectory("C:\\Data\\D\\Inner");
        world->files.AddDirectory(world->shell.desktopDirectory + "\\Alpha");
    }
    TTreeNode* Drive() { return Find({"My Computer", "Local Disk (C:)"}); }
    TTreeNode* Data() { return Find({"My Computer", "Local Disk (C:)", "Data"}); }
    // An active tree with C:\ shown and C:\Data's folders loaded.
    void DataLoaded(bool expanded) {
        ActiveTree();
        Drive()->Expand(false);
        Data()->Expand(false);
        if (!expanded) {
            Data()->Collapse(false);
        }
    }
    // Counts the tree's selection changes from now on.
    int* CountSelectionChanges() {
        tree->OnChange = [this](TObject*, TTreeNode*) { ++selectionChanges_; };
        return &selectionChanges_;
    }

private:
    int selectionChanges_ = 0;
};

TEST_F(FolderTreeNotify, ActivationRegistersTheHiddenWindowForFolderAndMediaEventsOfTheWholeNamespace) {
    ActiveTree();
    tree->SetActive(true);
    ASSERT_EQ(world->shell.registrations.size(), 1u);
    // Which events and sources it asks for, and the message, show in what reaches the tree below.
    const auto& registration = world->shell.registrations.front();
    ASSERT_EQ(registration.entries.size(), 1u);
    EXPECT_EQ(registration.entries[0].pidl, nullptr);
    EXPECT_EQ(registration.entries[0].fRecursive, 1);
    EXPECT_TRUE(headless::WindowExists(registration.window));
    EXPECT_NE(registration.window, tree->Handle());
    EXPECT_EQ(Calls("SHChangeNotifyRegister"), 1);
    RegisterChangeNotify();  // anew: the first registration ends, not left to post unseen
    EXPECT_EQ(world->shell.registrations.size(), 1u);

    tree->SetActive(false);
    EXPECT_FALSE(tree->Active());
    EXPECT_EQ(tree->Items->Count(), 0);
    EXPECT_TRUE(world->shell.registrations.empty());
    tree->SetActive(false);
    DeregisterChangeNotify();
    EXPECT_EQ(Calls("SHChangeNotifyDeregister"), 2);
    EXPECT_FALSE(tree->Active());
    ExpectTheWindowAgrees();
    delete tree;
    ExpectNothingOfTheShellHeld();
}

TEST_F(FolderTreeNotify, AFailedRegistrationRaisesWithTheTreeBuiltAndActive) {
    world->shell.registrationFails = true;
    MakeTree();
    try {
        tree->SetActive(true);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Could not register SHChangeNotify");
    }
    EXPECT_TRUE(tree->Active());
    EXPECT_NE(tree->GetMyComputerNode(), nullptr);
    EXPECT_NO_THROW(tree->SetActive(true));  // already active: nothing more happens
    EXPECT_EQ(Calls("SHChangeNotifyRegister"), 1);
    ExpectTheWindowAgrees();
    delete tree;
    EXPECT_EQ(Calls("SHChangeNotifyDeregister"), 0);  // there was no registration to end
    ExpectNothingOfTheShellHeld();
}

// A new folder appears in its parent, and every level above it stays open or closed as the user left it:
// My Computer too, as for a folder made on a drive it does not list.
TEST_F(FolderTreeNotify, ACreatedFolderAppearsSortedAndItsParentsStayAsTheyWere) {
    for (const bool expanded : {true, false}) {
        DataLoaded(expanded);
        if (!expanded) {
            tree->GetMyComputerNode()->Collapse(false);
        }
        world->files.AddDirectory("C:\\Data\\C");
        Announce(SHCNE_MKDIR, "C:\\Data\\C");
        Announce(SHCNE_MKDIR, "Q:\\Elsewhere");
        EXPECT_EQ(tree->GetMyComputerNode()->Expanded(), expanded);
        EXPECT_EQ(Data()->Expanded(), expanded);
        tree->GetMyComputerNode()->Expand(false);
        Data()->Expand(false);
        EXPECT_THAT(Texts(Data()), ElementsAre("B", "C", "D")) << expanded;
        EXPECT_THAT(Rows(), ::testing::Contains("        C"));  // the window shows the new folder
        EXPECT_EQ(headless::LockedWindow(), nullptr);
        ExpectNothingOfTheShellHeldButTheTree();
        ExpectTheWindowAgrees();
        delete tree;
        world->files.Remove("C:\\Data\\C");
    }
}

// The registration asks for the file system's interrupts without SHCNRF_RecursiveInterrupt: they reach
// the tree from the desktop's own level, and a folder made deeper by a program that announces nothing
// shows only when its parent is read again.
TEST_F(FolderTreeNotify, AnInterruptReachesTheTreeFromTheDesktopsOwnLevelOnly) {
    const std::string desktop = world->shell.desktopDirectory;
    DataLoaded(true);
    world->files.AddDirectory("C:\\Data\\C");
    world->files.AddDirectory(desktop + "\\Beta");
    EXPECT_EQ(world->shell.Notify(SHCNE_MKDIR, "C:\\Data\\C", "", true), 0);
    EXPECT_EQ(world->shell.Notify(SHCNE_UPDATEDIR, Shell::kDesktop, "", true), 1);
    DeliverNotifications();
    EXPECT_THAT(Texts(Data()), ElementsAre("B", "D"));
    EXPECT_THAT(Texts(tree->GetDesktopNode()), ElementsAre("My Computer", "Alpha", "Beta"));
    ExpectNothingOfTheShellHeldButTheTree();
}

TEST_F(FolderTreeNotify, AFolderCreatedUnderANeverLoadedParentIsLoadedOnTheWay) {
    ActiveTree();
    Drive()->Expand(false);
    world->files.AddDirectory("C:\\Data\\New\\Inner");
    Announce(SHCNE_MKDIR, "C:\\Data\\New");
    EXPECT_THAT(Texts(Data()), ElementsAre("B", "D", "New"));
    EXPECT_FALSE(Data()->Expanded());
    EXPECT_THAT(Texts(Find({"My Computer", "Local Disk (C:)", "Data", "New"})), ElementsAre("Inner"));
    ExpectNothingOfTheShellHeldButTheTree();
}

TEST_F(FolderTreeNotify, RemovalsAndRenamesReloadTheParentOfALoadedFolderAndLeaveTheSelectionAlone) {
    DataLoaded(true);
    tree->SetSelected(Find({"Alpha"}));
    const int* changes = CountSelectionChanges();

    // D's folders were never loaded: nothing to do.
    world->files.Remove("C:\\Data\\D\\Inner");
    Announce(SHCNE_RMDIR, "C:\\Data\\D\\Inner");
    EXPECT_THAT(Texts(Data()), ElementsAre("B", "D"));
    EXPECT_EQ(Find({"My Computer", "Local Disk (C:)", "Data", "D"})->Count(), 0);

    world->files.Remove("C:\\Data\\B");
    world->files.AddDirectory("C:\\Data\\E");
    Announce(SHCNE_RENAMEFOLDER, "C:\\Data\\B", "C:\\Data\\E");
    EXPECT_THAT(Texts(Data()), ElementsAre("D", "E"));

    world->files.Remove("C:\\Data\\D");
    Announce(SHCNE_RMDIR, "C:\\Data\\D");
    EXPECT_THAT(Texts(Data()), ElementsAre("E"));
    EXPECT_THAT(Rows(), ::testing::Not(::testing::Contains("        D")));  // gone from the window too
    EXPECT_TRUE(Data()->Expanded());

    EXPECT_EQ(tree->Selected(), Find({"Alpha"}));
    EXPECT_EQ(*changes, 0);
    ExpectNothingOfTheShellHeldButTheTree();
}

TEST_F(FolderTreeNotify, AnEventOnTheDesktopFolderReloadsItsFoldersAndKeepsMyComputerAndNetworkNeighborhood) {
    const std::string desktop = world->shell.desktopDirectory;
    ActiveTree({foRecycleBin, foNetworkNeighborhood});
    world->files.AddDirectory(desktop + "\\Beta");
    Announce(SHCNE_MKDIR, desktop + "\\Beta");
    TTreeNode* desktopNode = tree->GetDesktopNode();
    EXPECT_THAT(Texts(desktopNode), ElementsAre("My Computer", "Network Neighborhood", "Alpha", "Beta"));
    EXPECT_EQ(tree->GetBitBucketNode(), nullptr);  // back only when the options are set again
    EXPECT_TRUE(desktopNode->Expanded());
    EXPECT_FALSE(tree->GetMyComputerNode()->Expanded());  // the levels below were closed for the reload

    // Without folders of its own the desktop still shows its button for My Computer.
    for (const char* name : {"\\Alpha", "\\Beta"}) {
        world->files.Remove(desktop + name);
        Announce(SHCNE_RMDIR, desktop + name);
    }
    EXPECT_THAT(Texts(desktopNode), ElementsAre("My Computer", "Network Neighborhood"));
    EXPECT_TRUE(desktopNode->HasChildren());
    EXPECT_TRUE(desktopNode->Expanded());
    ExpectNothingOfTheShellHeldButTheTree();
}

// Many events about one folder's items that wait together come as one SHCNE_UPDATEDIR about the folder,
// which the tree follows: a loaded folder is read again, one never loaded gets its button back.
TEST_F(FolderTreeNotify, ManyChangesInOneFolderComeMergedAndTheFolderIsReadAgain) {
    DataLoaded(true);
    std::vector<std::string> expected{"B", "D"};
    for (int i = 0; i < 12; ++i) {
        const std::string name = "N" + std::to_string(10 + i);
        world->files.AddDirectory("C:\\Data\\" + name);
        world->shell.Notify(SHCNE_MKDIR, "C:\\Data\\" + name);
        expected.push_back(name);
    }
    ASSERT_EQ(world->shell.posted.size(), 1u);
    EXPECT_EQ(world->shell.posted.front().lParam, SHCNE_UPDATEDIR);
    DeliverNotifications();
    EXPECT_THAT(Texts(Data()), ::testing::ElementsAreArray(expected));
    EXPECT_TRUE(Data()->Expanded());

    TTreeNode* b = Find({"My Computer", "Local Disk (C:)", "Data", "B"});
    ASSERT_FALSE(b->HasChildren());
    world->files.AddDirectory("C:\\Data\\B\\Inner");
    Announce(SHCNE_UPDATEDIR, "C:\\Data\\B");
    EXPECT_EQ(Find({"My Computer", "Local Disk (C:)", "Data", "B"}), b);
    EXPECT_TRUE(b->HasChildren());
    EXPECT_EQ(b->Count(), 0);  // read when it is opened, not before

    // A loaded folder that held a single folder is read again too.
    TTreeNode* d = Find({"My Computer", "Local Disk (C:)", "Data", "D"});
    d->Expand(false);
    ASSERT_EQ(d->Count(), 1);
    world->files.AddDirectory("C:\\Data\\D\\Second");
    Announce(SHCNE_UPDATEDIR, "C:\\Data\\D");
    EXPECT_THAT(Texts(d), ElementsAre("Inner", "Second"));
    ExpectNothingOfTheShellHeldButTheTree();
}

TEST_F(FolderTreeNotify, AMediumRefreshesItsDriveOnlyWhenTheDrivesNameChanged) {
    struct Case {
        LONG event;
        const char* item;
        const char* label;
        const char* text;
        bool dropped;
    };
    const std::vector<Case> cases{
        {SHCNE_MEDIAINSERTED, "C:\\", "", "Local Disk (C:)", false},
        {SHCNE_MEDIAINSERTED, "C:\\", "SETUP CD", "SETUP CD (C:)", true},
        // Items without a file-system path name no drive.
        {SHCNE_MEDIAINSERTED, Shell::kRecycleBin.data(), "SETUP CD", "Local Disk (C:)", false},
        {SHCNE_MEDIAREMOVED, "", "SETUP CD", "Local Disk (C:)", false},
        {SHCNE_MEDIAREMOVED, "C:\\", "SETUP CD", "SETUP CD (C:)", true},  // a disk taken out renames it too
    };
    for (const auto& c : cases) {
        world->shell.Item("C:\\").label = "";
        ActiveTree();
        Drive()->Expand(false);
        world->shell.Item("C:\\").label = c.label;
        Announce(c.event, c.item);
        TTreeNode* drive = tree->GetMyComputerNode()->GetFirstChild();
        EXPECT_EQ(drive->Text(), c.text) << c.item << " " << c.label;
        EXPECT_EQ(drive->Count() == 0, c.dropped) << c.item << " " << c.label;
        ExpectNothingOfTheShellHeldButTheTree();
        ExpectTheWindowAgrees();
        delete tree;
    }
}

TEST_F(FolderTreeNotify, AFolderEventOutsideWhatTheTreeShowsLeavesTheSelectionAlone) {
    world->shell.network = {{"SERVER", {"share"}}};
    DataLoaded(true);
    tree->SetSelected(Data());
    const int* changes = CountSelectionChanges();
    Announce(SHCNE_MKDIR, "\\\\SERVER\\share");  // Network Neighborhood is hidden
    Announce(SHCNE_RMDIR, Shell::kRecycleBin);   // no file-system path
    Announce(SHCNE_MKDIR, "");
    headless::SendMessage(world->shell.registrations.front().window, WM_SHNOTIFY, 0,
                          SHCNE_MKDIR);  // no lists
    EXPECT_EQ(tree->Selected(), Data());
    EXPECT_EQ(*changes, 0);
    ExpectNothingOfTheShellHeldButTheTree();
}

TEST_F(FolderTreeNotify, TheSessionMayEndUnlessTheOwnerSaysNoAndTheTreeStaysActiveEitherWay) {
    struct Case {
        bool handled;
        bool canEnd;
        LRESULT answer;
        bool stillRegistered;
    };
    for (const Case c :
         {Case{false, true, 1, false}, Case{true, true, 1, false}, Case{true, false, 0, true}}) {
        ActiveTree();
        TObject* sender = nullptr;
        if (c.handled) {
            tree->OnEndSessionQuery = [&](TObject* Sender, bool& CanEndSession) {
                sender = Sender;
                EXPECT_TRUE(CanEndSession);
                CanEndSession = c.canEnd;
            };
        }
        // The hidden notification window lets the session end by itself; only the tree asks its owner.
        EXPECT_EQ(headless::SendMessage(world->shell.registrations.front().window, WM_QUERYENDSESSION, 0, 0),
                  1);
        EXPECT_EQ(sender, nullptr);
        EXPECT_EQ(world->shell.registrations.size(), 1u);
        EXPECT_EQ(headless::SendMessage(tree->Handle(), WM_QUERYENDSESSION, 0, 0), c.answer);
        EXPECT_EQ(world->shell.registrations.size(), c.stillRegistered ? 1u : 0u);
        EXPECT_TRUE(tree->Active());
        EXPECT_NE(tree->GetMyComputerNode(), nullptr);
        EXPECT_EQ(sender, c.handled ? tree : nullptr);
        ExpectTheWindowAgrees();
        delete tree;
        EXPECT_TRUE(world->shell.registrations.empty());
    }
}

// Opening a drive without its disk: the shell asks the user for it, owned by the tree's window, and
// runs a message loop meanwhile, in which the shell's notifications about the disk reach the tree.
class FolderTreeDiskPrompt : public FolderTreeNotify {
protected:
    void SetUp() override {
        FolderTreeNotify::SetUp();
        world->shell.drives = {'C', 'D'};
        world->shell.Item("D:\\").addAttributes = SFGAO_HASSUBFOLDER;  // a CD drive offers its button
        world->shell.Item("D:\\").label = "CD-ROM";
    }
    TTreeNode* CdDrive() { return tree->GetMyComputerNode()->GetLastChild(); }
    // The disk the user inserts while the prompt is up: its label and folders.
    void InsertDisk(const std::string& label, const std::vector<std::string>& folders) {
        world->shell.Item("D:\\").label = label;
        for (const auto& folder : folders) {
            world->files.AddDirectory("D:\\" + folder);
        }
    }
    // Deepest first: the root goes last.
    void TakeDiskOut(const std::vector<std::string>& folders) {
        for (const auto& folder : folders) {
            world->files.Remove("D:\\" + folder);
        }
        world->files.Remove("D:\\");
        world->shell.Item("D:\\").label = "CD-ROM";
    }
};

TEST_F(FolderTreeDiskPrompt, TheUserInsertsTheDiskAndTheDriveOpensOnItsFoldersUnderItsNewName) {
    ActiveTree();
    world->shell.whilePrompting = [&](const Shell::DiskPrompt&) {
        InsertDisk("WIN98", {"win98", "tools"});
        // Elsewhere meanwhile: followed once the drive is filled, loading levels of its own.
        world->files.AddDirectory("C:\\Data\\New");
        Announce(SHCNE_MKDIR, "C:\\Data\\New");
        // No second fill of the drive for its new folder.
        Announce(SHCNE_MKDIR, "D:\\win98");
        Announce(SHCNE_MEDIAINSERTED, "D:\\");
    };
    ASSERT_EQ(CdDrive()->Text(), "CD-ROM (D:)");
    EXPECT_TRUE(headless::ClickExpandButton(*CdDrive()));
    ASSERT_EQ(world->shell.diskPrompts.size(), 1u);
    EXPECT_EQ(world->shell.diskPrompts[0].owner, host->Peer()->Handle());
    EXPECT_EQ(world->shell.diskPrompts[0].drive, "D:\\");
    EXPECT_EQ(CdDrive()->Text(), "WIN98 (D:)");
    EXPECT_TRUE(CdDrive()->Expanded());
    EXPECT_THAT(Texts(CdDrive()), ElementsAre("tools", "win98"));
    EXPECT_THAT(Rows(), ::testing::Contains("      tools"));
    EXPECT_THAT(Texts(Data()), ElementsAre("B", "D", "New"));
    EXPECT_EQ(headless::LockedWindow(), nullptr);
    EXPECT_EQ(headless::ScreenCursor(), crDefault);
    ExpectNothingOfTheShellHeldButTheTree();
}

TEST_F(FolderTreeDiskPrompt, ACancelledPromptLeavesTheDriveClosedWithItsButtonToAskAgain) {
    ActiveTree();
    EXPECT_TRUE(headless::ClickExpandButton(*CdDrive()));
    EXPECT_FALSE(CdDrive()->Expanded());
    EXPECT_TRUE(CdDrive()->HasChildren());
    EXPECT_TRUE(headless::ClickExpandButton(*CdDrive()));
    EXPECT_EQ(world->shell.diskPrompts.size(), 2u);
    ExpectNothingOfTheShellHeldButTheTree();
}

// A folder of a disk that was taken out: the prompt comes for the folder, and the user inserts another
// disk. The drive's new name and the reload of its folders would take away the folder being opened, so
// they wait for the tree's next change.
TEST_F(FolderTreeDiskPrompt, AChangeAboveTheFolderBeingOpenedWaitsUntilTheOpeningIsOver) {
    InsertDisk("WIN98", {"win98\\setup", "old"});
    ActiveTree();
    CdDrive()->Expand(false);
    TTreeNode* win98 = Find({"My Computer", "WIN98 (D:)", "win98"});
    ASSERT_NE(win98, nullptr);
    TakeDiskOut({"win98\\setup", "win98", "old"});
    world->shell.whilePrompting = [&](const Shell::DiskPrompt&) {
        InsertDisk("OTHER", {"win98\\sub"});
        Announce(SHCNE_MEDIAINSERTED, "D:\\");
        Announce(SHCNE_RMDIR, "D:\\old");
    };
    EXPECT_TRUE(headless::ClickExpandButton(*win98));
    EXPECT_TRUE(win98->Expanded());
    EXPECT_THAT(Texts(win98), ElementsAre("sub"));
    EXPECT_THAT(Texts(CdDrive()), ElementsAre("old", "win98"));
    EXPECT_EQ(CdDrive()->Text(), "WIN98 (D:)");

    Announce(SHCNE_MKDIR, "C:\\Data\\D\\Inner");  // the next change: what waited comes first
    EXPECT_EQ(CdDrive()->Text(), "OTHER (D:)");
    EXPECT_FALSE(CdDrive()->Expanded());
    CdDrive()->Expand(false);
    EXPECT_THAT(Texts(CdDrive()), ElementsAre("win98"));
    ExpectNothingOfTheShellHeldButTheTree();
}

class EndSessionForm : public TForm {
public:
    explicit EndSessionForm(bool& asked) : TForm(Application) {
        Publish("FoldersEndSessionQuery", TCloseQueryEvent([&asked](TObject*, bool& CanEnd) {
                    asked = true;
                    CanEnd = false;
                }));
        LoadLayout(FormLayout{"Picker",
                              {},
                              {{"TCvFolderTree",
                                "Folders",
                                {{"Active", "True"}, {"OnEndSessionQuery", "FoldersEndSessionQuery"}}}}});
    }
};

TEST_F(FolderTreeNotify, ALayoutBindsTheSessionEndQuestionToAMethodOfItsForm) {
    bool asked = false;
    auto* form = new EndSessionForm(asked);
    auto* folders = dynamic_cast<TCvFolderTree*>(form->FindComponent("Folders"));
    ASSERT_NE(folders, nullptr);
    EXPECT_EQ(headless::SendMessage(folders->Handle(), WM_QUERYENDSESSION, 0, 0), 0);
    EXPECT_TRUE(asked);
}

// A folder event finds its node by the path's characters: a second byte that is a backslash or a letter
// sends it to no other node.
class FolderTreeEastAsianNotify : public FolderTreeTest {
protected:
    TTreeNode* Drive() { return Find({"My Computer", "Local Disk (C:)"}); }
    TTreeNode* Loaded(const std::string& name) {
        TTreeNode* node = Find({"My Computer", "Local Disk (C:)", name});
        EXPECT_NE(node, nullptr);
        if (node != nullptr) {
            node->Expand(false);
        }
        return node;
    }
};

TEST_F(FolderTreeEastAsianNotify, AFolderMadeUnderAShiftJisNameEndingIn5CAppearsInItsOwnParent) {
    using namespace doublebyte;
    world->UseCodePage(932);
    const std::string software = "C:\\" + kSoftware932;
    world->files.AddDirectory(software + "\\A");
    ActiveTree();
    Drive()->Expand(false);
    TTreeNode* parent = Loaded(kSoftware932);
    tree->SetSelected(parent);
    world->files.AddDirectory(software + "\\" + kTable932);
    Announce(SHCNE_MKDIR, software + "\\" + kTable932);
    EXPECT_EQ(Find({"My Computer", "Local Disk (C:)", kSoftware932}), parent);  // not made anew
    EXPECT_TRUE(parent->Expanded());
    EXPECT_THAT(Texts(parent), ElementsAre("A", kTable932));
    EXPECT_EQ(tree->Selected(), parent);
}

// Two folders whose names differ only in a second byte's case, each with a folder X; X goes from the
// second, and only the second is reloaded.
struct TwoNames {
    platform::UINT codePage;
    std::string kept;
    std::string emptied;
};

class FolderTreeTwoNames : public FolderTreeEastAsianNotify,
                           public ::testing::WithParamInterface<TwoNames> {};

TEST_P(FolderTreeTwoNames, AFolderRemovedUnderOneLeavesTheOther) {
    const auto& [codePage, kept, emptied] = GetParam();
    world->UseCodePage(codePage);
    world->files.AddDirectory("C:\\" + kept + "\\X");
    world->files.AddDirectory("C:\\" + emptied + "\\X");
    ActiveTree();
    Drive()->Expand(false);
    TTreeNode* keptNode = Loaded(kept);
    TTreeNode* emptiedNode = Loaded(emptied);
    world->files.Remove("C:\\" + emptied + "\\X");
    Announce(SHCNE_RMDIR, "C:\\" + emptied + "\\X");
    EXPECT_THAT(Texts(emptiedNode), ::testing::IsEmpty());
    EXPECT_THAT(Texts(keptNode), ElementsAre("X"));
}

INSTANTIATE_TEST_SUITE_P(ShiftJisAndBig5, FolderTreeTwoNames,
                         ::testing::Values(TwoNames{932, doublebyte::kSe932, doublebyte::kHo932},
                                           TwoNames{950, doublebyte::kName950, doublebyte::kSafe950}));

}  // namespace
