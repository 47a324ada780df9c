// TCvFolderTree: switching the tree on and off, keeping it up to date with the shell's change
// notifications, and answering Windows' question before the session ends.
#include <utility>

#include "foldertree/Cvfoldertree.h"
#include "foldertree/KeepNodeOnFailure.h"
#include "foldertree/TreeScopes.h"
#include "platform/Kernel.h"

using namespace platform;

namespace {

// Folders created, removed or given a new name, and media inserted or removed, from the file system's
// interrupts and from the shell's announcements alike. The interrupts come from the desktop's own
// level only (no SHCNRF_RecursiveInterrupt): the file system would otherwise watch every folder of every
// drive while the dialog is open, and the shell announces what its own windows change anyway.
constexpr int kNotifySources = SHCNRF_InterruptLevel | SHCNRF_ShellLevel;
// SHCNE_UPDATEDIR too: the shell merges many events about one folder's items into it, and a tree
// that passed over it would keep showing folders that are gone and miss new ones.
constexpr LONG kNotifyEvents = SHCNE_MKDIR | SHCNE_RMDIR | SHCNE_MEDIAINSERTED | SHCNE_MEDIAREMOVED |
                               SHCNE_RENAMEFOLDER | SHCNE_UPDATEDIR;
static_assert(kNotifySources == 0x0003 && kNotifyEvents == 0x21078);

}  // namespace

void TCvFolderTree::SetActive(bool Value) {
    if (Value) {
        Activate();
    } else {
        Deactivate();
    }
}

void TCvFolderTree::Activate() {
    if (FActive) {
        return;
    }
    FActive = true;
    ShowDesktop();
    SetFolderOptions(FFolderOptions);
    SetDisplayMode(FDisplayMode);
    RegisterChangeNotify();
}

void TCvFolderTree::Deactivate() {
    DeregisterChangeNotify();
    if (TTreeNode* desktop = Items->GetFirstNode()) {
        desktop->Delete();  // every other node of the tree lies below it
    }
    FActive = false;
}

void TCvFolderTree::RegisterChangeNotify() {
    // A registration that is still running would go on posting unseen, its entry lost.
    DeregisterChangeNotify();
    // The whole namespace, from the desktop down.
    NotifyEntry = new SHChangeNotifyEntry{nullptr, 1};
    NotifyId = ShChangeNotifyRegisterProc != nullptr
                   ? ShChangeNotifyRegisterProc(NotifyWindow, kNotifySources, kNotifyEvents, WM_SHNOTIFY, 1,
                                                NotifyEntry)
                   : 0;
    if (NotifyId == 0) {
        throw Exception("Could not register SHChangeNotify");  // the entry goes at the next deregistration
    }
}

void TCvFolderTree::DeregisterChangeNotify() {
    delete std::exchange(NotifyEntry, nullptr);
    if (const ULONG id = std::exchange(NotifyId, 0); id != 0 && ShChangeNotifyDeregisterProc != nullptr) {
        ShChangeNotifyDeregisterProc(id);
    }
}

// A change notification is posted, so nobody reads its answer: it stays 0, as for any other event.
void TCvFolderTree::MessageProc(TMessage& Message) {
    if (Message.Msg == WM_SHNOTIFY) {
        ShellChanged(Message.WParam, Message.LParam);
    } else {
        Message.Result = DefWindowProcA(NotifyWindow, Message.Msg, Message.WParam, Message.LParam);
    }
}

// One change notification: wParam points to the event's two lists, lParam holds the event. The tree
// follows new, removed and renamed folders, folders whose contents changed, and changed media, and
// passes over every other event.
// The lists stay the shell's, which frees them once the message has been handled: they are read here,
// never freed (freeing them too would free each block twice and corrupt the heap).
void TCvFolderTree::ShellChanged(WPARAM wParam, LPARAM lParam) {
    const auto* items = reinterpret_cast<const LPCITEMIDLIST*>(wParam);
    const LPCITEMIDLIST first = items != nullptr ? items[0] : nullptr;
    Change change{static_cast<DWORD>(lParam) & ~SHCNE_INTERRUPT, {}};
    KeepNodeOnFailure([&] { change.path = ParsePidl(first); });
    if (Filling > 0) {
        // Inside a fill's message loop: the nodes being filled must stay as they are until it is over.
        HeldChanges.push_back(std::move(change));
        return;
    }
    FollowHeldChanges(nullptr);
    FollowChange(change);
}

void TCvFolderTree::FollowChange(const Change& change) {
    const std::string& path = change.path;
    switch (change.event) {
        case SHCNE_MKDIR:
            // The deepest node on the way: the new folder's parent, or the new folder itself when its
            // parent's folders were loaded only now.
            if (TTreeNode* node = LocatePath(path, PathReach::DeepestLoading, false)) {
                RefreshFolder(node);
            }
            break;
        case SHCNE_RMDIR:
        case SHCNE_RENAMEFOLDER:
            // The folder's parent, when the folder was in the tree at all (the old name for a rename).
            if (TTreeNode* node = LocatePath(path, PathReach::Whole, false);
                node != nullptr && node->Parent() != nullptr) {
                RefreshFolder(node->Parent());
            }
            break;
        case SHCNE_UPDATEDIR:
            // Many changes in one folder, which the shell sent as one: its folders are reloaded when
            // they were loaded; otherwise it gets its button back, to be read on its next expansion.
            if (TTreeNode* node = LocatePath(path, PathReach::Whole, false)) {
                if (node->Count() > 0) {
                    RefreshFolder(node);
                } else {
                    node->SetHasChildren(true);
                }
            }
            break;
        case SHCNE_MEDIAINSERTED:
        case SHCNE_MEDIAREMOVED:
            // An item without a file-system path names no drive.
            if (!path.empty()) {
                DriveChanged(this, path.front(), false);
            }
            break;
        default:
            break;
    }
}

TTreeNode* TCvFolderTree::ChangedNode(const Change& change) {
    switch (change.event) {
        case SHCNE_MKDIR:
            return LocatePath(change.path, PathReach::DeepestLoaded, false);
        case SHCNE_RMDIR:
        case SHCNE_RENAMEFOLDER: {
            TTreeNode* node = LocatePath(change.path, PathReach::Whole, false);
            return node != nullptr ? node->Parent() : nullptr;
        }
        case SHCNE_UPDATEDIR:
            return LocatePath(change.path, PathReach::Whole, false);
        case SHCNE_MEDIAINSERTED:
        case SHCNE_MEDIAREMOVED:
            return change.path.empty() ? nullptr : DriveNode(change.path.front());
        default:
            return nullptr;
    }
}

// The changes held during a fill of `filled` (none: the tree is idle), followed in order. The fill read
// the shell after them, so `filled` needs none of them, but a drive takes its new name. A change that
// would reload a level above `filled` waits for the next change or fill: the expansion under way still
// holds that level.
void TCvFolderTree::FollowHeldChanges(TTreeNode* filled) {
    if (FollowingHeld > 0) {
        return;  // the loop below takes up what a fill inside it holds
    }
    Nesting following(FollowingHeld);
    std::vector<Change> waiting;
    while (!HeldChanges.empty()) {
        const Change change = std::move(HeldChanges.front());
        HeldChanges.erase(HeldChanges.begin());
        TTreeNode* node = filled != nullptr ? ChangedNode(change) : nullptr;
        if (node == nullptr || (node != filled && !filled->HasAsParent(node))) {
            FollowChange(change);
        } else if (node != filled) {
            waiting.push_back(change);
        } else if (change.event == SHCNE_MEDIAINSERTED || change.event == SHCNE_MEDIAREMOVED) {
            KeepNodeOnFailure([&] { RefreshDrive(change.path.front(), DriveRefresh::NameOnly); });
        }
    }
    HeldChanges = std::move(waiting);
}

// Reloads a node's folders in their sorted order, and shows the node as it was shown before.
void TCvFolderTree::RefreshFolder(TTreeNode* Node) {
    const bool expanded = Node->Expanded();
    if (expanded) {
        PaintingLock lock(Handle());
        Node->Collapse(true);
    }
    FreeChildren(Node);
    if (Node == GetDesktopNode()) {
        // My Computer stays below the desktop, so the expansion would find children and load nothing;
        // and it keeps the desktop's button whatever the desktop's own folders are.
        AttachFolders(Node);
        Node->SetHasChildren(Node->GetFirstChild() != nullptr);
    }
    bool allow = true;
    TFolderTreeExpanding(this, Node, allow);
    if (expanded) {
        Node->Expand(false);
    }
}

void TCvFolderTree::WndProc(TMessage& Message) {
    if (Message.Msg != WM_QUERYENDSESSION) {
        TCustomTreeView::WndProc(Message);
        return;
    }
    QueryEndSession(Message);
    // The message still reaches the common control, but its default answer is always yes: the owner's
    // answer is the one that counts.
    const LRESULT answer = Message.Result;
    TCustomTreeView::WndProc(Message);
    Message.Result = answer;
}

void TCvFolderTree::QueryEndSession(TMessage& Message) {
    bool canEndSession = true;
    if (OnEndSessionQuery) {
        OnEndSessionQuery(this, canEndSession);
    }
    if (canEndSession) {
        DeregisterChangeNotify();  // not renewed should Windows go on running after all
        Message.Result = 1;
    } else {
        Message.Result = 0;
    }
}
