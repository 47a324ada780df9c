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
    const auto& registration = world->shell.registrations.front();
    EXPECT_EQ(registration.sources, 0x0003);
    EXPECT_EQ(registration.events, 0x21078);  // with the merged SHCNE_UPDATEDIR
    EXPECT_EQ(registration.message, 0x0402u);
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

TEST_F(FolderTreeNotify, ACreatedFolderAppearsSortedAndItsParentStaysAsItWas) {
    for (const bool expanded : {true, false}) {
        DataLoaded(expanded);
        world->files.AddDirectory("C:\\Data\\C");
        Announce(SHCNE_MKDIR, "C:\\Data\\C");
        EXPECT_EQ(Data()->Expanded(), expanded);
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
