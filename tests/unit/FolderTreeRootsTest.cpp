// The special roots: the desktop and My Computer always, the Recycle Bin and Network Neighborhood as
// FolderOptions say, where they say, and finding them again.
#include "framework/Forms.h"
#include "tests/unit/FolderTreeTest.h"

using ::testing::ElementsAre;

namespace {

class FolderTreeRoots : public FolderTreeTest {
protected:
    void SetUp() override {
        FolderTreeTest::SetUp();
        for (const char* name : {"Zulu", "Alpha"}) {
            world->files.AddDirectory(world->shell.desktopDirectory + "\\" + name);
        }
    }
    std::vector<std::string> DesktopTexts() { return Texts(tree->GetDesktopNode()); }
};

TEST_F(FolderTreeRoots, WithoutOptionsTheDesktopShowsMyComputerWithItsDrivesAndItsOwnFolders) {
    ActiveTree();
    EXPECT_EQ(tree->Items->GetFirstNode()->GetNextSibling(), nullptr);  // one top-level node
    TTreeNode* desktop = tree->GetDesktopNode();
    EXPECT_EQ(desktop->Text(), "Desktop");
    EXPECT_TRUE(desktop->Expanded());
    EXPECT_TRUE(desktop->HasChildren());  // its button, to close it again
    EXPECT_THAT(DesktopTexts(), ElementsAre("My Computer", "Alpha", "Zulu"));
    EXPECT_TRUE(tree->GetMyComputerNode()->Expanded());
    EXPECT_THAT(Texts(tree->GetMyComputerNode()), ElementsAre("Local Disk (C:)"));
    EXPECT_EQ(tree->GetBitBucketNode(), nullptr);
    EXPECT_EQ(tree->GetNetHoodNode(), nullptr);

    const TFolderNode& desktopRecord = Record(desktop);
    EXPECT_EQ(desktopRecord.FolderType, ftDesktop);
    EXPECT_EQ(desktopRecord.Path, "C:\\WINDOWS\\Desktop");
    EXPECT_FALSE(desktopRecord.IsChild);
    EXPECT_EQ(Record(tree->GetMyComputerNode()).Path, "");
    // A folder on the desktop is an ordinary folder with its full path.
    EXPECT_EQ(Record(Find({"Alpha"})).Path, "C:\\WINDOWS\\Desktop\\Alpha");
    EXPECT_EQ(GetSpecialNode(ftFolder), Find({"My Computer", "Local Disk (C:)"}));
    EXPECT_EQ(headless::LockedWindow(), nullptr);
    ExpectNothingOfTheShellHeldButTheTree();
}

// Without My Computer and with nothing on the desktop, the desktop shows no button to open.
TEST_F(FolderTreeRoots, ADesktopWithNothingBelowItHasNoButton) {
    for (const char* name : {"\\Zulu", "\\Alpha"}) {
        world->files.Remove(world->shell.desktopDirectory + name);
    }
    world->shell.missingSpecialFolders = {platform::CSIDL_DRIVES};
    ActiveTree();
    TTreeNode* desktop = tree->GetDesktopNode();
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(tree->GetMyComputerNode(), nullptr);
    EXPECT_FALSE(desktop->HasChildren());
    ExpectTheWindowAgrees();
}

TEST_F(FolderTreeRoots, OptionsSetBeforeActivationPlaceTheOptionalRootsLastOrFirst) {
    ActiveTree({foRecycleBin, foNetworkNeighborhood});
    EXPECT_THAT(DesktopTexts(),
                ElementsAre("My Computer", "Alpha", "Zulu", "Recycle Bin", "Network Neighborhood"));
    EXPECT_EQ(Record(tree->GetNetHoodNode()).Path, "\\\\");
    EXPECT_EQ(Record(tree->GetBitBucketNode()).Path, "");
    ExpectTheWindowAgrees();
    delete tree;

    ActiveTree({foRecycleBin, foNetworkNeighborhood, foVirtualFirst});
    EXPECT_THAT(DesktopTexts(),
                ElementsAre("Network Neighborhood", "Recycle Bin", "My Computer", "Alpha", "Zulu"));
}

TEST_F(FolderTreeRoots, EachOptionalRootComesOnceAndGoesWithItsOption) {
    struct Case {
        TFolderOption option;
        const char* text;
    };
    for (const Case c :
         {Case{foRecycleBin, "Recycle Bin"}, Case{foNetworkNeighborhood, "Network Neighborhood"}}) {
        ActiveTree();
        tree->SetFolderOptions({c.option});
        tree->SetFolderOptions({c.option});
        EXPECT_THAT(DesktopTexts(), ElementsAre("My Computer", "Alpha", "Zulu", c.text)) << c.text;
        tree->SetFolderOptions({});
        EXPECT_THAT(DesktopTexts(), ElementsAre("My Computer", "Alpha", "Zulu")) << c.text;
        ExpectTheWindowAgrees();
        delete tree;
    }
    ExpectNothingOfTheShellHeld();
}

TEST_F(FolderTreeRoots, VirtualFirstPutsLaterRootsFirstAndLeavesTheOthersWhereTheyAre) {
    ActiveTree({foRecycleBin});
    tree->SetFolderOptions({foRecycleBin, foNetworkNeighborhood, foVirtualFirst});
    EXPECT_THAT(DesktopTexts(),
                ElementsAre("Network Neighborhood", "My Computer", "Alpha", "Zulu", "Recycle Bin"));
}

TEST_F(FolderTreeRoots, OptionsOfAnInactiveTreeWaitForActivation) {
    MakeTree();
    tree->SetFolderOptions({foRecycleBin});
    EXPECT_EQ(tree->Items->Count(), 0);
    tree->SetDisplayMode(dmUppercase);
    tree->SetActive(true);
    tree->SetActive(true);
    EXPECT_THAT(DesktopTexts(), ElementsAre("MY COMPUTER", "ALPHA", "ZULU", "RECYCLE BIN"));
    // A root made later keeps the shell's casing until the display mode is written again.
    tree->SetFolderOptions({foRecycleBin, foNetworkNeighborhood});
    EXPECT_EQ(tree->GetNetHoodNode()->Text(), "Network Neighborhood");
    // Re-casing leaves every node where it is: the roots stay after the folders.
    tree->SetDisplayMode(dmLowercase);
    EXPECT_THAT(DesktopTexts(),
                ElementsAre("my computer", "alpha", "zulu", "recycle bin", "network neighborhood"));
}

class TreeForm : public TForm {
public:
    explicit TreeForm(const FormLayout& layout) : TForm(Application) { LoadLayout(layout); }
};

TEST_F(FolderTreeRoots, ALayoutActivatesTheTreeFirstAndThenAppliesItsOptions) {
    const FormLayout layout{"Picker",
                            {},
                            {{"TCvFolderTree",
                              "Folders",
                              {{"Active", "True"},
                               {"FolderOptions", "[foRecycleBin, foVirtualFirst]"},
                               {"DisplayMode", "dmAsis"},
                               {"ShowButtons", "True"},
                               {"Indent", "19"},
                               {"TabOrder", "0"}}},
                             {"TCvFolderTree",
                              "Others",
                              {{"Left", "16"},
                               {"Active", "True"},
                               {"FolderOptions", "[foNetworkNeighborhood]"},
                               {"DisplayMode", "dmUppercase"}}}}};
    auto* form = new TreeForm(layout);
    tree = dynamic_cast<TCvFolderTree*>(form->FindComponent("Folders"));
    ASSERT_NE(tree, nullptr);
    EXPECT_TRUE(tree->Active());
    EXPECT_THAT(DesktopTexts(), ElementsAre("Recycle Bin", "My Computer", "Alpha", "Zulu"));
    tree = dynamic_cast<TCvFolderTree*>(form->FindComponent("Others"));
    EXPECT_EQ(tree->Left(), 16);
    EXPECT_THAT(DesktopTexts(), ElementsAre("MY COMPUTER", "ALPHA", "ZULU", "NETWORK NEIGHBORHOOD"));
}

}  // namespace
