// TCvFolderTree: a tree view of the shell namespace's folders. One top-level node for the desktop;
// under it My Computer with the drives, the folders that lie on the desktop, and on request the Recycle
// Bin and Network Neighborhood. Each node carries the system's icon for its item; a node's children
// come from the shell on its first expansion, folders only, sorted.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foldertree/ItemIdListHeap.h"
#include "framework/ComCtrls.h"
#include "framework/ImgList.h"
#include "framework/Messages.h"
#include "framework/SmallSet.h"
#include "platform/Shell.h"

enum TDisplayMode : std::uint8_t { dmAsis, dmUppercase, dmLowercase };

enum TFolderType : std::uint8_t {
    ftFolder,
    ftNetworkNeighborhood,
    ftRecycleBin,
    ftMyComputer,
    ftDesktop,
    ftNetNode,
    ftNone,  // only ever answered, never stored
};

enum TFolderOption : std::uint8_t { foNetworkNeighborhood, foRecycleBin, foVirtualFirst };

using SFolderOption = SmallSet<TFolderOption>;
using SFolderTypes = SmallSet<TFolderType>;
static_assert(sizeof(SFolderOption) == 1 && sizeof(SFolderTypes) == 1);

using TEndSessionQueryEvent = std::function<void(TObject* Sender, bool& CanEndSession)>;

// The record behind each node's data pointer: made with the node, freed by FreeNode when the tree
// deletes the node.
struct TFolderNode {
    std::string Path;  // the parsing name; the special roots carry their own
    std::string Name;  // the in-folder name, before casing
    bool IsChild = false;
    platform::ComPtr<platform::IShellFolder> ShellFolder;  // empty when binding failed
    TFolderType FolderType = ftFolder;
    platform::WORD ItemIdListSize = 0;            // without the terminator
    platform::LPITEMIDLIST ItemIdList = nullptr;  // absolute, from the control's own heap

    // What the icon look-up needs when the tree first asks for the node's pictures: whether the item
    // is a folder, and for an item outside the file system its list as it was given (a heap copy),
    // which is what the shell is asked about for such an item.
    bool IsFolder = false;
    platform::LPITEMIDLIST IconItemIdList = nullptr;
};

// A special folder. The list is the shell's allocation; whoever asked frees it with FreePidl. Its icons
// are not asked here: a root made from it asks for them when the tree first draws it, as every node does.
struct TPathInfo {
    std::string Path;         // its file-system path; empty when it has none
    std::string DisplayName;  // empty unless fGetNetHood fills it
    platform::LPITEMIDLIST ItemIdList = nullptr;
};

// The three names of one item, as its folder gives them.
struct TFilePathList {
    std::string DisplayName;   // SHGDN_NORMAL
    std::string ParsingName;   // SHGDN_FORPARSING
    std::string InFolderName;  // SHGDN_INFOLDER
};

class TCvFolderTree : public TCustomTreeView {
public:
    // The owner must be a windowed control; it becomes the tree's parent.
    explicit TCvFolderTree(TComponent* AOwner);
    ~TCvFolderTree() override;

    // The properties and the event a window layout sets.
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    SFolderOption FolderOptions() const { return FFolderOptions; }
    void SetFolderOptions(SFolderOption Value);
    TDisplayMode DisplayMode() const { return FDisplayMode; }
    void SetDisplayMode(TDisplayMode Value);
    // Asked before the session ends; CanEndSession arrives true, and false keeps the registration.
    TEndSessionQueryEvent OnEndSessionQuery;

    // A node's record, for users of the control. A null node has none: an empty folder, ftNone, null.
    platform::ComPtr<platform::IShellFolder> NodeShellFolder(TTreeNode* Node);
    TFolderType NodeType(TTreeNode* Node);
    // Owned by the node: not to be freed.
    platform::LPCITEMIDLIST NodeItemIdList(TTreeNode* Node);

    // The roots.
    TTreeNode* GetDesktopNode();
    TTreeNode* GetMyComputerNode() { return GetSpecialNode(ftMyComputer); }
    TTreeNode* GetNetHoodNode() { return GetSpecialNode(ftNetworkNeighborhood); }
    TTreeNode* GetBitBucketNode() { return GetSpecialNode(ftRecycleBin); }

    // Paths. A node's file-system path: empty for the roots without one and for the computers under
    // Network Neighborhood; a drive written C: is given as C:\.
    std::string GetPath(TTreeNode* Node);
    std::string GetDirectory();  // of the selected node
    // Selects the node of the path (loading the levels on the way), or nothing for an empty path, and
    // re-checks a node whose folder is no longer there.
    void SetDirectory(const std::string& Path);
    // The node of the path. Without ExactMatch the levels on the way are loaded and the deepest node
    // matched is the answer; with it nothing is loaded and only the node of the whole path will do.
    // A path whose root is not in the tree (too short, a drive My Computer does not list, a network
    // path while Network Neighborhood is hidden, an inactive tree) gives null and clears the selection.
    TTreeNode* FindPath(const std::string& Path, bool ExactMatch);

    // Deletes a node's children but My Computer and Network Neighborhood, and gives it its expand button
    // back: its next expansion loads its folders afresh.
    void FreeChildren(TTreeNode* Node);

    // The names of an item, as a node is made from them; without a folder the desktop's stands in, and the
    // list is absolute. Public, with FreePidl, for the tree host that times what each item costs.
    TFilePathList GetLongFilePath(platform::LPCITEMIDLIST ItemIdList, platform::IShellFolder* Folder);
    // Frees a list that the shell allocated; a list that the task allocator does not claim is left alone.
    void FreePidl(platform::LPITEMIDLIST ItemIdList);

    // What the framework asks of every tree view. A node's pictures are asked of the shell when first
    // needed, with what CreateFolderNode found; the window procedure answers Windows' question whether
    // the session may end.
    void GetImageIndex(TTreeNode* Node) override;
    void GetSelectedIndex(TTreeNode* Node) override;
    void WndProc(TMessage& Message) override;
    void SetProperty(std::string_view name, std::string_view value) override;

protected:
    void WMLButtonDblClk(TMessage& Message) override;

private:
    // The tests work the steps below one at a time through their fixture.
    friend class FolderTreeTest;

    // Names (never fail; empty when the shell gives nothing).
    std::string GetPathName(platform::LPCITEMIDLIST ItemIdList, platform::DWORD Flags,
                            platform::IShellFolder* Folder);
    // Nodes. `ItemIdList` is relative to the parent's folder (to the desktop without a parent); only its
    // first item counts. Null when the item is outside the file system and not forced.
    TTreeNode* CreateFolderNode(platform::LPCITEMIDLIST ItemIdList, TTreeNode* ParentNode, bool Force);
    void RetrieveSysImageList();
    TPathInfo fGetSpecialFolder(int Csidl);
    void FreeNode(TObject* Sender, TTreeNode* Node);

    // Enumeration.
    bool AttachFolders(TTreeNode* Node);
    void TFolderTreeExpanding(TObject* Sender, TTreeNode* Node, bool& Allow);

    // Special roots.
    void ShowDesktop();
    void ShowRecycleBin();
    void ShowNetHood();
    TPathInfo fGetNetHood();
    TTreeNode* GetSpecialNode(TFolderType FolderType);

    // Paths.
    // The file-system path of an absolute list; empty for an item without one.
    std::string ParsePidl(platform::LPCITEMIDLIST ItemIdList);
    // The letter of the lowest drive in a mask (bit 0 = A): 'A' plus the bit's index. A mask without a
    // drive has no letter: the answer is then '\0'.
    static char GetFirstDriveLetter(platform::DWORD Mask);
    // Re-checks the selected node: a root gets its expand button back, so that it is loaded afresh on
    // the next expansion; a folder that has gone takes its drive's loaded folders with it.
    void CheckPath();
    // The handler of a double click: the selected node is re-checked before the tree raises OnDblClick.
    void TFolderTreeDblClick(TMessage& Message);
    // Refreshes the node of a drive under My Computer: when its name changed (a medium inserted or
    // taken out), or always with Force, it gets the new name and loses its loaded folders. Never
    // raises; whatever fails leaves the tree as it was at that point.
    void DriveChanged(TObject* Sender, char Drive, bool Force);

    // Filling and emptying, and keeping up with the shell.
    // Builds the tree and registers for the shell's change notifications; raises when the registration
    // fails, leaving the tree built and Active true.
    void Activate();
    void Deactivate();
    void RegisterChangeNotify();
    // Safe to call when not registered, any number of times.
    void DeregisterChangeNotify();
    // The window procedure of the hidden notification window.
    void MessageProc(TMessage& Message);
    void QueryEndSession(TMessage& Message);

    static TFolderNode* RecordOf(TTreeNode* Node);
    static const std::string& PathOf(TTreeNode* Node);
    // How far a path is followed: to the node of the whole path only; to the deepest node, loading the
    // levels on the way; to the deepest node of what is loaded. All but the last load My Computer's
    // drives when they are not there.
    enum class PathReach { Whole, DeepestLoading, DeepestLoaded };
    TTreeNode* LocatePath(std::string_view path, PathReach reach, bool clearsSelection);
    TTreeNode* MatchRoot(TTreeNode* desktop, const std::string& first, bool loads);
    TTreeNode* DriveNode(char drive);
    // What a drive's refresh does: drop its loaded folders when its name changed, or always; or take
    // its new name alone.
    enum class DriveRefresh { WhenRenamed, Always, NameOnly };
    void RefreshDrive(char drive, DriveRefresh how);
    bool FillLevel(TTreeNode* Node);

    // A change that the shell announced, as the tree follows it.
    struct Change {
        platform::DWORD event;  // without SHCNE_INTERRUPT
        std::string path;       // of its first item; empty for an item without one
    };
    void ShellChanged(platform::WPARAM wParam, platform::LPARAM lParam);
    void FollowChange(const Change& change);
    // The node that a change reloads or renames, found in what is loaded.
    TTreeNode* ChangedNode(const Change& change);
    void FollowHeldChanges(TTreeNode* filled);
    void RefreshFolder(TTreeNode* Node);
    platform::HWND ParentWindow() const;
    void DisposeRecord(TFolderNode* record);
    // A record that no node holds yet; dropping it gives back what it holds.
    using FolderRecord = std::unique_ptr<TFolderNode, std::function<void(TFolderNode*)>>;
    FolderRecord NewFolderRecord(platform::LPCITEMIDLIST ItemIdList, const TFolderNode* parent,
                                 bool isVirtual);
    TTreeNode* InsertFolderNode(TTreeNode* ParentNode, FolderRecord record, bool isVirtual,
                                const std::string& text);
    void SupplyImages(TTreeNode* Node);
    TTreeNode* AddSpecialRoot(TPathInfo& info, TFolderType type, const std::string& path, bool nameFromShell);

    // The tree's state, each under the name its description gives it; a property's stored value is the
    // property's name after an F.
    platform::HMODULE Shell32Module = nullptr;
    TCustomImageList* SysImages = nullptr;
    std::string DesktopPath;
    platform::HWND NotifyWindow = nullptr;
    TDisplayMode FDisplayMode = dmAsis;
    SFolderOption FFolderOptions;
    platform::ComPtr<platform::IMalloc> ShellMalloc;
    platform::SHChangeNotifyEntry* NotifyEntry = nullptr;
    platform::ULONG NotifyId = 0;
    bool FActive = false;
    TItemIdListHeap NodeListHeap;  // the nodes' own lists, apart from the shell's allocator
    // Filling a level may run a message loop (the shell's prompt for a disk), in which changes arrive:
    // they are held until the fill is over. The levels being filled, one inside another, and the
    // following of held changes under way.
    std::vector<Change> HeldChanges;
    int Filling = 0;
    int FollowingHeld = 0;
};

// The message that the shell posts to the notification window for each change.
inline constexpr platform::UINT WM_SHNOTIFY = platform::WM_USER + 2;

// The change-notification entry points of shell32.dll, taken by ordinal by every constructor.
extern platform::PFNSHCHANGENOTIFYREGISTER ShChangeNotifyRegisterProc;
extern platform::PFNSHCHANGENOTIFYDEREGISTER ShChangeNotifyDeregisterProc;

// The order of siblings: the special roots first, then the texts by their bytes, ASCII letters folded.
int CustomSortProc(TTreeNode* Node1, TTreeNode* Node2, std::intptr_t Data);
// The same order as one key per node, made once: keys compared byte by byte (a key that begins another
// first) order nodes as CustomSortProc does, without its work for every pair. A level of thousands of
// folders is sorted by these.
std::string SortKey(TTreeNode* Node);
// A node's text: the name cased by the display mode (ASCII letters only).
std::string CasedName(std::string name, TDisplayMode mode);
