// Between nodes and paths: which node a path finds (and when the selection goes), the path of each kind
// of node, selecting a path, re-checking a folder that has gone, and refreshing a drive.
#include <stdexcept>

#include "foldertree/PathComponents.h"
#include "tests/unit/DoubleByteNames.h"
#include "tests/unit/FolderTreeTest.h"

using namespace doublebyte;
using namespace platform;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class FolderTreePaths : public FolderTreeTest {
protected:
    void SetUp() override {
        FolderTreeTest::SetUp();
        world->files.AddDirectory("C:\\WINDOWS\\SYSTEM");
        world->files.AddDirectory("C:\\Caf\xE9");
        world->files.AddDirectory(world->shell.desktopDirectory + "\\Tools");
        world->shell.network = {{"SERVER", {"share"}}};
    }
    TTreeNode* Drive() { return Find({"My Computer", "Local Disk (C:)"}); }
    std::string PathOrNone(TTreeNode* node) { return node != nullptr ? Record(node).Path : "(none)"; }
};

// How a path is taken apart for matching: from the right, each component the text after a separator; a
// drive's root keeps its separator, the desktop's folder stays whole, and a separator at the very start
// is dropped.
TEST_F(FolderTreePaths, APathSplitsIntoItsComponentsFromItsRootDown) {
    const std::string desktop = "c:\\windows\\desktop";
    EXPECT_THAT(SplitFolderPath("c:\\windows\\system", desktop), ElementsAre("c:", "windows", "system"));
    EXPECT_THAT(SplitFolderPath("c:\\", desktop), ElementsAre("c:\\"));
    EXPECT_THAT(SplitFolderPath("\\\\server\\share", desktop), ElementsAre("\\", "server", "share"));
    EXPECT_THAT(SplitFolderPath("\\windows", desktop), ElementsAre("windows"));
    EXPECT_THAT(SplitFolderPath("windows\\system", desktop), ElementsAre("windows", "system"));
    EXPECT_THAT(SplitFolderPath("windows", desktop), ElementsAre("windows"));
    EXPECT_THAT(SplitFolderPath(desktop + "\\tools", desktop), ElementsAre(desktop, "tools"));
    EXPECT_THAT(SplitFolderPath("", desktop), IsEmpty());
    world->UseCodePage(932);  // ソ ends in 5C, which separates nothing
    EXPECT_THAT(SplitFolderPath("c:\\" + kSoftware932 + "\\x", desktop),
                ElementsAre("c:", kSoftware932, "x"));
}

TEST_F(FolderTreePaths, FindPathGivesTheNodeOfThePathOrTheDeepestAndClearsTheSelectionOnlyWithoutARoot) {
    struct Case {
        const char* path;
        bool exactMatch;
        const char* found;  // the node's Path; null for no node
        bool clearsSelection;
        SFolderOption options;
    };
    const std::vector<Case> cases{
        {"C:\\", false, "C:\\", false, {}},
        {"C:\\", true, "C:\\", false, {}},
        {"C:", false, nullptr, true, {}},  // too short
        {"c:\\WINDOWS\\system", false, "C:\\WINDOWS\\SYSTEM", false, {}},
        {"C:\\WINDOWS\\SYSTEM\\", false, "C:\\WINDOWS\\SYSTEM", false, {}},
        {"C:\\WINDOWS\\SYSTEM", true, nullptr, false, {}},  // C:\WINDOWS was never expanded
        {"C:\\WINDOWS\\Missing", false, "C:\\WINDOWS", false, {}},
        {"c:\\windows\\\\", false, nullptr, true, {}},  // only one trailing backslash goes
        {"Q:\\WINDOWS", false, nullptr, true, {}},      // a drive that My Computer does not list
        {"WINDOWS\\SYSTEM", false, nullptr, true, {}},  // relative
        {"C:\\Caf\xC9", false, "C:\\", false, {}},      // below the root only ASCII letters fold
        {"\\\\SERVER\\share", false, nullptr, true, {}},
        {"\\\\SERVER\\share", false, "\\\\SERVER\\share", false, {foNetworkNeighborhood}},
        {"\\\\server", true, nullptr, false, {foNetworkNeighborhood}},
        {"\\\\server", false, "\\\\SERVER", false, {foNetworkNeighborhood}},
    };
    for (const auto& c : cases) {
        ActiveTree(c.options);
        TTreeNode* desktop = tree->GetDesktopNode();
        tree->SetSelected(desktop);
        TTreeNode* node = tree->FindPath(c.path, c.exactMatch);
        EXPECT_EQ(PathOrNone(node), c.found != nullptr ? c.found : "(none)") << c.path << " " << c.exactMatch;
        EXPECT_EQ(tree->Selected(), c.clearsSelection ? nullptr : desktop) << c.path << " " << c.exactMatch;
        ExpectTheWindowAgrees();
        delete tree;
    }
    ExpectNothingOfTheShellHeld();
}

TEST_F(FolderTreePaths, AFolderInsideTheDesktopFolderIsFoundBelowTheDesktopNode) {
    ActiveTree();
    TTreeNode* tools = tree->FindPath("c:\\windows\\desktop\\TOOLS", true);
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->Parent(), tree->GetDesktopNode());
    EXPECT_EQ(Drive()->Count(), 0);  // the drive was not walked
}

TEST_F(FolderTreePaths, MyComputersDrivesAreLoadedAgainWhenAPathNeedsThem) {
    ActiveTree();
    tree->FreeChildren(tree->GetMyComputerNode());
    EXPECT_EQ(PathOrNone(tree->FindPath("c:\\", true)), "C:\\");
}

TEST_F(FolderTreePaths, FindPathOfAnInactiveTreeGivesNothing) {
    MakeTree();
    EXPECT_EQ(tree->FindPath("C:\\WINDOWS", false), nullptr);
    EXPECT_EQ(tree->GetDirectory(), "");
}

TEST_F(FolderTreePaths, EachKindOfNodeHasItsPathOrNone) {
    ActiveTree({foNetworkNeighborhood, foRecycleBin});
    tree->GetNetHoodNode()->Expand(false);
    struct Case {
        TTreeNode* node;
        const char* directory;
    };
    const std::vector<Case> cases{
        {nullptr, ""},
        {tree->GetDesktopNode(), "C:\\WINDOWS\\Desktop"},
        {tree->GetMyComputerNode(), ""},
        {tree->GetBitBucketNode(), ""},
        {tree->GetNetHoodNode(), ""},
        {Find({"Network Neighborhood", "SERVER"}), ""},
        {Drive(), "C:\\"},
        {Find({"Tools"}), "C:\\WINDOWS\\Desktop\\Tools"},
    };
    for (const auto& c : cases) {
        tree->SetSelected(c.node);
        EXPECT_EQ(tree->GetDirectory(), c.directory) << (c.node != nullptr ? c.node->Text() : "nothing");
    }
    // A drive written without its backslash is given as its root.
    const_cast<TFolderNode&>(Record(Drive())).Path = "C:";
    EXPECT_EQ(tree->GetPath(Drive()), "C:\\");
}

// The folder selected is checked on the disk once; a drive's root is not, so no disk is asked for.
TEST_F(FolderTreePaths, SetDirectorySelectsThePathsNodeAndAnEmptyPathClears) {
    ActiveTree();
    world->calls.clear();
    tree->SetDirectory("c:\\windows\\system");
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->GetDirectory(), "C:\\WINDOWS\\SYSTEM");
    EXPECT_TRUE(Find({"My Computer", "Local Disk (C:)", "WINDOWS"})->Expanded());
    EXPECT_EQ(Calls("GetFileAttributesA"), 1);
    tree->SetDirectory("C:\\");
    EXPECT_EQ(tree->GetDirectory(), "C:\\");
    EXPECT_EQ(Calls("GetFileAttributesA"), 1);
    tree->SetDirectory("");
    EXPECT_EQ(tree->Selected(), nullptr);
}

// "C:\O" is the shortest path of a folder: four characters, one more than a drive's root.
TEST_F(FolderTreePaths, AFolderThatHasGoneTakesItsDrivesLoadedFoldersWithIt) {
    struct Case {
        std::string gone;
        const char* parent;  // the folder above it, still on the disk; none for a folder of the root
    };
    for (const auto& c : {Case{"C:\\Old\\Deep", "Old"}, Case{"C:\\O", nullptr}}) {
        world->files.AddDirectory(c.gone);
        ActiveTree();
        tree->SetDirectory(c.gone);
        world->files.Remove(c.gone);
        tree->SetDirectory(c.gone);

        TTreeNode* drive = Drive();
        EXPECT_EQ(drive->Count(), 0) << c.gone;
        EXPECT_FALSE(drive->Expanded());
        EXPECT_TRUE(drive->HasChildren());
        EXPECT_EQ(tree->Selected(), drive);  // the selection went up with the folder's node
        EXPECT_EQ(headless::LockedWindow(), nullptr);
        drive->Expand(false);  // loaded afresh, as the disk is now
        if (c.parent != nullptr) {
            TTreeNode* parent = Find({"My Computer", "Local Disk (C:)", c.parent});
            ASSERT_NE(parent, nullptr);
            EXPECT_FALSE(parent->HasChildren());
        }
        ExpectNothingOfTheShellHeldButTheTree();
        delete tree;
    }
}

TEST_F(FolderTreePaths, CheckPathOfARootOnlyGivesBackItsButtonWithoutAskingADisk) {
    ActiveTree({foNetworkNeighborhood});
    tree->GetNetHoodNode()->Expand(false);
    for (TTreeNode* node : {Drive(), tree->GetMyComputerNode(), Find({"Network Neighborhood", "SERVER"})}) {
        tree->SetSelected(node);
        node->SetHasChildren(false);
        world->calls.clear();
        world->shell.journal.clear();
        CheckPath();
        EXPECT_TRUE(node->HasChildren()) << node->Text();
        ExpectTheWindowAgrees();  // the button is back on the screen too
        EXPECT_EQ(Calls("GetFileAttributesA"), 0) << node->Text();
        EXPECT_THAT(world->shell.journal, IsEmpty()) << node->Text();
    }
    tree->SetSelected(nullptr);
    CheckPath();  // nothing selected: nothing to do
}

TEST_F(FolderTreePaths, ADoubleClickReChecksTheSelectionBeforeTheTreeRaisesOnDblClick) {
    world->files.AddDirectory("C:\\Old\\Deep");
    ActiveTree();
    tree->SetDirectory("C:\\Old\\Deep");
    world->files.Remove("C:\\Old\\Deep");
    bool driveEmptiedFirst = false;
    tree->OnDblClick = [&](TObject*) { driveEmptiedFirst = Drive()->Count() == 0; };
    ASSERT_TRUE(headless::DoubleClickNode(*tree->Selected()));
    EXPECT_TRUE(driveEmptiedFirst);
}

TEST_F(FolderTreePaths, TheFirstDriveLetterIsThatOfTheLowestBitAndAMaskWithoutADriveHasNone) {
    const std::vector<std::pair<DWORD, char>> cases{
        {0x01, 'A'}, {0x04, 'C'}, {0x0C, 'C'}, {1u << 25, 'Z'}, {0, '\0'}};
    for (const auto& [mask, letter] : cases) {
        EXPECT_EQ(GetFirstDriveLetter(mask), letter) << mask;
    }
}

TEST_F(FolderTreePaths, ADriveIsRefreshedOnlyWhenListedAndItsNameChangedOrWhenForced) {
    struct Case {
        char letter;
        const char* label;
        bool force;
        const char* text;
        bool dropped;
    };
    const std::vector<Case> cases{
        {'Q', "", true, "Local Disk (C:)", false},  // not under My Computer
        {'c', "", false, "Local Disk (C:)", false},
        {'C', "", true, "Local Disk (C:)", true},
        {'c', "SETUP", false, "SETUP (C:)", true},
    };
    for (const auto& c : cases) {
        world->shell.Item("C:\\").label = "";
        ActiveTree();
        Drive()->Expand(false);
        world->shell.Item("C:\\").label = c.label;
        DriveChanged(c.letter, c.force);
        TTreeNode* drive = tree->GetMyComputerNode()->GetFirstChild();
        const std::string what = std::string(1, c.letter) + " " + c.label + (c.force ? " forced" : "");
        EXPECT_EQ(drive->Text(), c.text) << what;
        EXPECT_EQ(drive->Count() == 0, c.dropped) << what;
        EXPECT_EQ(drive->Expanded(), !c.dropped) << what;
        EXPECT_TRUE(drive->HasChildren()) << what;
        EXPECT_EQ(headless::LockedWindow(), nullptr) << what;
        ExpectTheWindowAgrees();
        delete tree;
    }
    ExpectNothingOfTheShellHeld();
    // My Computer parses each listed drive's root, owned by the tree's parent window, without a bind
    // context, with a place for the characters eaten and no attributes asked for.
    const auto& requests = world->shell.parseRequests;
    ASSERT_EQ(requests.size(), 3u);
    for (const auto& request : requests) {
        EXPECT_EQ(request.folder, Shell::kMyComputer);
        EXPECT_TRUE(request.name == "c:\\" || request.name == "C:\\") << request.name;
        EXPECT_EQ(request.window, host->Peer()->Handle());
        EXPECT_FALSE(request.bindContext);
        EXPECT_TRUE(request.eatenAsked);
        EXPECT_EQ(request.attributes, 0u);
    }
}

TEST_F(FolderTreePaths, APathIsFoundWhateverTheCaseOfItsLettersFromAToZ) {
    world->files.AddDirectory("C:\\Apps\\Zed");
    ActiveTree();
    TTreeNode* zed = tree->FindPath("C:\\Apps\\Zed", false);
    ASSERT_NE(zed, nullptr);
    EXPECT_EQ(zed->Text(), "Zed");
    EXPECT_EQ(tree->FindPath("c:\\apps\\zed", true), zed);
    EXPECT_EQ(tree->FindPath("C:\\APPS\\ZED", true), zed);
}

TEST_F(FolderTreePaths, ADriveIsFoundByItsLetterInEitherCaseFromAToZ) {
    for (char letter : {'A', 'Z'}) {
        world->files.AddDrive(letter);
        world->files.AddDirectory(std::string(1, letter) + ":\\Docs");
    }
    ActiveTree();
    for (const auto& [letter, text] :
         {std::pair{'a', "Local Disk (A:)"}, std::pair{'z', "Local Disk (Z:)"}}) {
        TTreeNode* drive = Find({"My Computer", text});
        ASSERT_NE(drive, nullptr) << text;
        drive->Expand(false);
        ASSERT_GT(drive->Count(), 0) << text;
        DriveChanged(letter, true);
        EXPECT_EQ(drive->Count(), 0) << letter;
    }
}

TEST_F(FolderTreePaths, DriveChangedSwallowsEveryFailure) {
    // The shell no longer knows the drive.
    ActiveTree();
    Drive()->Expand(false);
    world->shell.drives = {'D'};
    EXPECT_NO_THROW(DriveChanged('C', true));
    EXPECT_GT(Drive()->Count(), 0);
    ExpectTheWindowAgrees();
    delete tree;
    world->shell.drives.clear();

    // A handler that raises while the drive's folders go.
    const std::vector<std::function<void()>> raisers{[] { throw Exception("refused"); },
                                                     [] { throw std::runtime_error("refused"); }};
    for (const auto& raise : raisers) {
        ActiveTree();
        tree->SetDirectory("C:\\WINDOWS\\SYSTEM");
        tree->OnChange = [&](TObject*, TTreeNode*) { raise(); };
        EXPECT_NO_THROW(DriveChanged('C', true));
        EXPECT_EQ(headless::LockedWindow(), nullptr);
        tree->OnChange = nullptr;
        ExpectTheWindowAgrees();
        delete tree;
    }
    ExpectNothingOfTheShellHeld();
}

// Running out of memory is not a drive that cannot be asked: the tree does not hide it.
TEST_F(FolderTreePaths, DriveChangedLetsRunningOutOfMemoryThrough) {
    ActiveTree();
    tree->SetDirectory("C:\\WINDOWS\\SYSTEM");
    tree->OnChange = [](TObject*, TTreeNode*) { throw std::bad_alloc(); };
    EXPECT_THROW(DriveChanged('C', true), std::bad_alloc);
    EXPECT_EQ(headless::LockedWindow(), nullptr);
    tree->OnChange = nullptr;
    delete tree;
    ExpectNothingOfTheShellHeld();
}

// In the East Asian code pages a path is split, trimmed and lowered by its characters: a second byte
// that is a backslash separates nothing, and one that is a letter keeps its case, so that two names that
// differ only there are two folders.
class FolderTreeEastAsianPaths : public FolderTreeTest {
protected:
    // The node of a path as FindPath gives it, as that node's own Path.
    std::string Found(const std::string& path, bool exactMatch) {
        TTreeNode* node = tree->FindPath(path, exactMatch);
        return node != nullptr ? Record(node).Path : "(none)";
    }
};

TEST_F(FolderTreeEastAsianPaths, ShiftJisPathsFindTheirOwnNodes) {
    world->UseCodePage(932);
    const std::string software = "C:\\" + kSoftware932;
    world->files.AddDirectory(software + "\\" + kTable932);
    world->files.AddDirectory("C:\\" + kTable932);
    world->files.AddDirectory("C:\\" + kSe932);
    world->files.AddDirectory("C:\\" + kHo932);
    ActiveTree();
    EXPECT_EQ(Found(software + "\\" + kTable932, false), software + "\\" + kTable932);
    EXPECT_EQ(Found("c:\\" + kSoftware932 + "\\" + kTable932 + "\\", true), software + "\\" + kTable932);
    EXPECT_EQ(Found("C:\\" + kTable932, true), "C:\\" + kTable932);  // the path ends in 5C, no separator
    EXPECT_EQ(Found("C:\\" + kTable932 + "\\", true), "C:\\" + kTable932);
    EXPECT_EQ(Found("C:\\" + kSe932, true), "C:\\" + kSe932);
    EXPECT_EQ(Found("C:\\" + kHo932, true), "C:\\" + kHo932);
    EXPECT_EQ(Found("C:\\" + kSe932 + "\\Gone", false), "C:\\" + kSe932);
    ExpectNothingOfTheShellHeldButTheTree();
}

TEST_F(FolderTreeEastAsianPaths, Big5PathsFindTheirOwnNodes) {
    world->UseCodePage(950);
    const std::string permit = "C:\\" + kPermit950;
    world->files.AddDirectory(permit + "\\" + kName950);
    world->files.AddDirectory(permit + "\\" + kSafe950 + "\xA6\x72");  // 安字 beside 名字
    ActiveTree();
    EXPECT_EQ(Found(permit + "\\" + kName950, false), permit + "\\" + kName950);
    EXPECT_EQ(Found(permit + "\\" + kSafe950 + "\xA6\x72", true), permit + "\\" + kSafe950 + "\xA6\x72");
    EXPECT_EQ(Found("c:\\" + kPermit950 + "\\", true), permit);
    tree->SetDirectory(permit + "\\" + kName950);
    EXPECT_EQ(tree->GetDirectory(), permit + "\\" + kName950);
}

}  // namespace
