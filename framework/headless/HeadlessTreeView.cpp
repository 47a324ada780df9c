// The headless tree view: the peer gives the tree its window handle, keeps the items the nodes told it
// of, and lets a test look and act as a person would on those items.
#include <utility>

#include "framework/headless/Headless.h"
#include "framework/headless/HeadlessInternal.h"
#include "framework/headless/Mirror.h"

namespace headless {

namespace {

class HeadlessTreeViewPeer final : public TreeViewPeer {
public:
    explicit HeadlessTreeViewPeer(TCustomTreeView& tree)
        : handle_(internal::NewWindow([&tree](TMessage& message) { tree.WndProc(message); }, &tree)),
          control_(tree),
          items_(tree) {}
    ~HeadlessTreeViewPeer() override { internal::ForgetWindow(handle_); }

    void Changed(Aspect aspect) override { control_.Changed(aspect); }
    platform::HWND Handle() const override { return handle_; }
    void NodeInserted(TTreeNode& node) override { items_.NodeInserted(node); }
    void NodeDeleting(TTreeNode& node) override { items_.NodeDeleting(node); }
    void NodeChanged(TTreeNode& node, NodeAspect aspect) override { items_.NodeChanged(node, aspect); }
    void ChildrenSorted(TTreeNode* parent) override { items_.ChildrenSorted(parent); }
    void SelectionChanged(TTreeNode* node) override { items_.SelectionChanged(node); }
    void ImagesChanged() override { items_.ImagesChanged(); }
    // The common control opens or closes the item under the mouse on a double click, and leaves every
    // other message to the system's default answer.
    void DefaultHandler(TMessage& message) override {
        if (message.Msg == platform::WM_LBUTTONDBLCLK) {
            ToggleUnderMouse();
            message.Result = 0;
        } else {
            message.Result = platform::DefWindowProcA(handle_, message.Msg, message.WParam, message.LParam);
        }
    }

private:
    void ToggleUnderMouse();

    platform::HWND handle_;
    internal::ControlMirror control_;
    internal::TreeMirror items_;
};

using Item = internal::TreeMirror::Item;

// The node a person's mouse is on when a double click is delivered; the control takes it.
TTreeNode* underMouse = nullptr;

// Whether the node's item shows an expand button.
bool HasButton(const Item& item) {
    return item.hasChildren || !item.children.empty();
}

// Opens or closes the node as its item shows it, through the model, as the common control does.
void Toggle(TTreeNode& node, const Item& item) {
    if (item.expanded) {
        node.Collapse(false);
    } else {
        node.Expand(false);
    }
}

void HeadlessTreeViewPeer::ToggleUnderMouse() {
    // The item may be gone: the tree's own handler can delete it before the control's turn.
    TTreeNode* node = std::exchange(underMouse, nullptr);
    const Item* item = node != nullptr ? items_.Find(node) : nullptr;
    if (item != nullptr && HasButton(*item)) {
        Toggle(*node, *item);
    }
}

void AddRows(internal::TreeMirror& mirror, const Item& parent, int level, std::vector<TreeRow>& rows) {
    for (const auto& item : parent.children) {
        mirror.SupplyImages(*item);
        rows.push_back(TreeRow{item->text, level, item->image, item->selectedImage, item->overlay,
                               item->hasChildren, item->expanded});
        if (item->expanded) {
            AddRows(mirror, *item, level + 1, rows);
        }
    }
}

bool PersonSees(TTreeNode& node) {
    const auto* mirror = internal::MirrorOf(*node.TreeView());
    return internal::PersonCanReach(*node.TreeView()) && mirror != nullptr && mirror->Shows(&node);
}

}  // namespace

// The peer's window exists as soon as the peer does.
std::unique_ptr<ControlPeer> internal::CreateTreeViewPeer(TCustomTreeView& tree) {
    RegisterTreeViewClass();
    return std::make_unique<HeadlessTreeViewPeer>(tree);
}

std::vector<TreeRow> VisibleRows(TCustomTreeView& tree) {
    std::vector<TreeRow> rows;
    if (auto* mirror = internal::MirrorOf(tree)) {
        AddRows(*mirror, mirror->Root(), 0, rows);
    }
    return rows;
}

bool ClickExpandButton(TTreeNode& node) {
    if (!PersonSees(node)) {
        return false;
    }
    if (!HasButton(*internal::MirrorOf(*node.TreeView())->Find(&node))) {
        return false;
    }
    Application->Dispatch([&node] { Toggle(node, *internal::MirrorOf(*node.TreeView())->Find(&node)); });
    return true;
}

bool ClickNode(TTreeNode& node) {
    if (!PersonSees(node)) {
        return false;
    }
    Application->Dispatch([&node] {
        node.TreeView()->SetSelected(&node);
        node.TreeView()->Click();
    });
    return true;
}

bool DoubleClickNode(TTreeNode& node) {
    if (!ClickNode(node)) {
        return false;
    }
    TCustomTreeView* tree = node.TreeView();
    Application->Dispatch([tree, &node] {
        underMouse = &node;
        SendMessage(tree->Handle(), platform::WM_LBUTTONDBLCLK, 0, 0);
    });
    return true;
}

}  // namespace headless
