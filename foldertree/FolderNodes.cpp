// TCvFolderTree: a node from a shell item (names, attributes, the absolute list, folder object, icons,
// overlay, text), its record and its release, the special folders and the system image list.
#include <cstring>
#include <memory>
#include <vector>

#include "foldertree/Cvfoldertree.h"
#include "platform/AsciiCase.h"
#include "platform/ItemIdList.h"

using namespace platform;

namespace {

// What a new node asks of its parent's folder about the item: whether it has subfolders, lies in the
// file system, is shared, is a shortcut, and whether it is a folder (for its open icon).
constexpr SFGAOF kAttributeRequest =
    SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_SHARE | SFGAO_LINK | SFGAO_FOLDER;

// The attributes that the parent folder gives the item; none for the root, which has no parent folder.
SFGAOF AttributesOf(LPCITEMIDLIST item, IShellFolder* parentFolder) {
    if (parentFolder == nullptr) {
        return 0;
    }
    SFGAOF requested = kAttributeRequest;
    LPCITEMIDLIST items[] = {item};
    return SUCCEEDED(parentFolder->GetAttributesOf(1, items, &requested)) ? requested : 0;
}

// The item's own folder object, bound through its parent's, which enumerates its children; it stays
// empty when the item cannot be bound or the parent has no folder object.
void BindFolder(TFolderNode& record, LPCITEMIDLIST item, IShellFolder* parentFolder) {
    if (parentFolder != nullptr) {
        parentFolder->BindToObject(item, nullptr, IID_IShellFolder,
                                   reinterpret_cast<void**>(record.ShellFolder.put()));
    }
}

int SystemIconIndex(LPCITEMIDLIST list, UINT flags) {
    SHFILEINFOA info{};
    SHGetFileInfoA(reinterpret_cast<LPCSTR>(list), 0, &info, sizeof info, flags);
    return info.iIcon;
}

}  // namespace

std::string CasedName(std::string name, TDisplayMode mode) {
    if (mode == dmUppercase) {
        return AsciiUpper(name);
    }
    if (mode == dmLowercase) {
        return AsciiLower(name);
    }
    return name;
}

TFolderNode* TCvFolderTree::RecordOf(TTreeNode* Node) {
    return Node != nullptr ? static_cast<TFolderNode*>(Node->Data()) : nullptr;
}

TTreeNode* TCvFolderTree::CreateFolderNode(LPCITEMIDLIST ItemIdList, TTreeNode* ParentNode, bool Force) {
    if (ItemIdList == nullptr) {
        return nullptr;  // the shell gave no item
    }
    TFolderNode* parent = RecordOf(ParentNode);
    IShellFolder* parentFolder = parent != nullptr ? parent->ShellFolder.get() : nullptr;
    TFilePathList names = GetLongFilePath(ItemIdList, parentFolder);
    const SFGAOF attributes = AttributesOf(ItemIdList, parentFolder);
    // Everything under Network Neighborhood gets a node: computers and printers are no file-system items.
    const TFolderType parentType = parent != nullptr ? parent->FolderType : ftNone;
    const bool underNetwork = parentType == ftNetworkNeighborhood || parentType == ftNetNode;
    const bool isVirtual = (attributes & SFGAO_FILESYSTEM) == 0 && !underNetwork;
    if (isVirtual && !Force) {
        return nullptr;
    }

    FolderRecord record = NewFolderRecord(ItemIdList, parent, isVirtual);
    record->IsFolder = (attributes & SFGAO_FOLDER) != 0;
    record->Path = std::move(names.ParsingName);
    record->Name = names.InFolderName;
    record->IsChild = ParentNode != nullptr;
    record->FolderType = ftFolder;
    if (ParentNode == nullptr) {
        SHGetDesktopFolder(record->ShellFolder.put());
    } else {
        BindFolder(*record, ItemIdList, parentFolder);
        if (parentType == ftNetworkNeighborhood) {
            record->FolderType = ftNetNode;
            record->Path = "\\\\" + names.InFolderName;
        }
    }

    // The node comes with its text; its pictures, overlay and button follow before anything draws it.
    TTreeNode* node = InsertFolderNode(ParentNode, std::move(record), isVirtual,
                                       CasedName(names.InFolderName, FDisplayMode));
    node->DeferImages();
    node->SetOverlayIndex((attributes & SFGAO_SHARE) != 0 ? 0 : (attributes & SFGAO_LINK) != 0 ? 1 : -1);
    node->SetHasChildren((attributes & SFGAO_HASSUBFOLDER) != 0);
    return node;
}

// The record of a new node, with the item's absolute list (its parent's and its own first item) from
// the control's heap. The icons are asked of the shell when the tree first needs them; an item outside
// the file system is asked about through the list it was given, so that list is kept as well. Until a
// node holds the record, dropping it gives everything back.
TCvFolderTree::FolderRecord TCvFolderTree::NewFolderRecord(LPCITEMIDLIST ItemIdList,
                                                           const TFolderNode* parent, bool isVirtual) {
    FolderRecord record(new TFolderNode, [this](TFolderNode* unplaced) { DisposeRecord(unplaced); });
    const UINT parentSize = parent != nullptr ? parent->ItemIdListSize : 0;
    BYTE* absolute = NodeListHeap.Allocate(parentSize + FirstItemSize(ItemIdList) + 2);
    record->ItemIdList = reinterpret_cast<LPITEMIDLIST>(absolute);
    record->ItemIdListSize = static_cast<WORD>(
        AppendFirstItem(absolute, parent != nullptr ? parent->ItemIdList : nullptr, parentSize, ItemIdList));
    if (isVirtual) {
        record->IconItemIdList = NodeListHeap.Copy(ItemIdList, ItemIdListSize(ItemIdList));
    }
    return record;
}

// The root goes first among the tree's top-level nodes; an item outside the file system goes first
// among its siblings when the options ask for it. The node holds the record from then on, and FreeNode
// frees it.
TTreeNode* TCvFolderTree::InsertFolderNode(TTreeNode* ParentNode, FolderRecord record, bool isVirtual,
                                           const std::string& text) {
    TTreeNode* node;
    if (ParentNode == nullptr) {
        node = Items->AddObjectFirst(Selected(), text, record.get());
    } else if (isVirtual && FFolderOptions.Contains(foVirtualFirst)) {
        node = Items->AddChildObjectFirst(ParentNode, text, record.get());
    } else {
        node = Items->AddChildObject(ParentNode, text, record.get());
    }
    record.release();
    return node;
}

void TCvFolderTree::GetImageIndex(TTreeNode* Node) {
    SupplyImages(Node);
}

void TCvFolderTree::GetSelectedIndex(TTreeNode* Node) {
    SupplyImages(Node);
}

// The node's two pictures exactly as node creation would have asked for them: the item's icon, and
// for a folder its open icon as the selected picture.
void TCvFolderTree::SupplyImages(TTreeNode* Node) {
    TFolderNode* record = RecordOf(Node);
    if (record == nullptr) {
        return;
    }
    const LPCITEMIDLIST list =
        record->IconItemIdList != nullptr ? record->IconItemIdList : record->ItemIdList;
    const int image = SystemIconIndex(list, SHGFI_SYSICONINDEX | SHGFI_PIDL);
    const int selected =
        record->IsFolder ? SystemIconIndex(list, SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_OPENICON) : image;
    NodeListHeap.Free(record->IconItemIdList);
    record->IconItemIdList = nullptr;
    Node->SetImageIndex(image);
    Node->SetSelectedIndex(selected);
}

void TCvFolderTree::DisposeRecord(TFolderNode* record) {
    NodeListHeap.Free(record->ItemIdList);
    NodeListHeap.Free(record->IconItemIdList);
    delete record;  // with it its folder reference and its texts
}

void TCvFolderTree::FreeNode(TObject* /*Sender*/, TTreeNode* Node) {
    if (TFolderNode* record = RecordOf(Node)) {
        DisposeRecord(record);
        Node->SetData(nullptr);
    }
}

void TCvFolderTree::FreePidl(LPITEMIDLIST ItemIdList) {
    if (ItemIdList != nullptr && ShellMalloc && ShellMalloc->DidAlloc(ItemIdList) > 0) {
        ShellMalloc->Free(ItemIdList);
    }
}

ComPtr<IShellFolder> TCvFolderTree::NodeShellFolder(TTreeNode* Node) {
    const TFolderNode* record = RecordOf(Node);
    return record != nullptr ? record->ShellFolder : nullptr;
}

TFolderType TCvFolderTree::NodeType(TTreeNode* Node) {
    const TFolderNode* record = RecordOf(Node);
    return record != nullptr ? record->FolderType : ftNone;
}

LPCITEMIDLIST TCvFolderTree::NodeItemIdList(TTreeNode* Node) {
    const TFolderNode* record = RecordOf(Node);
    return record != nullptr ? record->ItemIdList : nullptr;
}

void TCvFolderTree::SetDisplayMode(TDisplayMode Value) {
    FDisplayMode = Value;
    if (!FActive) {
        return;
    }
    std::vector<TTreeNode*> pending;
    if (TTreeNode* desktop = GetDesktopNode()) {
        pending.push_back(desktop);
    }
    while (!pending.empty()) {
        TTreeNode* node = pending.back();
        pending.pop_back();
        if (const TFolderNode* record = RecordOf(node)) {
            node->SetText(CasedName(record->Name, FDisplayMode));
        }
        for (int i = node->Count() - 1; i >= 0; --i) {
            pending.push_back(node->Item(i));
        }
    }
}

TPathInfo TCvFolderTree::fGetSpecialFolder(int Csidl) {
    TPathInfo info;
    if (FAILED(SHGetSpecialFolderLocation(ParentWindow(), Csidl, &info.ItemIdList))) {
        info.ItemIdList = nullptr;
        return info;
    }
    char path[MAX_PATH] = {};
    SHGetPathFromIDListA(info.ItemIdList, path);
    info.Path = std::string(path, strnlen(path, sizeof path));
    return info;
}

// The shell builds its system image list on the first question about an icon, at a cost in time and
// memory that a program which never shows the tree need not pay: the list is asked for when the tree's
// window first draws from it, or when code first asks for its handle.
void TCvFolderTree::RetrieveSysImageList() {
    SysImages = new TImageList(this);
    SysImages->SetShareImages(true);
    SysImages->SetHandleSource([this] {
        TPathInfo desktopDirectory = fGetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
        SHFILEINFOA info{};
        const DWORD_PTR list = SHGetFileInfoA(reinterpret_cast<LPCSTR>(desktopDirectory.ItemIdList), 0, &info,
                                              sizeof info, SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON);
        FreePidl(desktopDirectory.ItemIdList);
        return reinterpret_cast<HIMAGELIST>(list);
    });
}
