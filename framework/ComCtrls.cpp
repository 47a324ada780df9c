#include "framework/ComCtrls.h"

#include <algorithm>
#include <numeric>

#include "framework/Forms.h"
#include "framework/MissingModule.h"
#include "platform/CommonControls.h"

namespace {

// The tree view's own event that a window layout binds by name.
const AtStartUp kTreeViewEventsBound([] { RegisterEvent("OnChange", &TCustomTreeView::OnChange); });

}  // namespace

void RegisterTreeViewClass() {
    EndIfModuleMissing(platform::LoadCommonControls(), "comctl32.dll");
    const platform::INITCOMMONCONTROLSEX classes{sizeof classes, platform::ICC_TREEVIEW_CLASSES};
    // The comctl32.dll of Windows 95 and NT 4.0 as they shipped has only the older call, which registers
    // every class it has, the tree view's among them: such a Windows gets as far as the wizard's own
    // answer that it is not served.
    if (!platform::InitCommonControlsEx(&classes)) {
        platform::InitCommonControls();
    }
}

// ---- TTreeNode ----

TCustomTreeView* TTreeNode::TreeView() const {
    return owner_->Owner();
}

void TTreeNode::Notify(NodeAspect aspect) {
    if (auto* peer = TreeView()->TreePeer()) {
        peer->NodeChanged(*this, aspect);
    }
}

void TTreeNode::SetText(std::string text) {
    if (text == text_) {
        return;
    }
    text_ = std::move(text);
    Notify(NodeAspect::Text);
}

int TTreeNode::ImageIndex() {
    if (imagePending_) {
        TreeView()->GetImageIndex(this);
        imagePending_ = false;
    }
    return imageIndex_;
}

void TTreeNode::SetImageIndex(int index) {
    imagePending_ = false;
    imageIndex_ = index;
    Notify(NodeAspect::Images);
}

int TTreeNode::SelectedIndex() {
    if (selectedPending_) {
        TreeView()->GetSelectedIndex(this);
        selectedPending_ = false;
    }
    return selectedIndex_;
}

void TTreeNode::SetSelectedIndex(int index) {
    selectedPending_ = false;
    selectedIndex_ = index;
    Notify(NodeAspect::Images);
}

void TTreeNode::DeferImages() {
    imagePending_ = true;
    selectedPending_ = true;
    Notify(NodeAspect::Images);
}

void TTreeNode::SetOverlayIndex(int index) {
    if (index == overlayIndex_) {
        return;
    }
    overlayIndex_ = index;
    Notify(NodeAspect::Overlay);
}

void TTreeNode::SetHasChildren(bool hasChildren) {
    if (hasChildren == hasChildren_) {
        return;
    }
    hasChildren_ = hasChildren;
    Notify(NodeAspect::HasChildren);
}

bool TTreeNode::IsVisible() const {
    for (const TTreeNode* above = Parent(); above != nullptr; above = above->Parent()) {
        if (!above->expanded_) {
            return false;
        }
    }
    return true;
}

int TTreeNode::Level() const {
    int level = 0;
    for (const TTreeNode* above = Parent(); above != nullptr; above = above->Parent()) {
        ++level;
    }
    return level;
}

TTreeNode* TTreeNode::Parent() const {
    return parent_ == owner_->root_.get() ? nullptr : parent_;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const auto& siblings = parent_->children_;
    return index_ + 1 < siblings.size() ? siblings[index_ + 1] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    return index_ > 0 ? parent_->children_[index_ - 1] : nullptr;
}

bool TTreeNode::HasAsParent(const TTreeNode* ancestor) const {
    for (const TTreeNode* above = Parent(); above != nullptr; above = above->Parent()) {
        if (above == ancestor) {
            return true;
        }
    }
    return false;
}

void TTreeNode::Expand(bool Recurse) {
    if (TreeView()->CanExpand(this) && !children_.empty() && !expanded_) {
        expanded_ = true;
        Notify(NodeAspect::Expanded);
    }
    if (Recurse) {
        for (std::size_t i = 0; i < children_.size(); ++i) {
            children_[i]->Expand(true);
        }
    }
}

void TTreeNode::Collapse(bool Recurse) {
    if (expanded_) {
        expanded_ = false;
        Notify(NodeAspect::Expanded);
    }
    if (Recurse) {
        for (auto* child : children_) {
            child->Collapse(true);
        }
    }
    // A selection that the collapse hides moves up to this node, as the common control does.
    TCustomTreeView* tree = TreeView();
    if (tree->selected_ != nullptr && tree->selected_->HasAsParent(this)) {
        tree->SelectQuietly(this);
        tree->Change(this);
    }
}

void TTreeNode::Delete() {
    owner_->Delete(this);
}

void TTreeNode::CustomSort(TTVCompare SortProc, std::intptr_t Data) {
    std::stable_sort(children_.begin(), children_.end(),
                     [&](TTreeNode* a, TTreeNode* b) { return SortProc(a, b, Data) < 0; });
    ChildrenReordered();
}

void TTreeNode::SortByKeys(const std::function<std::string(TTreeNode* Node)>& KeyOf) {
    std::vector<std::string> keys(children_.size());
    std::transform(children_.begin(), children_.end(), keys.begin(), KeyOf);
    // The children's places are sorted, not the keys: each move is one number.
    std::vector<std::size_t> places(children_.size());
    std::iota(places.begin(), places.end(), std::size_t{0});
    std::stable_sort(places.begin(), places.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    std::vector<TTreeNode*> sorted(children_.size());
    std::transform(places.begin(), places.end(), sorted.begin(),
                   [this](std::size_t place) { return children_[place]; });
    children_ = std::move(sorted);
    ChildrenReordered();
}

void TTreeNode::ChildrenReordered() {
    owner_->Renumber(this, 0);
    owner_->orderStale_ = true;
    if (auto* peer = TreeView()->TreePeer()) {
        peer->ChildrenSorted(this);
    }
}

// ---- TTreeNodes ----

TTreeNodes::TTreeNodes(TCustomTreeView* owner)
    : owner_(owner), root_(new TTreeNode(this, nullptr), [](TTreeNode* node) { delete node; }) {}

TTreeNodes::~TTreeNodes() {
    Clear();
}

TTreeNode* TTreeNodes::Item(int index) {
    if (orderStale_) {
        order_.clear();
        order_.reserve(static_cast<std::size_t>(count_));
        std::vector<TTreeNode*> pending(root_->children_.rbegin(), root_->children_.rend());
        while (!pending.empty()) {
            TTreeNode* node = pending.back();
            pending.pop_back();
            order_.push_back(node);
            pending.insert(pending.end(), node->children_.rbegin(), node->children_.rend());
        }
        orderStale_ = false;
    }
    return order_.at(static_cast<std::size_t>(index));
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const std::string& S, void* Ptr) {
    TTreeNode* parent = RootOf(Parent);
    return Insert(parent, parent->children_.size(), S, Ptr);
}

TTreeNode* TTreeNodes::AddChildObjectFirst(TTreeNode* Parent, const std::string& S, void* Ptr) {
    return Insert(RootOf(Parent), 0, S, Ptr);
}

TTreeNode* TTreeNodes::AddObjectFirst(TTreeNode* Sibling, const std::string& S, void* Ptr) {
    return Insert(Sibling != nullptr ? Sibling->parent_ : root_.get(), 0, S, Ptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* parent, std::size_t position, const std::string& text, void* data) {
    auto* node = new TTreeNode(this, parent);
    node->text_ = text;
    node->data_ = data;
    parent->children_.insert(parent->children_.begin() + static_cast<std::ptrdiff_t>(position), node);
    Renumber(parent, position);
    ++count_;
    orderStale_ = true;
    TreeViewPeer* peer = owner_->TreePeer();
    if (peer != nullptr) {
        peer->NodeInserted(*node);
    }
    if (parent != root_.get()) {
        parent->SetHasChildren(true);
    }
    return node;
}

void TTreeNodes::Renumber(TTreeNode* parent, std::size_t from) {
    for (std::size_t i = from; i < parent->children_.size(); ++i) {
        parent->children_[i]->index_ = i;
    }
}

void TTreeNodes::Delete(TTreeNode* Node) {
    if (Node == nullptr || Node->deleting_) {
        return;
    }
    TCustomTreeView* tree = owner_;
    TTreeNode* selected = tree->selected_;
    const bool selectionGoes = selected != nullptr && (selected == Node || selected->HasAsParent(Node));
    // Where the common control moves a selection that goes with the node.
    TTreeNode* successor = nullptr;
    if (selectionGoes) {
        successor = Node->GetNextSibling();
        if (successor == nullptr) {
            successor = Node->Parent() != nullptr ? Node->Parent() : Node->GetPrevSibling();
        }
        tree->SelectQuietly(nullptr);
    }
    TTreeNode* parent = Node->parent_;
    DeleteSubtree(Node);
    if (parent != root_.get() && parent->children_.empty() && parent->expanded_) {
        parent->expanded_ = false;
        parent->Notify(NodeAspect::Expanded);
    }
    if (selectionGoes && !tree->destroying_) {
        tree->SelectQuietly(successor);
        tree->Change(successor);
    }
}

void TTreeNodes::DeleteSubtree(TTreeNode* node) {
    node->deleting_ = true;
    while (!node->children_.empty()) {
        DeleteSubtree(node->children_.back());
    }
    if (!owner_->destroying_) {
        owner_->Delete(node);
    }
    if (TreeViewPeer* peer = owner_->TreePeer()) {
        peer->NodeDeleting(*node);
    }
    auto& siblings = node->parent_->children_;
    const std::size_t index = node->index_;
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(index));
    Renumber(node->parent_, index);
    --count_;
    orderStale_ = true;
    delete node;
}

void TTreeNodes::Clear() {
    while (!root_->children_.empty()) {
        Delete(root_->children_.back());
    }
}

// ---- TCustomTreeView ----

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TWinControl(AOwner), Items(new TTreeNodes(this)) {
    color_ = clWindow;
}

TCustomTreeView::~TCustomTreeView() {
    // The nodes go without events: whoever handled them may be gone already.
    destroying_ = true;
    selected_ = nullptr;
    delete Items;
}

void TCustomTreeView::SelectQuietly(TTreeNode* node) {
    selected_ = node;
    if (auto* peer = TreePeer()) {
        peer->SelectionChanged(node);
    }
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
    if (node == selected_) {
        return;
    }
    if (node != nullptr) {
        std::vector<TTreeNode*> above;
        for (TTreeNode* at = node->Parent(); at != nullptr; at = at->Parent()) {
            above.push_back(at);
        }
        for (auto at = above.rbegin(); at != above.rend(); ++at) {
            if (!(*at)->Expanded()) {
                (*at)->Expand(false);
            }
        }
    }
    SelectQuietly(node);
    Change(node);
}

void TCustomTreeView::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    Changed(Aspect::Style);
}

void TCustomTreeView::SetImages(TCustomImageList* images) {
    images_ = images;
    if (auto* peer = TreePeer()) {
        peer->ImagesChanged();
    }
}

void TCustomTreeView::SetIndent(int indent) {
    indent_ = indent;
    Changed(Aspect::Style);
}

platform::HWND TCustomTreeView::Handle() const {
    return Peer() != nullptr ? Peer()->Handle() : nullptr;
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
    bool allow = true;
    if (OnExpanding) {
        OnExpanding(this, Node, allow);
    }
    return allow;
}

void TCustomTreeView::GetImageIndex(TTreeNode*) {}

void TCustomTreeView::GetSelectedIndex(TTreeNode*) {}

void TCustomTreeView::Change(TTreeNode* Node) {
    if (OnChange && !Destroying()) {
        OnChange(this, Node);
    }
}

void TCustomTreeView::Delete(TTreeNode* Node) {
    if (OnDeletion) {
        OnDeletion(this, Node);
    }
}

void TCustomTreeView::WndProc(TMessage& Message) {
    if (Message.Msg == platform::WM_LBUTTONDBLCLK) {
        WMLButtonDblClk(Message);
    } else {
        DefaultHandler(Message);
    }
}

void TCustomTreeView::WMLButtonDblClk(TMessage& Message) {
    DefaultHandler(Message);
    DblClick();
}

void TCustomTreeView::DefaultHandler(TMessage& Message) {
    if (auto* peer = TreePeer()) {
        peer->DefaultHandler(Message);
    }
}

void TCustomTreeView::SetProperty(std::string_view name, std::string_view value) {
    using layoutvalue::Bool;
    if (name == "ReadOnly") {
        SetReadOnly(Bool(value));
    } else if (name == "Indent") {
        SetIndent(layoutvalue::Int(value));
    } else if (name == "ShowButtons" || name == "ShowLines" || name == "ShowRoot" ||
               name == "HideSelection") {
        bool& flag = name == "ShowButtons" ? showButtons_
                     : name == "ShowLines" ? showLines_
                     : name == "ShowRoot"  ? showRoot_
                                           : hideSelection_;
        flag = Bool(value);
        Changed(Aspect::Style);
    } else if (name == "BorderStyle") {
        borderStyle_ = layoutvalue::Named<TBorderStyle>(value, {{"bsNone", bsNone}, {"bsSingle", bsSingle}},
                                                        "border style");
        Changed(Aspect::Style);
    } else {
        TWinControl::SetProperty(name, value);
    }
}
