// The tree view's window: the common control (SysTreeView32) mirroring the nodes of a TCustomTreeView.
//
// The nodes are the model. Every change to them reaches this peer one node at a time and is copied into
// the control; what a person does to the control (opening or closing a node, picking one) becomes a call
// on the model, which decides and then tells this peer what to show. So the control never changes on its
// own: its own change is cancelled, and the model's answer drives it. The control is subclassed, so that
// every message of its window passes through the tree's WndProc first.
//
// A node that the model makes is put into the control whole, once, when the control next needs it (the
// next message to the control, or the next change that depends on the items): the model sets a new
// node's text, pictures and button one by one, and a level of thousands of folders is filled and sorted
// at once. Each message costs the control a search through all its items, so one insertion per node, in
// the level's final order, saves both the messages and the control's own sort.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/Nesting.h"
#include "framework/win32/Win32Windows.h"

#include <commctrl.h>

namespace win32 {

namespace {

// Styles that follow the tree's properties; the others of the window are left alone.
constexpr DWORD kTreeStyles = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                              TVS_EDITLABELS | TVS_DISABLEDRAGDROP;

// A sort of siblings that the model has already ordered: the control takes the model's order.
int CALLBACK CompareByIndex(LPARAM first, LPARAM second, LPARAM /*unused*/) {
    return reinterpret_cast<TTreeNode*>(first)->Index() - reinterpret_cast<TTreeNode*>(second)->Index();
}

class TreeViewWindow final : public ControlWindow, public TreeViewPeer {
public:
    explicit TreeViewWindow(TCustomTreeView& tree) : ControlWindow(tree), tree_(tree) {}
    ~TreeViewWindow() override;

    platform::HWND Handle() const override { return ControlWindow::Handle(); }
    void Changed(Aspect aspect) override;
    LRESULT Notified(NMHDR& header) override;
    HBRUSH Colors(HDC /*dc*/) override { return nullptr; }

    void NodeInserted(TTreeNode& node) override;
    void NodeDeleting(TTreeNode& node) override;
    void NodeChanged(TTreeNode& node, NodeAspect aspect) override;
    void ChildrenSorted(TTreeNode* parent) override;
    void SelectionChanged(TTreeNode* node) override;
    void ImagesChanged() override;
    void DefaultHandler(TMessage& message) override;

    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

protected:
    Kind WindowKind() const override;
    std::string WindowText() const override { return {}; }
    void BeforeCreate() override { RegisterTreeViewClass(); }
    void AfterCreate() override;

private:
    // The control's own procedure, past the subclass: the peer's calls are not the tree's messages.
    LRESULT Call(UINT message, WPARAM wParam, LPARAM lParam) const {
        return CallWindowProcA(original_, Hwnd(), message, wParam, lParam);
    }
    LRESULT Call(UINT message, WPARAM wParam, const void* lParam) const {
        return Call(message, wParam, reinterpret_cast<LPARAM>(lParam));
    }
    HTREEITEM ItemOf(const TTreeNode* node) const;
    TTreeNode* NodeOf(HTREEITEM item) const;
    bool Waiting(const TTreeNode* node) const;
    void InsertWaiting();
    void InsertWaitingChildren(TTreeNode* parent);
    void InsertItem(TTreeNode& node, HTREEITEM after);
    void SetItem(TVITEMA& item) const { Call(TVM_SETITEMA, 0, &item); }
    void ShowExpanded(TTreeNode& node);
    void ApplyImageList() const;
    void ApplyStyle();
    void ApplyColors() const;
    void WindowGone();
    LRESULT PersonExpands(const NMTREEVIEWA& change);
    void PersonSelects(const NMTREEVIEWA& change);
    void SupplyImages(NMTVDISPINFOA& info);
    LRESULT ExpandFromOutside(WPARAM action, HTREEITEM item);
    // Runs what a person or another program asked for as the message loop runs a handler.
    template <class Handler>
    void Run(Handler handler) {
        if (Application != nullptr) {
            Application->Dispatch(handler);
        } else {
            handler();
        }
    }

    TCustomTreeView& tree_;
    WNDPROC original_ = nullptr;
    // Every node of the tree and its item; a null item while the node waits to be inserted.
    std::unordered_map<const TTreeNode*, HTREEITEM> items_;
    std::vector<TTreeNode*> waiting_;  // in the order the model made them; null for one deleted since
    // The calls into the control that the peer makes itself, counted so that the notifications they cause
    // are known as echoes of the model and not taken for a person's doing.
    int mirroring_ = 0;
    const TTreeNode* supplying_ = nullptr;  // the node whose pictures the control is asking for
};

TreeViewWindow* PeerOf(HWND window) {
    // The control window's user data is its ControlWindow, which for a tree view is this peer.
    auto* control = reinterpret_cast<ControlWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return static_cast<TreeViewWindow*>(control);
}

// The control is taken off the subclass before the peer goes, so that the window (if it lives on with
// its form for a moment) no longer calls into a tree that is being destroyed.
TreeViewWindow::~TreeViewWindow() {
    if (Hwnd() != nullptr && IsWindow(Hwnd()) && original_ != nullptr &&
        PeerOf(Hwnd()) == static_cast<ControlWindow*>(this)) {
        SetWindowLongPtrA(Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    }
}

ControlWindow::Kind TreeViewWindow::WindowKind() const {
    DWORD style = TVS_DISABLEDRAGDROP;  // the framework has no dragging
    style |= tree_.ShowButtons() ? TVS_HASBUTTONS : 0;
    style |= tree_.ShowLines() ? TVS_HASLINES : 0;
    style |= tree_.ShowRoot() ? TVS_LINESATROOT : 0;
    style |= tree_.HideSelection() ? 0 : TVS_SHOWSELALWAYS;
    style |= tree_.ReadOnly() ? 0 : TVS_EDITLABELS;
    return {WC_TREEVIEWA, style, tree_.BorderStyle() == bsSingle ? DWORD{WS_EX_CLIENTEDGE} : 0};
}

// The window is new: it takes the tree's whole state, the nodes made before it among them (a tree that
// is filled while its form's layout loads has all its first nodes by then).
void TreeViewWindow::AfterCreate() {
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TreeViewWindow::SubclassProc)));
    ApplyImageList();
    Call(TVM_SETINDENT, static_cast<WPARAM>(tree_.Indent()), LPARAM{0});
    ApplyColors();
    items_.clear();
    waiting_.clear();
    const int count = tree_.Items->Count();
    for (int i = 0; i < count; ++i) {
        NodeInserted(*tree_.Items->Item(i));
    }
    for (int i = 0; i < count; ++i) {  // parents come before their children, so they open first
        ShowExpanded(*tree_.Items->Item(i));
    }
    SelectionChanged(tree_.Selected());
}

void TreeViewWindow::WindowGone() {
    ForgetHandle();
    original_ = nullptr;
    items_.clear();
    waiting_.clear();
}

LRESULT CALLBACK TreeViewWindow::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) noexcept {
    TreeViewWindow* peer = PeerOf(window);
    const WNDPROC original = peer->original_;
    if (peer->tree_.Destroying()) {
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    peer->InsertWaiting();
    TMessage forwarded{message, wParam, lParam, 0};
    peer->Run([&] { peer->tree_.WndProc(forwarded); });
    if (message == WM_NCDESTROY) {
        peer->WindowGone();
    }
    return forwarded.Result;
}

// The common control's own handling, except that opening or closing a node from outside (another
// program sending TVM_EXPAND) goes through the model like a person's click.
void TreeViewWindow::DefaultHandler(TMessage& message) {
    if (Hwnd() == nullptr) {
        message.Result = 0;
    } else if (message.Msg == TVM_EXPAND && mirroring_ == 0) {
        message.Result = ExpandFromOutside(message.WParam, reinterpret_cast<HTREEITEM>(message.LParam));
    } else {
        InsertWaiting();
        message.Result = Call(message.Msg, message.WParam, message.LParam);
    }
}

LRESULT TreeViewWindow::ExpandFromOutside(WPARAM action, HTREEITEM item) {
    TTreeNode* node = NodeOf(item);
    if (node == nullptr) {
        return FALSE;
    }
    const bool open = (action & TVE_TOGGLE) == TVE_TOGGLE ? !node->Expanded() : (action & TVE_EXPAND) != 0;
    if (open) {
        node->Expand(false);
    } else {
        node->Collapse(false);
    }
    return node->Expanded() == open ? TRUE : FALSE;
}

// ---- the model's changes, into the control ----

HTREEITEM TreeViewWindow::ItemOf(const TTreeNode* node) const {
    if (node == nullptr) {
        return nullptr;
    }
    const auto found = items_.find(node);
    return found != items_.end() ? found->second : nullptr;
}

TTreeNode* TreeViewWindow::NodeOf(HTREEITEM item) const {
    if (item == nullptr || Hwnd() == nullptr) {
        return nullptr;
    }
    TVITEMA asked{};
    asked.mask = TVIF_HANDLE | TVIF_PARAM;
    asked.hItem = item;
    if (!Call(TVM_GETITEMA, 0, &asked)) {
        return nullptr;
    }
    return reinterpret_cast<TTreeNode*>(asked.lParam);
}

bool TreeViewWindow::Waiting(const TTreeNode* node) const {
    const auto found = items_.find(node);
    return found != items_.end() && found->second == nullptr;
}

// The model's new nodes, level by level; a parent's level before its children's.
void TreeViewWindow::InsertWaiting() {
    if (waiting_.empty() || Hwnd() == nullptr) {
        return;
    }
    std::vector<TTreeNode*> parents;
    std::unordered_set<TTreeNode*> seen;
    for (TTreeNode* node : waiting_) {
        if (node != nullptr && seen.insert(node->Parent()).second) {
            parents.push_back(node->Parent());
        }
    }
    waiting_.clear();
    for (TTreeNode* parent : parents) {
        InsertWaitingChildren(parent);
    }
}

// The items that are there already stand in the model's order, so each waiting node goes right after
// its nearest previous sibling that has an item; past the last such sibling it simply goes last.
void TreeViewWindow::InsertWaitingChildren(TTreeNode* parent) {
    if (parent != nullptr && ItemOf(parent) == nullptr) {
        return;  // the parent went before its children could be shown
    }
    std::vector<TTreeNode*> children;
    TTreeNode* first = parent != nullptr ? parent->GetFirstChild() : tree_.Items->GetFirstNode();
    for (TTreeNode* child = first; child != nullptr; child = child->GetNextSibling()) {
        children.push_back(child);
    }
    std::size_t lastShown = children.size();
    for (std::size_t i = children.size(); i-- > 0;) {
        if (ItemOf(children[i]) != nullptr) {
            lastShown = i;
            break;
        }
    }
    HTREEITEM after = TVI_FIRST;
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (Waiting(children[i])) {
            InsertItem(*children[i], lastShown == children.size() || i > lastShown ? TVI_LAST : after);
        }
        if (HTREEITEM item = ItemOf(children[i])) {
            after = item;
        }
    }
}

// The node as the model holds it now; its pictures are asked for only when the control first draws it,
// while the model has not got them yet from whoever supplies them.
void TreeViewWindow::InsertItem(TTreeNode& node, HTREEITEM after) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = node.Parent() != nullptr ? ItemOf(node.Parent()) : TVI_ROOT;
    insert.hInsertAfter = after;
    TVITEMA& item = insert.item;
    item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
    item.pszText = const_cast<char*>(node.Text().c_str());
    item.lParam = reinterpret_cast<LPARAM>(&node);
    const bool deferred = node.ImagesDeferred();
    item.iImage = deferred ? I_IMAGECALLBACK : node.ImageIndex();
    item.iSelectedImage = deferred ? I_IMAGECALLBACK : node.SelectedIndex();
    item.cChildren = node.HasChildren() ? 1 : 0;
    item.stateMask = TVIS_OVERLAYMASK;
    item.state = INDEXTOOVERLAYMASK(node.OverlayIndex() + 1);
    items_[&node] = reinterpret_cast<HTREEITEM>(Call(TVM_INSERTITEMA, 0, &insert));
}

void TreeViewWindow::NodeInserted(TTreeNode& node) {
    if (Hwnd() != nullptr) {
        items_[&node] = nullptr;
        waiting_.push_back(&node);
    }
}

// The node's children have gone already. When it is its parent's last child, the control forgets that
// the parent has children at all; the parent's button is the model's to decide, so it is shown again.
void TreeViewWindow::NodeDeleting(TTreeNode& node) {
    const auto found = items_.find(&node);
    if (found == items_.end()) {
        return;
    }
    const HTREEITEM item = found->second;
    items_.erase(found);
    if (item == nullptr) {
        std::replace(waiting_.begin(), waiting_.end(), &node, static_cast<TTreeNode*>(nullptr));
        return;
    }
    Nesting mirroring(mirroring_);
    Call(TVM_DELETEITEM, 0, item);
    TTreeNode* parent = node.Parent();
    if (parent != nullptr && parent->Count() == 1) {
        NodeChanged(*parent, NodeAspect::HasChildren);
    }
}

void TreeViewWindow::NodeChanged(TTreeNode& node, NodeAspect aspect) {
    const HTREEITEM handle = ItemOf(&node);
    if (handle == nullptr) {
        return;
    }
    TVITEMA item{};
    item.hItem = handle;
    switch (aspect) {
        case NodeAspect::Text:
            item.mask = TVIF_HANDLE | TVIF_TEXT;
            item.pszText = const_cast<char*>(node.Text().c_str());
            break;
        case NodeAspect::Images:
            if (&node == supplying_) {
                return;  // the control stores what it asked for itself
            }
            item.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
            item.iImage = node.ImagesDeferred() ? I_IMAGECALLBACK : node.ImageIndex();
            item.iSelectedImage = node.ImagesDeferred() ? I_IMAGECALLBACK : node.SelectedIndex();
            break;
        case NodeAspect::Overlay:
            item.mask = TVIF_HANDLE | TVIF_STATE;
            item.stateMask = TVIS_OVERLAYMASK;
            item.state = INDEXTOOVERLAYMASK(node.OverlayIndex() + 1);
            break;
        case NodeAspect::HasChildren:
            item.mask = TVIF_HANDLE | TVIF_CHILDREN;
            item.cChildren = node.HasChildren() ? 1 : 0;
            break;
        case NodeAspect::Expanded:
            ShowExpanded(node);
            return;
    }
    SetItem(item);
}

void TreeViewWindow::ShowExpanded(TTreeNode& node) {
    InsertWaiting();
    const HTREEITEM item = ItemOf(&node);
    if (item == nullptr) {
        return;
    }
    const bool shown =
        (Call(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    if (shown != node.Expanded()) {
        Nesting mirroring(mirroring_);
        Call(TVM_EXPAND, node.Expanded() ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
    }
}

// Waiting children go in at their sorted places anyway; only items already shown need the control's
// sort.
void TreeViewWindow::ChildrenSorted(TTreeNode* parent) {
    if (Hwnd() == nullptr) {
        return;
    }
    TTreeNode* first = parent != nullptr ? parent->GetFirstChild() : tree_.Items->GetFirstNode();
    bool anyShown = false;
    for (TTreeNode* child = first; child != nullptr && !anyShown; child = child->GetNextSibling()) {
        anyShown = ItemOf(child) != nullptr;
    }
    if (!anyShown) {
        return;
    }
    InsertWaiting();
    TVSORTCB sort{};
    sort.hParent = parent != nullptr ? ItemOf(parent) : TVI_ROOT;
    sort.lpfnCompare = CompareByIndex;
    if (sort.hParent != nullptr) {
        Call(TVM_SORTCHILDRENCB, 0, &sort);
    }
}

// The control opens the levels above an item it selects. While the model closes a level with the
// levels below it, its selection passes up through nodes that are hidden for the moment: the control
// shows the nearest node it can without opening anything.
void TreeViewWindow::SelectionChanged(TTreeNode* node) {
    if (Hwnd() == nullptr) {
        return;
    }
    InsertWaiting();
    while (node != nullptr && !node->IsVisible()) {
        node = node->Parent();
    }
    const HTREEITEM item = ItemOf(node);
    if (reinterpret_cast<HTREEITEM>(Call(TVM_GETNEXTITEM, TVGN_CARET, LPARAM{0})) == item) {
        return;
    }
    Nesting mirroring(mirroring_);
    Call(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void TreeViewWindow::ImagesChanged() {
    if (Hwnd() != nullptr) {
        ApplyImageList();
    }
}

void TreeViewWindow::ApplyImageList() const {
    const TCustomImageList* images = tree_.Images();
    Call(TVM_SETIMAGELIST, TVSIL_NORMAL, images != nullptr ? images->Handle() : nullptr);
}

// The system's colours unless the tree has its own.
void TreeViewWindow::ApplyColors() const {
    const TColor back = tree_.Color();
    const TColor text = tree_.Font().Color;
    Call(TVM_SETBKCOLOR, 0, back == clWindow ? LPARAM{-1} : static_cast<LPARAM>(ColorRef(back)));
    Call(TVM_SETTEXTCOLOR, 0, text == clWindowText ? LPARAM{-1} : static_cast<LPARAM>(ColorRef(text)));
}

// The tree view takes a change of its styles in place; its nodes stay.
void TreeViewWindow::ApplyStyle() {
    const Kind kind = WindowKind();
    const LONG_PTR style = GetWindowLongPtrA(Hwnd(), GWL_STYLE);
    SetWindowLongPtrA(Hwnd(), GWL_STYLE,
                      static_cast<LONG_PTR>((style & ~LONG_PTR{kTreeStyles}) | kind.style));
    SetWindowLongPtrA(Hwnd(), GWL_EXSTYLE, static_cast<LONG_PTR>(kind.exStyle));
    Call(TVM_SETINDENT, static_cast<WPARAM>(tree_.Indent()), LPARAM{0});
    SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TreeViewWindow::Changed(Aspect aspect) {
    if (Hwnd() == nullptr) {
        return;  // the window takes the whole state when it is made
    }
    switch (aspect) {
        case Aspect::Style:
            ApplyStyle();
            break;
        case Aspect::Color:
        case Aspect::Font:
            ControlWindow::Changed(aspect);
            ApplyColors();
            break;
        case Aspect::Items:
            break;
        default:
            ControlWindow::Changed(aspect);
            break;
    }
}

// ---- the control's notifications, into the model ----

LRESULT TreeViewWindow::Notified(NMHDR& header) {
    if (tree_.Destroying()) {
        return 0;
    }
    switch (header.code) {
        case TVN_ITEMEXPANDINGA:
            return PersonExpands(reinterpret_cast<NMTREEVIEWA&>(header));
        case TVN_SELCHANGEDA:
            PersonSelects(reinterpret_cast<NMTREEVIEWA&>(header));
            return 0;
        case TVN_GETDISPINFOA:
            SupplyImages(reinterpret_cast<NMTVDISPINFOA&>(header));
            return 0;
        case NM_CLICK:
            Run([this] { tree_.Click(); });
            return 0;
        default:
            // The deletion of an item follows the model's; a double click arrives as WM_LBUTTONDBLCLK.
            return 0;
    }
}

// A person opens or closes a node: the model is asked, and its answer (through NodeChanged) opens or
// closes the item. The control's own change is cancelled either way.
LRESULT TreeViewWindow::PersonExpands(const NMTREEVIEWA& change) {
    if (mirroring_ > 0) {
        return FALSE;
    }
    TTreeNode* node = NodeOf(change.itemNew.hItem);
    if (node == nullptr) {
        return FALSE;
    }
    const bool open = (change.action & TVE_EXPAND) != 0;
    Run([node, open] {
        if (open) {
            node->Expand(false);
        } else {
            node->Collapse(false);
        }
    });
    return TRUE;
}

void TreeViewWindow::PersonSelects(const NMTREEVIEWA& change) {
    if (mirroring_ > 0) {
        return;
    }
    TTreeNode* node = NodeOf(change.itemNew.hItem);
    if (node != tree_.Selected()) {
        Run([this, node] { tree_.SetSelected(node); });
    }
}

// The pictures of a node the control is about to draw: the model supplies them on first need, and the
// control keeps them from then on.
void TreeViewWindow::SupplyImages(NMTVDISPINFOA& info) {
    auto* node = reinterpret_cast<TTreeNode*>(info.item.lParam);
    if (node == nullptr || (info.item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)) == 0) {
        return;
    }
    supplying_ = node;
    Run([&] {
        if (info.item.mask & TVIF_IMAGE) {
            info.item.iImage = node->ImageIndex();
        }
        if (info.item.mask & TVIF_SELECTEDIMAGE) {
            info.item.iSelectedImage = node->SelectedIndex();
        }
    });
    supplying_ = nullptr;
    info.item.mask |= TVIF_DI_SETITEM;
}

}  // namespace

std::unique_ptr<ControlPeer> CreateTreeViewPeer(TCustomTreeView& tree) {
    auto window = std::make_unique<TreeViewWindow>(tree);
    if (HWND parent = ParentHandle(tree)) {
        window->CreateHandle(parent);
    }
    return std::unique_ptr<ControlPeer>(static_cast<ControlWindow*>(window.release()));
}

}  // namespace win32
