// TCvFolderTree: the roots that enumeration never makes (the desktop, My Computer, the Recycle Bin and
// Network Neighborhood), and finding them again.
#include "foldertree/Cvfoldertree.h"
#include "foldertree/TreeScopes.h"

using namespace platform;

// Makes a root under the desktop (or the desktop itself) from a special folder and writes its record;
// the folder's list is given back to the shell. Null when the shell gave no location.
TTreeNode* TCvFolderTree::AddSpecialRoot(TPathInfo& info, TFolderType type, const std::string& path,
                                         bool nameFromShell) {
    TTreeNode* parent = type == ftDesktop ? nullptr : GetDesktopNode();
    TTreeNode* node =
        type == ftDesktop || parent != nullptr ? CreateFolderNode(info.ItemIdList, parent, true) : nullptr;
    if (node != nullptr) {
        if (nameFromShell) {
            // Named through the desktop's folder: the root's normal display name.
            TFolderNode* desktop = RecordOf(type == ftDesktop ? node : parent);
            info.DisplayName = GetLongFilePath(info.ItemIdList, desktop->ShellFolder.get()).DisplayName;
        }
        node->SetText(info.DisplayName);
        TFolderNode* record = RecordOf(node);
        record->Path = path;
        record->Name = node->Text();
        record->FolderType = type;
    }
    FreePidl(info.ItemIdList);
    info.ItemIdList = nullptr;
    return node;
}

void TCvFolderTree::ShowDesktop() {
    PaintingLock lock(Handle());
    TPathInfo desktopInfo = fGetSpecialFolder(CSIDL_DESKTOP);
    DesktopPath = desktopInfo.Path;
    TTreeNode* desktop = AddSpecialRoot(desktopInfo, ftDesktop, DesktopPath, true);
    if (desktop == nullptr) {
        return;
    }
    TPathInfo drives = fGetSpecialFolder(CSIDL_DRIVES);
    AddSpecialRoot(drives, ftMyComputer, std::string(), true);
    AttachFolders(GetDesktopNode());
    GetDesktopNode()->SetHasChildren(GetDesktopNode()->GetFirstChild() != nullptr);
    GetDesktopNode()->Expand(false);
    if (TTreeNode* myComputer = GetMyComputerNode()) {
        myComputer->Expand(false);
    }
}

void TCvFolderTree::SetFolderOptions(SFolderOption Value) {
    FFolderOptions = Value;
    if (FActive) {
        ShowRecycleBin();
        ShowNetHood();
    }
}

void TCvFolderTree::ShowRecycleBin() {
    TTreeNode* present = GetBitBucketNode();
    const bool wanted = FFolderOptions.Contains(foRecycleBin);
    if (wanted && present == nullptr) {
        TPathInfo info = fGetSpecialFolder(CSIDL_BITBUCKET);
        AddSpecialRoot(info, ftRecycleBin, std::string(), true);
    } else if (!wanted && present != nullptr) {
        present->Delete();
    }
}

void TCvFolderTree::ShowNetHood() {
    TTreeNode* present = GetNetHoodNode();
    const bool wanted = FFolderOptions.Contains(foNetworkNeighborhood);
    if (wanted && present == nullptr) {
        TPathInfo info = fGetNetHood();
        AddSpecialRoot(info, ftNetworkNeighborhood, "\\\\", false);
    } else if (!wanted && present != nullptr) {
        present->Delete();
    }
}

TPathInfo TCvFolderTree::fGetNetHood() {
    TPathInfo info = fGetSpecialFolder(CSIDL_NETWORK);
    if (info.ItemIdList != nullptr) {
        info.DisplayName = GetLongFilePath(info.ItemIdList, nullptr).DisplayName;
    }
    return info;
}

TTreeNode* TCvFolderTree::GetDesktopNode() {
    return Items->GetFirstNode();
}

TTreeNode* TCvFolderTree::GetSpecialNode(TFolderType FolderType) {
    for (int i = 0; i < Items->Count(); ++i) {
        TTreeNode* node = Items->Item(i);
        if (const TFolderNode* record = RecordOf(node);
            record != nullptr && record->FolderType == FolderType) {
            return node;
        }
    }
    return nullptr;
}
