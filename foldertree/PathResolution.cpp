// TCvFolderTree: between nodes and file-system paths, selecting the node of a path, and re-checking a
// folder or a drive that may have changed on disk.
#include <climits>
#include <cstring>

#include "foldertree/Cvfoldertree.h"
#include "foldertree/KeepNodeOnFailure.h"
#include "foldertree/PathComponents.h"
#include "foldertree/TreeScopes.h"
#include "platform/AsciiCase.h"
#include "platform/CharacterScan.h"
#include "platform/Kernel.h"

using namespace platform;

namespace {

// The roots' own names match by the rules of the user's locale, as Windows compares drive names.
bool SameByLocale(std::string_view a, std::string_view b) {
    if (a.size() > INT_MAX || b.size() > INT_MAX) {
        return false;
    }
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

// "X:\" as the shell parses it: wide characters with their zero.
bool WideDriveRoot(char drive, WCHAR (&root)[4]) {
    const char text[4] = {drive, ':', '\\', '\0'};
    return MultiByteToWideChar(CP_ACP, 0, text, 4, root, 4) == 4;
}

}  // namespace

const std::string& TCvFolderTree::PathOf(TTreeNode* Node) {
    static const std::string kNone;
    const TFolderNode* record = RecordOf(Node);
    return record != nullptr ? record->Path : kNone;
}

std::string TCvFolderTree::GetPath(TTreeNode* Node) {
    switch (NodeType(Node)) {
        case ftNetworkNeighborhood:
        case ftRecycleBin:
        case ftMyComputer:
        case ftNetNode:
            return {};
        default:
            break;
    }
    std::string path = PathOf(Node);
    if (path.size() == 1 || path.size() == 2) {
        path.push_back('\\');  // a drive written C: is given as its root folder
    }
    return path;
}

std::string TCvFolderTree::GetDirectory() {
    return GetPath(Selected());
}

void TCvFolderTree::SetDirectory(const std::string& Path) {
    TTreeNode* node = Path.empty() ? nullptr : FindPath(Path, false);
    SetSelected(node);
    if (node != nullptr) {
        const std::string path = PathOf(node);
        if (path.size() > 3 && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            CheckPath();
        }
    }
}

TTreeNode* TCvFolderTree::FindPath(const std::string& Path, bool ExactMatch) {
    return LocatePath(Path, ExactMatch ? PathReach::Whole : PathReach::DeepestLoading, true);
}

// FindPath, and the look-up of a notified path, which must not take the user's selection away when
// the path lies outside what the tree shows.
TTreeNode* TCvFolderTree::LocatePath(std::string_view path, PathReach reach, bool clearsSelection) {
    const auto noRoot = [&]() -> TTreeNode* {
        if (clearsSelection) {
            SetSelected(nullptr);
        }
        return nullptr;
    };
    std::string lowered = AsciiLower(path);
    if (lowered.size() < 3) {
        return noRoot();
    }
    if (EndsWithCharacter(lowered, '\\')) {
        lowered.pop_back();  // one only: c:\windows\\ stays one component that names no root
    }
    const std::vector<std::string> components = SplitFolderPath(lowered, AsciiLower(DesktopPath));
    TTreeNode* desktop = GetDesktopNode();
    TTreeNode* node = desktop != nullptr
                          ? MatchRoot(desktop, components.front(), reach != PathReach::DeepestLoaded)
                          : nullptr;
    if (node == nullptr) {
        return noRoot();
    }
    std::string searchText = components.front();
    for (std::size_t i = 1; i < components.size(); ++i) {
        if (node->Count() == 0 && reach == PathReach::DeepestLoading) {
            AttachFolders(node);
        }
        searchText.append(1, '\\').append(components[i]);
        TTreeNode* child = node->GetFirstChild();
        while (child != nullptr && !EqualsIgnoringAsciiCase(PathOf(child), searchText)) {
            child = child->GetNextSibling();
        }
        if (child == nullptr) {
            return reach == PathReach::Whole ? nullptr : node;
        }
        node = child;
    }
    return node;
}

// The root of a path's first component: the desktop for its own folder, Network Neighborhood for a
// network path, else a drive of My Computer (whose drives are loaded first if they never were and
// `loads`).
TTreeNode* TCvFolderTree::MatchRoot(TTreeNode* desktop, const std::string& first, bool loads) {
    if (EqualsIgnoringAsciiCase(PathOf(desktop), first)) {
        return desktop;
    }
    TTreeNode* candidate = nullptr;
    if (first == "\\") {
        candidate = GetNetHoodNode();
    } else if (TTreeNode* myComputer = GetMyComputerNode()) {
        if (myComputer->Count() == 0 && loads) {
            myComputer->Expand(false);
        }
        candidate = myComputer->GetFirstChild();
    }
    for (; candidate != nullptr; candidate = candidate->GetNextSibling()) {
        // C:\ matches c:, and Network Neighborhood's \\ the single backslash.
        std::string_view path = PathOf(candidate);
        if (EndsWithCharacter(PathOf(candidate), '\\')) {
            path.remove_suffix(1);
        }
        if (SameByLocale(path, first)) {
            return candidate;
        }
    }
    return nullptr;
}

std::string TCvFolderTree::ParsePidl(LPCITEMIDLIST ItemIdList) {
    if (ItemIdList == nullptr) {
        return {};
    }
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(ItemIdList, path)) {
        return {};
    }
    return std::string(path, strnlen(path, sizeof path));
}

char TCvFolderTree::GetFirstDriveLetter(DWORD Mask) {
    if (Mask == 0) {
        return '\0';
    }
    char letter = 'A';
    for (; (Mask & 1) == 0; Mask >>= 1) {
        ++letter;
    }
    return letter;
}

void TCvFolderTree::CheckPath() {
    TTreeNode* node = Selected();
    if (node == nullptr) {
        return;
    }
    const std::string path = PathOf(node);
    if (path.size() <= 3 || path.front() == '\\') {
        // A drive, a root without a path or a network name: loaded afresh on the next expansion,
        // without asking a disk or the network now.
        node->SetHasChildren(true);
    } else if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        // The folder has gone: its drive is emptied and reloaded on demand.
        DriveChanged(this, path.front(), true);
    }
}

void TCvFolderTree::TFolderTreeDblClick(TMessage& Message) {
    CheckPath();
    TCustomTreeView::WMLButtonDblClk(Message);
}

void TCvFolderTree::WMLButtonDblClk(TMessage& Message) {
    TFolderTreeDblClick(Message);
}

void TCvFolderTree::DriveChanged(TObject* /*Sender*/, char Drive, bool Force) {
    KeepNodeOnFailure([&] { RefreshDrive(Drive, Force ? DriveRefresh::Always : DriveRefresh::WhenRenamed); });
}

// The node of a drive under My Computer; null when My Computer does not list it.
TTreeNode* TCvFolderTree::DriveNode(char drive) {
    TTreeNode* myComputer = GetMyComputerNode();
    TTreeNode* driveNode = myComputer != nullptr ? myComputer->GetFirstChild() : nullptr;
    while (driveNode != nullptr &&
           (PathOf(driveNode).empty() || AsciiUpper(PathOf(driveNode).front()) != AsciiUpper(drive))) {
        driveNode = driveNode->GetNextSibling();
    }
    return driveNode;
}

void TCvFolderTree::RefreshDrive(char drive, DriveRefresh how) {
    TTreeNode* driveNode = DriveNode(drive);
    const ComPtr<IShellFolder> drives = NodeShellFolder(GetMyComputerNode());
    WCHAR root[4];
    if (driveNode == nullptr || !drives || !WideDriveRoot(drive, root)) {
        return;
    }
    LPITEMIDLIST list = nullptr;
    ULONG eaten = 0;
    ULONG attributes = 0;
    if (FAILED(drives->ParseDisplayName(ParentWindow(), nullptr, root, &eaten, &list, &attributes))) {
        return;
    }
    std::string name;
    {
        ShellList parsed(*this, list);
        name = GetLongFilePath(list, drives.get()).DisplayName;
    }
    const bool renamed = driveNode->Text() != name;
    const bool drops = how == DriveRefresh::Always || (renamed && how == DriveRefresh::WhenRenamed);
    if (drops) {
        PaintingLock lock(Handle());
        FreeChildren(driveNode);
        driveNode->Collapse(true);
    }
    if (drops || renamed) {
        driveNode->SetText(name);  // the shell's name as it is: the display mode is not applied here
    }
}
