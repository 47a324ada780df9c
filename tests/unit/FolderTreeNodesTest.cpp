// The folder tree's nodes: what a shell item becomes (record, overlay, button, text, pictures), which
// items get none, the control's start, and the release of everything a node holds.
#include <map>

#include "platform/ItemIdList.h"
#include "tests/unit/DoubleByteNames.h"
#include "tests/unit/FolderTreeTest.h"

using namespace platform;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using FolderTreeNodes = FolderTreeTest;

TEST_F(FolderTreeNodes, TheControlLoadsTheShellLibraryQuietlyAndStartsEmptyInItsOwner) {
    world->errorMode = 0x0001;
    MakeTree();
    const auto& calls = world->calls;
    const auto load =
        std::find(calls.begin(), calls.end(), "LoadLibraryExA C:\\WINDOWS\\SYSTEM32\\shell32.dll 8");
    ASSERT_NE(load, calls.end());
    EXPECT_EQ(*(load - 1), "SetErrorMode 32768");
    EXPECT_EQ(*(load + 1), "SetErrorMode 1");
    EXPECT_NE(ShChangeNotifyRegisterProc, nullptr);
    EXPECT_NE(ShChangeNotifyDeregisterProc, nullptr);
    EXPECT_EQ(tree->Parent(), host);
    EXPECT_EQ(tree->Items->Count(), 0);
    EXPECT_TRUE(tree->ReadOnly());
    EXPECT_FALSE(tree->Active());
    EXPECT_EQ(tree->Font().Height, -13);
    EXPECT_EQ(tree->Width(), 180);
    EXPECT_EQ(tree->Height(), 120);
    ASSERT_NE(tree->Images(), nullptr);
    EXPECT_EQ(tree->Images()->Handle(), world->shell.smallImageList);
    EXPECT_TRUE(tree->Images()->ShareImages());
    EXPECT_FALSE(tree->Images()->Masked());

    ExpectTheWindowAgrees();
    delete tree;
    EXPECT_THAT(headless::DestroyedImageLists(), IsEmpty());  // the system's list is shared
    ExpectNothingOfTheShellHeld();
}

// The shell builds its image list on the first icon question; a tree that is filled but never drawn,
// as in the setup program on every Windows but 98, must not make it pay for that.
TEST_F(FolderTreeNodes, MakingAndFillingTheTreeAsksForNoIconUntilTheImageListIsNeeded) {
    ActiveTree({foRecycleBin, foNetworkNeighborhood});
    EXPECT_EQ(world->shell.fileInfoCalls, 0);
    EXPECT_EQ(tree->Images()->Handle(), world->shell.smallImageList);
    EXPECT_EQ(tree->Images()->Handle(), world->shell.smallImageList);
    EXPECT_EQ(world->shell.fileInfoCalls, 1);
    EXPECT_EQ(world->shell.journal.back(), "SHGetFileInfoA " + world->shell.desktopDirectory + " 0x4009");
}

TEST_F(FolderTreeNodes, AnOwnerWithoutAWindowCannotHoldTheTree) {
    auto* owner = new TComponent(Application);
    EXPECT_THROW(new TCvFolderTree(owner), Exception);
}

TEST_F(FolderTreeNodes, SharedAndShortcutFoldersGetTheirOverlay) {
    struct Case {
        const char* folder;
        SFGAOF attributes;
        int overlay;
    };
    const std::vector<Case> cases{{"Plain", 0, -1},
                                  {"Shared", SFGAO_SHARE, 0},
                                  {"Shortcut", SFGAO_LINK, 1},
                                  {"Both", SFGAO_SHARE | SFGAO_LINK, 0}};
    for (const auto& c : cases) {
        world->files.AddDirectory(std::string("C:\\") + c.folder);
        world->shell.Item(std::string("C:\\") + c.folder).addAttributes = c.attributes;
    }
    ActiveTree();
    Find({"My Computer", "Local Disk (C:)"})->Expand(false);
    for (const auto& c : cases) {
        TTreeNode* node = Find({"My Computer", "Local Disk (C:)", c.folder});
        ASSERT_NE(node, nullptr) << c.folder;
        EXPECT_EQ(node->OverlayIndex(), c.overlay) << c.folder;
    }
    EXPECT_EQ(tree->GetDesktopNode()->OverlayIndex(), -1);
}

TEST_F(FolderTreeNodes, ANodeRecordsTheItemAndItsAbsoluteList) {
    world->files.AddDirectory("C:\\WINDOWS\\SYSTEM");
    ActiveTree();
    TTreeNode* drive = Find({"My Computer", "Local Disk (C:)"});
    drive->Expand(false);
    TTreeNode* windows = Find({"My Computer", "Local Disk (C:)", "WINDOWS"});
    ASSERT_NE(windows, nullptr);
    const TFolderNode& record = Record(windows);
    EXPECT_EQ(record.Path, "C:\\WINDOWS");
    EXPECT_EQ(record.Name, "WINDOWS");
    EXPECT_TRUE(record.IsChild);
    EXPECT_EQ(record.FolderType, ftFolder);
    EXPECT_TRUE(record.ShellFolder);
    EXPECT_EQ(Record(drive).Path, "C:\\");
    // My Computer, then the drive, then the folder: each level's list adds one item to its parent's.
    EXPECT_EQ(record.ItemIdListSize, ItemIdListSize(record.ItemIdList));
    EXPECT_EQ(record.ItemIdListSize,
              Record(drive).ItemIdListSize + FirstItemSize(NextItem(NextItem(record.ItemIdList))));
    char path[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDListA(tree->NodeItemIdList(windows), path));
    EXPECT_STREQ(path, "C:\\WINDOWS");
    EXPECT_TRUE(windows->HasChildren());  // SYSTEM
    EXPECT_EQ(tree->NodeType(windows), ftFolder);
    EXPECT_EQ(tree->NodeType(nullptr), ftNone);
    EXPECT_EQ(tree->NodeItemIdList(nullptr), nullptr);
    EXPECT_FALSE(tree->NodeShellFolder(nullptr));
}

TEST_F(FolderTreeNodes, AFolderWithoutSubfoldersHasNoExpandButton) {
    world->files.AddDirectory("C:\\Empty");
    world->files.AddFile("C:\\Full\\readme.txt", "");
    world->files.AddDirectory("C:\\Claims");
    world->shell.Item("C:\\Claims").addAttributes = SFGAO_HASSUBFOLDER;
    ActiveTree();
    Find({"My Computer", "Local Disk (C:)"})->Expand(false);
    EXPECT_FALSE(Find({"My Computer", "Local Disk (C:)", "Empty"})->HasChildren());
    EXPECT_FALSE(Find({"My Computer", "Local Disk (C:)", "Full"})->HasChildren());  // a file is no subfolder
    EXPECT_TRUE(Find({"My Computer", "Local Disk (C:)", "Claims"})->HasChildren());
}

TEST_F(FolderTreeNodes, AnItemOutsideTheFileSystemGetsANodeOnlyWhenForcedOrUnderTheNetwork) {
    world->shell.network = {{"SERVER", {"share", "printer"}}};
    world->shell.Item("\\\\SERVER\\printer").removeAttributes = SFGAO_FILESYSTEM;
    ActiveTree({foNetworkNeighborhood});
    EXPECT_THAT(Texts(tree->GetMyComputerNode()), ElementsAre("Local Disk (C:)"));  // no Control Panel

    TTreeNode* network = tree->GetNetHoodNode();
    network->Expand(false);
    TTreeNode* server = Find({"Network Neighborhood", "SERVER"});
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(Record(server).FolderType, ftNetNode);
    EXPECT_EQ(Record(server).Path, "\\\\SERVER");
    EXPECT_EQ(Record(server).Name, "SERVER");
    server->Expand(false);
    EXPECT_THAT(Texts(server), ElementsAre("printer", "share"));  // sorted, the printer included
    EXPECT_EQ(Record(server->Item(0)).FolderType, ftFolder);
    EXPECT_EQ(Record(server->Item(0)).Path, "\\\\SERVER\\printer");

    // Forced, the Control Panel item gets its node after all.
    TTreeNode* myComputer = tree->GetMyComputerNode();
    ComPtr<IEnumIDList> items;
    tree->NodeShellFolder(myComputer)->EnumObjects(nullptr, SHCONTF_FOLDERS, items.put());
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &item, &fetched) == S_OK &&
           GetPathName(item, SHGDN_INFOLDER, tree->NodeShellFolder(myComputer).get()) != "Control Panel") {
        CoTaskMemFree(item);
    }
    EXPECT_EQ(CreateFolderNode(item, myComputer, false), nullptr);
    TTreeNode* controlPanel = CreateFolderNode(item, myComputer, true);
    CoTaskMemFree(item);
    ASSERT_NE(controlPanel, nullptr);
    EXPECT_EQ(Texts(myComputer).back(), "Control Panel");
    EXPECT_FALSE(controlPanel->HasChildren());
}

TEST_F(FolderTreeNodes, AFailureToGetTheAttributesMakesTheItemVirtualExceptUnderTheNetwork) {
    world->files.AddDirectory("C:\\Secret");
    world->shell.Item("C:\\Secret").attributesFail = true;
    world->shell.network = {{"SERVER", {"share"}}};
    world->shell.Item("\\\\SERVER").attributesFail = true;
    ActiveTree({foNetworkNeighborhood});
    Find({"My Computer", "Local Disk (C:)"})->Expand(false);
    EXPECT_EQ(Find({"My Computer", "Local Disk (C:)", "Secret"}), nullptr);
    tree->GetNetHoodNode()->Expand(false);
    TTreeNode* server = Find({"Network Neighborhood", "SERVER"});
    ASSERT_NE(server, nullptr);
    EXPECT_FALSE(server->HasChildren());
    EXPECT_EQ(server->OverlayIndex(), -1);
}

TEST_F(FolderTreeNodes, TheDisplayModeCasesAsciiLettersAndReCasesAnActiveTreeWithoutSorting) {
    world->files.AddDirectory("C:\\Program Files");
    world->files.AddDirectory("C:\\caf\xC9");
    world->files.AddDirectory("C:\\Zeta");
    MakeTree();
    tree->SetDisplayMode(dmUppercase);
    tree->SetActive(true);
    TTreeNode* drive = Find({"MY COMPUTER", "LOCAL DISK (C:)"});
    ASSERT_NE(drive, nullptr);
    drive->Expand(false);
    EXPECT_THAT(Texts(drive), ElementsAre("CAF\xC9", "CVDISK", "PROGRAM FILES", "WINDOWS", "ZETA"));
    tree->SetDisplayMode(dmLowercase);
    EXPECT_EQ(tree->GetDesktopNode()->Text(), "desktop");
    EXPECT_THAT(Texts(drive), ElementsAre("caf\xC9", "cvdisk", "program files", "windows", "zeta"));
    tree->SetDisplayMode(dmAsis);
    EXPECT_THAT(Texts(drive), ElementsAre("caf\xC9", "cvdisk", "Program Files", "WINDOWS", "Zeta"));
}

// The second bytes of セットアップ are letters, and keep their case in either display mode.
TEST_F(FolderTreeNodes, TheDisplayModeCasesSingleByteLettersAloneInShiftJis) {
    world->UseCodePage(932);
    world->files.AddDirectory("C:\\Ab" + doublebyte::kSetup932);
    MakeTree();
    tree->SetDisplayMode(dmUppercase);
    tree->SetActive(true);
    TTreeNode* drive = Find({"MY COMPUTER", "LOCAL DISK (C:)"});
    ASSERT_NE(drive, nullptr);
    drive->Expand(false);
    EXPECT_THAT(Texts(drive), ::testing::Contains("AB" + doublebyte::kSetup932));
    tree->SetDisplayMode(dmLowercase);
    EXPECT_THAT(Texts(drive), ::testing::Contains("ab" + doublebyte::kSetup932));
}

TEST_F(FolderTreeNodes, PicturesAreAskedOfTheShellOnFirstNeedAndAreWhatNodeCreationWouldGive) {
    for (int i = 0; i < 4; ++i) {
        const std::string folder = "C:\\F" + std::to_string(i);
        world->files.AddDirectory(folder);
        world->shell.Item(folder).icon = 100 + i;
        world->shell.Item(folder).openIcon = 200 + i;
    }
    world->shell.Item(Shell::kMyComputer).icon = 15;
    // A root that is no folder has no open picture: it is drawn selected with its own.
    world->shell.Item(Shell::kRecycleBin).removeAttributes = SFGAO_FOLDER;
    world->shell.Item(Shell::kRecycleBin).openIcon = 32;
    ActiveTree({foRecycleBin});
    TTreeNode* drive = Find({"My Computer", "Local Disk (C:)"});
    const int callsBefore = world->shell.fileInfoCalls;
    drive->Expand(false);
    EXPECT_EQ(world->shell.fileInfoCalls, callsBefore);  // filling a level asks for no icon

    // Each node's picture and selected picture: the in-memory shell's own for the desktop (34), a drive
    // (8) and a plain folder (3, open 4), and those set above. A folder is drawn selected with its open
    // picture, the Recycle Bin, here no folder, with its own.
    struct Want {
        int image;
        int selected;
    };
    const std::map<std::string, Want> wanted{
        {"Desktop", {34, 34}}, {"My Computer", {15, 15}}, {"Local Disk (C:)", {8, 8}}, {"cvdisk", {3, 4}},
        {"F0", {100, 200}},    {"F1", {101, 201}},        {"F2", {102, 202}},          {"F3", {103, 203}},
        {"WINDOWS", {3, 4}},   {"Recycle Bin", {31, 31}}};
    // One node through code reading its selected picture first, the others through drawing.
    EXPECT_EQ(Find({"My Computer", "Local Disk (C:)", "F1"})->SelectedIndex(), 201);
    const auto rows = headless::VisibleRows(*tree);
    ASSERT_EQ(rows.size(), wanted.size());
    for (const auto& row : rows) {
        ASSERT_TRUE(wanted.contains(row.text)) << row.text;
        EXPECT_EQ(row.image, wanted.at(row.text).image) << row.text;
        EXPECT_EQ(row.selectedImage, wanted.at(row.text).selected) << row.text;
    }
    for (int i = 0; i < tree->Items->Count(); ++i) {
        TTreeNode* node = tree->Items->Item(i);
        EXPECT_EQ(node->ImageIndex(), wanted.at(node->Text()).image) << node->Text();
        EXPECT_EQ(node->SelectedIndex(), wanted.at(node->Text()).selected) << node->Text();
    }
}

TEST_F(FolderTreeNodes, RecordsListsAndFolderReferencesAllGoWithTheNodes) {
    world->files.AddDirectory("C:\\A\\B");
    world->files.AddDirectory(world->shell.desktopDirectory + "\\Tools");
    world->shell.network = {{"SERVER", {"share"}}};
    ActiveTree({foRecycleBin, foNetworkNeighborhood});
    Find({"My Computer", "Local Disk (C:)"})->Expand(true);
    tree->GetNetHoodNode()->Expand(true);
    headless::VisibleRows(*tree);
    EXPECT_GT(NodeListBlocks(), 10);
    EXPECT_EQ(world->shell.taskAllocator.Live(), 0u);  // every list the shell handed out went back at once

    tree->SetActive(false);
    EXPECT_EQ(tree->Items->Count(), 0);
    EXPECT_EQ(NodeListBlocks(), 0);
    ExpectNothingOfTheShellHeld();

    tree->SetActive(true);
    EXPECT_GT(world->shell.liveFolders, 0);
    ExpectTheWindowAgrees();
    tree->SetActive(false);  // nodes never drawn still held the lists for their pictures
    EXPECT_EQ(NodeListBlocks(), 0);
    tree->SetActive(true);
    // The nodes go without raising the tree's events: whoever handles them may be going too.
    tree->SetSelected(tree->GetMyComputerNode());
    int changes = 0;
    tree->OnChange = [&changes](TObject*, TTreeNode*) { ++changes; };
    delete tree;
    EXPECT_EQ(changes, 0);
    ExpectNothingOfTheShellHeld();
    EXPECT_GT(world->shell.taskAllocator.Frees(), 20);
}

}  // namespace
