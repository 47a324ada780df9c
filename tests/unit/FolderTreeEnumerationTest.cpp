// A folder's children: fetched from the shell on its first expansion, folders only, sorted except the
// drives and the computers; and what each way of failing leaves behind.
#include "tests/unit/DoubleByteNames.h"
#include "tests/unit/FolderTreeTest.h"

using namespace platform;
using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

class FolderTreeEnumeration : public FolderTreeTest {
protected:
    TTreeNode* Drive() { return Find({"My Computer", "Local Disk (C:)"}); }
    int Enumerations(const std::string& key) {
        return static_cast<int>(std::count_if(
            world->shell.journal.begin(), world->shell.journal.end(),
            [&](const std::string& line) { return line.starts_with("EnumObjects " + key + " "); }));
    }
    // The texts of C:\\Sort's folders, made with these names, in the tree's order.
    std::vector<std::string> SortedUnderC(const std::vector<std::string>& names) {
        world->shell.reverseOrder = true;
        for (const auto& name : names) {
            world->files.AddDirectory("C:\\Sort\\" + name);
        }
        ActiveTree();
        Drive()->Expand(false);
        TTreeNode* sort = Find({"My Computer", "Local Disk (C:)", "Sort"});
        sort->Expand(false);
        return Texts(sort);
    }
    void ExpectCursorAndPaintingBack() {
        EXPECT_EQ(headless::ScreenCursor(), crDefault);
        EXPECT_EQ(headless::LockedWindow(), nullptr);
    }
};

TEST_F(FolderTreeEnumeration, DrivesAndComputersKeepTheShellsOrderAndOnlyFileSystemItemsShowUnderMyComputer) {
    world->files.AddDrive('A');
    world->files.AddDrive('D');
    world->shell.drives = {'D', 'C', 'A'};
    world->shell.network = {{"ZED", {}}, {"ALPHA", {}}};
    ActiveTree({foNetworkNeighborhood});
    EXPECT_THAT(Texts(tree->GetMyComputerNode()),
                ElementsAre("Local Disk (D:)", "Local Disk (C:)", "Local Disk (A:)"));
    tree->GetNetHoodNode()->Expand(false);
    EXPECT_THAT(Texts(tree->GetNetHoodNode()), ElementsAre("ZED", "ALPHA"));
}

// The names on both sides of where the letters fold (@ [ ` {) are those of the folder tree's end-to-end
// scenario, which finds the same order under the real shell.
TEST_F(FolderTreeEnumeration, OtherLevelsAreSortedByBytesWithAsciiLettersFoldedAndAPrefixFirst) {
    world->shell.reverseOrder = true;
    for (const char* name : {"b", "A", "a_x", "ab", "abc", "\xE9t\xE9", "Zz", "zeta", "1", "@at", "[bracket",
                             "`tick", "{brace"}) {
        world->files.AddDirectory(std::string("C:\\Sort\\") + name);
    }
    ActiveTree();
    Drive()->Expand(false);
    TTreeNode* sort = Find({"My Computer", "Local Disk (C:)", "Sort"});
    sort->Expand(false);
    EXPECT_THAT(Texts(sort), ElementsAre("1", "@at", "A", "ab", "abc", "a_x", "b", "zeta", "Zz", "[bracket",
                                         "`tick", "{brace", "\xE9t\xE9"));
}

// A level is sorted by one key per node. Any two siblings compare by their keys as CustomSortProc
// compares them: the special roots first and equal among themselves, then the texts by their bytes with
// a to z folded, a prefix first. The texts lie around the folding's edges ('@', '[', '_', '`', '{') and
// beyond ASCII.
TEST_F(FolderTreeEnumeration, SortKeysOrderSiblingsAsTheComparisonDoes) {
    auto* view = new TCustomTreeView(host);
    std::vector<TFolderNode> records(7);  // the last for every plain folder
    const TFolderType types[] = {ftMyComputer, ftRecycleBin, ftNetworkNeighborhood,
                                 ftNetNode,    ftDesktop,    ftFolder};
    std::vector<TTreeNode*> nodes;
    for (std::size_t i = 0; i < std::size(types); ++i) {
        records[i].FolderType = types[i];
        nodes.push_back(view->Items->AddChildObject(nullptr, "m", &records[i]));
    }
    for (const char* text : {"",  "a", "A", "ab", "aB", "abc", "a_",   "a`",   "Z",    "z",     "_", "`",
                             "@", "[", "{", "1",  " ",  "~",   "\xE9", "\xC9", "\xFF", "a\xE9", "M", "m"}) {
        nodes.push_back(view->Items->AddChildObject(nullptr, text, &records.back()));
    }
    auto sign = [](int value) { return (value > 0) - (value < 0); };
    for (TTreeNode* first : nodes) {
        for (TTreeNode* second : nodes) {
            EXPECT_EQ(sign(SortKey(first).compare(SortKey(second))), sign(CustomSortProc(first, second, 0)))
                << "'" << first->Text() << "' and '" << second->Text() << "'";
        }
    }
    delete view;  // before the records its nodes point to
}

// A second byte is never a letter: ア (83 41) sorts before ヂ (83 61), 名 (A6 57) before 安 (A6 77), each
// after the folder that the shell lists in reverse order.
TEST_F(FolderTreeEnumeration, ShiftJisNamesSortWithTheirSecondBytesAsTheyAre) {
    world->UseCodePage(932);
    EXPECT_THAT(SortedUnderC({"\x83\x61", "\x83\x41", "z"}), ElementsAre("z", "\x83\x41", "\x83\x61"));
}

TEST_F(FolderTreeEnumeration, Big5NamesSortWithTheirSecondBytesAsTheyAre) {
    world->UseCodePage(950);
    EXPECT_THAT(SortedUnderC({doublebyte::kSafe950, doublebyte::kName950}),
                ElementsAre(doublebyte::kName950, doublebyte::kSafe950));
}

TEST_F(FolderTreeEnumeration, HiddenFoldersAreShownAndFilesNever) {
    world->files.AddDirectory("C:\\Data\\Hidden");
    world->files.AddDirectory("C:\\Data\\Shown");
    world->files.AddFile("C:\\Data\\notes.txt", "");
    world->shell.Item("C:\\Data\\Hidden").hidden = true;
    ActiveTree();
    Drive()->Expand(false);
    TTreeNode* data = Find({"My Computer", "Local Disk (C:)", "Data"});
    world->shell.journal.clear();
    data->Expand(false);
    EXPECT_THAT(Texts(data), ElementsAre("Hidden", "Shown"));
    // Folders and hidden ones, with the dialog's window as the owner of anything the shell shows.
    char owner[32];
    std::snprintf(owner, sizeof owner, "0x%X",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(host->Peer()->Handle())));
    EXPECT_THAT(world->shell.journal, Contains("EnumObjects C:\\Data " + std::string(owner) + " 0xA0"));
}

TEST_F(FolderTreeEnumeration, AFailedEnumerationKeepsTheButtonAndRefusesUntilItWorks) {
    world->files.AddDirectory("C:\\Flaky\\Inside");
    ActiveTree();
    Drive()->Expand(false);
    TTreeNode* flaky = Find({"My Computer", "Local Disk (C:)", "Flaky"});
    world->shell.Item("C:\\Flaky").enumFails = true;
    flaky->Expand(false);
    EXPECT_FALSE(flaky->Expanded());
    EXPECT_TRUE(flaky->HasChildren());
    ExpectCursorAndPaintingBack();

    world->shell.Item("C:\\Flaky").enumFails = false;
    flaky->Expand(false);
    EXPECT_TRUE(flaky->Expanded());
    EXPECT_THAT(Texts(flaky), ElementsAre("Inside"));
    EXPECT_EQ(Enumerations("C:\\Flaky"), 2);
    ExpectNothingOfTheShellHeldButTheTree();
}

// A folder says it has no folders with an enumerator that yields none, or with S_FALSE and no
// enumerator at all; either way its button goes.
TEST_F(FolderTreeEnumeration, AnEmptyEnumerationRemovesTheButtonAndRefuses) {
    for (const bool sFalse : {false, true}) {
        world->files.AddDirectory("C:\\Claims");
        world->shell.Item("C:\\Claims").addAttributes = SFGAO_HASSUBFOLDER;
        world->shell.Item("C:\\Claims").noneIsSFalse = sFalse;
        world->shell.journal.clear();
        ActiveTree();
        Drive()->Expand(false);
        TTreeNode* claims = Find({"My Computer", "Local Disk (C:)", "Claims"});
        ASSERT_TRUE(claims->HasChildren());
        EXPECT_TRUE(headless::ClickExpandButton(*claims));
        EXPECT_FALSE(claims->Expanded());
        EXPECT_FALSE(claims->HasChildren()) << sFalse;
        claims->Expand(false);  // from code it enumerates again
        EXPECT_EQ(Enumerations("C:\\Claims"), 2);
        EXPECT_EQ(world->shell.liveEnumerators, 0);
        ExpectCursorAndPaintingBack();
        ExpectTheWindowAgrees();
        delete tree;
    }
}

TEST_F(FolderTreeEnumeration, AFolderThatCouldNotBeBoundCannotBeExpandedAndIsNotEnumerated) {
    world->files.AddDirectory("C:\\Locked\\Inside");
    world->shell.Item("C:\\Locked").bindFails = true;
    ActiveTree();
    Drive()->Expand(false);
    TTreeNode* locked = Find({"My Computer", "Local Disk (C:)", "Locked"});
    EXPECT_FALSE(tree->NodeShellFolder(locked));
    locked->Expand(false);
    EXPECT_FALSE(locked->Expanded());
    EXPECT_TRUE(locked->HasChildren());
    EXPECT_EQ(Enumerations("C:\\Locked"), 0);
    ExpectCursorAndPaintingBack();
}

TEST_F(FolderTreeEnumeration, AFaultWhileALevelIsFilledIsSwallowedAndGivesBackCursorPaintingAndLists) {
    world->files.AddDirectory("C:\\Faulty\\One");
    world->files.AddDirectory("C:\\Faulty\\Two");
    world->shell.Item("C:\\Faulty").enumRaises = true;
    ActiveTree();
    Drive()->Expand(false);
    TTreeNode* faulty = Find({"My Computer", "Local Disk (C:)", "Faulty"});
    EXPECT_TRUE(headless::ClickExpandButton(*faulty));
    EXPECT_FALSE(faulty->Expanded());
    EXPECT_TRUE(headless::MessageBoxes().empty());
    EXPECT_THAT(headless::Journal(), Contains("cursor crHourGlass"));
    ExpectCursorAndPaintingBack();
    ExpectNothingOfTheShellHeldButTheTree();
}

TEST_F(FolderTreeEnumeration, FreeChildrenKeepsMyComputerAndNetworkNeighborhoodOnly) {
    world->files.AddDirectory(world->shell.desktopDirectory + "\\Tools");
    ActiveTree({foRecycleBin, foNetworkNeighborhood});
    TTreeNode* desktop = tree->GetDesktopNode();
    ASSERT_THAT(Texts(desktop), ElementsAre("My Computer", "Tools", "Recycle Bin", "Network Neighborhood"));
    tree->FreeChildren(desktop);
    EXPECT_THAT(Texts(desktop), ElementsAre("My Computer", "Network Neighborhood"));
    EXPECT_TRUE(desktop->HasChildren());
    EXPECT_EQ(tree->GetBitBucketNode(), nullptr);
    AttachFolders(desktop);  // the special roots come first, in the order they had
    EXPECT_THAT(Texts(desktop), ElementsAre("My Computer", "Network Neighborhood", "Tools"));

    // A folder that showed no subfolders gets its button back, to be loaded afresh when opened.
    TTreeNode* tools = Find({"Tools"});
    ASSERT_FALSE(tools->HasChildren());
    tree->FreeChildren(tools);
    EXPECT_TRUE(tools->HasChildren());
}

}  // namespace
