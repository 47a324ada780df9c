// cvtreehost: the folder tree on a form of its own under the real API, worked through its window as a
// person or another program would, for the end-to-end scenarios and the benchmark. It runs its steps
// in order, in one process: Wine delivers the shell's change notifications only to the process that
// announces the change.
//
//   cvtreehost STEP...
//     show               the tree as the control shows it: each item of an open level, with its level,
//                        text, picture, selected picture, overlay, expand button and whether it is open;
//                        then every difference found between the control's items and the tree's nodes
//     drives             My Computer's items as the shell lists them: its folders in order, the others
//     hidden PATH        the subfolders of PATH that the shell lists only with the hidden ones
//     expand PATH        opens the folders of PATH one level at a time through the control (TVM_EXPAND)
//     select PATH        picks the node of PATH through the control (TVM_SELECTITEM)
//     dblclick PATH      double-clicks the item of PATH
//     mkdir PATH | rmdir PATH | rename OLD NEW
//                        changes the folder and announces it with SHChangeNotify
//     setdir PATH        SetDirectory, then GetDirectory
//     regid              the id of the tree's shell registration
//     refuse-end         from now on the tree's owner says no before the session ends
//     endsession         asks the form whether the session may end (WM_QUERYENDSESSION)
//     bench PATH RUNS    times the first expansion of PATH against a bare enumeration of its folder
//     echo TEXT          prints "== TEXT", to tell the output of the steps apart
//     freetwice          frees one of the shell's item ID lists twice, as the tree must never free the
//                        lists of a notification: what Wine's heap warnings then show
//
// A PATH that starts with DESKTOP\ lies in the desktop's folder.
//
// The tree's events print as they come: "change: DIRECTORY", "click", "dblclick". Exit code 0 when
// every step ran, 1 when one could not (its reason on stderr), 3 on a usage error.
#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "foldertree/Cvfoldertree.h"
#include "framework/Forms.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "tools/cvtool.h"

namespace {

using cvtool::Format;
using cvtool::Print;

struct StepFailed {
    std::string reason;
};

struct Usage {};

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The shell folder of a file-system PATH, bound from the desktop; the caller releases it.
IShellFolder* BindFolder(const std::string& path) {
    IShellFolder* desktop = nullptr;
    SHGetDesktopFolder(&desktop);
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    LPITEMIDLIST list = nullptr;
    IShellFolder* folder = nullptr;
    const bool bound =
        SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wide, nullptr, &list, nullptr)) &&
        SUCCEEDED(desktop->BindToObject(list, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder)));
    CoTaskMemFree(list);
    desktop->Release();
    if (!bound) {
        throw StepFailed{"the shell cannot bind to " + path};
    }
    return folder;
}

// ---- the shell registration, watched through the entry points that every tree takes ----

platform::PFNSHCHANGENOTIFYREGISTER realRegister = nullptr;
platform::PFNSHCHANGENOTIFYDEREGISTER realDeregister = nullptr;
platform::ULONG registeredId = 0;

platform::ULONG CV_WINAPI RecordRegister(platform::HWND window, int sources, platform::LONG events,
                                         platform::UINT message, int count,
                                         platform::SHChangeNotifyEntry* entries) {
    registeredId = realRegister(window, sources, events, message, count, entries);
    return registeredId;
}

platform::BOOL CV_WINAPI RecordDeregister(platform::ULONG id) {
    Print(Format("deregistered: %lu", static_cast<unsigned long>(id)));
    return realDeregister(id);
}

// ---- the host ----

class Host {
public:
    Host();
    ~Host() { delete form_; }
    void Run(const std::vector<std::string>& steps);

private:
    using Arguments = std::vector<std::string>;
    // A step of the command line: its name, the number of arguments that follow it, what it does.
    struct Step {
        const char* name;
        std::size_t arguments;
        void (*run)(Host& host, const Arguments& arguments);
    };
    static const std::vector<Step>& Steps();

    HWND TreeWindow() const { return reinterpret_cast<HWND>(tree_->Handle()); }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
        return SendMessageA(TreeWindow(), message, wParam, lParam);
    }
    HTREEITEM ItemOf(const TTreeNode* node, HTREEITEM from = TVI_ROOT) const;
    TTreeNode* NodeOf(const std::string& path) const;
    HTREEITEM RequireItem(const std::string& path) const;

    void Show();
    void ShowLevel(HTREEITEM first, int level, bool visible, std::vector<std::string>& differences,
                   int& items);
    void Drives();
    void Hidden(const std::string& path);
    void Expand(const std::string& path);
    void Select(const std::string& path);
    void DoubleClick(const std::string& path);
    void MakeFolder(const std::string& path);
    void RemoveFolder(const std::string& path);
    void RenameFolder(const std::string& from, const std::string& to);
    void Announce(LONG event, const std::string& path, const std::string& second = {});
    void Bench(const std::string& path, int runs);
    double BareEnumeration(const std::string& path);
    void Breakdown(const std::string& path, int runs, double expansion, double enumeration);
    void EndSession();

    TForm* form_ = nullptr;
    TCvFolderTree* tree_ = nullptr;
    bool refuseEnd_ = false;
};

Host::Host() {
    Application->Initialize();
    Application->CreateForm(form_);
    form_->SetCaption("cvtreehost");
    form_->SetBounds(10, 10, 420, 560);
    tree_ = new TCvFolderTree(form_);
    tree_->SetBounds(8, 8, 396, 510);
    realRegister = std::exchange(ShChangeNotifyRegisterProc, &RecordRegister);
    realDeregister = std::exchange(ShChangeNotifyDeregisterProc, &RecordDeregister);
    tree_->OnChange = [this](TObject*, TTreeNode*) { Print("change: " + tree_->GetDirectory()); };
    tree_->OnClick = [](TObject*) { Print("click"); };
    tree_->OnDblClick = [](TObject*) { Print("dblclick"); };
    tree_->OnEndSessionQuery = [this](TObject*, bool& canEnd) { canEnd = !refuseEnd_; };
    // As in the source location dialog: the tree is filled before its window exists.
    tree_->SetActive(true);
    form_->Show();
}

HTREEITEM Host::ItemOf(const TTreeNode* node, HTREEITEM from) const {
    auto item = reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, from == TVI_ROOT ? TVGN_ROOT : TVGN_CHILD,
                                                 from == TVI_ROOT ? 0 : reinterpret_cast<LPARAM>(from)));
    for (; item != nullptr; item = reinterpret_cast<HTREEITEM>(
                                Send(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        TVITEMA asked{};
        asked.mask = TVIF_HANDLE | TVIF_PARAM;
        asked.hItem = item;
        Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&asked));
        if (reinterpret_cast<const TTreeNode*>(asked.lParam) == node) {
            return item;
        }
        if (HTREEITEM below = node->HasAsParent(reinterpret_cast<TTreeNode*>(asked.lParam))
                                  ? ItemOf(node, item)
                                  : nullptr) {
            return below;
        }
    }
    return nullptr;
}

TTreeNode* Host::NodeOf(const std::string& path) const {
    TTreeNode* node = tree_->FindPath(path, true);
    if (node == nullptr) {
        throw StepFailed{"no node for " + path};
    }
    return node;
}

HTREEITEM Host::RequireItem(const std::string& path) const {
    HTREEITEM item = ItemOf(NodeOf(path));
    if (item == nullptr) {
        throw StepFailed{"the control has no item for " + path};
    }
    return item;
}

// What the control shows, read through its messages; and whether it is what the tree holds.
void Host::Show() {
    std::vector<std::string> differences;
    int items = 0;
    ShowLevel(reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_ROOT, 0)), 0, true, differences, items);
    // The control shows the model's selection, or the nearest node above it that is not hidden.
    TTreeNode* selected = tree_->Selected();
    while (selected != nullptr && !selected->IsVisible()) {
        selected = selected->Parent();
    }
    if (reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CARET, 0)) !=
        (selected != nullptr ? ItemOf(selected) : nullptr)) {
        differences.push_back("the control's selection is not the tree's");
    }
    if (items != tree_->Items->Count()) {
        differences.push_back(
            Format("the control has %d items, the tree %d nodes", items, tree_->Items->Count()));
    }
    for (const std::string& difference : differences) {
        Print("differs: " + difference);
    }
    Print(Format("shown: %d items", items));
}

void Host::ShowLevel(HTREEITEM first, int level, bool visible, std::vector<std::string>& differences,
                     int& items) {
    int index = 0;
    for (HTREEITEM item = first; item != nullptr;
         item = reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))),
                   ++index) {
        char text[MAX_PATH] = "";
        TVITEMA shown{};
        shown.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_CHILDREN |
                     TVIF_PARAM;
        shown.hItem = item;
        shown.stateMask = TVIS_OVERLAYMASK | TVIS_EXPANDED;
        shown.pszText = text;
        shown.cchTextMax = sizeof text;
        Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&shown));
        ++items;
        const int overlay = static_cast<int>((shown.state & TVIS_OVERLAYMASK) >> 8) - 1;
        const bool expanded = (shown.state & TVIS_EXPANDED) != 0;
        if (visible) {
            Print(Format("tree: %d \"%s\" image=%d selected=%d overlay=%d children=%d expanded=%d", level,
                         text, shown.iImage, shown.iSelectedImage, overlay, shown.cChildren,
                         expanded ? 1 : 0));
        }
        auto* node = reinterpret_cast<TTreeNode*>(shown.lParam);
        if (node->Text() != text || node->Level() != level || node->Index() != index ||
            node->ImageIndex() != shown.iImage || node->SelectedIndex() != shown.iSelectedImage ||
            node->OverlayIndex() != overlay || node->HasChildren() != (shown.cChildren != 0) ||
            node->Expanded() != expanded) {
            differences.push_back(Format(
                "\"%s\": level %d/%d index %d/%d image %d/%d selected %d/%d overlay %d/%d "
                "children %d/%d expanded %d/%d (control/tree)",
                text, level, node->Level(), index, node->Index(), shown.iImage, node->ImageIndex(),
                shown.iSelectedImage, node->SelectedIndex(), overlay, node->OverlayIndex(), shown.cChildren,
                node->HasChildren() ? 1 : 0, expanded ? 1 : 0, node->Expanded() ? 1 : 0));
        }
        ShowLevel(
            reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))),
            level + 1, visible && expanded, differences, items);
    }
}

// My Computer as the shell itself lists it, for comparison with the tree's drives.
void Host::Drives() {
    IShellFolder* desktop = nullptr;
    LPITEMIDLIST drives = nullptr;
    IShellFolder* computer = nullptr;
    IEnumIDList* items = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop)) ||
        FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives)) ||
        FAILED(
            desktop->BindToObject(drives, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&computer))) ||
        computer->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items) != S_OK) {
        throw StepFailed{"the shell does not list My Computer"};
    }
    LPITEMIDLIST item = nullptr;
    while (items->Next(1, &item, nullptr) == S_OK) {
        STRRET name{};
        char text[MAX_PATH] = "";
        SFGAOF attributes = SFGAO_FILESYSTEM;
        LPCITEMIDLIST one[] = {item};
        computer->GetAttributesOf(1, one, &attributes);
        if (SUCCEEDED(computer->GetDisplayNameOf(item, SHGDN_INFOLDER, &name))) {
            StrRetToBufA(&name, item, text, sizeof text);
        }
        Print(Format("%s \"%s\"",
                     (attributes & SFGAO_FILESYSTEM) != 0 ? "shell-folder:" : "shell-other:", text));
        CoTaskMemFree(item);
    }
    items->Release();
    computer->Release();
    CoTaskMemFree(drives);
    desktop->Release();
}

// The subfolders of PATH that the shell lists only when asked for hidden ones too.
void Host::Hidden(const std::string& path) {
    const auto names = [&](SHCONTF flags) {
        std::vector<std::string> found;
        IShellFolder* folder = BindFolder(path);
        IEnumIDList* items = nullptr;
        if (folder->EnumObjects(nullptr, flags, &items) == S_OK) {
            LPITEMIDLIST item = nullptr;
            while (items->Next(1, &item, nullptr) == S_OK) {
                STRRET name{};
                char text[MAX_PATH] = "";
                if (SUCCEEDED(folder->GetDisplayNameOf(item, SHGDN_INFOLDER, &name))) {
                    StrRetToBufA(&name, item, text, sizeof text);
                }
                found.push_back(text);
                CoTaskMemFree(item);
            }
            items->Release();
        }
        folder->Release();
        return found;
    };
    const std::vector<std::string> shown = names(SHCONTF_FOLDERS);
    for (const std::string& name : names(SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN)) {
        if (std::find(shown.begin(), shown.end(), name) == shown.end()) {
            Print("shell-hidden: \"" + name + "\"");
        }
    }
}

void Host::Expand(const std::string& path) {
    // Each level from the drive down: C:\, C:\a, C:\a\b ...
    std::string folder = path;
    if (folder.size() > 3 && folder.back() == '\\') {
        folder.pop_back();
    }
    std::vector<std::string> levels{folder.substr(0, 3)};
    for (std::size_t at = 3; at < folder.size();) {
        const std::size_t end = std::min(folder.find('\\', at), folder.size());
        levels.push_back(folder.substr(0, end));
        at = end + 1;
    }
    for (const std::string& level : levels) {
        if (!Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(RequireItem(level)))) {
            throw StepFailed{"the control did not open " + level};
        }
    }
}

void Host::Select(const std::string& path) {
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(RequireItem(path)));
}

// A double click in the middle of the item's text, as the mouse gives it.
void Host::DoubleClick(const std::string& path) {
    HTREEITEM item = RequireItem(path);
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item);  // the item goes in, its rectangle comes out
    if (!Send(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect))) {
        throw StepFailed{"the item of " + path + " is not on the screen"};
    }
    const LPARAM where = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, where);
    Send(WM_LBUTTONUP, 0, where);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, where);
    Send(WM_LBUTTONUP, 0, where);
}

void Host::Announce(LONG event, const std::string& path, const std::string& second) {
    SHChangeNotify(event, SHCNF_PATHA | SHCNF_FLUSH, path.c_str(), second.empty() ? nullptr : second.c_str());
}

void Host::EndSession() {
    HWND form = reinterpret_cast<HWND>(form_->Peer()->Handle());
    Print(Format("endsession: %ld", static_cast<long>(SendMessageA(form, WM_QUERYENDSESSION, 0, 0))));
}

// ---- the benchmark ----

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The floor: the folder's own enumeration, as bare as the shell allows, over a folder bound beforehand.
double Host::BareEnumeration(const std::string& path) {
    IShellFolder* folder = BindFolder(path);
    const auto start = Clock::now();
    IEnumIDList* items = nullptr;
    int count = 0;
    if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, &items) == S_OK) {
        LPITEMIDLIST item = nullptr;
        while (items->Next(1, &item, nullptr) == S_OK) {
            CoTaskMemFree(item);
            ++count;
        }
        items->Release();
    }
    const double elapsed = MillisecondsSince(start);
    folder->Release();
    if (count == 0) {
        throw StepFailed{"nothing to enumerate in " + path};
    }
    return elapsed;
}

// From the tree's before-expansion event until the new children are sorted (the event's handler
// returns), the first expansion of the folder each time; run 0 warms the caches and is not counted.
void Host::Bench(const std::string& path, int runs) {
    std::vector<double> tree, whole, floor;
    Clock::time_point eventStart;
    double eventTime = 0;
    const TTVExpandingEvent handler = tree_->OnExpanding;
    tree_->OnExpanding = [&](TObject* sender, TTreeNode* node, bool& allow) {
        eventStart = Clock::now();
        handler(sender, node, allow);
        eventTime = MillisecondsSince(eventStart);
    };
    tree_->FindPath(path, false);  // the levels above it loaded, itself not
    for (int run = 0; run <= runs; ++run) {
        TTreeNode* node = NodeOf(path);
        node->Collapse(false);
        tree_->FreeChildren(node);  // back to never loaded
        const HTREEITEM item = RequireItem(path);
        const double bare = BareEnumeration(path);
        const auto start = Clock::now();
        Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        const double expansion = MillisecondsSince(start);
        if (run == 0) {
            continue;
        }
        tree.push_back(eventTime);
        whole.push_back(expansion);
        floor.push_back(bare);
        Print(Format(
            "bench: run %2d: expansion event %8.1f ms, whole TVM_EXPAND %8.1f ms, bare enumeration %7.1f ms",
            run, eventTime, expansion, bare));
    }
    tree_->OnExpanding = handler;
    const double treeMedian = Median(tree);
    const double floorMedian = Median(floor);
    Print(Format(
        "bench: %s: %d subfolders; medians of %d runs: expansion event %.1f ms, whole TVM_EXPAND %.1f ms, "
        "bare enumeration %.1f ms; expansion / enumeration = %.2f",
        path.c_str(), NodeOf(path)->Count(), runs, treeMedian, Median(whole), floorMedian,
        treeMedian / floorMedian));
    Breakdown(path, runs, treeMedian, floorMedian);
}

// Where the expansion spends its time beyond the bare enumeration: each call the tree makes for every
// item, made again on its own through the same layer over the folder's items and timed (medians of
// `runs`), the sorting of the level by its keys from a shuffled order, and the rest (the nodes, their records
// and whatever else) by difference. The pictures are asked for only when the control first draws a node,
// after the expansion: they are shown apart.
void Host::Breakdown(const std::string& path, int runs, double expansion, double enumeration) {
    TTreeNode* node = NodeOf(path);
    const platform::ComPtr<platform::IShellFolder> folder = tree_->NodeShellFolder(node);
    std::vector<platform::LPITEMIDLIST> items;
    platform::ComPtr<platform::IEnumIDList> listing;
    if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, listing.put()) == S_OK) {
        platform::LPITEMIDLIST item = nullptr;
        platform::ULONG fetched = 0;
        while (listing->Next(1, &item, &fetched) == S_OK) {
            items.push_back(item);
        }
    }
    std::vector<TTreeNode*> children;
    for (TTreeNode* child = node->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        children.push_back(child);
    }
    const auto timed = [runs](const std::function<void()>& work) {
        std::vector<double> times;
        for (int run = 0; run <= runs; ++run) {
            const auto start = Clock::now();
            work();
            if (run > 0) {  // run 0 warms the caches
                times.push_back(MillisecondsSince(start));
            }
        }
        return Median(times);
    };
    const double names = timed([&] {
        for (platform::LPITEMIDLIST item : items) {
            tree_->GetLongFilePath(item, folder.get());
        }
    });
    const double attributes = timed([&] {
        for (platform::LPITEMIDLIST item : items) {
            platform::SFGAOF asked =
                SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_SHARE | SFGAO_LINK | SFGAO_FOLDER;
            platform::LPCITEMIDLIST one[] = {item};
            folder->GetAttributesOf(1, one, &asked);
        }
    });
    const double binding = timed([&] {
        for (platform::LPITEMIDLIST item : items) {
            platform::ComPtr<platform::IShellFolder> bound;
            folder->BindToObject(item, nullptr, platform::IID_IShellFolder,
                                 reinterpret_cast<void**>(bound.put()));
        }
    });
    const double sorting = timed([&] {
        std::vector<TTreeNode*> shuffled = children;
        std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(5000));
        std::vector<std::string> keys;
        for (TTreeNode* child : shuffled) {
            keys.push_back(SortKey(child));
        }
        std::vector<std::size_t> places(keys.size());
        std::iota(places.begin(), places.end(), std::size_t{0});
        std::stable_sort(places.begin(), places.end(),
                         [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    });
    // A screenful of rows, each drawn the first time: its picture and the one shown while it is selected.
    constexpr std::size_t kScreenful = 20;
    const double icons = timed([&] {
        for (std::size_t i = 0; i < std::min(kScreenful, children.size()); ++i) {
            platform::SHFILEINFOA info{};
            const auto list = reinterpret_cast<platform::LPCSTR>(tree_->NodeItemIdList(children[i]));
            platform::SHGetFileInfoA(list, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_PIDL);
            platform::SHGetFileInfoA(list, 0, &info, sizeof info,
                                     SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_OPENICON);
        }
    });
    for (platform::LPITEMIDLIST item : items) {
        tree_->FreePidl(item);
    }
    const double rest = expansion - enumeration - names - attributes - binding - sorting;
    Print(Format(
        "bench: %s: beyond the bare enumeration (%.1f ms): names %.1f ms, attributes %.1f ms, binding "
        "%.1f ms, sorting %.1f ms, nodes and the rest %.1f ms; the pictures of a screenful of rows, asked "
        "for when they are first drawn, %.1f ms",
        path.c_str(), expansion - enumeration, names, attributes, binding, sorting, rest, icons));
}

// ---- the steps ----

// A path that starts with "DESKTOP\" lies in the desktop's folder, wherever the system keeps it.
std::string InDesktop(const std::string& path) {
    const std::string marker = "DESKTOP\\";
    if (path.compare(0, marker.size(), marker) != 0) {
        return path;
    }
    char desktop[MAX_PATH] = "";
    if (!SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE)) {
        throw StepFailed{"no desktop folder"};
    }
    return std::string(desktop) + path.substr(marker.size() - 1);
}

const std::vector<Host::Step>& Host::Steps() {
    static const std::vector<Step> steps{
        {"show", 0, [](Host& host, const Arguments&) { host.Show(); }},
        {"drives", 0, [](Host& host, const Arguments&) { host.Drives(); }},
        {"regid", 0,
         [](Host&, const Arguments&) {
             Print(Format("regid: %lu", static_cast<unsigned long>(registeredId)));
         }},
        {"refuse-end", 0, [](Host& host, const Arguments&) { host.refuseEnd_ = true; }},
        {"endsession", 0, [](Host& host, const Arguments&) { host.EndSession(); }},
        {"echo", 1, [](Host&, const Arguments& a) { Print("== " + a[0]); }},
        {"freetwice", 0,
         [](Host&, const Arguments&) {
             LPITEMIDLIST list = nullptr;
             if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &list))) {
                 throw StepFailed{"no item ID list of My Computer"};
             }
             ILFree(list);
             ILFree(list);
         }},
        {"hidden", 1, [](Host& host, const Arguments& a) { host.Hidden(InDesktop(a[0])); }},
        {"expand", 1, [](Host& host, const Arguments& a) { host.Expand(InDesktop(a[0])); }},
        {"select", 1, [](Host& host, const Arguments& a) { host.Select(InDesktop(a[0])); }},
        {"dblclick", 1, [](Host& host, const Arguments& a) { host.DoubleClick(InDesktop(a[0])); }},
        {"setdir", 1,
         [](Host& host, const Arguments& a) {
             host.tree_->SetDirectory(InDesktop(a[0]));
             Print("getdir: " + host.tree_->GetDirectory());
         }},
        {"mkdir", 1, [](Host& host, const Arguments& a) { host.MakeFolder(InDesktop(a[0])); }},
        {"rmdir", 1, [](Host& host, const Arguments& a) { host.RemoveFolder(InDesktop(a[0])); }},
        {"rename", 2,
         [](Host& host, const Arguments& a) { host.RenameFolder(InDesktop(a[0]), InDesktop(a[1])); }},
        {"bench", 2,
         [](Host& host, const Arguments& a) {
             const int runs = std::atoi(a[1].c_str());
             if (runs < 1) {
                 throw Usage{};
             }
             host.Bench(a[0], runs);
         }},
    };
    return steps;
}

// Each step in turn, with the arguments it takes; a step that is unknown or short of arguments is a
// usage error, raised when it is reached.
void Host::Run(const std::vector<std::string>& steps) {
    for (auto next = steps.begin(); next != steps.end();) {
        const auto step = std::find_if(Steps().begin(), Steps().end(),
                                       [&](const Step& known) { return *next == known.name; });
        if (step == Steps().end() || static_cast<std::size_t>(steps.end() - next - 1) < step->arguments) {
            throw Usage{};
        }
        const Arguments arguments(next + 1, next + 1 + static_cast<std::ptrdiff_t>(step->arguments));
        step->run(*this, arguments);
        next += 1 + static_cast<std::ptrdiff_t>(step->arguments);
    }
}

// The folder changes, each announced with SHChangeNotify as a program that makes it would.
void Host::MakeFolder(const std::string& path) {
    if (!CreateDirectoryA(path.c_str(), nullptr)) {
        throw StepFailed{"cannot make " + path};
    }
    Announce(SHCNE_MKDIR, path);
}

void Host::RemoveFolder(const std::string& path) {
    if (!RemoveDirectoryA(path.c_str())) {
        throw StepFailed{"cannot remove " + path};
    }
    Announce(SHCNE_RMDIR, path);
}

void Host::RenameFolder(const std::string& from, const std::string& to) {
    if (!MoveFileA(from.c_str(), to.c_str())) {
        throw StepFailed{"cannot rename " + from};
    }
    Announce(SHCNE_RENAMEFOLDER, from, to);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: cvtreehost STEP... (see the top of cvtreehost.cpp)\n");
        return 3;
    }
    new TApplication;
    int code = 0;
    try {
        Host host;
        host.Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const StepFailed& failure) {
        std::fprintf(stderr, "cvtreehost: %s\n", failure.reason.c_str());
        code = 1;
    } catch (const Usage&) {
        std::fprintf(stderr, "usage: cvtreehost STEP... (see the top of cvtreehost.cpp)\n");
        code = 3;
    } catch (const Exception& exception) {
        std::fprintf(stderr, "cvtreehost: %s\n", exception.Message.c_str());
        code = 1;
    }
    std::fflush(stdout);
    delete Application;
    return code;
}
