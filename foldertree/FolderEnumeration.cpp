// TCvFolderTree: a node's children from the shell on its first expansion, folders only, and their
// order.
#include <algorithm>

#include "foldertree/Cvfoldertree.h"
#include "foldertree/KeepNodeOnFailure.h"
#include "foldertree/TreeScopes.h"
#include "platform/AsciiCase.h"
#include "platform/CharacterScan.h"

using namespace platform;

namespace {

TFolderType TypeOf(TTreeNode* node) {
    const auto* record = static_cast<const TFolderNode*>(node->Data());
    return record != nullptr ? record->FolderType : ftNone;
}

bool IsSpecial(TTreeNode* node) {
    const TFolderType type = TypeOf(node);
    return type == ftNetworkNeighborhood || type == ftRecycleBin || type == ftMyComputer;
}

// The byte at `at` as the sort reads it: a letter a to z as its capital, unless it is the second byte of
// a double-byte character (`second`, which is moved on to the next byte); past the end, the text's zero.
unsigned char SortByte(const std::string& text, std::size_t at, bool& second) {
    if (at >= text.size()) {
        return 0;
    }
    const bool isSecond = second;
    second = !isSecond && IsLeadByte(text[at]);
    return static_cast<unsigned char>(isSecond ? text[at] : AsciiUpper(text[at]));
}

}  // namespace

int CustomSortProc(TTreeNode* Node1, TTreeNode* Node2, std::intptr_t /*Data*/) {
    const bool special1 = IsSpecial(Node1);
    const bool special2 = IsSpecial(Node2);
    if (special1 != special2) {
        return special1 ? -1 : 1;
    }
    if (special1) {
        return 0;  // two special roots keep the order they have
    }
    const std::string& text1 = Node1->Text();
    const std::string& text2 = Node2->Text();
    const std::size_t length = std::min(text1.size(), text2.size());
    bool second1 = false;
    bool second2 = false;
    for (std::size_t i = 0; i <= length; ++i) {
        // Past its end a text reads as its terminating zero, so a prefix sorts first.
        const unsigned char a = SortByte(text1, i, second1);
        const unsigned char b = SortByte(text2, i, second2);
        if (a != b) {
            return static_cast<int>(a) - static_cast<int>(b);
        }
    }
    return 0;
}

std::string SortKey(TTreeNode* Node) {
    if (IsSpecial(Node)) {
        return std::string(1, '\0');
    }
    const std::string& text = Node->Text();
    std::string key(1 + text.size(), '\1');
    bool second = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        key[i + 1] = static_cast<char>(SortByte(text, i, second));
    }
    return key;
}

// A fill may run a message loop: the shell asks for a disk that is not in its drive, and the user can
// insert it meanwhile. Changes that arrive then are held, and followed once the outermost fill is over.
bool TCvFolderTree::AttachFolders(TTreeNode* Node) {
    bool result = false;
    {
        Nesting fill(Filling);
        result = FillLevel(Node);
    }
    if (Filling == 0) {
        FollowHeldChanges(Node);
    }
    return result;
}

bool TCvFolderTree::FillLevel(TTreeNode* Node) {
    const THourGlass hourGlass;
    PaintingLock lock(Handle());
    TFolderNode* record = RecordOf(Node);
    if (record == nullptr || !record->ShellFolder) {
        return false;  // nothing to enumerate with; the button stays as it is
    }
    bool result = false;
    bool hasChildren = true;
    ComPtr<IEnumIDList> items;
    // The dialog's window owns whatever the shell shows meanwhile: its prompt for a disk that is not in
    // the drive, which lets the user insert it and go on.
    const HRESULT listed = record->ShellFolder->EnumObjects(
        ParentWindow(), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, items.put());
    // S_FALSE: the folder has no folders, and gives no enumerator to say so.
    if (listed == S_OK || listed == S_FALSE) {
        hasChildren = false;
    }
    if (listed == S_OK) {
        items->Reset();
        LPITEMIDLIST item = nullptr;
        ULONG fetched = 0;
        while (items->Next(1, &item, &fetched) == S_OK) {
            ShellList given(*this, item);
            if (CreateFolderNode(item, Node, false) != nullptr) {
                hasChildren = true;
                result = true;
            }
        }
    }
    Node->SetHasChildren(hasChildren);
    // Drives and computers stay in the shell's order.
    const TFolderType type = record->FolderType;
    if (type != ftNetworkNeighborhood && type != ftMyComputer && hasChildren) {
        Node->SortByKeys(SortKey);
    }
    return result;
}

void TCvFolderTree::TFolderTreeExpanding(TObject* /*Sender*/, TTreeNode* Node, bool& Allow) {
    const bool ran = KeepNodeOnFailure([&] {
        if (Node->Count() > 0) {
            Allow = true;
            return;
        }
        PaintingLock lock(Handle());
        Allow = AttachFolders(Node);
    });
    if (!ran) {
        Allow = false;  // a level that could not be filled does not open
    }
}

void TCvFolderTree::FreeChildren(TTreeNode* Node) {
    for (int i = Node->Count() - 1; i >= 0; --i) {
        TTreeNode* child = Node->Item(i);
        const TFolderType type = TypeOf(child);
        if (type != ftNetworkNeighborhood && type != ftMyComputer) {
            child->Delete();
        }
    }
    Node->SetHasChildren(true);
}
